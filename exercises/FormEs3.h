#pragma once
// Exercise 3: a quantity is shown and the pupil builds the same quantity as a column of
// bricks beside it: one brick per press of the brick button (a right click takes the top
// one away), "Ricomincia" empties the column, "Conferma" hands it in. After the second
// wrong answer of a round small markers show how high the right column reaches.
#include "FormEsercizio.h"
#include "Disegno.h"

class FormEs3 : public FormEsercizio {
public:
    FormEs3();

    forms::Ctl PictureBoxPrimaImmagine{this, "PictureBoxPrimaImmagine"};
    forms::Ctl LabelPrimoNumero{this, "LabelPrimoNumero"};
    forms::Ctl LabelSpiega{this, "LabelSpiega"};
    forms::CtlArray Label4{this, "Label4"};   // the brick places, 0 at the bottom
    forms::CtlArray Shape2{this, "Shape2"};   // the help markers beside them
    forms::Ctl Line1{this, "Line1"};          // the height of five bricks
    forms::Ctl CommandMattone{this, "CommandMattone"};
    forms::Ctl Bot_ricomincia{this, "Bot_ricomincia"};
    forms::Ctl BottoneConferma{this, "BottoneConferma"};

    // Bricks in the column, 0 to 10; also the place the next brick goes to.
    int MattoniMessi = 0;

    // The scanning items, by position.
    enum : int { kConferma = 0, kMattone = 1, kRicomincia = 2, kAvanti = 3 };

    void NuovoNumero();
    void ImpostaDisegni();
    void CommandMattone_MouseUp(int Button);
    void Bot_ricomincia_Click();
    void BottoneConferma_Click();
    void MostraAiuto();

protected:
    void NuovoTurno() override { NuovoNumero(); }
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void EsattoEs3();
    void ErratoEs3();
    void AggiungiMattone();
    void TogliMattone();
    void SvuotaColonna();
    bool ColonnaGiusta() const;
    forms::Control *Elemento(int posizione) const;
    void SpegniBottoni();
    void EvidenziaElemento(int posizione);
    bool Seleziona(int posizione);
    void ScegliAvanti();
};
