#pragma once
// Exercise 2: four quantities drawn one way on top, the same four drawn another way below,
// shuffled; the pupil puts each lower picture into the empty box under its match, by
// dragging or by switch (a box first, then the picture for it). After two wrong tries for
// a pair the right picture travels into its box by itself.
#include "FormAbbinamento.h"
#include "Disegno.h"

class FormEs2 : public FormAbbinamento {
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

    void PreparaEsercizio();
    void ImpostaDisegni();

protected:
    void NuovoTurno() override { PreparaEsercizio(); }
    void layout(forms::Layout &l) override;
    void Form_Activate() override;
};
