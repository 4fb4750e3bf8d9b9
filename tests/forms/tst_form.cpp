// The window kit: default instances, controls and control arrays, values that raise
// events, keys, activation and twip geometry.
#include "TestSupport.h"
#include "forms/Form.h"
#include "forms/Twips.h"
#include "platform/ServerInput.h"
#include <QClipboard>
#include <QComboBox>
#include <QAbstractItemView>
#include <QStyleHints>
#include <QTabBar>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QMimeData>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

using namespace forms;

namespace {

class FormUno : public Form {
public:
    FormUno() : Form(QStringLiteral("FormUno")) { Move(1500, 3000, 9000, 6000); }
    static inline int loads = 0;
    int activations = 0;
    QStringList events;

    CtlArray Command1{this, "Command1"};
    CtlArray Option1{this, "Option1"};

protected:
    void layout(Layout &l) override
    {
        l.add(Kind::Menu, "mnuFile").cap("File");
        l.add(Kind::Menu, "mnuLanguage", 0).in("mnuFile").cap("Italiano");
        l.add(Kind::Menu, "mnuAltro").in("mnuFile").cap("Altro");
        l.add(Kind::CommandButton, "Command1", 1).at(1500, 0, 1500, 750).cap("Uno");
        l.add(Kind::CommandButton, "Command1", 0).at(0, 0, 1507, 750).cap("Zero").withFont("Arial", 12, true);
        l.add(Kind::Frame, "Frame1").at(3000, 1500, 3000, 3000);
        l.add(Kind::OptionButton, "Option1", 0).in("Frame1").at(150, 300, 1500, 300).val(1);
        l.add(Kind::OptionButton, "Option1", 1).in("Frame1").at(150, 750, 1500, 300);
        l.add(Kind::OptionButton, "Option1", 2).in("Frame1").at(150, 1200, 1500, 300);
        l.add(Kind::OptionButton, "Option2").at(150, 4800, 1500, 300).val(1);
        l.add(Kind::CheckBox, "Check1").at(150, 5200, 1500, 300);
        l.add(Kind::ComboBox, "Combo1").at(4500, 0, 1500, 315);
        l.add(Kind::PictureBox, "Picture1").at(6000, 4500, 1500, 1000);
        l.add(Kind::Line, "Line1").line(300, 3000, 1800, 3750);
        l.add(Kind::Shape, "Shape1").at(7000, 0, 300, 300);
        l.add(Kind::Timer, "Timer1").every(10);
    }
    void Form_Load() override
    {
        ++loads;
        for (Control *c : Controls())
            c->Click = [this, c] { events << c->fullName(); };
    }
    void Form_Activate() override { ++activations; }
};

class FormDue : public Form {
public:
    FormDue() : Form(QStringLiteral("FormDue")) {}
    int activations = 0;

protected:
    void layout(Layout &l) override { l.add(Kind::Label, "Label1").at(0, 0, 100, 100); }
    void Form_Activate() override { ++activations; }
};

// A window that opens over FormUno: a button where FormUno has its first, a menu item
// where FormUno has its menu, and a box that takes the keys.
class FormTre : public Form {
public:
    FormTre() : Form(QStringLiteral("FormTre")) { Move(1500, 3000, 9000, 6000); }
    QStringList events;

protected:
    void layout(Layout &l) override
    {
        l.add(Kind::Menu, "mnuEsci").cap("Esci");
        l.add(Kind::CommandButton, "Command1").at(0, 0, 1507, 750).cap("Tre");
        l.add(Kind::PictureBox, "Picture1").at(6000, 4500, 1500, 1000);
        l.add(Kind::PictureBox, "Picture2").at(3000, 4500, 1500, 1000);
    }
    void Form_Load() override
    {
        control("Command1")->Click = [this] { events << QStringLiteral("Command1"); };
        control("Picture2")->KeyDown = [this](int &k, int) { events << QStringLiteral("2 down %1").arg(k); };
        control("Picture2")->KeyUp = [this](int &k, int) { events << QStringLiteral("2 up %1").arg(k); };
        control("mnuEsci")->Click = [this] { events << QStringLiteral("mnuEsci"); };
        control("Picture1")->KeyDown = [this](int &k, int) { events << QStringLiteral("down %1").arg(k); };
        control("Picture1")->KeyUp = [this](int &k, int) { events << QStringLiteral("up %1").arg(k); };
    }
    void Form_Activate() override { control("Picture1")->SetFocus(); }
};

// Its load lets events through in the middle, as the translation does; what a test puts
// in `during` runs there.
class FormLenta : public Form {
public:
    FormLenta() : Form(QStringLiteral("FormLenta")) {}
    static inline std::function<void()> during;
    bool ready = false;
    int activations = 0, activatedBeforeReady = 0;

protected:
    void layout(Layout &l) override { l.add(Kind::CommandButton, "Command1").at(0, 0, 1500, 750); }
    void Form_Load() override
    {
        QTimer::singleShot(0, [] { if (during) during(); });
        QCoreApplication::processEvents();
        control("Command1")->setCaption(QStringLiteral("pronta"));
        ready = true;
    }
    void Form_Activate() override
    {
        ++activations;
        if (!ready) ++activatedBeforeReady;
    }
};

// A record box, and an answer box that takes digits only.
class FormTesti : public Form {
public:
    FormTesti() : Form(QStringLiteral("FormTesti")) {}

protected:
    void layout(Layout &l) override
    {
        l.add(Kind::RichTextBox, "RichTextBox1").at(0, 0, 4000, 3000);
        l.add(Kind::TextBox, "Text1").at(0, 3200, 4000, 500);
    }
    void Form_Load() override
    {
        control("Text1")->KeyPress = [](int &a) { if (a < '0' || a > '9') a = 0; };
    }
};

// A panel that covers a button, and goes when its own button is clicked; a box that takes
// keys and counts them.
class FormCopertura : public Form {
public:
    FormCopertura() : Form(QStringLiteral("FormCopertura")) { Move(0, 0, 9000, 6000); }
    QStringList events;

protected:
    void layout(Layout &l) override
    {
        l.add(Kind::CommandButton, "CommandSotto").at(0, 0, 3000, 1500);
        l.add(Kind::Frame, "Pannello").at(0, 0, 4500, 3000);
        l.add(Kind::CommandButton, "CommandNo").in("Pannello").at(0, 0, 3000, 1500);
        l.add(Kind::CommandButton, "CommandConta").at(4500, 3000, 1500, 750);
        l.add(Kind::PictureBox, "Picture1").at(6000, 4500, 1500, 1000);
        l.add(Kind::Label, "Segno").at(6000, 0, 1500, 750).hidden();
    }
    void Form_Load() override
    {
        control("CommandSotto")->Click = [this] { events << QStringLiteral("sotto"); };
        control("CommandNo")->Click = [this] {
            events << QStringLiteral("no");
            control("Pannello")->setVisible(false);
        };
        control("CommandConta")->Click = [this] {
            events << QStringLiteral("conta");
            control("Segno")->setVisible(!control("Segno")->Visible());
        };
        control("Picture1")->KeyDown = [this](int &k, int) { events << QStringLiteral("down %1").arg(k); };
    }
    void Form_Activate() override { control("Picture1")->SetFocus(); }
};

// What a trembling hand meets: a tile (a caption with a picture on it, one thing), a
// button beside it and a caption under that, a big button and a small one over it that
// the tile shows, two tabs over a page with a button, a drop-down list, and a button that
// appears on the window's empty background.
class FormTremore : public Form {
public:
    FormTremore() : Form(QStringLiteral("FormTremore")) { Move(0, 0, 12000, 9000); }
    QStringList events;

protected:
    void layout(Layout &l) override
    {
        l.add(Kind::Label, "Tessera").at(1500, 1500, 3000, 1500);                 // 100,100 200x100 px
        l.add(Kind::Image, "Figura").at(1800, 1650, 2400, 900);                   // on the tile
        l.add(Kind::CommandButton, "Accanto").at(4650, 1500, 1500, 1500);          // 10 px right of it
        l.add(Kind::Label, "Didascalia").at(4650, 3090, 1500, 450);                // 6 px under that
        l.add(Kind::Label, "Nota").at(1260, 1650, 180, 600);                       // 4 px left of the tile
        l.add(Kind::TabStrip, "Schede").at(1500, 7050, 6000, 1800).withTabs({"Uno", "Due"});
        l.add(Kind::Frame, "Foglio").at(1650, 7800, 5700, 900);
        l.add(Kind::CommandButton, "SulFoglio").in("Foglio").at(150, 150, 1500, 600);
        l.add(Kind::ComboBox, "Elenco").at(9000, 1500, 2250, 300);
        l.add(Kind::CommandButton, "Comparso").at(9000, 6000, 1500, 750).hidden(); // 600,400
        l.add(Kind::CommandButton, "Grande").at(750, 750, 7500, 6000).hidden();    // 50,50 500x400
        l.add(Kind::CommandButton, "Piccolo").at(6750, 900, 900, 600).hidden();    // 450,60 over it
        l.add(Kind::Label, "Segno").at(11000, 8000, 500, 500).hidden();
    }
    void Form_Load() override
    {
        for (const char *nome : {"Accanto", "SulFoglio", "Piccolo", "Comparso"})
            control(QLatin1String(nome))->Click = [this, nome] { events << QLatin1String(nome); };
        control("Grande")->Click = [this] {
            events << QStringLiteral("Grande");
            control("Segno")->setVisible(!control("Segno")->Visible());
        };
        for (const char *nome : {"Tessera", "Figura"})
            control(QLatin1String(nome))->Click = [this] {
                events << QStringLiteral("tessera");
                control("Grande")->setVisible(true);
                control("Piccolo")->setVisible(true);
            };
        control("Figura")->actsWith(control("Tessera"));
        control("Schede")->Click = [this] {
            events << QStringLiteral("scheda %1").arg(control("Schede")->Value());
            // The page is shown anew, as a change of tab does.
            control("Foglio")->setVisible(false);
            control("Foglio")->setVisible(true);
        };
        control("Elenco")->AddItems({"a", "b", "c"});
        control("Elenco")->Click = [this] { events << QStringLiteral("elenco %1").arg(control("Elenco")->ListIndex()); };
    }
};

// A teacher's window as the configuration lays it out: a tab strip spanning its pages, each
// page a frame laid over the strip (its controls show only with it), a menu bar, a list.
class FormPagine : public Form {
public:
    FormPagine() : Form(QStringLiteral("FormPagine")) { Move(0, 0, 12000, 9000); }
    QStringList events;

protected:
    void layout(Layout &l) override
    {
        l.add(Kind::TabStrip, "Schede").at(600, 600, 7500, 4500).withTabs({"Uno", "Due"}); // 40,40 500x300
        l.add(Kind::Frame, "Pagina", 0).at(600, 900, 7500, 4200); // laid over the tabs' foot by the test
        l.add(Kind::Frame, "Pagina", 1).at(600, 900, 7500, 4200).hidden();
        l.add(Kind::OptionButton, "Scelta", 0).in("Pagina", 1).at(150, 45, 6000, 300);
        l.add(Kind::OptionButton, "Scelta", 1).in("Pagina", 1).at(150, 525, 2250, 300);
        l.add(Kind::CommandButton, "Apparso").in("Pagina", 0).at(3000, 1500, 1200, 600).hidden();
        l.add(Kind::ListBox, "Lista").at(9000, 600, 2250, 1200);                  // 600,40 150x80
        l.add(Kind::CommandButton, "SottoLista").at(9000, 1950, 2250, 450).hidden(); // 10 px under it
        l.add(Kind::Menu, "mnuUno").cap("Uno");
        l.add(Kind::Menu, "mnuUnoA").in("mnuUno").cap("a");
        l.add(Kind::Menu, "mnuDue").cap("Due");
        l.add(Kind::Menu, "mnuDueA").in("mnuDue").cap("b");
    }
    void Form_Load() override
    {
        control("Schede")->Click = [this] {
            const int v = control("Schede")->Value();
            events << QStringLiteral("scheda %1").arg(v);
            for (int i = 0; i < 2; ++i) control("Pagina", i)->setVisible(false);
            control("Pagina", v)->setVisible(true);
        };
        for (int i = 0; i < 2; ++i)
            control("Scelta", i)->Click = [this, i] { events << QStringLiteral("scelta %1").arg(i); };
        control("Apparso")->Click = [this] { events << QStringLiteral("apparso"); };
        control("SottoLista")->Click = [this] { events << QStringLiteral("sotto"); };
        control("Lista")->AddItems({"a", "b", "c", "d"});
        control("Lista")->Click = [this] { events << QStringLiteral("lista %1").arg(control("Lista")->ListIndex()); };
    }
};

// A press or release as the platform hands it over: to the window, with the server's time.
void clicX11(QWidget *w, QEvent::Type tipo, ulong ora)
{
    const QPointF dove = w->mapTo(w->window(), QPointF(10, 10));
    const Qt::MouseButtons giu = tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(tipo, dove, dove, w->mapToGlobal(QPointF(10, 10)), Qt::LeftButton, giu, Qt::NoModifier);
    e.setTimestamp(ora);
    QCoreApplication::sendEvent(w->window()->windowHandle(), &e);
}
void clicX11(QWidget *w, ulong ora)
{
    clicX11(w, QEvent::MouseButtonPress, ora);
    clicX11(w, QEvent::MouseButtonRelease, ora + 1);
}
// A click where a trembling hand puts it: on the screen's point `dove`, handed over to the
// window `finestra` as the platform does, with the server's time.
void clicX11(QWidget *finestra, QPoint dove, ulong ora) { clicComeX11(finestra, dove, ora); }
// The pointer moved to the screen's point `dove`, as the platform hands it to `finestra`.
void mossaX11(QWidget *finestra, QPoint dove)
{
    const QPointF locale = finestra->mapFromGlobal(QPointF(dove));
    QMouseEvent mossa(QEvent::MouseMove, locale, locale, QPointF(dove), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(finestra->windowHandle(), &mossa);
}
// The widgets that presses of keys and buttons reached past the judge, by name.
class Raggiunti : public QObject {
public:
    Raggiunti() { qApp->installEventFilter(this); }
    QStringList chi;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o->isWidgetType() && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::KeyPress)) {
            const Control *c = Control::of(o);
            chi << (c ? c->fullName() : QString::fromLatin1(o->metaObject()->className()));
        }
        return false;
    }
};

