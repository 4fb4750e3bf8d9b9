// Layout scaling: sizing a window to the screen and placing its controls in proportion.
#include "TestSupport.h"
#include "FormAvvio.h"
#include "FormConfigura.h"
#include "FormEs1.h"
#include "FormScelteDidattiche1.h"
#include "FormScelteDidattiche2.h"
#include "Modulo1.h"
#include "clsResize.h"
#include "forms/Twips.h"
#include <QMenuBar>
#include <QtTest>

using namespace forms;

namespace {

// A window of 6000 x 4500 twips whose resize rescales it with its own object.
class FormScala : public Form {
public:
    FormScala() : Form(QStringLiteral("FormScala")) { Move(0, 0, 6000, 4500); }
    clsResize *scala = nullptr;
    bool senzaControlli = false;

protected:
    void layout(Layout &l) override
    {
        if (senzaControlli) return;
        l.add(Kind::Label, "Tutto").at(600, 450, 1200, 900);
        l.add(Kind::Label, "Sposta").at(600, 450, 1200, 900).withTag("@LT");
        l.add(Kind::Label, "Fisso").at(600, 450, 1200, 900).withTag("@");
        l.add(Kind::Label, "Ridimensiona").at(600, 450, 1200, 900).withTag("@wh");
        l.add(Kind::Label, "AltroTag").at(600, 450, 1200, 900).withTag("LT");
        l.add(Kind::Label, "SoloLarghezza").at(600, 450, 1200, 900).withTag("@ w");
        l.add(Kind::Frame, "Cornice").at(3000, 1500, 2400, 1800);
        l.add(Kind::Label, "Dentro").in("Cornice").at(300, 300, 600, 450);
        l.add(Kind::Line, "Linea").line(60, 90, 3000, 4500);
        l.add(Kind::Line, "LineaMossa").line(60, 90, 3000, 4500).withTag("@LT");
        l.add(Kind::Label, "Serie", 0).at(0, 0, 300, 300);
        l.add(Kind::Timer, "Timer1").every(0);
        l.add(Kind::Menu, "mnuNascosto").cap("x").hidden();
        l.add(Kind::Label, "Mezzi").at(2.5, 3.5, 100.5, 101.5);
        l.add(Kind::Label, "MezziNegativi").at(-2.5, -3.5, 0.5, 1.5);
    }
    void Form_Resize() override
    {
        if (scala) scala->ResizeControls();
    }
};

struct Rect { double l, t, w, h; };
Rect rect(const Control *c) { return {c->Left(), c->Top(), c->Width(), c->Height()}; }
bool operator==(const Rect &a, const Rect &b)
{
    auto same = [](double x, double y) { return std::abs(x - y) <= 1e-9 * std::max(1.0, std::abs(x)); };
    return same(a.l, b.l) && same(a.t, b.t) && same(a.w, b.w) && same(a.h, b.h);
}
char *toString(const Rect &r) { return QTest::toString(QStringLiteral("(%1, %2, %3, %4)").arg(r.l).arg(r.t).arg(r.w).arg(r.h)); }

// Restores the resolution and screen that a test changed.
struct SchermoDiProva {
    SchermoDiProva(double tpp, QSize pixels)
    {
        setTwipsPerPixel(tpp);
        Screen::setSizeOverride(pixels);
    }
    ~SchermoDiProva()
    {
        setTwipsPerPixel(15);
        Screen::setSizeOverride(QSize());
    }
};

// Calls `what` when the widget is about to be shown on the screen.
class OnShow : public QObject {
public:
    OnShow(QWidget *w, std::function<void()> what) : what_(std::move(what)) { w->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show) what_();
        return false;
    }

private:
    std::function<void()> what_;
};

} // namespace

class TestRidimensiona : public QObject {
    Q_OBJECT

private slots:
    void threeQuartersOfTheScreen();
    void oddScreenHeightIsNotRounded();
    void firstResizeOnlyRecords();
    void tagsDecideWhatChanges();
    void controlsGoBackToTheirScaledLayout();
    void recordedValuesRoundHalvesToEven();
    void windowWithoutControls();
    void minimisedWindowIsLeftAlone();
    void unloadedWindowIsLeftAlone();
    void windowHabitOfTheStartWindow();
    void scaledFromTheDesignedInnerArea();
};

