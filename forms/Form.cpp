#include "Form.h"
#include "FormWindow.h"
#include "Picture.h"
#include "Twips.h"
#include "platform/FirstFrame.h"
#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>

namespace forms {

namespace {
std::vector<Form *> g_loaded;
Form *g_active = nullptr;
}

Form::Form(const QString &name) : name_(name) {}

Form::~Form()
{
    if (g_active == this) g_active = nullptr;
    g_loaded.erase(std::remove(g_loaded.begin(), g_loaded.end(), this), g_loaded.end());
    for (Control *c : controls_) delete c;
    controls_.clear();
    if (window_) {
        window_->detach();
        delete window_;
    }
}

Form *Form::ActiveForm() { return g_active; }

bool Form::ShowsFocus(const QWidget *w)
{
    if (w->hasFocus()) return true;
    return g_active && g_active->inArrivo_ && w->window() == g_active->window_ && g_active->window_->focusWidget() == w;
}

const std::vector<Form *> &Form::LoadedForms() { return g_loaded; }

Form *Form::findLoaded(const std::type_info &type)
{
    for (Form *f : g_loaded)
        if (typeid(*f) == type) return f;
    return nullptr;
}

void Form::UnloadAll()
{
    // No window is left to prepare anything for.
    stopPreparingPictures();
    const std::vector<Form *> all = g_loaded;
    for (auto it = all.rbegin(); it != all.rend(); ++it) (*it)->Unload();
}

// ---- lifecycle ----

Form::Busy::Busy(Form *f) : f_(f)
{
    if (f_) ++f_->busy_;
}

Form::Busy::~Busy()
{
    if (f_ && --f_->busy_ == 0 && f_->unloaded_) f_->eliminaPiuTardi();
}

void Form::Load()
{
    if (loaded_ || unloaded_) return;
    // Registered at once, so that a second use during the load finds this instance
    // instead of making another; but it is not shown before the load has completed.
    loaded_ = true;
    loading_ = true;
    g_loaded.push_back(this);
    Busy busy(this);
    build();
    Form_Load();
    loading_ = false;
    if (showWhenLoaded_ && loaded_) Show();
}

void Form::build()
{
    window_ = new FormWindow(this);
    window_->installEventFilter(this);
    window_->setWindowTitle(caption_);
    Layout l;
    layout(l);
    specs_.assign(l.specs().begin(), l.specs().end());
    for (const ControlSpec &s : specs_) makeControl(s);
    for (Control *c : controls_)
        if (c->kind() == Kind::Menu) buildMenu(c);
    // Windowed controls stand above the lightweight ones of their container.
    for (Control *c : controls_)
        if (c->widget() && !c->isLightweight()) c->widget()->raise();
    setBackColor(backColor_);
    if (clientHeight_ >= 0) g_[3] = clientHeight_ + window_->menuBarHeight() * twipsPerPixelY();
    applyGeometry();
}

Control *Form::makeControl(const ControlSpec &s)
{
    auto *c = new Control(this, s.kind, s.name, s.index);
    if (!s.container.isEmpty()) c->container_ = control(s.container, s.containerIndex);
    for (int i = 0; i < 4; ++i) c->g_[i] = s.rect[i];
    c->caption_ = s.caption;
    c->text_ = s.text;
    c->tag_ = s.tag;
    c->toolTip_ = s.toolTip;
    c->visible_ = s.visible;
    c->enabled_ = s.enabled;
    c->font_ = s.font;
    c->alignment_ = s.alignment;
    c->autoSize_ = s.autoSize;
    c->backStyle_ = s.backStyle;
    c->mousePointer_ = s.mousePointer;
    if (s.mousePointer == vbCustom) c->mouseIcon_ = s.mouseIcon.isEmpty() ? programCursor() : cursorFromFile(s.mouseIcon, s.hotX, s.hotY);
    c->shape_ = s.shape;
    c->fillStyle_ = s.fillStyle;
    c->fillColor_ = s.fillColor;
    c->borderColor_ = s.borderColor;
    c->borderWidth_ = s.borderWidth;
    c->stretch_ = s.stretch;
    c->value_ = s.value;
    c->min_ = s.min;
    c->max_ = s.max;
    c->interval_ = s.interval;
    c->checked_ = s.checked;
    c->tabs_ = s.tabs;
    c->dragMode_ = s.dragMode;
    if (!s.picture.isEmpty()) c->picture_ = Picture::fromFile(s.picture);

    // The kinds' own defaults, unless the layout says otherwise.
    const bool textual = s.kind == Kind::TextBox || s.kind == Kind::ComboBox || s.kind == Kind::ListBox
                         || s.kind == Kind::RichTextBox;
    c->backColor_ = s.backSet ? s.backColor : textual ? vbWindowBackground : vbButtonFace;
    c->foreColor_ = s.foreSet ? s.foreColor : textual ? vbWindowText : vbButtonText;
    if (s.kind == Kind::Shape) c->backStyle_ = s.backSet ? 1 : 0;
    int border = s.borderStyle;
    if (border < 0)
        border = (s.kind == Kind::PictureBox || s.kind == Kind::Frame || s.kind == Kind::Shape
                  || s.kind == Kind::Line || textual) ? 1 : 0;
    c->borderStyle_ = border;

    controls_.push_back(c);
    byName_.insert(c->fullName(), c);

    if (s.kind == Kind::Timer) {
        c->timer_ = new QTimer(this);
        QObject::connect(c->timer_, &QTimer::timeout, this, [this, c] {
            Busy busy(this);
            if (loaded_ && !loading_ && c->Timer) c->Timer();
        });
        c->refreshTimer();
    } else if (s.kind != Kind::Menu) {
        c->createWidget(c->container_ && c->container_->widget() ? c->container_->widget() : window_->client());
        if (c->autoSize_ && c->kind_ == Kind::Label) c->resizeToText();
    }
    return c;
}

void Form::buildMenu(Control *c)
{
    const bool hasChildren = std::any_of(controls_.begin(), controls_.end(), [c](Control *o) {
        return o->kind() == Kind::Menu && o->Container() == c;
    });
    QWidget *owner = window_;
    QMenu *parentMenu = c->container_ ? c->container_->menu_.data() : nullptr;
    if (hasChildren) {
        auto *m = new QMenu(c->caption_, owner);
        c->menu_ = m;
        c->action_ = m->menuAction();
        if (parentMenu) parentMenu->addMenu(m);
        else window_->menuBar()->addMenu(m);
    } else {
        auto *a = new QAction(c->caption_, owner);
        c->action_ = a;
        if (parentMenu) parentMenu->addAction(a);
        else window_->menuBar()->addAction(a);
        QObject::connect(a, &QAction::triggered, this, [c] { c->raiseClick(); });
    }
    c->action_->setSeparator(c->caption_ == QLatin1String("-"));
    c->action_->setVisible(c->visible_);
    c->action_->setEnabled(c->enabled_);
    if (c->checked_) c->setChecked(true);
}

Control *Form::LoadControl(const QString &name, int index)
{
    if (!loaded_ || control(name, index)) return control(name, index);
    const std::vector<Control *> members = array(name);
    if (members.empty()) return nullptr;
    Control *model = members.front();
    const ControlSpec *voce = nullptr;
    for (const ControlSpec &s : specs_)
        if (s.name == name && s.index == model->Index()) voce = &s;
    if (!voce) return nullptr;
    ControlSpec copy = *voce;
    copy.index = index;
    copy.visible = false; // new members start hidden
    Control *c = makeControl(copy);
    c->caption_ = model->caption_;
    if (c->kind() == Kind::Menu) {
        // Insert behind the last member of the array, in the same menu.
        QMenu *parentMenu = c->container_ ? c->container_->menu_.data() : nullptr;
        auto *a = new QAction(c->caption_, window_);
        c->action_ = a;
        QAction *before = nullptr;
        QList<QAction *> acts = parentMenu ? parentMenu->actions() : window_->menuBar()->actions();
        const int at = acts.indexOf(members.back()->action_);
        if (at >= 0 && at + 1 < acts.size()) before = acts[at + 1];
        if (parentMenu) parentMenu->insertAction(before, a);
        else window_->menuBar()->insertAction(before, a);
        QObject::connect(a, &QAction::triggered, this, [c] { c->raiseClick(); });
        a->setVisible(false);
    } else if (c->widget()) {
        c->widget()->stackUnder(model->widget());
        c->widget()->raise();
    }
    return c;
}

void Form::Show()
{
    if (unloaded_) return;
    if (loading_) {
        showWhenLoaded_ = true;
        return;
    }
    Busy busy(this);
    Load();
    if (!loaded_) return; // unloaded during its own load
    showWhenLoaded_ = false;
    if (g_active == this || window_->isVisible()) {
        mostra();
        if (g_active != this) {
            g_active = this;
            Form_Activate();
        }
        return;
    }
    // A window not yet on the screen gets there whole: its activation sizes it to the
    // screen and fills it first, and only then is it mapped, so that the screen goes from
    // the window before straight to this one painted. A pause in the activation puts it
    // on the screen there (ShowActivating).
    g_active = this;
    daMostrare_ = true;
    Form_Activate();
    if (daMostrare_ && loaded_) mostra();
}

void Form::mostra()
{
    daMostrare_ = false;
    // Until the window is activated its controls draw the focus it is going to have.
    inArrivo_ = !window_->isVisible();
    // A window that gives the focus to none of its controls has it given, when activated,
    // to the first that takes it by Tab: given now, the window is drawn as it will be.
    if (inArrivo_ && !window_->focusWidget()) {
        for (QWidget *w = window_->nextInFocusChain(); w && w != window_; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisibleTo(window_) && w->isEnabled()
                && !w->focusProxy()) {
                w->setFocus(Qt::ActiveWindowFocusReason);
                break;
            }
        }
    }
    if (inArrivo_) drawPicturesAhead(window_);
    // Shown already painted, the window is on screen from its map; otherwise from its first
    // drawing, which it stamps itself.
    if (const ulong mappata = platform::showPainted(window_)) window_->comparsaAlMap(mappata);
    window_->raise();
    window_->activateWindow();
}

