#pragma once
// The exit confirmation panel: a centred panel with a "no" button (a seal balancing a
// ball) and a "yes" button (a duckling with a backpack). While it is open the mouse
// pointer cannot leave it. The main menu and the five exercise windows carry it; they
// differ only in the name and kind of the holder and in what yes does.
#include "forms/Layout.h"
#include <QPointer>
#include <QWidget>
#include <functional>

namespace forms { class Form; class Control; }

// Adds the holder and its controls to a window's layout.
void AggiungiPannelloUscita(forms::Layout &l, const char *contenitore, forms::Kind tipoContenitore);

constexpr int32_t kColoreRiposo = 0x00E0E0E0;
constexpr int32_t kColoreSopra = 0x000000FF;

class PannelloUscita {
public:
    PannelloUscita(forms::Form *finestra, const char *contenitore);

    // What yes does in this window; wired with the handlers when the window loads.
    void collega(std::function<void()> si);

    void PresentaFinestraUscita();
    void CommandSi_Click();
    void CommandNo_Click();
    void CommandSi_MouseMove();
    void CommandNo_MouseMove();
    void Contenitore_MouseMove();
    void BloccaMouse();
    static void SbloccaMouse();

private:
    forms::Control *c(const char *nome) const;
    void evidenzia(forms::Control *sopra, forms::Control *altro);

    forms::Form *finestra_;
    const char *contenitore_;
    std::function<void()> si_;
    // What had the keyboard before the panel took it: "no" gives it back (in the scanning
    // modes, the key catcher).
    QPointer<QWidget> tastieraPrima_;
};
