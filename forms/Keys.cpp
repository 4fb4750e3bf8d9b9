#include "Keys.h"
#include "Control.h"
#include "Form.h"
#include "FormWindow.h"
#include "platform/ServerInput.h"
#include <QApplication>
#include <QHash>
#include <QKeyEvent>

namespace forms {

// ---- key and mouse translation ----

int vbKeyCode(const QKeyEvent *e)
{
    const int k = e->key();
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return (e->modifiers() & Qt::KeypadModifier) ? 96 + (k - Qt::Key_0) : k;
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;
    switch (k) {
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_Return: case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab: return vbKeyTab;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: break;
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return 112 + (k - Qt::Key_F1);
    return 0;
}

int vbShift(Qt::KeyboardModifiers m)
{
    return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

int vbButton(Qt::MouseButtons b)
{
    return ((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) | ((b & Qt::MiddleButton) ? 4 : 0);
}

static int keyAscii(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return 9;
    default: break;
    }
    const QString t = e->text();
    if (t.isEmpty()) return 0;
    const char16_t ch = t.at(0).unicode();
    if (ch < 32 || ch == 127) return 0;
    return ch < 256 ? int(ch) : 0;
}

// ---- held keys ----
//
// A key held down is one press and one release for the handlers, however long it is held.
// The program asks the X server to report a held key as repeated presses and one release
// (detectable auto-repeat): a press of a key already down is then a repeat, and every
// release acts at once. A server that refuses repeats the key as release and press pairs
// bearing one server time, and Qt flags a pair only when the press is already queued as it
// handles the release. For such a server: a flagged pair goes nowhere; an unflagged
// release acts at once, and when a press of the same key with the release's very time
// follows, that release was the hold's first repeat: the rest of the hold goes nowhere, its
// real release included. The hold is then still one step, made as the key starts to repeat.
namespace {

class TastiTenuti : public QObject {
public:
    static TastiTenuti &istanza()
    {
        static auto *t = new TastiTenuti;
        return *t;
    }

    // True when the press only repeats a key already held: it goes nowhere.
    bool ripetizione(const QKeyEvent *e)
    {
        const int k = e->key();
        if (e->isAutoRepeat() || giu_.contains(k)) return true;
        giu_.insert(k, e->nativeScanCode());
        return e->timestamp() != 0 && ultimoRilascio_.value(k) == e->timestamp();
    }

    // False when the release only repeats a held key. The releases that follow a hold's
    // first repeat, its real release included, pass here: the window stops them, as their
    // presses went nowhere and so were never taken (FormWindow::prende).
    bool rilascio(const QKeyEvent *e)
    {
        if (e->isAutoRepeat()) return false;
        const int k = e->key();
        giu_.remove(k);
        ultimoRilascio_.insert(k, e->timestamp());
        return true;
    }

    // A release made while no window of the program had the keyboard (one window gone,
    // the next not yet given it) never arrives: as a window gets the keyboard, the keys
    // the keyboard shows up are up.
    void rivedi()
    {
        for (auto it = giu_.begin(); it != giu_.end();) {
            if (platform::keyDown(it.value()) == false) it = giu_.erase(it);
            else ++it;
        }
    }

protected:
    // A key is up again whatever takes its release: a window of the kit, a message box, or
    // a control that was disabled under it. Otherwise its next press would pass for a repeat.
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::KeyRelease && !static_cast<QKeyEvent *>(e)->isAutoRepeat())
            giu_.remove(static_cast<QKeyEvent *>(e)->key());
        return false;
    }

private:
    TastiTenuti() { qApp->installEventFilter(this); }

    QHash<int, quint32> giu_;        // keys down, with their native codes
    QHash<int, ulong> ultimoRilascio_;
};

// Whether the control's window lets the event act on it (see FormWindow::prende).
bool prende(Control *c, const QInputEvent *e)
{
    auto *w = qobject_cast<FormWindow *>(c->form()->window());
    return !w || w->prende(e, c->widget());
}

} // namespace

void rivediTastiTenuti()
{
    TastiTenuti::istanza().rivedi();
}

bool dispatchKeyPress(Control *c, QKeyEvent *e, bool *ripetizione)
{
    Form *f = c->form();
    const bool ripetuto = TastiTenuti::istanza().ripetizione(e);
    if (ripetizione) *ripetizione = ripetuto;
    if (ripetuto || !prende(c, e) || f->wasUnloaded()) return true;
    int code = vbKeyCode(e);
    const int shift = vbShift(e->modifiers());
    if (code) c->raiseKeyDown(code, shift);
    if (f->wasUnloaded()) return true;
    int ascii = keyAscii(e);
    if (ascii) {
        c->raiseKeyPress(ascii);
        if (ascii == 0) return true;
    }
    return false;
}

bool dispatchKeyRelease(Control *c, QKeyEvent *e)
{
    if (!TastiTenuti::istanza().rilascio(e) || !prende(c, e) || c->form()->wasUnloaded()) return false;
    int code = vbKeyCode(e);
    if (code) c->raiseKeyUp(code, vbShift(e->modifiers()));
    return true;
}

} // namespace forms