void Form::ShowActivating()
{
    const std::vector<Form *> all = g_loaded;
    for (Form *f : all)
        if (f->daMostrare_) f->mostra();
}

void Form::Hide()
{
    showWhenLoaded_ = false;
    daMostrare_ = false;
    inArrivo_ = false;
    if (window_) window_->hide();
    if (g_active == this) g_active = nullptr;
}

void Form::Unload()
{
    if (!loaded_) return;
    loaded_ = false;
    unloaded_ = true;
    daMostrare_ = false;
    inArrivo_ = false;
    for (Control *c : controls_)
        if (c->timer_) c->timer_->stop();
    g_loaded.erase(std::remove(g_loaded.begin(), g_loaded.end(), this), g_loaded.end());
    if (g_active == this) g_active = nullptr;
    if (window_) window_->hide();
    eliminaPiuTardi();
}

bool Form::eventFilter(QObject *o, QEvent *e)
{
    if (o == window_ && (e->type() == QEvent::WindowActivate || e->type() == QEvent::Hide)) inArrivo_ = false;
    return false;
}

// An unloaded window is deleted once no call of it is still running: at once (through the
// event loop, since the code that unloaded it may still use it) when none is, otherwise
// when the last one returns.
void Form::eliminaPiuTardi()
{
    if (busy_ > 0 || deleting_) return;
    deleting_ = true;
    deleteLater();
}

