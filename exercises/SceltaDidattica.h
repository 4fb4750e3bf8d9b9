#pragma once
// What the two choice screens share: rows of six samples of nine with eight options each
// (the representation index), the confirm button, the hover colours, and switch scanning
// over the options of every row and then the confirm button. The screens differ in their
// rows and in what confirming opens.
#include "FormStandard.h"
#include "MotoreScansione.h"
#include "Disegno.h"

class SceltaDidattica : public FormStandard {
public:
    forms::Ctl Label1{this, "Label1"};
    forms::Ctl CommandConferma{this, "CommandConferma"};
    forms::Ctl LabelDimensionaFont{this, "LabelDimensionaFont"};
    forms::Ctl Timer1{this, "Timer1"};
    forms::Ctl PictureScansioneManuale{this, "PictureScansioneManuale"};
    forms::Ctl PictureScansioneAutomatica{this, "PictureScansioneAutomatica"};

    static constexpr int32_t kRosso = 0x0000FF, kArancio = 0x0080FF, kGrigioChiaro = 0xE0E0E0;
    static constexpr int kOpzioni = 8;

    // A choice by mouse: the option's click, or a click on its sample.
    void OptionDis_Click(int riga, int Index);
    void Campione_MouseMove(int riga, int Index);
    void Opzione_MouseMove(int riga, int Index);
    void Form_MouseMove(int button, int shift, double x, double y) override;
    void CommandConferma_MouseMove();
    void ImpostaDisegni();
    void ImpostaColori();

    MotoreScansione scansione{this, "Timer1", "PictureScansioneManuale", "PictureScansioneAutomatica"};
    int PosizioneScansione() const { return scansione.posizione; }
    forms::Control *Opzione(int riga, int Index) const;

    struct Riga {
        const char *opzioni, *scatole, *etichette, *immagini, *linee, *forme;
        int *impostazione;
        double *sfondo, *disegno;
    };

protected:
    SceltaDidattica(const QString &nome, std::vector<Riga> righe);

    static void AggiungiRiga(forms::Layout &l, const Riga &r, const char *contenitore, const double scatole[6][2],
                             const double opzioni[8][4]);
    void Form_Load() override;
    // The activation up to the options being set; the screens finish it their own way.
    void PreparaAttivazione();
    void ImpostaScelta(int riga, int Index); // the option set, as the activation and the switch do
    // What confirming does: open the exercise and close the screen.
    virtual void Conferma() = 0;
    // Confirming by mouse works in every mode, or only in mouse mode.
    virtual bool ConfermaSoloConMouse() const = 0;

    std::vector<Riga> righe_;

private:
    std::vector<SlotFigura> slot(int riga) const;
    void spegniAltre(int riga);        // a: other options of the row take the background
    void accendiScelta(int riga);      // b: the chosen option red
    void evidenziaSopra(int riga, int Index); // c: the option under the mouse orange
    void confermaGrigio();             // d
    static void colora(forms::Control *c, int32_t colore);
    bool Seleziona(int posizione);
};
