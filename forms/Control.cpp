#include "Control.h"
#include "Form.h"
#include "ControlWidget.h"
#include "Twips.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QItemDelegate>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTextLayout>
#include <QTextEdit>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <cmath>

namespace forms {

namespace {
// An entry of a drop-down list too wide for its room, shortened in the middle with an
// ellipsis, so that the beginning and the end of a long name stay in sight. The closed box
// and the rows of its list show their entries so, alike.
QString accorciato(const QString &testo, const QFontMetrics &misura, int larghezza)
{
    return misura.elidedText(testo, Qt::ElideMiddle, larghezza);
}

// The desktop's style, with a combo box's entries dropping below it as a list, and the entry
// in the closed box shortened to the room beside its arrow: the style would cut it at its
// right edge, against the arrow.
class ElencoATendina : public QProxyStyle {
public:
    int styleHint(StyleHint h, const QStyleOption *o, const QWidget *w, QStyleHintReturn *r) const override
    {
        return h == SH_ComboBox_Popup ? 0 : QProxyStyle::styleHint(h, o, w, r);
    }
    void drawControl(ControlElement e, const QStyleOption *o, QPainter *p, const QWidget *w) const override
    {
        const auto *box = qstyleoption_cast<const QStyleOptionComboBox *>(o);
        if (e != CE_ComboBoxLabel || !box || box->editable) return QProxyStyle::drawControl(e, o, p, w);
        // The style draws the text one pixel in from each side of the text field.
        QStyleOptionComboBox corto(*box);
        const int campo = subControlRect(CC_ComboBox, box, SC_ComboBoxEditField, w).width() - 2;
        corto.currentText = accorciato(box->currentText, box->fontMetrics, campo);
        QProxyStyle::drawControl(e, &corto, p, w);
    }
};

// The rows of a drop-down list, each entry shortened as the closed box shortens it.
class VoceAccorciata : public QItemDelegate {
public:
    using QItemDelegate::QItemDelegate;

protected:
    void drawDisplay(QPainter *p, const QStyleOptionViewItem &o, const QRect &r, const QString &testo) const override
    {
        // The delegate draws the text this far in from each side of its rectangle.
        const QStyle *stile = o.widget ? o.widget->style() : QApplication::style();
        const int margine = stile->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, o.widget) + 1;
        QStyleOptionViewItem intero(o);
        intero.textElideMode = Qt::ElideNone;
        QItemDelegate::drawDisplay(p, intero, r, accorciato(testo, o.fontMetrics, r.width() - 2 * margine));
    }
};

QStyle *elencoATendina()
{
    // Kept for the run: every combo box of every window uses it.
    static QStyle *const stile = new ElencoATendina;
    return stile;
}
} // namespace

QFont toQFont(const FontSpec &f)
{
    QFont q(f.name);
    q.setPointSizeF(f.size > 0.5 ? f.size : 0.5);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    return q;
}

Control::Control(Form *form, Kind kind, const QString &name, int index)
    : form_(form), kind_(kind), name_(name), index_(index)
{
}

Control::~Control()
{
    if (auto *cw = qobject_cast<ControlWidget *>(widget_.data())) cw->detach();
    if (widget_) widget_->setProperty("formsControl", QVariant());
}

Control *Control::of(const QObject *w) { return static_cast<Control *>(w->property("formsControl").value<void *>()); }

bool Control::takesPresses() const
{
    switch (kind_) {
    case Kind::CommandButton: case Kind::OptionButton: case Kind::CheckBox: case Kind::HScrollBar:
    case Kind::ComboBox: case Kind::ListBox: case Kind::TextBox: case Kind::TabStrip: case Kind::RichTextBox:
        return true;
    default:
        return Click || DblClick || MouseDown || MouseUp || dragMode_ == 1;
    }
}

QString Control::fullName() const
{
    return index_ >= 0 ? QStringLiteral("%1(%2)").arg(name_).arg(index_) : name_;
}

