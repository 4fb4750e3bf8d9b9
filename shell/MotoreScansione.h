#pragma once
// Switch scanning: a highlight steps over a window's items, moved by Space (manual
// scanning, Enter selects) or by a timer (automatic scanning: a held key pauses it,
// releasing Space selects). Every scanned window uses this one engine and gives it its
// own items and rules; the engine owns the timer, the two key catchers and the position.
#include <functional>

namespace forms { class Form; class Control; }

class MotoreScansione {
public:
    MotoreScansione(forms::Form *finestra, const char *timer, const char *catturaManuale, const char *catturaAutomatica);

    // ---- what the window gives ----
    std::function<int()> numeroElementi;
    // Shows (true) or removes (false) the highlight of one item.
    std::function<void(int posizione, bool evidenziato)> evidenzia;
    // The item after `posizione` (skips and waits); by default the next one, wrapping.
    std::function<int(int posizione)> successivo;
    // The pupil selected the highlighted item. In automatic scanning the highlight moves
    // on afterwards when this returns true (and the window is still open).
    std::function<bool(int posizione)> seleziona;
    // While this says so the window waits on its "avanti" item: steps move nothing and a
    // selection chooses "avanti" (scegliAvanti).
    std::function<bool()> inAttesaAvanti;
    std::function<void()> scegliAvanti;
    // Automatic scanning pauses while any key is held (true) or only while Space is (false).
    bool pausaConQualsiasiTasto = false;

    // Binds the timer and the key catchers; once, when the window loads.
    void collega();
    // Sets the scanning up for an input mode: 0 none, 1 manual, 2 automatic, with the
    // position before the first item (or at `partenza`). With `primoPasso` the engine makes
    // the first step that shows the highlight: manual scanning at once, automatic scanning
    // at its first tick, nothing being highlighted until then. Without it the window shows
    // its starting item itself.
    void imposta(int tipoScansione, int velocitaScansione, bool primoPasso = true, int partenza = -1);
    // One step of the highlight.
    void passo();
    void pausa();
    void riprendi();

    int posizione = 0;
    int tipo() const { return tipo_; }

    // The automatic step in milliseconds: quarter seconds, kept within 1 to 15 seconds.
    static int intervalloAutomatico(int velocitaScansione);

private:
    bool inAttesa() const { return inAttesaAvanti && inAttesaAvanti(); }
    bool scegli(); // a selection: "avanti" while waiting on it, else the highlighted item
    void tick();
    void manualeKeyUp(int codice);
    void automaticaKeyPress(int carattere);
    void automaticaKeyUp(int codice);

    forms::Form *finestra_;
    const char *nomeTimer_, *nomeManuale_, *nomeAutomatica_;
    forms::Control *timer_ = nullptr, *manuale_ = nullptr, *automatica_ = nullptr;
    int tipo_ = 0;
    // Automatic scanning before its first tick: no item is highlighted, so the switch
    // selects none.
    bool nienteEvidenziato_ = false;
    bool scegliendo_ = false;
};
