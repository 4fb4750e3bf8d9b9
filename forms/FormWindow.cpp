#include "FormWindow.h"
#include "Control.h"
#include "Form.h"
#include "Twips.h"
#include "platform/ServerInput.h"
#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QMimeData>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QWindow>
#include <QSet>
#include <cmath>

namespace forms {

QFont toQFont(const FontSpec &f); // Control.cpp

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
        if (e->timestamp() != 0 && ultimoRilascio_.value(k) == e->timestamp()) {
            giaRilasciati_.insert(k);
            return true;
        }
        giaRilasciati_.remove(k);
        return false;
    }

    // True when the release acts: it ends a hold whose release has not acted yet.
    bool rilascio(const QKeyEvent *e)
    {
        if (e->isAutoRepeat()) return false;
        const int k = e->key();
        giu_.remove(k);
        ultimoRilascio_.insert(k, e->timestamp());
        return !giaRilasciati_.remove(k);
    }

    // A release made while no window of the program had the keyboard (one window gone,
    // the next not yet given it) never arrives: as a window gets the keyboard, the keys
    // the keyboard shows up are up.
    void rivedi()
    {
        for (auto it = giu_.begin(); it != giu_.end();) {
            if (platform::keyDown(it.value()) == false) {
                giaRilasciati_.remove(it.key());
                it = giu_.erase(it);
            } else {
                ++it;
            }
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
    QSet<int> giaRilasciati_;        // holds whose first repeat has already acted as their release
};

// Whether the control's window lets the event act on it (see FormWindow::prende).
bool prende(Control *c, const QInputEvent *e)
{
    auto *w = qobject_cast<FormWindow *>(c->form()->window());
    return !w || w->prende(e, c->widget());
}

} // namespace

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

// ---- the window ----