// A key pressed and let go, or only pressed when its release never comes.
void tastoX11(QWidget *finestra, int key, ulong ora, QEvent::Type fin = QEvent::KeyRelease)
{
    for (QEvent::Type tipo : {QEvent::KeyPress, QEvent::KeyRelease}) {
        if (tipo > fin) break;
        QKeyEvent e(tipo, key, Qt::NoModifier, key == Qt::Key_Return ? QStringLiteral("\r") : QString());
        e.setTimestamp(tipo == QEvent::KeyPress ? ora : ora + 1);
        QCoreApplication::sendEvent(finestra->windowHandle(), &e);
    }
}

void scarica(Form &f)
{
    f.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void tasto(QWidget *w, QEvent::Type type, int key, const QString &text, bool autoRepeat,
           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent e(type, key, mods, text, autoRepeat);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TestForm : public QObject {
    Q_OBJECT

private slots:
    void defaultInstanceLoadsOnce();
    void controlsInLayoutOrder();
    void loadingAnArrayMember();
    void optionButtonsExcludeEachOther();
    void checkBoxAndComboRaiseClickOnChange();
    void heldKeyReleasesOnce();
    void keyDownThatUnloadsTheWindow();
    void inputMadeBeforeTheWindowAppearedDoesNotActInIt();
    void momentOnScreenAtItsEdges();
    void secondPressOfAGestureActsNowhere();
    void laterPressJudgedOnWhatTheFirstLandedOn();
    void pressOnATabATitleARowAFrame();
    void activationOnlyWhenShown();
    void twipsBecomePixels();
    void menuBarTakesFromTheInnerHeight();
    void unloadStopsTimers();
    void reentryDuringTheLoad();
    void unloadedDuringItsLoadIsNeverShown();
    void windowHeldWhileItsHandlerRuns();
    void coloursAsTheWindowsStoreThem();
    void pasteOfNothingInsertsNothing();
    void focusDrawnBeforeTheWindowIsActivated();
    void focusNobodyAskedForIsDrawnWhereItWillGo();
};

void TestForm::defaultInstanceLoadsOnce()
{
    Ambiente env;
    FormUno::loads = 0;
    QVERIFY(!IfLoaded<FormUno>());
    FormUno &a = Default<FormUno>();
    FormUno &b = Default<FormUno>();
    QCOMPARE(&a, &b);
    QCOMPARE(FormUno::loads, 1);
    QVERIFY(a.isLoaded());
    QCOMPARE(IfLoaded<FormUno>(), &a);
    QCOMPARE(Form::LoadedForms().back(), &a);
    a.Load();
    QCOMPARE(FormUno::loads, 1);

    QPointer<FormUno> old = &a;
    a.Unload();
    QVERIFY(!a.isLoaded());
    QVERIFY(!IfLoaded<FormUno>());
    a.Show(); // an unloaded window is gone: showing it does nothing
    QVERIFY(!a.Visible());
    QCOMPARE(a.activations, 0);

    FormUno &c = Default<FormUno>();
    QVERIFY(&c != old.data());
    QCOMPARE(FormUno::loads, 2);
    QVERIFY(c.isLoaded() && !c.wasUnloaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!old);
    QCOMPARE(&Default<FormUno>(), &c);
    scarica(c);
}

void TestForm::controlsInLayoutOrder()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    QStringList names;
    for (Control *c : f.Controls()) names << c->fullName();
    QCOMPARE(names, (QStringList{"mnuFile", "mnuLanguage(0)", "mnuAltro", "Command1(1)", "Command1(0)", "Frame1",
                                 "Option1(0)", "Option1(1)", "Option1(2)", "Option2", "Check1", "Combo1", "Picture1",
                                 "Line1", "Shape1", "Timer1"}));
    // Arrays come in index order, whatever the layout's.
    const auto members = f.array("Command1");
    QCOMPARE(members.size(), size_t(2));
    QCOMPARE(members[0]->Caption(), QStringLiteral("Zero"));
    QCOMPARE(f.Command1.UBound(), 1);
    QCOMPARE(f.control("Command1"), nullptr);
    QCOMPARE(f.control("Option1", 2)->Container(), f.control("Frame1"));
    QCOMPARE(f.control("Option1", 2)->widget()->parentWidget(), f.control("Frame1")->widget());
    scarica(f);
}

void TestForm::loadingAnArrayMember()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    Control *zero = f.control("Command1", 0);
    zero->setCaption(QStringLiteral("Cambiata"));
    Control *c = f.LoadControl("Command1", 5);
    QVERIFY(c);
    QCOMPARE(f.LoadControl("Command1", 5), c);
    QCOMPARE(f.Controls().back(), c);
    QCOMPARE(f.Command1.UBound(), 5);
    QVERIFY(!c->Visible());
    QVERIFY(c->widget() && !c->widget()->isVisibleTo(f.window()));
    QCOMPARE(c->Caption(), QStringLiteral("Cambiata")); // from the lowest member
    QCOMPARE(c->Width(), zero->Width());
    QVERIFY(c->Font().bold);
    QCOMPARE(c->widget()->parentWidget(), zero->widget()->parentWidget());
    QCOMPARE(f.LoadControl("Shape1", 1), nullptr); // not an array
    QCOMPARE(f.LoadControl("Nessuno", 1), nullptr);

    // A menu item goes behind the last member of its array, in the same menu.
    Control *m1 = f.LoadControl("mnuLanguage", 1);
    Control *m2 = f.LoadControl("mnuLanguage", 2);
    m1->setCaption("English");
    m2->setCaption("Deutsch");
    m1->setVisible(true);
    m2->setVisible(true);
    QStringList texts;
    for (QAction *a : f.control("mnuFile")->menu()->actions()) texts << a->text();
    QCOMPARE(texts, (QStringList{"Italiano", "English", "Deutsch", "Altro"}));
    scarica(f);
}

