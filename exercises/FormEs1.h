#pragma once
// Exercise 1: a quantity is shown and the pupil names its number: typed into the answer
// box (mouse and keyboard), or chosen on a keypad of number buttons by switch scanning.
// After the second wrong answer the window helps: three numbers to choose from, or three
// wrong buttons taken away.
#include "FormEsercizio.h"
#include "Disegno.h"

class FormEs1 : public FormEsercizio {
public:
    FormEs1();

    forms::Ctl FramePrimaImmagine{this, "FramePrimaImmagine"};
    forms::Ctl LabelPrimoNumero{this, "LabelPrimoNumero"};
    forms::Ctl LabelSpiega{this, "LabelSpiega"};
    forms::Ctl Text1{this, "Text1"};
    forms::Ctl FrameAiuto{this, "FrameAiuto"};
    forms::CtlArray CommandAiuto{this, "CommandAiuto"};
    forms::Ctl FrameScansione{this, "FrameScansione"};
    forms::CtlArray Command1{this, "Command1"};
    forms::Ctl BottoneAvanti2{this, "BottoneAvanti2"};

    void NuovoNumero();
    void ImpostaDisegni();
    void Text1_KeyPress(int &KeyAscii);
    void Text1_KeyUp(int KeyCode);
    void CommandAiuto_Click(int Index);
    void MostraFrameAiuto();
    void MenoPossibilita();

protected:
    void NuovoTurno() override { NuovoNumero(); }
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void EsattoEs1();
    void ErratoEs1();
    bool SelezionaNumero(int posizione);
    void ScegliAvanti();
    int UltimoNumero() const; // the highest number button in use
};
