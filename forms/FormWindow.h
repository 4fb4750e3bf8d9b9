#pragma once
// The widgets behind forms and controls (internal to the kit).
#include <QHash>
#include <QWidget>

class QInputEvent;

class QMenuBar;

namespace forms {

class Form;
class Control;

class FormWindow : public QWidget {
    Q_OBJECT
public:
    explicit FormWindow(Form *form);
    QWidget *client() const { return client_; }
    QMenuBar *menuBar();
    QMenuBar *existingMenuBar() const { return menuBar_; }
    int menuBarHeight() const;
    void layoutClient();
    void detach() { form_ = nullptr; }

    // Whether a key or mouse-button event may act on `ricevente`, one of this window's
    // widgets. Input the pupil made before the window was on screen does not: the second
    // press of a double press whose first press opened the window, however late it is
    // handled. Nor does a release whose press that widget did not take. A press made once
    // the window is on screen counts, however soon.
    bool prende(const QInputEvent *e, const QObject *ricevente);

protected:
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    Form *form_;
    QWidget *client_;
    QMenuBar *menuBar_ = nullptr;
    ulong comparsa_ = 0;        // the server's time when it came on screen; 0 when unknown
    bool attesaDisegno_ = false; // shown, not drawn yet
    // Presses it took whose release has not come yet, and the widget that took each.
    QHash<int, const QObject *> tasti_, bottoni_;
};

// Paints labels, buttons, picture boxes, frames, images, shapes, lines, options and
// check boxes from their control's properties, and passes mouse and key events on.
class ControlWidget : public QWidget {
    Q_OBJECT
public:
    ControlWidget(Control *c, QWidget *parent);
    void detach() { c_ = nullptr; }

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    Control *c_;
    bool pressed_ = false;
};

// Shared by painted and native widgets: turns Qt key events into the handlers' events. A
// held key is one KeyDown and one KeyUp, however long it is held and whether or not its
// repeats come flagged.
// Returns true when the event was consumed (a repeat, a press the window does not take, or
// a character cancelled by its handler); `ripetizione` tells whether it was a repeat.
bool dispatchKeyPress(Control *c, QKeyEvent *e, bool *ripetizione = nullptr);
// The KeyUp, at once, unless the release belongs to a hold that has already acted or to a
// press the window did not take. True when it acted.
bool dispatchKeyRelease(Control *c, QKeyEvent *e);
int vbKeyCode(const QKeyEvent *e);
int vbShift(Qt::KeyboardModifiers m);
int vbButton(Qt::MouseButtons b);

} // namespace forms
