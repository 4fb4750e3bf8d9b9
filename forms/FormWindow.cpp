#include "FormWindow.h"
#include "Control.h"
#include "Form.h"
#include "InputAdmission.h"
#include "Keys.h"
#include "Twips.h"
#include "platform/ServerInput.h"
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWindow>

namespace forms {

FormWindow::FormWindow(Form *form) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), form_(form)
{
    // Asked once, before the first window takes any key.
    static const bool ripetizioniRiconoscibili = platform::askDetectableAutoRepeat();
    Q_UNUSED(ripetizioniRiconoscibili);
    installInputAdmission();
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    // The client area and the menu bar above it cover the whole window, and paint it:
    // the window's own background would be filled, a whole screen of it, only to be
    // painted over.
    setAttribute(Qt::WA_OpaquePaintEvent);
    client_ = new QWidget(this);
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    setObjectName(form->Name());
}

QMenuBar *FormWindow::menuBar()
{
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        layoutClient();
    }
    return menuBar_;
}

int FormWindow::menuBarHeight() const
{
    if (!menuBar_) return 0;
    for (QAction *a : menuBar_->actions())
        if (a->isVisible()) return menuBar_->sizeHint().height();
    return 0;
}

void FormWindow::layoutClient()
{
    const int mh = menuBarHeight();
    if (menuBar_) {
        menuBar_->setGeometry(0, 0, width(), mh);
        menuBar_->setVisible(mh > 0);
    }
    client_->setGeometry(0, mh, width(), std::max(0, height() - mh));
}

void FormWindow::closeEvent(QCloseEvent *e)
{
    // The windows are left through their own exits, never by the system's close request.
    e->ignore();
}

void FormWindow::showEvent(QShowEvent *e)
{
    if (!e->spontaneous()) {
        // Shown, it is not on screen before it is drawn, which may come a while after:
        // until then it takes no press (where the server's clock can be read at all), and
        // the server's time once its first drawing is done marks the moment, unless it was
        // shown already painted (comparsaAlMap).
        comparsa_ = platform::serverTime();
        attesaDisegno_ = comparsa_ != 0;
        tasti_.clear();
        bottoni_.clear();
    }
    // The mouse is judged where the platform hands it over, before the toolkit gives the
    // focus to what was clicked.
    if (QWindow *w = windowHandle()) w->installEventFilter(this);
    QWidget::showEvent(e);
}

void FormWindow::comparsaAlMap(ulong ora)
{
    comparsa_ = ora;
    attesaDisegno_ = false;
}

bool FormWindow::prende(const QInputEvent *e, const QObject *ricevente)
{
    const bool primaDellaComparsa = attesaDisegno_
                                    || (comparsa_ != 0 && e->timestamp() != 0 && platform::serverTimeBefore(e->timestamp(), comparsa_));
    const bool tasto = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
    QHash<int, const QObject *> &premuti = tasto ? tasti_ : bottoni_;
    const int quale = tasto ? static_cast<const QKeyEvent *>(e)->key() : int(static_cast<const QMouseEvent *>(e)->button());
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (primaDellaComparsa) return false;
        premuti.insert(quale, ricevente);
        return true;
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
        return premuti.take(quale) == ricevente && ricevente;
    default:
        return true;
    }
}

bool FormWindow::eventFilter(QObject *o, QEvent *e)
{
    if (!form_) return false;
    if (o == windowHandle()) {
        if (e->type() == QEvent::FocusIn) rivediTastiTenuti();
        // The window is drawn as it is exposed or updated: the first time, the moment it
        // is on screen is when that drawing has been handed to the server.
        const bool disegno = (e->type() == QEvent::UpdateRequest || e->type() == QEvent::Expose) && windowHandle()->isExposed();
        if (disegno && attesaDisegno_) {
            static_cast<QObject *>(o)->event(e);
            comparsa_ = platform::serverTime();
            attesaDisegno_ = false;
            return true;
        }
        const bool bottone = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease
                             || e->type() == QEvent::MouseButtonDblClick;
        return bottone && !prende(static_cast<QMouseEvent *>(e), o);
    }
    if (o == client_) {
        if (e->type() == QEvent::MouseMove) {
            auto *me = static_cast<QMouseEvent *>(e);
            Form::Busy busy(form_);
            form_->Form_MouseMove(vbButton(me->buttons()), vbShift(me->modifiers()),
                                  me->position().x() * twipsPerPixelX(), me->position().y() * twipsPerPixelY());
        }
        return false;
    }
    auto *c = Control::of(o);
    if (!c) return false;
    switch (e->type()) {
    case QEvent::KeyPress: {
        bool ripetuto = false;
        const bool consumato = dispatchKeyPress(c, static_cast<QKeyEvent *>(e), &ripetuto);
        // A text box, list or combo box keeps its own repeat of a held key (a teacher
        // deleting a name), unless a handler watches its keys: a repeat must not get
        // past the handler's filter.
        if (ripetuto && !c->form()->wasUnloaded()) return c->KeyDown || c->KeyPress;
        return consumato;
    }
    case QEvent::KeyRelease:
        dispatchKeyRelease(c, static_cast<QKeyEvent *>(e));
        return false;
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(e);
        c->raiseMouse(1, vbButton(me->buttons()), vbShift(me->modifiers()),
                      me->position().x() * twipsPerPixelX(), me->position().y() * twipsPerPixelY());
        return false;
    }
    default:
        return false;
    }
}

} // namespace forms