// ---- properties ----

void Form::setCaption(const QString &s)
{
    caption_ = s;
    if (window_) window_->setWindowTitle(s);
}

void Form::setBackColor(int32_t c)
{
    backColor_ = c;
    if (!window_) return;
    QPalette pal = window_->client()->palette();
    pal.setColor(QPalette::Window, toQColor(c));
    window_->client()->setPalette(pal);
    window_->client()->setAutoFillBackground(true);
    window_->client()->update();
}

void Form::setLeft(double v) { g_[0] = v; applyGeometry(); }
void Form::setTop(double v) { g_[1] = v; applyGeometry(); }
void Form::setWidth(double v)
{
    v = std::max(0.0, v);
    if (g_[2] == v) return;
    g_[2] = v;
    applyGeometry();
    resized();
}
void Form::setHeight(double v)
{
    v = std::max(0.0, v);
    if (g_[3] == v) return;
    g_[3] = v;
    applyGeometry();
    resized();
}
void Form::Move(double left, double top, double width, double height)
{
    const bool sizeChanged = g_[2] != width || g_[3] != height;
    g_[0] = left; g_[1] = top; g_[2] = std::max(0.0, width); g_[3] = std::max(0.0, height);
    applyGeometry();
    if (sizeChanged) resized();
}

void Form::setClientSize(double width, double height)
{
    clientHeight_ = std::max(0.0, height);
    const double menu = window_ ? window_->menuBarHeight() * twipsPerPixelY() : 0;
    Move(g_[0], g_[1], width, clientHeight_ + menu);
}

void Form::resized()
{
    if (!loaded_) return;
    Busy busy(this);
    Form_Resize();
}

void Form::applyGeometry()
{
    if (!window_) return;
    const int x = pixelsX(g_[0]), y = pixelsY(g_[1]);
    const int r = pixelsX(g_[0] + g_[2]), b = pixelsY(g_[1] + g_[3]);
    window_->setGeometry(x, y, std::max(1, r - x), std::max(1, b - y));
    window_->layoutClient();
}

double Form::ScaleWidth() const { return g_[2]; }

double Form::ScaleHeight() const
{
    const double menu = window_ ? window_->menuBarHeight() * twipsPerPixelY() : 0;
    return std::max(0.0, g_[3] - menu);
}

bool Form::isMinimized() const { return window_ && window_->isMinimized(); }
bool Form::Visible() const { return window_ && window_->isVisible(); }

QWidget *Form::window() const { return window_; }
QWidget *Form::client() const { return window_ ? window_->client() : nullptr; }
QMenuBar *Form::menuBar() const { return window_ ? window_->existingMenuBar() : nullptr; }

// ---- controls ----

Control *Form::control(const QString &name, int index) const
{
    return byName_.value(index >= 0 ? QStringLiteral("%1(%2)").arg(name).arg(index) : name, nullptr);
}

std::vector<Control *> Form::array(const QString &name) const
{
    std::vector<Control *> out;
    for (Control *c : controls_)
        if (c->Name() == name && c->isArrayMember()) out.push_back(c);
    std::sort(out.begin(), out.end(), [](Control *a, Control *b) { return a->Index() < b->Index(); });
    return out;
}

Control *Ctl::get() const
{
    Control *c = f_->control(name_);
    Q_ASSERT_X(c, "Ctl", qPrintable(name_));
    return c;
}

Control *CtlArray::operator[](int i) const
{
    Control *c = f_->control(name_, i);
    Q_ASSERT_X(c, "CtlArray", qPrintable(QStringLiteral("%1(%2)").arg(name_).arg(i)));
    return c;
}

int CtlArray::UBound() const
{
    const auto members = f_->array(name_);
    return members.empty() ? -1 : members.back()->Index();
}

} // namespace forms