void TestRidimensiona::threeQuartersOfTheScreen()
{
    Ambiente env;
    SchermoDiProva schermo(15, QSize(1024, 768));
    QCOMPARE(Screen::Width(), 15360.0);
    QCOMPARE(Screen::Height(), 11520.0);
    FormScala f;
    f.Load();
    clsResize r;
    r.setSourceForm(&f);
    r.SizeFormToScreen(75);
    QCOMPARE(f.Width(), 11520.0);
    QCOMPARE(f.Height(), 8640.0);
    QCOMPARE(f.Left(), 1920.0);
    QCOMPARE(f.Top(), 1440.0);
    QCOMPARE(f.window()->geometry(), QRect(128, 96, 768, 576));
    // Recorded at the layout size, then scaled to the new one.
    QCOMPARE(r.OrigWidth(), 6000);
    QCOMPARE(r.OrigHeight(), 4500);
    QCOMPARE(rect(f.control("Tutto")), (Rect{1152, 864, 2304, 1728}));
}

void TestRidimensiona::oddScreenHeightIsNotRounded()
{
    Ambiente env;
    // 281 pixels of 41 twips: a screen 11521 twips high.
    SchermoDiProva schermo(41, QSize(400, 281));
    QCOMPARE(Screen::Height(), 11521.0);
    FormScala f;
    f.Load();
    clsResize r;
    r.setSourceForm(&f);
    r.SizeFormToScreen(75);
    QCOMPARE(f.Height(), 8640.0);
    QCOMPARE(f.Top(), 1440.5);
    QCOMPARE(f.Width(), 12300.0);
    QCOMPARE(f.Left(), 2050.0);
}

void TestRidimensiona::firstResizeOnlyRecords()
{
    Ambiente env;
    FormScala f;
    f.Load();
    clsResize r;
    QVERIFY(r.FirstTime());
    r.setSourceForm(&f);
    QVERIFY(r.FirstTime()); // binding alone records nothing
    f.Move(0, 0, 12000, 9000);
    r.ResizeControls();
    QVERIFY(!r.FirstTime());
    QCOMPARE(r.OrigWidth(), 12000);
    QCOMPARE(r.OrigHeight(), 9000);
    QCOMPARE(rect(f.control("Tutto")), (Rect{600, 450, 1200, 900}));
    r.ResizeControls(); // same size: every control stays
    QCOMPARE(rect(f.control("Tutto")), (Rect{600, 450, 1200, 900}));
}

void TestRidimensiona::tagsDecideWhatChanges()
{
    Ambiente env;
    FormScala f;
    f.Load();
    clsResize r;
    r.setSourceForm(&f);
    f.scala = &r;
    r.ResizeControls();
    f.Move(0, 0, 12000, 6750); // twice as wide, half as high again
    QCOMPARE(rect(f.control("Tutto")), (Rect{1200, 675, 2400, 1350}));
    QCOMPARE(rect(f.control("AltroTag")), (Rect{1200, 675, 2400, 1350}));
    QCOMPARE(rect(f.control("Sposta")), (Rect{1200, 675, 1200, 900}));
    QCOMPARE(rect(f.control("Fisso")), (Rect{600, 450, 1200, 900}));
    QCOMPARE(rect(f.control("Ridimensiona")), (Rect{600, 450, 2400, 1350}));
    QCOMPARE(rect(f.control("SoloLarghezza")), (Rect{600, 450, 2400, 900}));
    // Inside a container: the same ratios, from the container's corner.
    QCOMPARE(rect(f.control("Cornice")), (Rect{6000, 2250, 4800, 2700}));
    QCOMPARE(rect(f.control("Dentro")), (Rect{600, 450, 1200, 675}));
    // Lines: the letters stand for the end points.
    QCOMPARE(rect(f.control("Linea")), (Rect{120, 135, 6000, 6750}));
    QCOMPARE(rect(f.control("LineaMossa")), (Rect{120, 135, 3000, 4500}));
    // Pixels follow the twips.
    QCOMPARE(f.control("Tutto")->widget()->geometry(), QRect(80, 45, 160, 90));

    // A tag given later (by a language file) counts at the next scaling.
    f.control("Tutto")->setTag(QStringLiteral("@"));
    f.control("Fisso")->setTag(QString());
    f.Move(0, 0, 3000, 2250);
    QCOMPARE(rect(f.control("Tutto")), (Rect{1200, 675, 2400, 1350}));
    QCOMPARE(rect(f.control("Fisso")), (Rect{300, 225, 600, 450}));
    QVERIFY(f.window()->updatesEnabled());
}

