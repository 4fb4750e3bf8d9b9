#pragma once
// What exercises 2 and 4 share: pictures (cards) below a row of empty boxes, each picture
// belonging to one box. With the mouse a picture is dragged onto a box; by switch a box is
// chosen first and then the picture for it. After two wrong tries for a pair the right
// picture travels into its box by itself. The windows add what is shown and in what order.
#include "FormEsercizio.h"
#include <vector>

class FormAbbinamento : public FormEsercizio {
public:
    std::vector<int> Numeri;          // the quantity of picture i and of box i
    std::vector<int> ErroriImmagine;  // wrong tries: per dragged picture, or per chosen box
    int Sistemati = 0;                // pictures in their boxes this round
    int TopRigaBassa = 0;             // the top of a picture still to place
    int FaseScansione = 1;            // 1 choose a box, 2 choose a picture, 3 "avanti"
    int CasellaScelta = 0;
    int ImmagineScelta = 0;

    bool posizionamentoInCorso() const { return inMovimento_; }
    void Casella_DragDrop(int Index, forms::Control *Source);
    void ScombiccheraPosti();
    void SistemaRiquadro();

protected:
    FormAbbinamento(const QString &nome, const char *uscita, int coppie, const char *caselle, const char *immagini,
                    const char *etichette, const char *figure);
    void Form_Load() override;

    // The shares of the window's activation and new round.
    void ImpostaScansioneAbbinamento();          // the activation, for the input mode
    void IniziaAbbinamento(int32_t coloreCaselle); // the round's start, up to the numbers
    void EstraiNumeri();                          // different numbers from 0 to the highest
    void FinisciAbbinamento();                    // after the drawing: shuffle, first highlight

    using FormEsercizio::SistemaRiquadro;

private:
    void Trascinabile(int k, bool si);
    bool Sistemata(int k) const;           // picture k is in (or on its way to) its box
    void Piazza(int k);                    // picture k into box k, at once
    void PosizionaDaSolo(int k, bool daScansione);
    void EsattoAbbinamento();
    void RiprendiDalleCaselle();
    int CartaInColonna(int colonna) const;
    int Successivo(int posizione) const;
    bool Seleziona(int posizione);

    int coppie_;
    const char *nomiCaselle_, *nomiImmagini_, *nomiEtichette_, *nomiFigure_;
    std::vector<forms::Control *> caselle_, immagini_;
    bool inMovimento_ = false; // a picture is travelling into its box
    int turno_ = 0;            // which round a travelling picture belongs to
};