bool Control::hasCaption() const
{
    switch (kind_) {
    case Kind::Label: case Kind::CommandButton: case Kind::Frame:
    case Kind::OptionButton: case Kind::CheckBox: case Kind::Menu:
        return true;
    default:
        return false;
    }
}

bool Control::isLightweight() const
{
    return kind_ == Kind::Label || kind_ == Kind::Image || kind_ == Kind::Shape || kind_ == Kind::Line;
}

int Control::shapeOverhang() const { return borderStyle_ == 0 ? 0 : (std::max(1, borderWidth_) + 1) / 2; }

// ---- geometry ----

void Control::setLeft(double v) { if (g_[0] != v) { g_[0] = v; applyGeometry(); } }
void Control::setTop(double v) { if (g_[1] != v) { g_[1] = v; applyGeometry(); } }
void Control::setWidth(double v)
{
    if (kind_ != Kind::Line && v < 0) v = 0;
    if (g_[2] != v) { g_[2] = v; applyGeometry(); }
}
void Control::setHeight(double v)
{
    if (kind_ != Kind::Line && v < 0) v = 0;
    if (g_[3] != v) { g_[3] = v; applyGeometry(); }
}
void Control::Move(double left, double top, double width, double height)
{
    g_[0] = left; g_[1] = top;
    g_[2] = kind_ == Kind::Line ? width : std::max(0.0, width);
    g_[3] = kind_ == Kind::Line ? height : std::max(0.0, height);
    applyGeometry();
}

void Control::applyGeometry()
{
    if (!widget_) return;
    if (kind_ == Kind::Line) {
        // The widget covers the line's bounding box, widened by its pen.
        const int pad = std::max(1, borderWidth_);
        const int x1 = pixelsX(g_[0]), y1 = pixelsY(g_[1]), x2 = pixelsX(g_[2]), y2 = pixelsY(g_[3]);
        widget_->setGeometry(std::min(x1, x2) - pad, std::min(y1, y2) - pad,
                             std::abs(x2 - x1) + 2 * pad + 1, std::abs(y2 - y1) + 2 * pad + 1);
        widget_->update();
        return;
    }
    // Round the edges, not the sizes, so that neighbouring controls meet without gaps.
    const int x = pixelsX(g_[0]), y = pixelsY(g_[1]);
    const int r = pixelsX(g_[0] + g_[2]), b = pixelsY(g_[1] + g_[3]);
    // A shape's border is centred on its edge: half of a thick border lies outside.
    const int out = kind_ == Kind::Shape ? shapeOverhang() : 0;
    // A drop-down list is as high as its font makes it, whatever height it is given.
    const int h = kind_ == Kind::ComboBox ? widget_->sizeHint().height() : std::max(0, b - y);
    widget_->setGeometry(x - out, y - out, std::max(0, r - x) + 2 * out, h + 2 * out);
}

// ---- texts ----

void Control::setCaption(const QString &s)
{
    if (caption_ == s) return;
    caption_ = s;
    if (kind_ == Kind::Menu) {
        if (action_) action_->setText(s);
        if (menu_) menu_->setTitle(s);
        if (action_) action_->setSeparator(s == QLatin1String("-"));
        return;
    }
    if (autoSize_ && kind_ == Kind::Label) resizeToText();
    if (widget_) widget_->update();
}

QString Control::Text() const
{
    if (kind_ == Kind::ComboBox || kind_ == Kind::ListBox) return List(listIndex_).isNull() ? text_ : List(listIndex_);
    if (kind_ == Kind::RichTextBox) {
        if (auto *t = qobject_cast<QTextEdit *>(widget_.data())) return t->toPlainText();
    }
    return text_;
}

void Control::setText(const QString &s)
{
    text_ = s;
    if (auto *e = qobject_cast<QLineEdit *>(widget_.data())) {
        if (e->text() != s) e->setText(s);
    } else if (auto *t = qobject_cast<QTextEdit *>(widget_.data())) {
        t->setPlainText(s);
    }
    if (kind_ == Kind::TextBox) raiseChange();
}

