#pragma once
// What the five exercise windows share: the counters and the two faces, the round's piece
// of the activity record, the "avanti" button, the menu items "Azzera conteggio" and
// "Esci" with the exit panel, the highlight (a colour, or a frame round the item) and
// switch scanning. Each exercise adds its items, its rounds and its answer checks.
#include "FormStandard.h"
#include "MotoreScansione.h"
#include "PannelloUscita.h"
#include <QRectF>
#include <functional>
#include <initializer_list>

// Where a window lays out the controls every exercise has (twips, Left Top Width Height).
struct ControlliComuni {
    QRectF label1, label2, esatti, errati, iconaSi, iconaNo, avanti, manuale, automatica;
    const char *contenitoreRiquadro = "";  // where the highlight frame is laid out
    const char *uscita = "FrameUscita";    // the holder of the exit panel
    forms::Kind tipoUscita = forms::Kind::Frame;
    int spaziAzzera = 3;                   // the blanks after "Azzera conteggio" in the menu bar
    // The window's own menus, between "Azzera conteggio" and "Esci".
    std::function<void(forms::Layout &)> menuPropri;
};

class FormEsercizio : public FormStandard {
public:
    forms::Ctl Label1{this, "Label1"};
    forms::Ctl Label2{this, "Label2"};
    forms::Ctl EtichettaEsatti{this, "EtichettaEsatti"};
    forms::Ctl EtichettaErrati{this, "EtichettaErrati"};
    forms::Ctl ComandoIconaSi{this, "ComandoIconaSi"};
    forms::Ctl ComandoIconaNo{this, "ComandoIconaNo"};
    forms::Ctl BottoneAvanti{this, "BottoneAvanti"};
    forms::Ctl PictureScansioneManuale{this, "PictureScansioneManuale"};
    forms::Ctl PictureScansioneAutomatica{this, "PictureScansioneAutomatica"};
    forms::Ctl Timer1{this, "Timer1"};
    forms::Ctl ShapeRiquadro{this, "ShapeRiquadro"};
    forms::Ctl LabelDimensionaFont{this, "LabelDimensionaFont"};

    int ErroriEsercizio = 0;
    QString RigaLog;

    MotoreScansione scansione{this, "Timer1", "PictureScansioneManuale", "PictureScansioneAutomatica"};
    int PosizioneScansione() const { return scansione.posizione; }

    void MenuAzzera_Click();
    // "avanti" by mouse (in the scanning modes the switch chooses it): the next round.
    void BottoneAvanti_Click();
    void mnuEsci_Click() { PresentaFinestraUscita(); }
    void PresentaFinestraUscita() { uscita.PresentaFinestraUscita(); }

    // A count as the counters show it after an answer: " 4".
    static QString ConSpazio(int n);

protected:
    FormEsercizio(const QString &nome, const char *uscita);
    static void AggiungiControlliComuni(forms::Layout &l, const ControlliComuni &c);

    void Form_Load() override;
    // The window's new round (NuovoNumero or PreparaEsercizio).
    virtual void NuovoTurno() = 0;

    // The frame's shares of a window's work.
    void AttivaFinestra();                     // full screen, counters, background
    void IniziaTurno();                        // the record piece restarts; a new colour
    void RegistraNumeri(std::initializer_list<int> numeri); // no errors yet; the round's numbers
    void Esatto(bool risolveTurno = true);
    void Errato();
    void SistemaRiquadro(forms::Control *elemento);
    // The highlight frame shown with the user's width and colour.
    void MostraRiquadro();
    // The highlight of one item: the frame when the window uses it, else the colour.
    void Evidenzia(forms::Control *elemento, bool acceso, bool conRiquadro);
    // A control travels onto another in ten steps of a tenth of a second, the events being
    // processed meanwhile; false when the travel was broken off because the window was
    // left or `ancora` stopped holding. The caller then touches nothing more.
    bool Viaggia(forms::Control *c, forms::Control *destinazione, const std::function<bool()> &ancora = {});
    // The key catcher of the current scanning mode.
    forms::Control *CatturaTasti() const;

private:
    PannelloUscita uscita;
};