void TestRidimensiona::controlsGoBackToTheirScaledLayout()
{
    Ambiente env;
    FormScala f;
    f.Load();
    clsResize r;
    r.setSourceForm(&f);
    f.scala = &r;
    r.ResizeControls();
    // Moved by the window's own code after the recording...
    f.control("Tutto")->Move(10, 20, 30, 40);
    f.control("Fisso")->Move(10, 20, 30, 40);
    f.control("Sposta")->Move(10, 20, 30, 40);
    Control *nuovo = f.LoadControl(QStringLiteral("Serie"), 1);
    QVERIFY(nuovo);
    nuovo->Move(100, 200, 300, 400);
    f.Move(0, 0, 9000, 9000);
    // ...every value that follows the window comes from the record again.
    QCOMPARE(rect(f.control("Tutto")), (Rect{900, 900, 1800, 1800}));
    QCOMPARE(rect(f.control("Sposta")), (Rect{900, 900, 30, 40}));
    QCOMPARE(rect(f.control("Fisso")), (Rect{10, 20, 30, 40}));
    // A control made after the recording is not scaled.
    QCOMPARE(rect(nuovo), (Rect{100, 200, 300, 400}));
}

void TestRidimensiona::recordedValuesRoundHalvesToEven()
{
    Ambiente env;
    FormScala f;
    f.Load();
    f.Move(0, 0, 6000.5, 4501.5);
    clsResize r;
    r.setSourceForm(&f);
    r.ResizeControls();
    QCOMPARE(r.OrigWidth(), 6000);
    QCOMPARE(r.OrigHeight(), 4502);
    f.Move(0, 0, 6000, 4502); // ratios of exactly 1
    r.ResizeControls();
    QCOMPARE(rect(f.control("Mezzi")), (Rect{2, 4, 100, 102}));
    QCOMPARE(rect(f.control("MezziNegativi")), (Rect{-2, -4, 0, 2}));
}

void TestRidimensiona::windowWithoutControls()
{
    Ambiente env;
    SchermoDiProva schermo(15, QSize(1024, 768));
    FormScala f;
    f.senzaControlli = true;
    f.Load();
    QVERIFY(f.Controls().empty());
    clsResize r;
    r.setSourceForm(&f);
    f.scala = &r;
    r.SizeFormToScreen(75);
    QCOMPARE(f.Width(), 11520.0);
    QCOMPARE(f.Height(), 8640.0);
    f.Move(0, 0, 100, 100);
    r.ResizeControls();
    QCOMPARE(f.Width(), 100.0);
}

void TestRidimensiona::minimisedWindowIsLeftAlone()
{
    Ambiente env;
    FormScala f;
    f.Load();
    clsResize r;
    r.setSourceForm(&f);
    f.scala = &r;
    r.ResizeControls();
    f.window()->setWindowState(Qt::WindowMinimized);
    if (!f.isMinimized()) QSKIP("this platform does not minimise");
    f.Move(0, 0, 12000, 9000);
    QCOMPARE(rect(f.control("Tutto")), (Rect{600, 450, 1200, 900}));
    f.window()->setWindowState(Qt::WindowNoState);
    r.ResizeControls();
    QCOMPARE(rect(f.control("Tutto")), (Rect{1200, 900, 2400, 1800}));
}