void Control::setToolTipText(const QString &s)
{
    toolTip_ = s;
    if (widget_) widget_->setToolTip(s);
    if (action_) action_->setToolTip(s);
}

// ---- state and look ----

void Control::setVisible(bool v)
{
    visible_ = v;
    if (widget_) widget_->setVisible(v);
    if (action_) action_->setVisible(v);
    if (menu_) menu_->menuAction()->setVisible(v);
    if (kind_ == Kind::Menu && form_) form_->applyGeometry(); // the menu bar may come or go
}

void Control::setEnabled(bool v)
{
    enabled_ = v;
    if (kind_ == Kind::Timer) { refreshTimer(); return; }
    if (widget_) widget_->setEnabled(v);
    if (action_) action_->setEnabled(v);
    if (menu_) menu_->setEnabled(v);
}

void Control::setBackColor(int32_t c) { if (backColor_ != c) { backColor_ = c; applyLook(); } }
void Control::setForeColor(int32_t c) { if (foreColor_ != c) { foreColor_ = c; applyLook(); } }

void Control::setFont(const FontSpec &f)
{
    font_ = f;
    if (autoSize_ && kind_ == Kind::Label) resizeToText();
    applyLook();
}

void Control::setFontSize(double points)
{
    if (font_.size == points) return;
    font_.size = points;
    if (autoSize_ && kind_ == Kind::Label) resizeToText();
    applyLook();
}

void Control::setAlignment(int a) { alignment_ = a; if (widget_) widget_->update(); }
void Control::setBorderStyle(int s) { borderStyle_ = s; if (widget_) widget_->update(); }
void Control::setMousePointer(int p) { mousePointer_ = p; applyCursor(); }
void Control::setMouseIcon(const QCursor &c) { mouseIcon_ = c; applyCursor(); }

void Control::applyCursor()
{
    if (!widget_) return;
    if (mousePointer_ == vbCustom) widget_->setCursor(mouseIcon_);
    else if (mousePointer_ == vbArrow) widget_->setCursor(Qt::ArrowCursor);
    else widget_->unsetCursor();
}

void Control::applyLook()
{
    if (!widget_) return;
    if (!qobject_cast<ControlWidget *>(widget_.data())) {
        widget_->setFont(toQFont(font_));
        if (kind_ == Kind::ComboBox) applyGeometry();
        QPalette pal = widget_->palette();
        pal.setColor(QPalette::Base, toQColor(backColor_));
        pal.setColor(QPalette::Text, toQColor(foreColor_));
        widget_->setPalette(pal);
    }
    widget_->update();
}

