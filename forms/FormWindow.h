#pragma once
// The top-level widget behind a form (internal to the kit).
#include <QHash>
#include <QWidget>

class QInputEvent;
class QMenuBar;

namespace forms {

class Form;

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
    // The presses that come to it have already passed the gesture judge (InputAdmission.h).
    bool prende(const QInputEvent *e, const QObject *ricevente);

    // Shown already painted: on screen from `ora`, the server's time just before its map.
    void comparsaAlMap(ulong ora);

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

} // namespace forms