void TestForm::optionButtonsExcludeEachOther()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    QVERIFY(f.events.isEmpty()); // layout values raise nothing
    f.Option1[1]->setValue(1);
    QCOMPARE(f.events, QStringList{"Option1(1)"});
    QCOMPARE(f.Option1[0]->Value(), 0);
    QCOMPARE(f.Option1[1]->Value(), 1);
    QCOMPARE(f.Option1[2]->Value(), 0);
    QCOMPARE(f.control("Option2")->Value(), 1); // another container
    f.events.clear();
    f.Option1[1]->setValue(true);
    QVERIFY(f.events.isEmpty());

    f.Show();
    QTest::mouseClick(f.Option1[2]->widget(), Qt::LeftButton);
    QCOMPARE(f.events, QStringList{"Option1(2)"});
    QCOMPARE(f.Option1[1]->Value(), 0);
    QCOMPARE(f.Option1[2]->Value(), 1);
    scarica(f);
}

void TestForm::checkBoxAndComboRaiseClickOnChange()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    Control *check = f.control("Check1");
    check->setValue(1);
    check->setValue(1);
    check->setValue(0);
    QCOMPARE(f.events, (QStringList{"Check1", "Check1"}));

    f.events.clear();
    Control *combo = f.control("Combo1");
    for (const char *s : {"_predefinito", "mario", "lucia"}) combo->AddItem(s);
    QVERIFY(f.events.isEmpty());
    QCOMPARE(combo->ListIndex(), -1);
    combo->setListIndex(1);
    QCOMPARE(combo->Text(), QStringLiteral("mario"));
    combo->setListIndex(1);
    QCOMPARE(f.events, QStringList{"Combo1"});
    combo->setListIndex(7); // no such item: nothing selected
    QCOMPARE(combo->ListIndex(), -1);
    QCOMPARE(f.events, (QStringList{"Combo1", "Combo1"}));
    combo->setListIndex(2);
    f.events.clear();
    combo->Clear();
    QCOMPARE(combo->ListIndex(), -1);
    QCOMPARE(combo->ListCount(), 0);
    QVERIFY(f.events.isEmpty());
    scarica(f);
}