void Control::resizeToText()
{
    // An auto-sized label is exactly as large as its text on one line.
    const QFontMetricsF fm(toQFont(font_));
    static const QRegularExpression aCapo(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = caption_.split(aCapo);
    double w = 0;
    for (const QString &l : lines) w = std::max(w, fm.horizontalAdvance(l));
    const double h = fm.height() * lines.size();
    g_[2] = std::ceil(w) * twipsPerPixelX();
    g_[3] = std::ceil(h) * twipsPerPixelY();
    applyGeometry();
}

// ---- shapes and pictures ----

void Control::setShape(int s) { shape_ = s; if (widget_) widget_->update(); }
void Control::setFillStyle(int s) { fillStyle_ = s; if (widget_) widget_->update(); }
void Control::setFillColor(int32_t c) { if (fillColor_ != c) { fillColor_ = c; if (widget_) widget_->update(); } }
void Control::setBorderColor(int32_t c) { borderColor_ = c; if (widget_) widget_->update(); }
void Control::setBorderWidth(int w) { borderWidth_ = std::max(0, w); applyGeometry(); if (widget_) widget_->update(); }
void Control::setPicture(const Picture &p) { picture_ = p; if (widget_) widget_->update(); }

// ---- values ----

void Control::setValue(int v)
{
    if (kind_ == Kind::HScrollBar) v = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    if (kind_ == Kind::OptionButton) v = v ? 1 : 0;
    const bool changed = value_ != v;
    value_ = v;
    if (kind_ == Kind::OptionButton && v) {
        // Options of one container exclude each other.
        for (Control *o : form_->Controls())
            if (o != this && o->kind_ == Kind::OptionButton && o->container_ == container_ && o->value_) {
                o->value_ = 0;
                if (o->widget_) o->widget_->update();
            }
    }
    if (auto *sb = qobject_cast<QScrollBar *>(widget_.data())) {
        settingValue_ = true;
        sb->setValue(v);
        settingValue_ = false;
    }
    if (auto *tb = qobject_cast<QTabBar *>(widget_.data())) {
        settingValue_ = true;
        tb->setCurrentIndex(v);
        settingValue_ = false;
    }
    if (widget_) widget_->update();
    if (!changed) return;
    if (kind_ == Kind::OptionButton || kind_ == Kind::CheckBox || kind_ == Kind::TabStrip) raiseClick();
    else if (kind_ == Kind::HScrollBar) raiseChange();
}

void Control::setLargeChange(int v)
{
    largeChange_ = v;
    if (auto *sb = qobject_cast<QScrollBar *>(widget_.data())) sb->setPageStep(v);
}

// ---- lists ----

void Control::syncList()
{
    if (auto *cb = qobject_cast<QComboBox *>(widget_.data())) {
        const QSignalBlocker b(cb);
        // Items are only ever added at the end or all cleared: the widget takes the new
        // ones alone, so that filling a long list stays linear.
        if (cb->count() > items_.size()) cb->clear();
        if (cb->count() < items_.size()) cb->addItems(items_.mid(cb->count()));
        cb->setCurrentIndex(listIndex_);
    } else if (auto *lw = qobject_cast<QListWidget *>(widget_.data())) {
        const QSignalBlocker b(lw);
        if (lw->count() > items_.size()) lw->clear();
        if (lw->count() < items_.size()) lw->addItems(items_.mid(lw->count()));
        lw->setCurrentRow(listIndex_);
        if (listIndex_ < 0) lw->clearSelection();
    }
}

void Control::AddItem(const QString &item) { items_.push_back(item); syncList(); }
void Control::AddItems(const QStringList &items) { items_ += items; syncList(); }
void Control::Clear() { items_.clear(); listIndex_ = -1; syncList(); }

void Control::setListIndex(int i)
{
    if (i < -1 || i >= items_.size()) i = -1;
    if (listIndex_ == i) return;
    listIndex_ = i;
    syncList();
    raiseClick();
}

void Control::setLocked(bool l)
{
    locked_ = l;
    if (auto *e = qobject_cast<QLineEdit *>(widget_.data())) e->setReadOnly(l);
    if (auto *t = qobject_cast<QTextEdit *>(widget_.data())) t->setReadOnly(l);
}

// ---- timers ----

void Control::setInterval(int ms)
{
    interval_ = std::max(0, ms);
    if (timer_ && timer_->isActive()) timer_->stop(); // a new interval counts from now
    refreshTimer();
}

void Control::refreshTimer()
{
    if (!timer_) return;
    const bool run = enabled_ && interval_ > 0 && form_->isLoaded();
    if (!run) timer_->stop();
    else if (!timer_->isActive() || timer_->interval() != interval_) timer_->start(interval_);
}

// ---- menus, tabs ----

void Control::setChecked(bool c)
{
    checked_ = c;
    if (action_) {
        action_->setCheckable(true);
        action_->setChecked(c);
    }
}

void Control::setTabCaption(int i, const QString &s)
{
    if (i < 0 || i >= tabs_.size()) return;
    tabs_[i] = s;
    if (auto *tb = qobject_cast<QTabBar *>(widget_.data())) tb->setTabText(i, s);
}

// ---- focus and order ----

void Control::SetFocus()
{
    // A window being activated is not mapped yet: its control takes the focus as the
    // window reaches the screen.
    if (widget_ && widget_->isVisibleTo(widget_->window()) && widget_->isEnabled())
        widget_->setFocus(Qt::OtherFocusReason);
}

void Control::ZOrder(int position)
{
    if (!widget_) return;
    if (position == 0) widget_->raise();
    else widget_->lower();
}

// ---- events ----

// Every handler runs with its window held (Form::Busy), so that a handler that unloads its
// own window, or pauses while something else unloads it, never runs on in a deleted one.
// A Click is not raised again while the same control's Click is still running: a double
// press that arrives during the pause or the load the first one started starts nothing.
void Control::raiseClick()
{
    if (!Click || !enabled_ || clicking_) return;
    Form::Busy busy(form_);
    clicking_ = true;
    Click();
    clicking_ = false;
}

void Control::raiseChange()
{
    if (!Change) return;
    Form::Busy busy(form_);
    Change();
}

void Control::raiseMouse(int which, int button, int shift, double x, double y)
{
    const auto &h = which == 0 ? MouseDown : which == 1 ? MouseMove : MouseUp;
    if (!h) return;
    Form::Busy busy(form_);
    h(button, shift, x, y);
}

bool Control::raiseKeyDown(int &code, int shift)
{
    Form::Busy busy(form_);
    if (KeyDown) KeyDown(code, shift);
    return true;
}

bool Control::raiseKeyPress(int &ascii)
{
    Form::Busy busy(form_);
    if (KeyPress) KeyPress(ascii);
    return true;
}

bool Control::raiseKeyUp(int &code, int shift)
{
    Form::Busy busy(form_);
    if (KeyUp) KeyUp(code, shift);
    return true;
}

void Control::raisePasteCut()
{
    if (!PasteCut) return;
    Form::Busy busy(form_);
    PasteCut();
}

// ---- widgets ----

namespace {

// Pasted or dropped text: what the box's KeyPress would let through if it were typed.
QString filteredAsTyped(Control *c, const QString &text)
{
    if (!c || !c->KeyPress) return text;
    QString out;
    for (const QChar ch : text) {
        // Control characters are never typed into a box. The handler is handed 8-bit
        // characters only: one beyond them is one it could not let through.
        if (ch.unicode() < 32 || ch.unicode() == 127 || ch.unicode() > 255) continue;
        int ascii = ch.unicode();
        c->raiseKeyPress(ascii);
        if (ascii > 0 && ascii < 256) out += QChar(ascii);
    }
    return out;
}

// A multi-line box. Qt 6.4 under X11 hands a paste with nothing in the clipboard or the
// selection over as data that its own insertion cannot take (the program ended); a
// missing or empty source inserts nothing here. What one paste or drop inserts is bounded,
// and so is the box it fills (kPasteMaxChars, kBoxMaxCharsWithPaste): the rest is left
// out, and the control is told once the paste is over.
class RichTextWidget : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override
    {
        return source && !source->formats().isEmpty() && QTextEdit::canInsertFromMimeData(source);
    }
    void insertFromMimeData(const QMimeData *source) override
    {
        if (!source || source->formats().isEmpty()) return;
        Control *c = Control::of(this);
        const bool filtrato = c && c->KeyPress;
        QString testo = source->hasText() ? source->text() : QString();
        if (filtrato) testo = filteredAsTyped(c, testo);
        // The selection the paste replaces makes room.
        const qsizetype resto = document()->characterCount() - 1 - textCursor().selectedText().size();
        const qsizetype posto = std::clamp<qsizetype>(kBoxMaxCharsWithPaste - resto, 0, kPasteMaxChars);
        const bool taglia = testo.size() > posto;
        if (taglia) {
            qsizetype n = posto;
            if (n > 0 && testo[n - 1].isHighSurrogate()) --n; // never half a character
            testo.truncate(n);
        }
        if (filtrato) {
            insertPlainText(testo);
        } else if (!taglia) {
            QTextEdit::insertFromMimeData(source);
        } else {
            QMimeData parte;
            parte.setText(testo);
            QTextEdit::insertFromMimeData(&parte);
        }
        // Told once the paste or the drop is over: a message box opened within a drop
        // would hold the program the text came from waiting for the drop's end.
        if (taglia)
            QMetaObject::invokeMethod(this, [this] {
                if (Control *c = Control::of(this)) c->raisePasteCut();
            }, Qt::QueuedConnection);
    }
};

// A one-line box. A typed key of one 8-bit character has passed the box's KeyPress before
// it reaches the box; text that arrives any other way (pasted by keys, menu or middle
// button, dropped, composed by an input method, or typed on a key whose character the
// handler is never handed) is passed through the same filter here.
class TextBoxWidget : public QLineEdit {
public:
    explicit TextBoxWidget(QWidget *parent) : QLineEdit(parent) { setValidator(new Filter(this)); }

protected:
    void initStyleOption(QStyleOptionFrame *o) const override
    {
        QLineEdit::initStyleOption(o);
        if (Form::ShowsFocus(this)) o->state |= QStyle::State_HasFocus;
    }

    void paintEvent(QPaintEvent *e) override
    {
        QLineEdit::paintEvent(e);
        // The box that gets the focus once its window is activated shows its caret from the
        // window's first frame, drawn as the line edit draws it: by the layout of its text,
        // inside its frame. The line edit's cursor rectangle starts 5 pixels before the
        // caret's position rounded to a pixel.
        if (hasFocus() || !Form::ShowsFocus(this) || isReadOnly() || hasSelectedText() || !inputMask().isEmpty()) return;
        QTextLayout riga(displayText(), font());
        QTextOption opzione = riga.textOption();
        opzione.setTextDirection(layoutDirection());
        opzione.setFlags(QTextOption::IncludeTrailingSpaces);
        riga.setTextOption(opzione);
        riga.beginLayout();
        const QTextLine linea = riga.createLine();
        riga.endLayout();
        const QRect c = cursorRect();
        QStyleOptionFrame pannello;
        initStyleOption(&pannello);
        QPainter p(this);
        p.setClipRect(style()->subElementRect(QStyle::SE_LineEditContents, &pannello, this).marginsRemoved(textMargins()));
        p.setPen(palette().color(QPalette::Text));
        riga.drawCursor(&p, QPointF(c.x() + 5 - qRound(linea.cursorToX(cursorPosition())), c.y()), cursorPosition(),
                        style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
    }

    void keyPressEvent(QKeyEvent *e) override
    {
        const QString t = e->text();
        typing_ = !e->matches(QKeySequence::Paste) && (t.isEmpty() || (t.size() == 1 && t[0].unicode() < 256));
        QLineEdit::keyPressEvent(e);
        typing_ = false;
    }

private:
    class Filter : public QValidator {
    public:
        explicit Filter(TextBoxWidget *box) : QValidator(box), box_(box) {}
        State validate(QString &input, int &pos) const override
        {
            Control *c = Control::of(box_);
            if (box_->typing_ || !c || !c->KeyPress) return Acceptable;
            // What came in is what lies between the unchanged start and end.
            const QString &before = c->Text();
            int start = 0;
            while (start < input.size() && start < before.size() && input[start] == before[start]) ++start;
            int end = 0;
            while (end < input.size() - start && end < before.size() - start
                   && input[input.size() - 1 - end] == before[before.size() - 1 - end])
                ++end;
            const QString inserted = input.mid(start, input.size() - start - end);
            if (inserted.isEmpty()) return Acceptable;
            const QString kept = filteredAsTyped(c, inserted);
            input = input.left(start) + kept + input.right(end);
            pos = int(start + kept.size());
            return Acceptable;
        }

    private:
        TextBoxWidget *box_;
    };
    bool typing_ = false;
};

} // namespace

void Control::createWidget(QWidget *parent)
{
    QWidget *w = nullptr;
    switch (kind_) {
    case Kind::HScrollBar: {
        auto *sb = new QScrollBar(Qt::Horizontal, parent);
        sb->setRange(std::min(min_, max_), std::max(min_, max_));
        sb->setPageStep(largeChange_);
        sb->setValue(value_);
        QObject::connect(sb, &QScrollBar::valueChanged, sb, [this](int v) {
            if (!settingValue_ && v != value_) { value_ = v; raiseChange(); }
        });
        w = sb;
        break;
    }
    case Kind::ComboBox: {
        auto *cb = new QComboBox(parent);
        // A drop-down list: its entries drop below the box, a few rows at a time, as wide
        // as the box. The desktop's style would rather lay a menu of every entry over the
        // box, and measure the width of every entry at each opening, which a list of
        // thousands of users makes slow.
        cb->setStyle(elencoATendina());
        // The box's height comes from its font, not from measuring every entry, and the
        // rows of its drop-down, each one line of that font, are laid out at once. The
        // entries carry no pictures, so no room is kept for one.
        cb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        cb->setIconSize(QSize(0, 0));
        if (auto *righe = qobject_cast<QListView *>(cb->view())) righe->setUniformItemSizes(true);
        cb->setItemDelegate(new VoceAccorciata(cb));
        QObject::connect(cb, &QComboBox::activated, cb, [this](int i) {
            if (i != listIndex_) { listIndex_ = i; raiseClick(); }
        });
        w = cb;
        break;
    }
    case Kind::ListBox: {
        auto *lw = new QListWidget(parent);
        // Every entry is one line of text in the list's font: rows of one height let a list
        // of thousands of names be laid out at once instead of measuring each name.
        lw->setUniformItemSizes(true);
        // The chosen entry is the one selected, not the current one: the keyboard's focus
        // coming to the list, tabbed to or passed on from a control just hidden, makes its
        // first entry current, and that picks nobody.
        QObject::connect(lw, &QListWidget::itemSelectionChanged, lw, [this, lw] {
            const QList<QListWidgetItem *> scelti = lw->selectedItems();
            const int i = scelti.isEmpty() ? -1 : lw->row(scelti.first());
            if (i != listIndex_) { listIndex_ = i; raiseClick(); }
        });
        w = lw;
        break;
    }
    case Kind::TextBox: {
        auto *e = new TextBoxWidget(parent);
        e->setText(text_);
        e->setReadOnly(locked_);
        e->setAlignment(alignment_ == 2 ? Qt::AlignCenter : alignment_ == 1 ? Qt::AlignRight : Qt::AlignLeft);
        QObject::connect(e, &QLineEdit::textChanged, e, [this](const QString &s) {
            if (s != text_) { text_ = s; raiseChange(); }
        });
        w = e;
        break;
    }
    case Kind::TabStrip: {
        auto *tb = new QTabBar(parent);
        for (const QString &t : tabs_) tb->addTab(t);
        // The chosen tab is the control's Value (counting from 0).
        QObject::connect(tb, &QTabBar::currentChanged, tb, [this](int i) {
            if (settingValue_) return;
            value_ = i;
            raiseClick();
        });
        w = tb;
        break;
    }
    case Kind::RichTextBox: {
        auto *t = new RichTextWidget(parent);
        t->setReadOnly(locked_);
        w = t;
        break;
    }
    default:
        w = new ControlWidget(this, parent);
        break;
    }
    w->setProperty("formsControl", QVariant::fromValue<void *>(this));
    if (!qobject_cast<ControlWidget *>(w)) w->installEventFilter(form_->window());
    widget_ = w;
    w->setToolTip(toolTip_);
    w->setEnabled(enabled_);
    applyLook();
    applyCursor();
    applyGeometry();
    w->setVisible(visible_);
}

} // namespace forms
