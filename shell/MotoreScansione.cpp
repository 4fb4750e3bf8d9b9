#include "MotoreScansione.h"
#include "forms/Form.h"
#include <algorithm>

using namespace forms;

MotoreScansione::MotoreScansione(Form *finestra, const char *timer, const char *catturaManuale, const char *catturaAutomatica)
    : finestra_(finestra), nomeTimer_(timer), nomeManuale_(catturaManuale), nomeAutomatica_(catturaAutomatica)
{
}

int MotoreScansione::intervalloAutomatico(int velocitaScansione)
{
    return std::clamp(velocitaScansione, 4, 60) * 250;
}

void MotoreScansione::collega()
{
    timer_ = finestra_->control(QLatin1String(nomeTimer_));
    manuale_ = finestra_->control(QLatin1String(nomeManuale_));
    automatica_ = finestra_->control(QLatin1String(nomeAutomatica_));
    timer_->Timer = [this] { tick(); };
    manuale_->KeyUp = [this](int &k, int) { manualeKeyUp(k); };
    automatica_->KeyDown = [this](int &, int) {
        if (tipo_ == 2 && pausaConQualsiasiTasto) pausa();
    };
    automatica_->KeyPress = [this](int &c) { automaticaKeyPress(c); };
    automatica_->KeyUp = [this](int &k, int) { automaticaKeyUp(k); };
}

void MotoreScansione::imposta(int tipoScansione, int velocitaScansione, bool primoPasso, int partenza)
{
    tipo_ = tipoScansione;
    nienteEvidenziato_ = tipoScansione == 2 && primoPasso;
    const int n = numeroElementi ? numeroElementi() : 0;
    switch (tipoScansione) {
    case 1:
        posizione = partenza >= 0 ? partenza : n - 1;
        manuale_->setBackColor(finestra_->BackColor());
        manuale_->setVisible(true);
        automatica_->setVisible(false);
        timer_->setEnabled(true);
        // The catcher holds the keys from the start, not from the first tick: no other
        // control may take a switch press meanwhile.
        manuale_->SetFocus();
        if (primoPasso) passo();
        break;
    case 2:
        posizione = partenza >= 0 ? partenza : n - 1;
        automatica_->setBackColor(finestra_->BackColor());
        automatica_->setVisible(true);
        manuale_->setVisible(false);
        timer_->setInterval(intervalloAutomatico(velocitaScansione));
        timer_->setEnabled(true);
        automatica_->SetFocus();
        break;
    default:
        timer_->setEnabled(false);
        manuale_->setVisible(false);
        automatica_->setVisible(false);
        break;
    }
}

void MotoreScansione::passo()
{
    const int n = numeroElementi ? numeroElementi() : 0;
    if (n <= 0) return;
    if (posizione >= 0 && posizione < n && evidenzia) evidenzia(posizione, false);
    int prossima = successivo ? successivo(posizione) : posizione + 1;
    if (prossima >= n || prossima < 0) prossima = successivo ? std::clamp(prossima, 0, n - 1) : 0;
    posizione = prossima;
    nienteEvidenziato_ = false;
    if (evidenzia) evidenzia(posizione, true);
}

void MotoreScansione::pausa() { if (timer_) timer_->setEnabled(false); }
void MotoreScansione::riprendi() { if (timer_ && tipo_ != 0 && finestra_->isLoaded()) timer_->setEnabled(true); }

void MotoreScansione::tick()
{
    // A step that cannot be made (the window not active) is passed over.
    if (tipo_ == 1) {
        manuale_->SetFocus();
    } else if (tipo_ == 2) {
        if (!inAttesa()) passo();
        automatica_->SetFocus();
    }
}

bool MotoreScansione::scegli()
{
    // A second press of the switch while the first selection is still running (it may
    // pause, or load the next window) selects nothing.
    if (scegliendo_) return false;
    scegliendo_ = true;
    bool avanti = true;
    if (inAttesa()) {
        if (scegliAvanti) scegliAvanti();
    } else if (seleziona) {
        avanti = seleziona(posizione);
    }
    scegliendo_ = false;
    return avanti;
}

void MotoreScansione::manualeKeyUp(int codice)
{
    if (tipo_ != 1) return;
    if (codice == vbKeySpace) {
        if (!inAttesa()) passo();
    } else if (codice == vbKeyReturn) {
        scegli();
    }
}

void MotoreScansione::automaticaKeyPress(int carattere)
{
    if (tipo_ == 2 && carattere == vbKeySpace) pausa();
}

void MotoreScansione::automaticaKeyUp(int codice)
{
    if (tipo_ != 2 || codice != vbKeySpace) return;
    // Before the first tick the pupil sees no highlight, and chooses nothing: the
    // scanning goes on.
    const bool avanti = nienteEvidenziato_ || scegli();
    if (avanti && finestra_->isLoaded()) riprendi();
}