void TestForm::heldKeyReleasesOnce()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    Control *p = f.control("Picture1");
    QStringList keys;
    p->KeyDown = [&](int &code, int shift) { keys << QStringLiteral("down %1 %2").arg(code).arg(shift); };
    p->KeyPress = [&](int &ascii) { keys << QStringLiteral("press %1").arg(ascii); };
    p->KeyUp = [&](int &code, int shift) { keys << QStringLiteral("up %1 %2").arg(code).arg(shift); };
    f.Show();
    QWidget *w = p->widget();
    const QStringList unaTenuta{"down 32 0", "press 32", "up 32 0"};

    // Space held as the X server reports it when asked to tell repeats: presses of a key
    // already down, then one release. The handlers see one press and one release, and the
    // release acts as it comes, with no event processed in between.
    premiComeX11(w, Qt::Key_Space);
    QCOMPARE(keys, (QStringList{"down 32 0", "press 32"}));
    rilasciaComeX11(w, Qt::Key_Space);
    QCOMPARE(keys, unaTenuta);

    // The repeats as Qt flags them, in release and press pairs.
    keys.clear();
    tasto(w, QEvent::KeyPress, Qt::Key_Space, " ", false);
    for (int i = 0; i < 2; ++i) {
        tasto(w, QEvent::KeyRelease, Qt::Key_Space, " ", true);
        tasto(w, QEvent::KeyPress, Qt::Key_Space, " ", true);
    }
    tasto(w, QEvent::KeyRelease, Qt::Key_Space, " ", false);
    QCOMPARE(keys, unaTenuta);

    // A server that does not tell repeats: release and press pairs, each pair bearing one
    // server time, unflagged. The first pair's release acts as the hold's release; the rest
    // of the hold, its real release included, goes nowhere.
    keys.clear();
    auto x11 = [&](QEvent::Type tipo, ulong ora) {
        QKeyEvent e(tipo, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        e.setTimestamp(ora);
        QApplication::sendEvent(w, &e);
    };
    x11(QEvent::KeyPress, 3000000);
    x11(QEvent::KeyRelease, 3000660);
    QCOMPARE(keys, unaTenuta);
    x11(QEvent::KeyPress, 3000660);
    for (ulong ora = 3000700; ora < 3001000; ora += 40) {
        x11(QEvent::KeyRelease, ora);
        x11(QEvent::KeyPress, ora);
    }
    x11(QEvent::KeyRelease, 3001020);
    QCOMPARE(keys, unaTenuta);
    // The next hold counts again.
    x11(QEvent::KeyPress, 3002000);
    x11(QEvent::KeyRelease, 3002100);
    QCOMPARE(keys, unaTenuta + unaTenuta);

    // Two quick presses of Enter, at other times: two presses.
    keys.clear();
    for (ulong ora : {1000000ul, 1000090ul}) {
        QKeyEvent giu(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        giu.setTimestamp(ora);
        QApplication::sendEvent(w, &giu);
        QKeyEvent rilascio(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
        rilascio.setTimestamp(ora + 60);
        QApplication::sendEvent(w, &rilascio);
    }
    QCOMPARE(keys, (QStringList{"down 13 0", "press 13", "up 13 0", "down 13 0", "press 13", "up 13 0"}));

    keys.clear();
    QTest::keyClick(w, Qt::Key_Return);
    QCOMPARE(keys, (QStringList{"down 13 0", "press 13", "up 13 0"}));
    keys.clear();
    tasto(w, QEvent::KeyPress, Qt::Key_A, "A", false, Qt::ShiftModifier);
    tasto(w, QEvent::KeyRelease, Qt::Key_A, "A", false, Qt::ShiftModifier);
    QCOMPARE(keys, (QStringList{"down 65 1", "press 65", "up 65 1"}));

    // Enter pressed, and let go while no window of the program had the keyboard (one gone,
    // the next not yet given it): the release never comes. As the next window gets the
    // keyboard, the keyboard shows Enter up, and its next press is a press.
    platform::setKeyStateSource([](quint32 codice) { return std::optional<bool>(codice != 36); });
    QKeyEvent invio(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, 36, 0, 0, QStringLiteral("\r"));
    QApplication::sendEvent(w, &invio);
    f.Hide();
    FormTre &b = Default<FormTre>();
    b.Show();
    QVERIFY(QTest::qWaitForWindowActive(b.window()));
    QWidget *bw = b.control("Picture1")->widget();
    tasto(bw, QEvent::KeyPress, Qt::Key_Return, "\r", false);
    tasto(bw, QEvent::KeyRelease, Qt::Key_Return, "\r", false);
    QCOMPARE(b.events, (QStringList{"down 13", "up 13"}));
    platform::setKeyStateSource({});
    scarica(b);
    scarica(f);
}

void TestForm::keyDownThatUnloadsTheWindow()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    Control *p = f.control("Picture1");
    int presses = 0, ups = 0;
    p->KeyDown = [&](int &, int) { f.Unload(); };
    p->KeyPress = [&](int &) { ++presses; };
    p->KeyUp = [&](int &, int) { ++ups; };
    f.Show();
    tasto(p->widget(), QEvent::KeyPress, Qt::Key_Space, " ", false);
    QVERIFY(f.wasUnloaded());
    QCOMPARE(presses, 0);
    tasto(p->widget(), QEvent::KeyRelease, Qt::Key_Space, " ", false);
    QCOMPARE(ups, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The window takes its input as the platform hands it over, with the X server's times. The
// second half of a double press, made before the window that the first half opened was on
// screen, does not act in it, whenever it is handled; nor does the release that ends such
// a press. A press made after that moment acts, however soon.
void TestForm::inputMadeBeforeTheWindowAppearedDoesNotActInIt()
{
    Ambiente env;
    ulong oraServer = 1000;
    platform::setServerTimeSource([&] { return oraServer; });
    FormUno &a = Default<FormUno>();
    a.Command1[0]->Click = [&] {
        oraServer = 2050; // the new window took a while to load
        Default<FormTre>().Show();
    };
    a.Show();
    QVERIFY(QTest::qWaitForWindowActive(a.window()));
    auto mouse = [](Form &f, Control *c, QEvent::Type tipo, ulong ora) {
        QWidget *w = c ? c->widget() : f.menuBar();
        const QPointF dove = w->mapTo(w->window(), QPointF(10, 10));
        const Qt::MouseButtons giu = tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(tipo, dove, dove, w->mapToGlobal(QPointF(10, 10)), Qt::LeftButton, giu, Qt::NoModifier);
        e.setTimestamp(ora);
        QCoreApplication::sendEvent(f.window()->windowHandle(), &e);
    };
    auto tasto = [](Form &f, QEvent::Type tipo, ulong ora) {
        QKeyEvent e(tipo, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        e.setTimestamp(ora);
        QCoreApplication::sendEvent(f.window()->windowHandle(), &e);
    };

    // A double click 5 ms apart: the first click opens the window, the second lands on it
    // before it is drawn.
    mouse(a, a.Command1[0], QEvent::MouseButtonPress, 2000);
    mouse(a, a.Command1[0], QEvent::MouseButtonRelease, 2001);
    FormTre *b = IfLoaded<FormTre>();
    QVERIFY(b && b->Visible());
    Control *bottone = b->control("Command1");
    mouse(*b, bottone, QEvent::MouseButtonPress, 2006);
    mouse(*b, bottone, QEvent::MouseButtonDblClick, 2006);
    mouse(*b, bottone, QEvent::MouseButtonRelease, 2007);
    // Handled once it is drawn, but made before: on its menu bar, and Enter pressed
    // before and let go after.
    oraServer = 2100;
    QVERIFY(QTest::qWaitForWindowExposed(b->window()));
    mouse(*b, nullptr, QEvent::MouseButtonPress, 2008);
    mouse(*b, nullptr, QEvent::MouseButtonRelease, 2009);
    tasto(*b, QEvent::KeyPress, 2010);
    tasto(*b, QEvent::KeyRelease, 2150);
    QCOMPARE(b->events, QStringList());

    // Made once it is there: they count. (The mouse's come after a pause: the clicks
    // before belong to the double click that opened the window.)
    tasto(*b, QEvent::KeyPress, 2101);
    tasto(*b, QEvent::KeyRelease, 2102);
    mouse(*b, bottone, QEvent::MouseButtonPress, 2600);
    mouse(*b, bottone, QEvent::MouseButtonRelease, 2601);
    mouse(*b, nullptr, QEvent::MouseButtonPress, 2605);
    mouse(*b, nullptr, QEvent::MouseButtonRelease, 2606);
    QCOMPARE(b->events, (QStringList{"down 13", "up 13", "Command1", "mnuEsci"}));
    platform::setServerTimeSource({});
    scarica(*b);
    scarica(a);
}

// The moment a window is on screen, at its edges: a press made after the window was shown
// but before its first drawing reached the server is made before it; a press made at that
// very server time, or after the server's 32-bit clock wrapped, is made after it. And a
// release acts only in the widget its press reached.
void TestForm::momentOnScreenAtItsEdges()
{
    Ambiente env;
    ulong oraServer = 1000;
    platform::setServerTimeSource([&] { return oraServer; });
    FormTre &b = Default<FormTre>();
    auto invio = [&](QEvent::Type tipo, ulong ora) {
        QKeyEvent e(tipo, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        e.setTimestamp(ora);
        QCoreApplication::sendEvent(b.window()->windowHandle(), &e);
    };
    b.Show(); // shown at 1000; drawn, and so on screen, at 1500
    oraServer = 1500;
    QVERIFY(QTest::qWaitForWindowActive(b.window()));
    invio(QEvent::KeyPress, 1200);
    invio(QEvent::KeyRelease, 1210);
    QCOMPARE(b.events, QStringList());
    invio(QEvent::KeyPress, 1500);
    invio(QEvent::KeyRelease, 1510);
    QCOMPARE(b.events, (QStringList{"down 13", "up 13"}));

    // Let go where the keyboard went meanwhile: the release acts nowhere.
    b.events.clear();
    invio(QEvent::KeyPress, 3000);
    b.control("Picture2")->SetFocus();
    invio(QEvent::KeyRelease, 3010);
    QCOMPARE(b.events, (QStringList{"down 13"}));

    // A window on screen at 0xFFFFFE00, as the clock nears its wrap: a press from before
    // that moment does not act; one made once the clock has wrapped does.
    scarica(b);
    oraServer = 0xFFFFF000ul;
    FormTre &c = Default<FormTre>();
    c.Show();
    oraServer = 0xFFFFFE00ul;
    QVERIFY(QTest::qWaitForWindowActive(c.window()));
    auto invioC = [&](QEvent::Type tipo, ulong ora) {
        QKeyEvent e(tipo, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        e.setTimestamp(ora);
        QCoreApplication::sendEvent(c.window()->windowHandle(), &e);
    };
    invioC(QEvent::KeyPress, 0xFFFFF800ul);
    invioC(QEvent::KeyRelease, 0xFFFFF810ul);
    QCOMPARE(c.events, QStringList());
    invioC(QEvent::KeyPress, 0x100);
    invioC(QEvent::KeyRelease, 0x110);
    QCOMPARE(c.events, (QStringList{"down 13", "up 13"}));
    platform::setServerTimeSource({});
    scarica(c);
}

// A press that follows the press before it, of the same button or key, within the
// double-click interval, after that press changed what lies under it (a panel hidden, a
// window or a message box shown or closed), is part of the same gesture and acts nowhere;
// so does each press chained to it. A press after a pause, of another key or button, or on
// what the first press left in place, acts.
void TestForm::secondPressOfAGestureActsNowhere()
{
    Ambiente env;
    FormCopertura &f = Default<FormCopertura>();
    f.Show();
    QVERIFY(QTest::qWaitForWindowActive(f.window()));
    QWidget *no = f.control("CommandNo")->widget();
    QWidget *sotto = f.control("CommandSotto")->widget();

    // "no" double-clicked, 1 and 40 ms apart: the panel goes, the button it covered stays
    // as it was. Presses on that spot 300 and 600 ms after the last are still the same
    // gesture; a press the pointer travelled to acts at once and ends it.
    QWidget *conta = f.control("CommandConta")->widget();
    clicX11(no, 10000);
    clicX11(sotto, 10001);
    f.control("Pannello")->setVisible(true);
    clicX11(no, 11000);
    clicX11(sotto, 11040);
    clicX11(sotto, 11340);
    clicX11(sotto, 11640);
    QCOMPARE(f.events, (QStringList{"no", "no"}));
    clicX11(conta, 11700);
    clicX11(sotto, 11800);
    QCOMPARE(f.events, (QStringList{"no", "no", "conta", "sotto"}));
    // After a real pause it acts on the same spot. A hand that trembles swings out, over
    // other buttons, and back within the interval: that press is still the gesture's.
    f.events.clear();
    f.control("Pannello")->setVisible(true);
    clicX11(no, 13000);
    clicX11(sotto, 13500);
    f.control("Pannello")->setVisible(true);
    clicX11(no, 14000);
    for (QWidget *via : {conta, sotto}) mossaX11(f.window(), via->mapToGlobal(QPoint(10, 10)));
    clicX11(sotto, 14200);
    QCOMPARE(f.events, (QStringList{"no", "sotto", "no"}));

    // What the first press left in place takes the second: a button clicked twice, though
    // its click shows something elsewhere.
    f.events.clear();
    clicX11(conta, 20000);
    clicX11(conta, 20030);
    QCOMPARE(f.events, (QStringList{"conta", "conta"}));

    // Keys land where the keyboard is: Enter on "no" hides it and the keyboard moves on to
    // another button, which a second Enter 50 ms later leaves alone.
    f.events.clear();
    f.control("Pannello")->setVisible(true);
    no->setFocus();
    tastoX11(f.window(), Qt::Key_Return, 21000);
    QVERIFY(f.window()->focusWidget() != no);
    tastoX11(f.window(), Qt::Key_Return, 21050);
    QCOMPARE(f.events, QStringList{"no"});

    // A message box's OK, clicked twice on one spot, or Enter twice: the box closes; the
    // second press does nothing in the window under it, even when a busy machine lost the
    // first release as the box went. A press of another key comes through.
    QWidget *finestra = f.window();
    for (int modo = 0; modo < 3; ++modo) {
        f.events.clear();
        QMessageBox box(QMessageBox::Information, QStringLiteral("Brivomarte"), QStringLiteral("x"), QMessageBox::Ok);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        const ulong ora = 30000 + 1000 * modo;
        if (modo == 0) {
            QWidget *ok = box.button(QMessageBox::Ok);
            box.move(box.pos() + sotto->mapToGlobal(QPoint(10, 10)) - ok->mapToGlobal(QPoint(10, 10)));
            clicX11(ok, ora);
            QVERIFY(!box.isVisible());
            clicX11(sotto, ora + 5);
        } else {
            if (modo == 1) tastoX11(&box, Qt::Key_Return, ora);
            else tastoX11(&box, Qt::Key_Return, ora, QEvent::KeyPress);
            QVERIFY(!box.isVisible());
            finestra->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(finestra));
            f.control("Picture1")->SetFocus();
            tastoX11(finestra, Qt::Key_Return, ora + 10);
            tastoX11(finestra, Qt::Key_Space, ora + 20);
        }
        QCOMPARE(f.events, modo == 0 ? QStringList() : QStringList{"down 32"});
    }
    scarica(f);

    // A window shown by the first click of a double click: the second does not act in it.
    FormUno &a = Default<FormUno>();
    a.Command1[0]->Click = [] { Default<FormTre>().Show(); };
    a.Show();
    QVERIFY(QTest::qWaitForWindowActive(a.window()));
    clicX11(a.Command1[0]->widget(), 50000);
    FormTre *b = IfLoaded<FormTre>();
    QVERIFY(b && b->Visible());
    clicX11(b->control("Command1")->widget(), 50040);
    QCOMPARE(b->events, QStringList());
    clicX11(b->control("Command1")->widget(), 50500);
    QCOMPARE(b->events, QStringList{"Command1"});
    scarica(*b);
    scarica(a);
}

void TestForm::laterPressJudgedOnWhatTheFirstLandedOn()
{
    Ambiente env;
    FormTremore &f = Default<FormTremore>();
    f.Show();
    QVERIFY(QTest::qWaitForWindowActive(f.window()));
    QWidget *finestra = f.window();
    auto widget = [&](const char *n) { return f.control(QLatin1String(n))->widget(); };
    auto punto = [&](const char *n, int x, int y) { return widget(n)->mapToGlobal(QPoint(x, y)); };
    Raggiunti raggiunti;

    // The tile shows a big button under the hand. A tremor's press 11 px under the tile's
    // edge (a pupil's hand on the picture) goes nowhere; one 50 px further, past the
    // margin, acts, although the press before it landed on that big button: what counts
    // is where the gesture began. A button that lay over the big one at its press is not
    // part of it.
    clicX11(finestra, punto("Figura", 80, 40), 1000);
    clicX11(finestra, punto("Tessera", 100, 110), 1100);
    clicX11(finestra, punto("Tessera", 100, 160), 1200);
    clicX11(finestra, punto("Piccolo", 30, 20), 1300);
    QCOMPARE(f.events, (QStringList{"tessera", "Grande", "Piccolo"}));
    // Just past the margin, straight down: it acts.
    f.events.clear();
    for (const char *n : {"Grande", "Piccolo"}) f.control(QLatin1String(n))->setVisible(false);
    clicX11(finestra, punto("Tessera", 100, 50), 3000);
    clicX11(finestra, punto("Tessera", 100, 113), 3100);
    QCOMPARE(f.events, (QStringList{"tessera", "Grande"}));
    for (const char *n : {"Grande", "Piccolo"}) f.control(QLatin1String(n))->setVisible(false);

    // A press on the window itself: what appears within the double-click distance of it
    // takes no tremor; 14 px straight down, it takes an aimed press.
    f.events.clear();
    const QPoint sfondo = punto("Comparso", 50, -5);
    QVERIFY(finestra->childAt(finestra->mapFromGlobal(sfondo)) != widget("Comparso"));
    clicX11(finestra, sfondo, 5000);
    f.control("Comparso")->setVisible(true);
    clicX11(finestra, sfondo + QPoint(0, 8), 5100);
    QCOMPARE(f.events, QStringList());
    clicX11(finestra, sfondo + QPoint(0, 14), 5200);
    QCOMPARE(f.events, QStringList{"Comparso"});

    // Nothing shown or hidden: a quick press just beside the first one is aimed.
    f.events.clear();
    raggiunti.chi.clear();
    clicX11(finestra, punto("Accanto", 50, 50), 7000);
    clicX11(finestra, punto("Didascalia", 50, 3), 7030);
    QCOMPARE(f.events, QStringList{"Accanto"});
    QVERIFY(raggiunti.chi.contains("Didascalia"));

    // A teacher's tabs: the next tab, and then a button on the page a tab shows (over the
    // tab strip's own rectangle), each clicked soon after.
    f.events.clear();
    auto *schede = qobject_cast<QTabBar *>(widget("Schede"));
    QVERIFY(schede);
    clicX11(finestra, schede->mapToGlobal(schede->tabRect(1).center()), 9000);
    clicX11(finestra, schede->mapToGlobal(schede->tabRect(0).center()), 9300);
    clicX11(finestra, punto("SulFoglio", 20, 20), 9550);
    QCOMPARE(f.events, (QStringList{"scheda 1", "scheda 0", "SulFoglio"}));

    // The drop-down list opens under its box: its first row, within the box's margin, is
    // picked at once.
    f.events.clear();
    auto *elenco = qobject_cast<QComboBox *>(widget("Elenco"));
    clicX11(finestra, elenco->mapToGlobal(elenco->rect().center()), 11000);
    QWidget *tendina = QApplication::activePopupWidget();
    QVERIFY(tendina);
    const QPoint riga = elenco->mapToGlobal(QPoint(elenco->width() / 2, elenco->height() + 5));
    QVERIFY(elenco->view()->visualRect(elenco->model()->index(0, 0)).contains(elenco->view()->viewport()->mapFromGlobal(riga)));
    // The list itself takes no release for a double-click interval of real time after it
    // opens; the judge goes by the server's times, which the presses carry.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    clicX11(tendina, riga, 11300);
    QCOMPARE(f.events, QStringList{"elenco 0"});

    // A message box going away takes no second press, of Enter or of the mouse, handed to
    // it as it goes: its OK is not pressed again.
    for (int modo = 0; modo < 2; ++modo) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Brivomarte"), QStringLiteral("x"), QMessageBox::Ok);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        const QPoint ok = box.button(QMessageBox::Ok)->mapToGlobal(QPoint(10, 10));
        raggiunti.chi.clear();
        for (const ulong ora : {13000ul + 2000 * modo, 13010ul + 2000 * modo}) {
            if (modo == 0) tastoX11(&box, Qt::Key_Return, ora);
            else clicX11(&box, ok, ora);
        }
        QVERIFY(!box.isVisible());
        QCOMPARE(raggiunti.chi.count("QPushButton"), 1);
    }

    // The margin lies on every side; a caption that does nothing, beside the tile, is empty
    // space to it; a pointer that moves about in it, or swings out and comes back, does not
    // end the gesture; a press past the margin acts at once.
    struct Tremito {
        const char *riga;
        QPoint dove;
        bool agisce;
        QList<QPoint> via = {};
    };
    const QList<Tremito> tremiti = {
        {"11 px left", punto("Tessera", -11, 80), false},
        {"13 px left", punto("Tessera", -13, 80), true},
        {"11 px above", punto("Tessera", 100, -11), false},
        {"13 px above", punto("Tessera", 100, -13), true},
        {"on a caption without a handler", punto("Tessera", -8, 20), false},
        {"moved about inside", punto("Tessera", 150, 110), false, {punto("Tessera", 20, 20), punto("Tessera", 190, 105)}},
        {"swung out and back", punto("Tessera", 100, 52), false, {punto("Tessera", 100, 140), punto("Tessera", 100, 60)}},
    };
    ulong ora = 30000;
    for (const Tremito &t : tremiti) {
        f.events.clear();
        clicX11(finestra, punto("Tessera", 100, 50), ora);
        for (const QPoint &p : t.via) mossaX11(finestra, p);
        clicX11(finestra, t.dove, ora + 120);
        QVERIFY2(f.events == (t.agisce ? QStringList{"tessera", "Grande"} : QStringList{"tessera"}), t.riga);
        for (const char *n : {"Grande", "Piccolo"}) f.control(QLatin1String(n))->setVisible(false);
        ora += 2000;
    }
    scarica(f);
}

// A press on a tab or a menu title lands on that tab or title as drawn, not on the bar's
// whole widget (a strip spans the pages laid over it); a press on a list's row lands on the
// list; one on a frame that only holds controls lands on the window itself.
void TestForm::pressOnATabATitleARowAFrame()
{
    Ambiente env;
    FormPagine &f = Default<FormPagine>();
    f.Show();
    QVERIFY(QTest::qWaitForWindowActive(f.window()));
    QWidget *finestra = f.window();
    auto *schede = qobject_cast<QTabBar *>(f.control("Schede")->widget());
    QVERIFY(schede);
    // The pages lie over the foot of the tabs, as the configuration's do.
    for (int i = 0; i < 2; ++i) f.control("Pagina", i)->setTop(600 + (schede->tabRect(0).bottom() - 2) * twipsPerPixelY());
    auto centro = [&](const char *n, int i = -1) {
        QWidget *w = f.control(QLatin1String(n), i)->widget();
        return w->mapToGlobal(w->rect().center());
    };

    // A tab, then at once a control of the page it shows, right under the tab, then the
    // next: each acts.
    const QRect scheda1(schede->mapToGlobal(schede->tabRect(1).topLeft()), schede->tabRect(1).size());
    const QPoint sottoScheda(scheda1.center().x(), f.control("Scelta", 0)->widget()->mapToGlobal(QPoint(0, 4)).y());
    QVERIFY(scheda1.adjusted(-12, -12, 12, 12).contains(sottoScheda));
    clicX11(finestra, scheda1.center(), 1000);
    clicX11(finestra, sottoScheda, 1300);
    clicX11(finestra, centro("Scelta", 1), 1600);
    QCOMPARE(f.events, (QStringList{"scheda 1", "scelta 0", "scelta 1"}));

    // A menu title clicked as soon as the one beside it opened its menu: its own opens.
    auto *barra = f.menuBar();
    const QList<QAction *> titoli = barra->actions();
    auto titolo = [&](int i) { return QRect(barra->mapToGlobal(barra->actionGeometry(titoli[i]).topLeft()), barra->actionGeometry(titoli[i]).size()); };
    clicX11(finestra, titolo(0).center(), 3000);
    QCOMPARE(QApplication::activePopupWidget(), f.control("mnuUno")->menu());
    clicX11(QApplication::activePopupWidget(), titolo(1).topLeft() + QPoint(3, 3), 3150);
    QCOMPARE(QApplication::activePopupWidget(), f.control("mnuDue")->menu());
    QApplication::activePopupWidget()->close();

    // The option that had the keyboard goes with its page, and the keyboard passes to the
    // list: that picks nobody in it.
    f.events.clear();
    clicX11(finestra, schede->mapToGlobal(schede->tabRect(0).center()), 5000);
    QCOMPARE(f.events, QStringList{"scheda 0"});
    QCOMPARE(f.control("Lista")->ListIndex(), -1);

    // A press on a frame's empty part: a button that appears within a few points of it
    // takes no tremor; one further off takes an aimed press.
    f.events.clear();
    QWidget *apparso = f.control("Apparso")->widget();
    const QPoint bordo = apparso->mapToGlobal(QPoint(0, 10));
    clicX11(finestra, bordo - QPoint(5, 0), 7000);
    f.control("Apparso")->setVisible(true);
    clicX11(finestra, bordo + QPoint(3, 0), 7100);
    f.control("Apparso")->setVisible(false);
    clicX11(finestra, bordo - QPoint(40, 0), 9000);
    f.control("Apparso")->setVisible(true);
    clicX11(finestra, centro("Apparso"), 9150);
    QCOMPARE(f.events, QStringList{"apparso"});

    // A list's rows are the list: a button that appeared just under it takes no tremor
    // from a row at its top, another row takes a press at once, and the button takes one
    // after a pause.
    f.events.clear();
    auto *lista = qobject_cast<QListWidget *>(f.control("Lista")->widget());
    QVERIFY(lista);
    auto riga = [&](int i) { return lista->viewport()->mapToGlobal(lista->visualItemRect(lista->item(i)).center()); };
    clicX11(finestra, riga(1), 11000);
    f.control("SottoLista")->setVisible(true);
    clicX11(finestra, f.control("SottoLista")->widget()->mapToGlobal(QPoint(40, 1)), 11100);
    clicX11(finestra, riga(3), 11200);
    clicX11(finestra, centro("SottoLista"), 13000);
    QCOMPARE(f.events, (QStringList{"lista 1", "lista 3", "sotto"}));
    scarica(f);
}

void TestForm::activationOnlyWhenShown()
{
    Ambiente env;
    FormUno &a = Default<FormUno>();
    FormDue &b = Default<FormDue>();
    QCOMPARE(a.activations, 0); // loading is not activating
    a.Show();
    QCOMPARE(a.activations, 1);
    QCOMPARE(Form::ActiveForm(), &a);
    a.Show();
    QCoreApplication::processEvents();
    QCOMPARE(a.activations, 1);

    // A message box closing gives no activation.
    platform::MsgBox("x", platform::vbOKOnly, "y");
    QCoreApplication::processEvents();
    QCOMPARE(a.activations, 1);
    QCOMPARE(env.messages.size(), size_t(1));

    b.Show();
    QCOMPARE(b.activations, 1);
    a.Show();
    QCOMPARE(a.activations, 2);
    a.Hide();
    QCOMPARE(Form::ActiveForm(), nullptr);
    a.Show();
    QCOMPARE(a.activations, 3);
    QCOMPARE(b.activations, 1);
    scarica(b);
    scarica(a);
    QCOMPARE(Form::ActiveForm(), nullptr);
}

void TestForm::twipsBecomePixels()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    QCOMPARE(f.window()->geometry(), QRect(100, 200, 600, 400));
    QCOMPARE(f.control("Command1", 1)->widget()->geometry(), QRect(100, 0, 100, 50));
    // Edges are rounded, so neighbours meet without a gap.
    QCOMPARE(f.control("Command1", 0)->widget()->geometry(), QRect(0, 0, 100, 50));
    // Inside a container: from the container's corner.
    QCOMPARE(f.Option1[1]->widget()->geometry(), QRect(10, 50, 100, 20));
    f.control("Picture1")->Move(1500, 3000, 750, 450);
    QCOMPARE(f.control("Picture1")->widget()->geometry(), QRect(100, 200, 50, 30));
    f.control("Picture1")->setLeft(-1500);
    QCOMPARE(f.control("Picture1")->widget()->x(), -100);
    // A line's widget covers its two end points.
    const QRect line = f.control("Line1")->widget()->geometry();
    QVERIFY(line.contains(QPoint(20, 200)) && line.contains(QPoint(120, 250)));
    // Another resolution: the same twips, other pixels.
    setTwipsPerPixel(20);
    f.Move(2000, 2000, 4000, 3000);
    QCOMPARE(f.window()->geometry(), QRect(100, 100, 200, 150));
    setTwipsPerPixel(15);
    scarica(f);
}

void TestForm::menuBarTakesFromTheInnerHeight()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    f.Show();
    const double bar = f.menuBar()->sizeHint().height() * twipsPerPixelY();
    QVERIFY(bar > 0);
    QCOMPARE(f.ScaleHeight(), f.Height() - bar);
    QCOMPARE(f.ScaleWidth(), f.Width());
    QCOMPARE(f.client()->geometry().top(), f.menuBar()->sizeHint().height());
    f.control("mnuFile")->setVisible(false);
    QCOMPARE(f.ScaleHeight(), f.Height());
    QCOMPARE(f.client()->geometry().top(), 0);
    scarica(f);
}

void TestForm::unloadStopsTimers()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    int ticks = 0;
    f.control("Timer1")->Timer = [&] { ++ticks; };
    QTRY_VERIFY(ticks >= 2);
    f.control("Timer1")->setEnabled(false);
    int seen = ticks;
    QTest::qWait(40);
    QCOMPARE(ticks, seen);
    f.control("Timer1")->setEnabled(true);
    QTRY_VERIFY(ticks > seen);
    f.Unload();
    seen = ticks;
    QTest::qWait(40);
    QCOMPARE(ticks, seen);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestForm::reentryDuringTheLoad()
{
    Ambiente env;
    // A second show (a double click) during the load finds the same window, and neither
    // shows nor activates it before its load has completed.
    FormLenta *seen = nullptr;
    FormLenta::during = [&] {
        seen = &Default<FormLenta>();
        seen->Show();
        QVERIFY(!seen->Visible());
    };
    FormLenta &f = Default<FormLenta>();
    QCOMPARE(seen, &f);
    QCOMPARE(f.activatedBeforeReady, 0);
    QCOMPARE(f.activations, 1); // shown once its load was done
    QVERIFY(f.Visible());
    f.Show();
    QCOMPARE(f.activations, 1);
    scarica(f);

    // Unloaded during its own load, even with the deletions processed there, it lives on
    // until the load has returned, is never shown, and is gone afterwards.
    bool goneDuringLoad = false;
    QPointer<FormLenta> p;
    FormLenta::during = [&] {
        p = IfLoaded<FormLenta>();
        p->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        goneDuringLoad = !p;
    };
    Default<FormLenta>().Show();
    QVERIFY(!goneDuringLoad);
    QVERIFY(p && !p->Visible() && p->activations == 0);
    QVERIFY(!IfLoaded<FormLenta>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!p);
    FormLenta::during = nullptr;
}

void TestForm::unloadedDuringItsLoadIsNeverShown()
{
    Ambiente env;
    QPointer<FormLenta> p;
    // Shown before it was loaded: the show loads it, and the load unloads it.
    FormLenta::during = [&] { p->Unload(); };
    p = new FormLenta;
    p->Show();
    QVERIFY(p && !p->Visible());
    QCOMPARE(p->activations, 0);
    // Asked to show during its own load and unloaded there too: not shown when the load
    // ends, nor when asked again.
    FormLenta::during = [&] {
        p = IfLoaded<FormLenta>();
        p->Show();
        p->Unload();
    };
    Default<FormLenta>();
    QVERIFY(p && !p->Visible());
    p->Show();
    QVERIFY(!p->Visible());
    QCOMPARE(p->activations, 0);
    FormLenta::during = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!p);
}

void TestForm::windowHeldWhileItsHandlerRuns()
{
    Ambiente env;
    FormUno &f = Default<FormUno>();
    f.Show();
    QPointer<FormUno> p(&f);
    Control *b = f.Command1[0];
    bool goneInside = false;
    int clicks = 0;
    b->Click = [&] {
        ++clicks;
        b->raiseClick(); // a second click while the first still runs starts nothing
        f.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        goneInside = !p;
    };
    b->raiseClick();
    QCOMPARE(clicks, 1);
    QVERIFY(!goneInside);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!p);
}

