#include "ControlWidget.h"
#include "Control.h"
#include "Form.h"
#include "Keys.h"
#include "Twips.h"
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <algorithm>

namespace forms {

QFont toQFont(const FontSpec &f); // Control.cpp

// ---- drag data ----

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

// ---- painting ----

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
        if (Form::ShowsFocus(this)) {
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
        if (Form::ShowsFocus(this)) {
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

// ---- input ----

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
