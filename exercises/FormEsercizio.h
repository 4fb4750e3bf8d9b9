#pragma once
// What the five exercise windows share: the counters and the two faces, the round's piece
// of the activity record, the "avanti" button, the menu items "Azzera conteggio" and
// "Esci" with the exit panel, the highlight (a colour, or a frame round the item) and
// switch scanning. Each exercise adds its items, its rounds and its answer checks.
#include "FormStandard.h"
#include "MotoreScansione.h"
#include "PannelloUscita.h"
#include <functional>
#include <initializer_list>

// Where a window lays out the controls every exercise has (twips, Left Top Width Height).
struct ControlliComuni {
    double label1[4], label2[4], esatti[4], errati[4], iconaSi[4], iconaNo[4], avanti[4], manuale[4], automatica[4];
    const char *contenitoreRiquadro = "";  // where the highlight frame is laid out
    const char *uscita = "FrameUscita";    // the holder of the exit panel
    forms::Kind tipoUscita = forms::Kind::Frame;
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
    void mnuEsci_Click() { PresentaFinestraUscita(); }
    void PresentaFinestraUscita() { uscita.PresentaFinestraUscita(); }
    PannelloUscita &pannelloUscita() { return uscita; }

    // A count as the counters show it after an answer: " 4".
    static QString ConSpazio(int n);

protected:
    FormEsercizio(const QString &nome, const char *uscita);
    static void AggiungiControlliComuni(forms::Layout &l, const ControlliComuni &c);

    void Form_Load() override;

    // The frame's shares of a window's work.
    void AttivaFinestra();                     // full screen, counters, background
    void IniziaTurno();                        // the record piece restarts; a new colour
    void RegistraNumeri(std::initializer_list<int> numeri); // no errors yet; the round's numbers
    void Esatto(bool risolveTurno = true);
    void Errato();
    void SistemaRiquadro(forms::Control *elemento);
    // The highlight of one item: the frame when the window uses it, else the colour.
    void Evidenzia(forms::Control *elemento, bool acceso, bool conRiquadro);
    // The key catcher of the current scanning mode.
    forms::Control *CatturaTasti() const;

private:
    PannelloUscita uscita;
};