void TestForm::coloursAsTheWindowsStoreThem()
{
    QCOMPARE(toQColor(255), QColor(255, 0, 0));
    QCOMPARE(toQColor(RGB(0, 128, 255)), QColor(0, 128, 255));
    QCOMPARE(toQColor(16711680), QColor(0, 0, 255));
    QCOMPARE(fromQColor(QColor(0xFF, 0xFF, 0xC0)), 12648447);
    QCOMPARE(toQColor(vbButtonFace), QApplication::palette().color(QPalette::Button));
    QCOMPARE(colourFromDouble(-2147483633.0), vbButtonFace);
    QCOMPARE(colourFromDouble(16777152.0), 16777152);
    QCOMPARE(colourFromDouble(2.5), 2); // halves to the even neighbour
    QCOMPARE(colourFromDouble(3.5), 4);
    QCOMPARE(colourFromDouble(1e12), std::numeric_limits<int32_t>::max());
    QCOMPARE(colourFromDouble(-1e12), std::numeric_limits<int32_t>::min());
    QCOMPARE(colourFromDouble(std::nan("")), 0);
}

void TestForm::pasteOfNothingInsertsNothing()
{
    Ambiente env;
    FormTesti &f = Default<FormTesti>();
    f.Show();
    auto *registro = qobject_cast<QTextEdit *>(f.control("RichTextBox1")->widget());
    auto *risposta = qobject_cast<QLineEdit *>(f.control("Text1")->widget());
    QVERIFY(registro && risposta);
    f.control("RichTextBox1")->setText(QStringLiteral("nota "));
    registro->moveCursor(QTextCursor::End);

    // No data at all, as Qt under X11 hands over a paste from an empty clipboard.
    QDropEvent nulla(QPointF(5, 5), Qt::CopyAction, nullptr, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(registro->viewport(), &nulla);
    // Empty data, by both paste keys.
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    for (QWidget *w : {static_cast<QWidget *>(registro), static_cast<QWidget *>(risposta)}) {
        QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Insert, Qt::ShiftModifier);
    }
    QCOMPARE(f.control("RichTextBox1")->Text(), QStringLiteral("nota "));
    QCOMPARE(f.control("Text1")->Text(), QString());

    // A real paste: the record box takes it as it is, the answer box what it takes typed.
    QGuiApplication::clipboard()->setText(QStringLiteral("tre 3, 4"));
    QTest::keyClick(registro, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(risposta, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(f.control("RichTextBox1")->Text(), QStringLiteral("nota tre 3, 4"));
    QCOMPARE(f.control("Text1")->Text(), QStringLiteral("34"));
    QGuiApplication::clipboard()->clear();
    scarica(f);
}

QTEST_MAIN(TestForm)
// A window on its way to the screen draws the focus it is about to get (the answer box its
// caret and frame), so that its first frame is the frame it keeps once activated; once
// another window is active, it draws none.
void TestForm::focusDrawnBeforeTheWindowIsActivated()
{
    Ambiente env;
    FormTesti &f = Default<FormTesti>();
    QWidget *risposta = f.control("Text1")->widget();
    f.control("Text1")->SetFocus();
    f.Show();
    QVERIFY(!risposta->hasFocus()); // the activation is still to come
    QVERIFY(Form::ShowsFocus(risposta));
    QVERIFY(!Form::ShowsFocus(f.control("RichTextBox1")->widget()));
    const QImage prima = risposta->grab().toImage();
    QTRY_VERIFY(risposta->hasFocus());
    QCOMPARE(risposta->grab().toImage(), prima);

    QWidget altra;
    altra.show();
    altra.activateWindow();
    QTRY_VERIFY(altra.isActiveWindow());
    QVERIFY(!Form::ShowsFocus(risposta));
    QVERIFY(risposta->grab().toImage() != prima);
    altra.close();
    scarica(f);
}

// A window that gives the focus to none of its controls draws it, before its activation,
// where the activation is going to put it.
void TestForm::focusNobodyAskedForIsDrawnWhereItWillGo()
{
    Ambiente env;
    FormTesti &f = Default<FormTesti>();
    f.Show();
    std::vector<QWidget *> disegnati;
    for (const char *nome : {"RichTextBox1", "Text1"})
        if (Form::ShowsFocus(f.control(nome)->widget())) disegnati.push_back(f.control(nome)->widget());
    QCOMPARE(disegnati.size(), size_t(1));
    QTRY_VERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget(), disegnati.front());
    scarica(f);
}

#include "tst_form.moc"
