#pragma once
// A window: its controls in layout order, one default instance per window class, and the
// Load / Activate / Resize events. Moving on means showing the next window and unloading
// the current one; an unloaded window is gone, and its default instance is made anew on
// the next use.
//
// Events are processed inside loads (the translation) and inside pauses, so a second
// click can arrive while a window is still loading, and a window can be unloaded while
// one of its own calls is still running. Hence: a window asked to show while it loads is
// shown once its load has completed, never before; and an unloaded window is deleted only
// when every call running inside it (load, activation, resize, each event handler) has
// returned.
#include "Control.h"
#include "Layout.h"
#include <QHash>
#include <QObject>
#include <QPointer>
#include <typeinfo>
#include <vector>

class QMenuBar;

namespace forms {

class FormWindow;

class Form : public QObject {
    Q_OBJECT
public:
    explicit Form(const QString &name);
    ~Form() override;

    const QString &Name() const { return name_; }

    // Lifecycle
    void Load();               // builds the controls and runs Form_Load; once
    // Loads, shows, and activates when it was not the active window. Asked while the
    // window is still loading, it is done when the load completes. A window that is not
    // on the screen yet is activated first and mapped afterwards, whole.
    void Show();
    // Puts on the screen at once the windows whose activation is running: a pause inside
    // an activation lets the pupil see and use the window meanwhile.
    static void ShowActivating();
    void Hide();
    void Unload();             // hides, stops its timers and forgets the instance
    bool isLoaded() const { return loaded_; }
    bool wasUnloaded() const { return unloaded_; }

    // Held around every call into the window's own code: while one is held, the window is
    // not deleted, even if it is unloaded meanwhile.
    class Busy {
    public:
        explicit Busy(Form *f);
        ~Busy();
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;

    private:
        Form *f_;
    };

    // Properties
    const QString &Caption() const { return caption_; }
    void setCaption(const QString &s);
    const QString &Tag() const { return tag_; }
    void setTag(const QString &s) { tag_ = s; }
    int32_t BackColor() const { return backColor_; }
    void setBackColor(int32_t c);
    double Left() const { return g_[0]; }
    double Top() const { return g_[1]; }
    double Width() const { return g_[2]; }
    double Height() const { return g_[3]; }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    void Move(double left, double top, double width, double height);
    // The size the layout was drawn for, as the inner area beneath the menu bar: the
    // window is made as much higher as its menu bar really is, so that the inner area,
    // from which the controls are scaled, is exactly this.
    void setClientSize(double width, double height);
    double ScaleWidth() const;   // inner size, in twips
    double ScaleHeight() const;
    bool isMinimized() const;
    bool Visible() const;

    // Controls, in layout order (menus, timers, lines and shapes included).
    const std::vector<Control *> &Controls() const { return controls_; }
    Control *control(const QString &name, int index = -1) const;
    std::vector<Control *> array(const QString &name) const; // members in index order
    // Creates a member of a control array at run time, copying the lowest member.
    Control *LoadControl(const QString &name, int index);

    QWidget *window() const;
    QWidget *client() const; // the window's inner area, beneath the menu bar
    QMenuBar *menuBar() const;

    // The window last shown (by Show) and not hidden or unloaded since; null when there is none.
    static Form *ActiveForm();
    // Whether `w` is drawn as the focus: it has the focus, or its window is on its way to
    // the screen as the active window and `w` is the widget that will get the focus there,
    // so that the window's first frame already shows it.
    static bool ShowsFocus(const QWidget *w);
    static const std::vector<Form *> &LoadedForms();
    static Form *findLoaded(const std::type_info &type);
    // Unloads every window; the program is ending.
    static void UnloadAll();

    // Events the window raises itself.
    virtual void Form_MouseMove(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {}

protected:
    virtual void layout(Layout &) {}
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}

private:
    friend class FormWindow;
    friend class Control;
    void build();
    Control *makeControl(const ControlSpec &voce);
    void buildMenu(Control *c);
    void applyGeometry();
    void mostra();
    void resized();
    void eliminaPiuTardi();
    bool eventFilter(QObject *o, QEvent *e) override;

    QString name_;
    QString caption_, tag_;
    int32_t backColor_ = vbButtonFace;
    double g_[4] = {0, 0, 7200, 5400};
    double clientHeight_ = -1; // the layout's inner height, when it was given
    bool loaded_ = false, unloaded_ = false;
    bool loading_ = false, showWhenLoaded_ = false, deleting_ = false;
    bool daMostrare_ = false; // activated, to be mapped when its activation ends or pauses
    bool inArrivo_ = false;   // mapped by Show, not activated yet
    int busy_ = 0; // calls running inside the window
    std::vector<Control *> controls_;
    QHash<QString, Control *> byName_;
    std::vector<ControlSpec> specs_; // kept for run-time members of control arrays
    FormWindow *window_ = nullptr;
};

// The default instance of a window class: loaded on first use.
template <class T>
T &Default()
{
    if (Form *f = Form::findLoaded(typeid(T))) return *static_cast<T *>(f);
    T *t = new T();
    t->Load();
    return *t;
}

// The default instance only when it is loaded.
template <class T>
T *IfLoaded()
{
    return static_cast<T *>(Form::findLoaded(typeid(T)));
}

// Named access to a window's controls, so that window code reads `Command1[i]->...`.
class Ctl {
public:
    Ctl(const Form *f, const char *name) : f_(f), name_(QLatin1String(name)) {}
    Control *operator->() const { return get(); }
    operator Control *() const { return get(); }
    Control *get() const;

private:
    const Form *f_;
    QString name_;
};

class CtlArray {
public:
    CtlArray(const Form *f, const char *name) : f_(f), name_(QLatin1String(name)) {}
    Control *operator[](int i) const;
    std::vector<Control *> all() const { return f_->array(name_); }
    int UBound() const;
    const QString &name() const { return name_; }

private:
    const Form *f_;
    QString name_;
};

} // namespace forms