void TestRidimensiona::unloadedWindowIsLeftAlone()
{
    Ambiente env;
    QPointer<FormScala> f = new FormScala;
    f->Load();
    clsResize r;
    r.setSourceForm(f);
    r.ResizeControls();
    f->Unload();
    r.ResizeControls();
    r.SizeFormToScreen(75);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f);
    QVERIFY(!r.SourceForm());
    r.ResizeControls();
    r.SizeFormToScreen(75);
}

void TestRidimensiona::windowHabitOfTheStartWindow()
{
    Ambiente env;
    SchermoDiProva schermo(15, QSize(1024, 768));
    Ridimensionatore.reset();
    FormAvvio &a = Default<FormAvvio>();
    // On load: the shared object takes the window over and sizes it to three quarters.
    QVERIFY(Ridimensionatore);
    QCOMPARE(Ridimensionatore->SourceForm(), &a);
    QCOMPARE(Ridimensionatore->OrigWidth(), 9600);
    QCOMPARE(Ridimensionatore->OrigHeight(), 7200);
    QCOMPARE(a.Width(), 11520.0);
    QCOMPARE(a.Height(), 8640.0);
    QCOMPARE(a.Left(), 1920.0);
    QCOMPARE(a.Top(), 1440.0);
    QCOMPARE(a.Label2[0]->Width(), 11520.0);
    // On activation: the whole screen, controls in proportion. The window reaches the
    // screen only then: never at three quarters, nor with its controls still laid out
    // for them.
    QRect finestra, bottone;
    OnShow spia(a.window(), [&] {
        finestra = a.window()->geometry();
        bottone = a.Command1->widget()->geometry();
    });
    a.Show();
    QVERIFY(a.Visible());
    QCOMPARE(finestra, QRect(0, 0, 1024, 768));
    QCOMPARE(bottone, a.Command1->widget()->geometry());
    QCOMPARE(a.Left(), 0.0);
    QCOMPARE(a.Top(), 0.0);
    QCOMPARE(a.Width(), 15360.0);
    QCOMPARE(a.Height(), 11520.0);
    QCOMPARE(a.Label2[0]->Width(), 15360.0);
    QCOMPARE(a.Command1->Left(), 3480 * 1.6);
    QCOMPARE(a.Command1->Top(), 5460 * 1.6);
    a.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Ridimensionatore.reset();
}

// Each window is scaled from the inner area its layout was drawn for: a window without a
// menu bar keeps no room for one, and one with a menu bar keeps exactly the bar's height.
void TestRidimensiona::scaledFromTheDesignedInnerArea()
{
    Ambiente env;
    SchermoDiProva schermo(15, QSize(1280, 1024));
    // The inner size the shared object recorded, for the window it serves.
    auto misura = [](Form &f) {
        return Ridimensionatore->SourceForm() == &f ? QSize(Ridimensionatore->OrigWidth(), Ridimensionatore->OrigHeight()) : QSize();
    };
    auto &s1 = Default<FormScelteDidattiche1>();
    QCOMPARE(misura(s1), QSize(8340, 5910));
    s1.Show();
    // Full screen, "Conferma" (top 4680, height 975 of 5910) ends at 980 of 1024 rows.
    const QWidget *conferma = s1.CommandConferma->widget();
    QCOMPARE(conferma->mapTo(s1.window(), QPoint(0, conferma->height())).y(), 980);
    s1.Unload();
    auto &s2 = Default<FormScelteDidattiche2>();
    QCOMPARE(misura(s2), QSize(10320, 8580));
    s2.Unload();
    auto &es1 = Default<FormEs1>();
    QVERIFY(es1.menuBar() && es1.menuBar()->isVisibleTo(es1.window()));
    QCOMPARE(misura(es1), QSize(10935, 7755));
    es1.Unload();
    auto &c = Default<FormConfigura>();
    QCOMPARE(misura(c), QSize(10590, 8880));
    c.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Ridimensionatore.reset();
}

QTEST_MAIN(TestRidimensiona)
#include "tst_ridimensiona.moc"
