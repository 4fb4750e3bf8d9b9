#pragma once
// The widget behind a painted control (internal to the kit).
#include <QWidget>

namespace forms {

class Control;

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

} // namespace forms
