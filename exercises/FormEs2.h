#pragma once
// Exercise 2: four quantities drawn one way on top, the same four drawn another way below,
// shuffled; the pupil puts each lower picture into the empty box under its match, by
// dragging or by switch (a box first, then the picture for it). After two wrong tries for
// a pair the right picture travels into its box by itself.
#include "FormEsercizio.h"
#include "Disegno.h"
#include <array>

class FormEs2 : public FormEsercizio {
public:
    FormEs2();

    forms::CtlArray FrameImmagine{this, "FrameImmagine"};
    forms::CtlArray Frame1{this, "Frame1"};
    forms::CtlArray FrameSecondaImmagine{this, "FrameSecondaImmagine"};
    forms::CtlArray LabelNumero{this, "LabelNumero"};
    forms::CtlArray LabelSecondoNumero{this, "LabelSecondoNumero"};
    forms::CtlArray Image1{this, "Image1"};
    forms::CtlArray Image2{this, "Image2"};
    forms::Ctl LabelSpiega{this, "LabelSpiega"};

    std::array<int, 4> Numeri{};
    std::array<int, 4> ErroriImmagine{};
    int Sistemati = 0;
    int TopRigaBassa = 0;
    int FaseScansione = 1;
    int CasellaScelta = 0;
    int ImmagineScelta = 0;

    void PreparaEsercizio();
    void ImpostaDisegni();
    void ScombiccheraPosti();
    void Frame1_DragDrop(int Index, int sorgente);
    void SistemaRiquadro();
    bool posizionamentoInCorso() const { return inMovimento_; }

protected:
    void NuovoTurno() override { PreparaEsercizio(); }
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void EsattoEs2();
    void Sistema(int k);                // picture k into box k, at once
    void PosizionaDaSolo(int k, bool daScansione);
    bool Seleziona(int posizione);
    int Successivo(int posizione) const;
    void trascinabili(int modo);
    bool inMovimento_ = false;          // an automatic placement is under way
};
