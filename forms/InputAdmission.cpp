#include "InputAdmission.h"
#include "platform/ServerInput.h"
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>

namespace forms {

namespace {

class Ammissione : public QObject {
public:
    Ammissione() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::Show:
        case QEvent::Hide:
            // What lies under the pointer or has the keyboard may have changed.
            if (o->isWidgetType() && static_cast<QWidget *>(o)->windowType() != Qt::ToolTip) ++scena_;
            return false;
        case QEvent::FocusIn:
            if (o->isWindowType()) rivedi();
            return false;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // Judged once, as the platform hands the event to a window; what the window
            // passes on to its widgets is already judged.
            return o->isWindowType() && !ammessa(static_cast<QWindow *>(o), static_cast<QInputEvent *>(e));
        default:
            return false;
        }
    }

private:
    // The press a gesture started with: when it came, and what it came to.
    struct Gesto {
        ulong ultima = 0;      // the server time of the gesture's last press
        quint64 scena = 0;     // the scene as its first press found it
        const QObject *bersaglio = nullptr;
    };
    // A press whose release has not come yet, and whether it acts.
    struct Premuto {
        bool preso = false;
        quint32 codice = 0; // a key's native code
    };

    // What the press lands on: the widget under the pointer, or what has the keyboard.
    static const QObject *bersaglio(QWindow *w, const QInputEvent *e, bool tasto)
    {
        if (tasto) return w->focusObject();
        for (QWidget *t : QApplication::topLevelWidgets()) {
            if (t->windowHandle() != w) continue;
            QWidget *c = t->childAt(static_cast<const QMouseEvent *>(e)->position().toPoint());
            return c ? c : t;
        }
        return w;
    }

    bool ammessa(QWindow *w, const QInputEvent *e)
    {
        const bool tasto = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
        // Keys and buttons apart: Qt's key codes are positive.
        const int quale = tasto ? static_cast<const QKeyEvent *>(e)->key() : -int(static_cast<const QMouseEvent *>(e)->button());
        const auto p = premuti_.constFind(quale);
        const bool giu = p != premuti_.cend();

        if (e->type() == QEvent::MouseButtonDblClick) return !giu || p->preso; // judged as its press
        if (e->type() == QEvent::KeyRelease || e->type() == QEvent::MouseButtonRelease) {
            // The window itself judges the release of a press that acts (FormWindow::prende).
            const bool preso = !giu || p->preso;
            if (giu) premuti_.erase(p);
            return preso;
        }
        // A press of a key still held is its repeat: it goes where the press went.
        if (tasto && giu) return p->preso;

        const ulong ora = e->timestamp();
        const QObject *dove = bersaglio(w, e, tasto);
        Gesto &g = gesti_[quale];
        const ulong intervallo = ulong(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        const bool seguito = ora != 0 && g.ultima != 0 && !platform::serverTimeBefore(ora, g.ultima)
                             && quint32(ora) - quint32(g.ultima) <= intervallo;
        const bool colpoDelPrimo = seguito && g.scena != scena_ && g.bersaglio != dove;
        if (colpoDelPrimo) g.ultima = ora;
        else g = Gesto{ora, scena_, dove};
        premuti_.insert(quale, Premuto{!colpoDelPrimo, tasto ? static_cast<const QKeyEvent *>(e)->nativeScanCode() : 0});
        return !colpoDelPrimo;
    }

    // A key let go while no window of the program had the keyboard sends no release: as a
    // window gets the keyboard, the keys the keyboard shows up are up.
    void rivedi()
    {
        for (auto it = premuti_.begin(); it != premuti_.end();) {
            if (it.key() > 0 && platform::keyDown(it->codice) == false) it = premuti_.erase(it);
            else ++it;
        }
    }

    quint64 scena_ = 0; // grows as anything is shown or hidden
    QHash<int, Gesto> gesti_;
    QHash<int, Premuto> premuti_;
};

} // namespace

void installInputAdmission()
{
    static Ammissione *ammissione = new Ammissione;
    Q_UNUSED(ammissione);
}

} // namespace forms
