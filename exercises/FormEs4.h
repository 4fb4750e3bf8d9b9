#pragma once
// Exercise 4: five cards, each with a different quantity, wait below a row of five empty
// boxes; the pupil puts every card into its box so that the quantities grow from left to
// right (or shrink: the order is chosen in the menu). With the mouse the cards are
// dragged; by switch a box is chosen first and then the card for it. After two wrong
// tries the right card travels into its box by itself.
#include "FormEsercizio.h"
#include "Disegno.h"
#include <array>

class FormEs4 : public FormEsercizio {
public:
    FormEs4();

    forms::CtlArray PictureBox1{this, "PictureBox1"};                             // the boxes
    forms::CtlArray PictureBoxSecondaImmagine{this, "PictureBoxSecondaImmagine"}; // the cards
    forms::CtlArray LabelSecondoNumero{this, "LabelSecondoNumero"};
    forms::CtlArray Image2{this, "Image2"};
    forms::Ctl Label4{this, "Label4"};
    forms::Ctl mnuCresci{this, "mnuCresci"};
    forms::Ctl mnuDecresci{this, "mnuDecresci"};

    std::array<int, 5> Numeri{};         // after the sort: the quantity of card i and box i
    int Ordine = 1;                      // 1 increasing, 2 decreasing
    std::array<int, 5> ErroriImmagine{}; // wrong tries: per dragged card, or per chosen box
    int Sistemati = 0;                   // cards in their boxes this round
    int TopRigaBassa = 0;
    int FaseScansione = 1;               // 1 choose a box, 2 choose a card, 3 "avanti"
    int CasellaScelta = 0;
    int ImmagineScelta = 0;

    void mnuCresci_Click();
    void mnuDecresci_Click();
    void PreparaEsercizio();
    void ImpostaDisegni();
    void ScombiccheraPosti();
    void PictureBox1_DragDrop(int Index, forms::Control *Source);
    void SistemaRiquadro();
    bool posizionamentoInCorso() const { return inMovimento_; }

protected:
    void NuovoTurno() override { PreparaEsercizio(); }
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;
    using FormEsercizio::SistemaRiquadro;

private:
    void ScegliOrdine(int ordine, const char *testo);
    void EsattoEs4();
    void Piazza(int k);                    // card k into box k, at once
    void PosizionaDaSolo(int k, bool daScansione);
    void Trascinabile(int k, bool si);
    bool Sistemata(int k) const;           // card k is in (or on its way to) its box
    int CartaInColonna(int colonna) const; // by the cards' tags; -1 when none
    int Successivo(int posizione) const;
    bool Seleziona(int posizione);
    void RiprendiDalleCaselle();

    bool inMovimento_ = false; // a card is travelling into its box
    int turno_ = 0;            // counts the rounds, so that a travel stops when its round ends
};
