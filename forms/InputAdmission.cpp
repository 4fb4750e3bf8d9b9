#include "InputAdmission.h"
#include "platform/ServerInput.h"
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
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
        case QEvent::MouseMove:
            if (o->isWindowType()) viaggio(static_cast<QMouseEvent *>(e));
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
        QPointer<QObject> bersaglio;
        QPointF punto;         // where on the screen its first press came, for a button
    };
    // A press whose release has not come yet, and whether it acts.
    struct Premuto {
        bool preso = false;
        quint32 codice = 0; // a key's native code
        QPointer<QObject> bersaglio;
    };

    // What the press lands on: the widget under the pointer, or what has the keyboard. A
    // window already hidden, whose press the platform hands over as it goes away, still
    // names the control it last had: the press lands on nothing.
    static QObject *bersaglio(QWindow *w, const QInputEvent *e, bool tasto)
    {
        QWidget *t = nullptr;
        for (QWidget *c : QApplication::topLevelWidgets())
            if (c->windowHandle() == w) t = c;
        if (t && !t->isVisible()) return nullptr;
        if (tasto) return w->focusObject();
        if (!t) return w;
        QWidget *c = t->childAt(static_cast<const QMouseEvent *>(e)->position().toPoint());
        return c ? c : t;
    }

    // Whether a button's press lands where the gesture's first press did: within the
    // platform's double-click distance, and a few points more for a hand that trembles. A
    // pointer that has travelled further was aimed.
    static bool sulPosto(const Gesto &g, const QMouseEvent *e)
    {
        const QPointF d = e->globalPosition() - g.punto;
        const qreal raggio = QGuiApplication::styleHints()->mouseDoubleClickDistance() + 4;
        return d.x() * d.x() + d.y() * d.y() <= raggio * raggio;
    }

    // A pointer that leaves the spot of a button's gesture, dragging or not, was aimed
    // wherever it presses next: the gesture is over.
    void viaggio(const QMouseEvent *e)
    {
        for (auto it = gesti_.begin(); it != gesti_.end(); ++it)
            if (it.key() < 0 && it->ultima != 0 && !sulPosto(*it, e)) it->ultima = 0;
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
        QObject *dove = bersaglio(w, e, tasto);
        // A press of a key still held is its repeat: it goes where the press went, as long
        // as it lands where the press did. Elsewhere, the key's release was lost as its
        // window went away (a machine too busy to read it before the window was gone): this
        // is a new press, judged as one.
        if (tasto && giu && dove && p->bersaglio == dove) return p->preso;

        const ulong ora = e->timestamp();
        Gesto &g = gesti_[quale];
        const ulong intervallo = ulong(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        const bool seguito = ora != 0 && g.ultima != 0 && !platform::serverTimeBefore(ora, g.ultima)
                             && quint32(ora) - quint32(g.ultima) <= intervallo && (tasto || sulPosto(g, static_cast<const QMouseEvent *>(e)));
        const bool colpoDelPrimo = seguito && g.scena != scena_ && (!dove || g.bersaglio != dove);
        if (colpoDelPrimo) g.ultima = ora;
        else g = Gesto{ora, scena_, dove, tasto ? QPointF() : static_cast<const QMouseEvent *>(e)->globalPosition()};
        premuti_.insert(quale, Premuto{!colpoDelPrimo, tasto ? static_cast<const QKeyEvent *>(e)->nativeScanCode() : 0, dove});
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