FormWindow::FormWindow(Form *form) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), form_(form)
{
    // Asked once, before the first window takes any key.
    static const bool ripetizioniRiconoscibili = platform::askDetectableAutoRepeat();
    Q_UNUSED(ripetizioniRiconoscibili);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
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
        // the server's time once its first drawing is done marks the moment.
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
        if (e->type() == QEvent::FocusIn) TastiTenuti::istanza().rivedi();
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
    auto *c = static_cast<Control *>(o->property("formsControl").value<void *>());
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

// ---- painted controls ----

namespace {
const char *const kMimeControllo = "application/x-brivomarte-controllo";
}

QMimeData *mimeForDrag(Control *source)
{
    auto *m = new QMimeData;
    m->setData(QLatin1String(kMimeControllo), QByteArray::number(quintptr(source)));
    return m;
}

Control *controlFromDrag(const QMimeData *mime)
{
    if (!mime || !mime->hasFormat(QLatin1String(kMimeControllo))) return nullptr;
    const quintptr id = mime->data(QLatin1String(kMimeControllo)).toULongLong();
    // Only a control of a window still loaded is a source; anything else is stale.
    for (Form *f : Form::LoadedForms())
        for (Control *c : f->Controls())
            if (quintptr(c) == id) return c;
    return nullptr;
}

ControlWidget::ControlWidget(Control *c, QWidget *parent) : QWidget(parent), c_(c)
{
    setMouseTracking(true);
    setAcceptDrops(c->kind() != Kind::Shape && c->kind() != Kind::Line);
    switch (c->kind()) {
    case Kind::Shape:
    case Kind::Line:
        setAttribute(Qt::WA_TransparentForMouseEvents);
        break;
    case Kind::PictureBox:
    case Kind::CommandButton:
    case Kind::OptionButton:
    case Kind::CheckBox:
        setFocusPolicy(Qt::StrongFocus);
        break;
    default:
        break;
    }
}

static Qt::Alignment hAlign(int a)
{
    return a == 1 ? Qt::AlignRight : a == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}

static QColor darker(const QColor &c, int f = 160) { return c.darker(f); }

void ControlWidget::paintEvent(QPaintEvent *)
{
    if (!c_) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r = QRectF(rect());
    const QColor back = toQColor(c_->BackColor());
    const QColor fore = isEnabled() ? toQColor(c_->ForeColor()) : QColor(128, 128, 128);
    p.setFont(toQFont(c_->Font()));

    switch (c_->kind()) {
    case Kind::Label: {
        if (c_->BackStyle() == 1) p.fillRect(r, back);
        if (c_->BorderStyle() == 1) {
            p.setPen(QPen(Qt::black, 1));
            p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        p.setPen(fore);
        int flags = int(hAlign(c_->Alignment())) | Qt::AlignTop;
        if (!c_->AutoSize()) flags |= Qt::TextWordWrap;
        p.drawText(r, flags, c_->Caption());
        break;
    }
    case Kind::CommandButton: {
        const QRectF b = r.adjusted(1, 1, -1, -1);
        const double rad = std::min(8.0, std::min(b.width(), b.height()) / 6);
        p.setPen(QPen(darker(back), 1.5));
        p.setBrush(back);
        p.drawRoundedRect(b, rad, rad);
        if (hasFocus()) {
            p.setPen(QPen(darker(back, 220), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(b.adjusted(4, 4, -4, -4), rad, rad);
        }
        p.setPen(fore);
        if (!c_->picture().isNull()) {
            // The picture above, the caption below; a disabled button shows it faded.
            const QSizeF n = c_->picture().naturalSize();
            const QRectF area = b.adjusted(6, 4, -6, -b.height() * 0.42);
            const double k = std::min(area.width() / std::max(1.0, n.width()), area.height() / std::max(1.0, n.height()));
            const QSizeF sz = n * k;
            p.setOpacity(isEnabled() ? 1.0 : 0.35);
            c_->picture().paint(p, QRectF(area.center() - QPointF(sz.width() / 2, sz.height() / 2), sz));
            p.setOpacity(1.0);
            p.drawText(b.adjusted(2, b.height() * 0.58, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, c_->Caption());
        } else {
            p.drawText(b, Qt::AlignCenter | Qt::TextWordWrap, c_->Caption());
        }
        break;
    }
    case Kind::PictureBox: {
        p.fillRect(r, back);
        if (!c_->picture().isNull()) {
            const QSizeF n = c_->picture().naturalSize();
            c_->picture().paint(p, QRectF(QPointF(0, 0), n));
        }
        if (c_->BorderStyle() == 1) {
            p.setPen(QPen(darker(back, 180), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        break;
    }
    case Kind::Frame: {
        p.fillRect(r, back);
        const QFontMetricsF fm(p.font());
        const bool hasCaption = !c_->Caption().isEmpty();
        const double top = hasCaption ? fm.height() / 2 : 0.5;
        if (c_->BorderStyle() == 1) {
            p.setPen(QPen(darker(back, 170), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(0.5, top, r.width() - 1, r.height() - top - 0.5));
        }
        if (hasCaption) {
            const QRectF tr(8, 0, fm.horizontalAdvance(c_->Caption()) + 6, fm.height());
            p.fillRect(tr, back);
            p.setPen(fore);
            p.drawText(tr, Qt::AlignCenter, c_->Caption());
        }
        break;
    }
    case Kind::Image: {
        // Stretched to the whole control; the picture itself says whether it keeps its
        // proportions inside it (a round emblem stays round) or fills it (the hands).
        if (!c_->picture().isNull())
            c_->picture().paint(p, c_->Stretch() ? r : QRectF(QPointF(0, 0), c_->picture().naturalSize()));
        if (c_->BorderStyle() == 1) {
            p.setPen(QPen(Qt::black, 1));
            p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        break;
    }
    case Kind::Shape: {
        const double bw = c_->BorderStyle() == 0 ? 0 : std::max(1, c_->BorderWidth());
        const double out = c_->shapeOverhang();
        QRectF s = r.adjusted(out, out, -out, -out);
        const int kind = c_->Shape();
        if (kind == vbShapeSquare || kind == vbShapeCircle || kind == vbShapeRoundedSquare) {
            const double side = std::min(s.width(), s.height());
            s = QRectF(s.center().x() - side / 2, s.center().y() - side / 2, side, side);
        }
        QPainterPath path;
        if (kind == vbShapeOval || kind == vbShapeCircle) path.addEllipse(s);
        else if (kind == vbShapeRoundedRectangle || kind == vbShapeRoundedSquare) {
            const double rad = std::min(s.width(), s.height()) / 6;
            path.addRoundedRect(s, rad, rad);
        } else path.addRect(s);
        if (c_->BackStyle() == 1) p.fillPath(path, back);
        if (c_->FillStyle() == vbFSSolid) p.fillPath(path, toQColor(c_->FillColor()));
        else if (c_->FillStyle() != vbFSTransparent) {
            static const Qt::BrushStyle hatch[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                   Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
            const int i = std::clamp(c_->FillStyle() - 2, 0, 5);
            p.fillPath(path, QBrush(toQColor(c_->FillColor()), hatch[i]));
        }
        if (bw > 0) {
            p.setPen(QPen(toQColor(c_->BorderColor()), bw));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
            // A thick dark outline gets a light ring on its inner side, so that an empty
            // shape stays visible on a dark background as well as on a light one.
            if (bw >= 3 && c_->FillStyle() != vbFSSolid) {
                QPainterPath inner;
                const QRectF in = s.adjusted(bw / 2 + 0.75, bw / 2 + 0.75, -bw / 2 - 0.75, -bw / 2 - 0.75);
                if (kind == vbShapeOval || kind == vbShapeCircle) inner.addEllipse(in);
                else inner.addRect(in);
                p.setPen(QPen(QColor(255, 255, 255, 220), 1.5));
                p.drawPath(inner);
            }
        }
        break;
    }
    case Kind::Line: {
        const QPointF origin = pos();
        const QPointF a(pixelsX(c_->X1()) - origin.x(), pixelsY(c_->Y1()) - origin.y());
        const QPointF b(pixelsX(c_->X2()) - origin.x(), pixelsY(c_->Y2()) - origin.y());
        p.setPen(QPen(toQColor(c_->BorderColor()), std::max(1, c_->BorderWidth()), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, b);
        break;
    }
    case Kind::OptionButton:
    case Kind::CheckBox: {
        p.fillRect(r, back);
        const QFontMetricsF fm(p.font());
        const double box = std::clamp(fm.height() * 0.8, 10.0, std::max(10.0, r.height() - 4));
        const QRectF ind(4, (r.height() - box) / 2, box, box);
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(Qt::white);
        if (c_->kind() == Kind::OptionButton) {
            p.drawEllipse(ind);
            if (c_->Value()) {
                p.setBrush(QColor(30, 30, 30));
                p.setPen(Qt::NoPen);
                p.drawEllipse(ind.adjusted(box * 0.27, box * 0.27, -box * 0.27, -box * 0.27));
            }
        } else {
            p.drawRect(ind);
            if (c_->Value()) {
                p.setPen(QPen(QColor(30, 30, 30), std::max(2.0, box / 7)));
                p.drawLine(QPointF(ind.left() + box * 0.2, ind.center().y()), QPointF(ind.left() + box * 0.42, ind.bottom() - box * 0.2));
                p.drawLine(QPointF(ind.left() + box * 0.42, ind.bottom() - box * 0.2), QPointF(ind.right() - box * 0.18, ind.top() + box * 0.2));
            }
        }
        p.setPen(fore);
        p.drawText(r.adjusted(box + 10, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, c_->Caption());
        if (hasFocus()) {
            p.setPen(QPen(darker(back, 220), 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(1, 1, -2, -2));
        }
        break;
    }
    default:
        break;
    }
}

static double tx(const QMouseEvent *e) { return e->position().x() * twipsPerPixelX(); }
static double ty(const QMouseEvent *e) { return e->position().y() * twipsPerPixelY(); }

void ControlWidget::mousePressEvent(QMouseEvent *e)
{
    if (!c_) return;
    pressed_ = true;
    Control *c = c_;
    c->raiseMouse(0, vbButton(e->button()), vbShift(e->modifiers()), tx(e), ty(e));
    if (c->form()->wasUnloaded() || !c_) return;
    if (c->DragMode() == 1 && e->button() == Qt::LeftButton && c->Enabled()) {
        // Automatic dragging: the press starts it; a faded picture of the control follows
        // the pointer, and the control itself stays where it is until a drop moves it.
        // The drag runs its own event loop: the window is held until it ends.
        Form::Busy busy(c->form());
        pressed_ = false;
        QWidget *shown = c->widget();
        QPixmap pm = shown->grab();
        QPixmap faded(pm.size());
        faded.fill(Qt::transparent);
        {
            QPainter p(&faded);
            p.setOpacity(0.6);
            p.drawPixmap(0, 0, pm);
        }
        auto *drag = new QDrag(this);
        drag->setMimeData(mimeForDrag(c));
        drag->setPixmap(faded);
        drag->setHotSpot(e->position().toPoint());
        drag->exec(Qt::MoveAction);
    }
}

void ControlWidget::dragEnterEvent(QDragEnterEvent *e)
{
    if (c_ && c_->DragDrop && controlFromDrag(e->mimeData())) e->acceptProposedAction();
    else e->ignore();
}

void ControlWidget::dragMoveEvent(QDragMoveEvent *e)
{
    if (c_ && c_->DragDrop && controlFromDrag(e->mimeData())) e->acceptProposedAction();
    else e->ignore();
}

void ControlWidget::dropEvent(QDropEvent *e)
{
    Control *source = controlFromDrag(e->mimeData());
    if (!c_ || !c_->DragDrop || !source) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    Form::Busy busy(c_->form());
    c_->DragDrop(source, e->position().x() * twipsPerPixelX(), e->position().y() * twipsPerPixelY());
}

void ControlWidget::mouseReleaseEvent(QMouseEvent *e)
{
    if (!c_) return;
    Control *c = c_;
    Form *f = c->form();
    const bool wasPressed = pressed_;
    pressed_ = false;
    c->raiseMouse(2, vbButton(e->button()), vbShift(e->modifiers()), tx(e), ty(e));
    if (f->wasUnloaded() || !c_ || !wasPressed || e->button() != Qt::LeftButton || !rect().contains(e->position().toPoint()))
        return;
    if (c->kind() == Kind::OptionButton) {
        if (!c->Value()) c->setValue(1);
        else c->raiseClick();
    } else if (c->kind() == Kind::CheckBox) {
        c->setValue(c->Value() == 1 ? 0 : 1);
    } else {
        c->raiseClick();
    }
}

void ControlWidget::mouseMoveEvent(QMouseEvent *e)
{
    if (!c_) return;
    c_->raiseMouse(1, vbButton(e->buttons()), vbShift(e->modifiers()), tx(e), ty(e));
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (!c_) return;
    pressed_ = true;
    if (c_->DblClick) {
        Form::Busy busy(c_->form());
        c_->DblClick();
    } else {
        mousePressEvent(e);
    }
}

void ControlWidget::keyPressEvent(QKeyEvent *e)
{
    if (!c_) return;
    Control *c = c_;
    if (dispatchKeyPress(c, e) || c->form()->wasUnloaded()) return;
    // A focused button is pressed by Enter, or by Space when it is let go.
    if (c->kind() == Kind::CommandButton) {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) c->raiseClick();
        else if (e->key() == Qt::Key_Space) pressed_ = true;
    }
}

void ControlWidget::keyReleaseEvent(QKeyEvent *e)
{
    if (!c_) return;
    QPointer<ControlWidget> self(this);
    const bool acted = dispatchKeyRelease(c_, e);
    // A focused button pressed by Space is clicked when Space is let go.
    if (!acted || !self || !c_ || e->key() != Qt::Key_Space || !pressed_ || c_->kind() != Kind::CommandButton) return;
    pressed_ = false;
    c_->raiseClick();
}

} // namespace forms
