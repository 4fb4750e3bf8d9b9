#pragma once
// Exercise 4: five cards, each with a different quantity, wait below a row of five empty
// boxes; the pupil puts every card into its box so that the quantities grow from left to
// right (or shrink: the order is chosen in the menu). With the mouse the cards are
// dragged; by switch a box is chosen first and then the card for it. After two wrong
// tries the right card travels into its box by itself.
#include "FormAbbinamento.h"
#include "Disegno.h"

class FormEs4 : public FormAbbinamento {
public:
    FormEs4();

    forms::CtlArray PictureBox1{this, "PictureBox1"};                             // the boxes
    forms::CtlArray PictureBoxSecondaImmagine{this, "PictureBoxSecondaImmagine"}; // the cards
    forms::CtlArray LabelSecondoNumero{this, "LabelSecondoNumero"};
    forms::CtlArray Image2{this, "Image2"};
    forms::Ctl Label4{this, "Label4"};
    forms::Ctl mnuCresci{this, "mnuCresci"};
    forms::Ctl mnuDecresci{this, "mnuDecresci"};

    int Ordine = 1; // 1 increasing, 2 decreasing

    void mnuCresci_Click();
    void mnuDecresci_Click();
    void PreparaEsercizio();
    void ImpostaDisegni();

protected:
    void NuovoTurno() override { PreparaEsercizio(); }
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void ScegliOrdine(int ordine, const char *testo);
};
