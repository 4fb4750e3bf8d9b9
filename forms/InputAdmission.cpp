#include "InputAdmission.h"
#include "Control.h"
#include "FormWindow.h"
#include "platform/ServerInput.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QRegion>
#include <QStyleHints>
#include <QTabBar>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace forms {

namespace {

// How far past the edge of what a press landed on a trembling hand's next press may still
// come, in pixels: a hand trembling on the menu's tiles and on a message box's OK came down
// again 12 to 16 pixels from its first press, inside the control or within this of its edge
// (a swing out and back comes back nearer). It is no wider because a press on something
// that appeared this close is as likely aimed: a teacher's quick click on the page a tab
// has just shown, the next of a column of options.
constexpr int kMargine = 12;

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
        QPointer<QObject> bersaglio;
        QPointF punto;         // where on the screen its first press came, for a button
        QRegion area;          // what that press landed on, on the screen (empty: the window)
        QPointer<QWidget> tendina; // the popup open at that press
    };
    // A press whose release has not come yet, and whether it acts.
    struct Premuto {
        bool preso = false;
        quint32 codice = 0; // a key's native code
        QPointer<QObject> bersaglio;
    };

    // The program's top-level widget behind a window of the platform.
    static QWidget *finestra(QWindow *w)
    {
        for (QWidget *c : QApplication::topLevelWidgets())
            if (c->windowHandle() == w) return c;
        return nullptr;
    }

    // What the press lands on: the widget under the pointer, or what has the keyboard. A
    // window already hidden, whose press the platform hands over as it goes away, still
    // names the control it last had: the press lands on nothing.
    static QObject *bersaglio(QWindow *w, QWidget *t, const QInputEvent *e, bool tasto)
    {
        if (t && !t->isVisible()) return nullptr;
        if (tasto) return w->focusObject();
        if (!t) return w;
        QWidget *c = t->childAt(static_cast<const QMouseEvent *>(e)->position().toPoint());
        return c ? c : t;
    }

    // The widget of the control a widget is part of (a list's rows and scroll bars are the
    // list); in a window not of the kit, the widget itself.
    static QWidget *controllo(QWidget *w)
    {
        for (QWidget *p = w; p && !p->isWindow(); p = p->parentWidget())
            if (Control::of(p)) return p;
        return w;
    }
    // The one thing the pupil sees a control's widget as part of.
    static const void *cosa(QWidget *w)
    {
        const Control *c = Control::of(w);
        return c ? static_cast<const void *>(c->thing()) : w;
    }
    // A rectangle of a widget, on the screen, as far as the widget and those holding it show.
    static QRect sulloSchermo(const QWidget *w, const QRect &r)
    {
        QRect v(w->mapToGlobal(r.topLeft()), r.size());
        for (const QWidget *p = w; p; p = p->isWindow() ? nullptr : p->parentWidget())
            v &= QRect(p->mapToGlobal(QPoint()), p->size());
        return v;
    }
    // Whether `w` is drawn over `m`: inside it, or after it among the children of what
    // holds them both.
    static bool sopra(const QWidget *w, const QWidget *m)
    {
        if (m->isAncestorOf(w)) return true;
        for (const QWidget *a = w; a->parentWidget() && !a->isWindow(); a = a->parentWidget()) {
            const QWidget *p = a->parentWidget();
            if (!p->isAncestorOf(m)) continue;
            const QWidget *b = m;
            while (b->parentWidget() != p) b = b->parentWidget();
            return p->children().indexOf(a) > p->children().indexOf(b);
        }
        return false;
    }
    // Where a press does something of its own: a control of the kit that takes presses, or
    // a widget not of the kit that takes a click (a message box's button, a window's menu
    // bar, a dialog's field).
    static QRegion attiva(QWidget *w)
    {
        const Control *c = Control::of(w);
        const bool prende = c ? c->takesPresses()
                              : (w->focusPolicy() & Qt::ClickFocus) || qobject_cast<QAbstractButton *>(w) || qobject_cast<QMenuBar *>(w);
        return prende ? QRegion(sulloSchermo(w, w->rect())) : QRegion();
    }

    // What a press at `globale` lands on in `w` as drawn: a tab of a tab strip or a title of
    // a menu bar, whose widget spans far more (a strip spans the pages laid over it); any
    // other widget whole. The bar's other tabs or titles, each a press's own, go in
    // `altre`. Empty on a bar's bare stretch.
    static QRect parteDi(QWidget *w, const QPoint &globale, QRegion &altre)
    {
        QList<QRect> parti;
        if (auto *schede = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < schede->count(); ++i) parti << schede->tabRect(i);
        } else if (auto *barra = qobject_cast<QMenuBar *>(w)) {
            for (QAction *a : barra->actions())
                if (a->isVisible()) parti << barra->actionGeometry(a);
        } else {
            return sulloSchermo(w, w->rect());
        }
        const QPoint locale = w->mapFromGlobal(globale);
        QRect premuta;
        for (const QRect &r : parti) {
            if (premuta.isEmpty() && r.contains(locale)) premuta = sulloSchermo(w, r);
            else altre += sulloSchermo(w, r);
        }
        return premuta;
    }

    // What a press at `globale` on `t`, a widget of the window `top`, landed on, as the pupil
    // sees it: the control (with those it acts as one with; only the tab or menu title
    // pressed) less the widgets drawn over it, grown by a margin over empty space for a hand
    // that trembles at its edge: never over a widget drawn over the control (the pages laid
    // over a tab strip), nor into another control a press acts on. Empty for a press on the
    // window itself, on a bar's bare stretch, or on a frame that only holds controls.
    static QRegion areaDi(QWidget *top, QWidget *t, const QPoint &globale)
    {
        auto *fw = qobject_cast<FormWindow *>(top);
        if (!t || t == top || (fw && t == fw->client())) return {};
        QWidget *c = controllo(t);
        if (const Control *k = Control::of(c); k && !k->takesPresses()) {
            const QList<QWidget *> dentro = c->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            if (std::any_of(dentro.cbegin(), dentro.cend(), [](const QWidget *w) { return Control::of(w); })) return {};
        }
        const void *quale = cosa(c);
        const QList<QWidget *> tutti = top->findChildren<QWidget *>();
        // What shows in this window and takes a press (a drawn dot lets it through); a list
        // or menu open over it is a window of its own.
        auto conta = [top](const QWidget *w) {
            return w->isVisible() && !w->testAttribute(Qt::WA_TransparentForMouseEvents) && w->window() == top;
        };

        // Each of the thing's widgets: the widget, and the part of it that counts.
        QList<QPair<QWidget *, QRect>> membri;
        QRegion altre;
        for (QWidget *w : tutti)
            if (w != c && conta(w) && controllo(w) == w && cosa(w) == quale) membri.append({w, sulloSchermo(w, w->rect())});
        membri.append({c, parteDi(c, globale, altre)});
        if (membri.last().second.isEmpty()) return {};

        QRegion base, anello;
        for (const auto &[m, r] : membri) {
            base += r;
            anello += r.adjusted(-kMargine, -kMargine, kMargine, kMargine);
        }
        // One of the thing's own widgets, a part of one (a list's rows), or what holds them.
        auto suo = [&](QWidget *w) {
            QWidget *cw = controllo(w);
            for (const auto &mr : membri)
                if (w == mr.first || cw == mr.first || w->isAncestorOf(mr.first)) return true;
            return false;
        };
        for (QWidget *w : tutti) {
            if (!conta(w) || suo(w)) continue;
            const QRect r = sulloSchermo(w, w->rect());
            for (const auto &[m, rm] : membri) {
                if (!sopra(w, m) || !r.intersects(sulloSchermo(m, m->rect()))) continue;
                base -= r & rm;
                anello -= r;
            }
            anello -= attiva(w);
        }
        anello -= altre;
        anello &= sulloSchermo(top, top->rect());
        const QRegion area = base + (anello - base);
        return area.contains(globale) ? area : QRegion();
    }

    // Whether a button's press lands on what the gesture's first press landed on, or within
    // the platform's double-click distance and a few points more of it when that was the
    // window itself. Where the pointer went in between does not count: a trembling hand
    // swings out and back. A press further off was aimed.
    static bool sulPosto(const Gesto &g, const QPointF &dove)
    {
        if (!g.area.isEmpty()) return g.area.contains(dove.toPoint());
        const QPointF d = dove - g.punto;
        const qreal raggio = QGuiApplication::styleHints()->mouseDoubleClickDistance() + 4;
        return d.x() * d.x() + d.y() * d.y() <= raggio * raggio;
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
        QWidget *top = finestra(w);
        QObject *dove = bersaglio(w, top, e, tasto);
        // A press of a key still held is its repeat: it goes where the press went, as long
        // as it lands where the press did. Elsewhere, the key's release was lost as its
        // window went away (a machine too busy to read it before the window was gone): this
        // is a new press, judged as one.
        if (tasto && giu && dove && p->bersaglio == dove) return p->preso;

        const ulong ora = e->timestamp();
        Gesto &g = gesti_[quale];
        const auto *me = tasto ? nullptr : static_cast<const QMouseEvent *>(e);
        // A press in a list dropped or a menu opened since the gesture began was aimed at
        // what it shows.
        const bool inTendina = me && top && top->windowType() == Qt::Popup && top != g.tendina
                               && top->rect().contains(me->position().toPoint());
        const ulong intervallo = ulong(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        const bool seguito = ora != 0 && g.ultima != 0 && !platform::serverTimeBefore(ora, g.ultima)
                             && quint32(ora) - quint32(g.ultima) <= intervallo
                             && (tasto || (!inTendina && sulPosto(g, me->globalPosition())));
        const bool colpoDelPrimo = seguito && g.scena != scena_ && (!dove || g.bersaglio != dove);
        if (colpoDelPrimo) {
            g.ultima = ora;
        } else {
            g = Gesto{ora, scena_, dove, {}, {}, {}};
            if (me) {
                g.punto = me->globalPosition();
                g.area = areaDi(top, qobject_cast<QWidget *>(dove), g.punto.toPoint());
                g.tendina = QApplication::activePopupWidget();
            }
        }
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
