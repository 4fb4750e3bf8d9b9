#pragma once
// Exercise 5: a row of three places shows one or two numbers and an empty place; below lie
// five cards, each with a different number. The pupil moves the card that completes the
// row into the empty place: the number between two, the number after or the number before
// one, or any of these, asked afresh at every question. Cards are dragged with the mouse,
// or chosen by switch scanning, a frame stepping over the five cards.
#include "FormEsercizio.h"
#include "Disegno.h"
#include <array>

class FormEs5 : public FormEsercizio {
public:
    FormEs5();

    forms::CtlArray PictureBoxImmagine{this, "PictureBoxImmagine"};
    forms::CtlArray PictureBox1{this, "PictureBox1"};
    forms::CtlArray PictureBoxSecondaImmagine{this, "PictureBoxSecondaImmagine"};
    forms::CtlArray LabelNumero{this, "LabelNumero"};
    forms::CtlArray LabelSecondoNumero{this, "LabelSecondoNumero"};
    forms::CtlArray Image1{this, "Image1"};
    forms::CtlArray Image2{this, "Image2"};
    forms::Ctl Label4{this, "Label4"};
    forms::Ctl mnuTrova{this, "mnuTrova"};
    forms::Ctl mnuMezzo{this, "mnuMezzo"};
    forms::Ctl mnuSuccessivo{this, "mnuSuccessivo"};
    forms::Ctl mnuPrecedente{this, "mnuPrecedente"};
    forms::Ctl mnuMancante{this, "mnuMancante"};

    // The kinds of question, as the menu chooses them.
    enum : int { kInMezzo = 1, kSuccessivo = 2, kPrecedente = 3, kMancante = 4 };

    std::array<int, 5> Numeri{};        // the numbers of the five cards
    std::array<int, 3> NumeriDomanda{}; // the numbers of the three places of the row
    int Modo = kInMezzo;                // the menu's choice
    int ModoDomanda = kInMezzo;         // the kind of the current question (1 to 3)
    int CartaGiusta = 0;                // the card that answers
    int CasellaVuota = 1;               // the empty place of the row
    std::array<int, 5> PosizioniCarte{}; // the cards' home Left, whole twips
    int TopRigaBassa = 0;               // the cards' home Top

    void PreparaEsercizio();
    void ImpostaDisegni();
    void PictureBox1_DragDrop(int Index, forms::Control *Source);
    void mnuMezzo_Click();
    void mnuSuccessivo_Click();
    void mnuPrecedente_Click();
    void mnuMancante_Click();
    void SistemaRiquadro();

    // The highest number on a card: the user's, kept within 4 (five different numbers)
    // and 10 (what can be drawn).
    static int NumeroPiuAlto();

protected:
    void NuovoTurno() override { PreparaEsercizio(); }
    void layout(forms::Layout &l) override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void ScegliModo(int modo, const char *testo, forms::Control *voce);
    void EsattoEs5();
    void Sistema(int carta);        // the card into the empty place; the question is solved
    bool Seleziona(int posizione);
    void ScegliAvanti();
    int CartaDi(const forms::Control *c) const; // the card a control belongs to, or -1
    void trascinabili(int carta, int modo);
};
