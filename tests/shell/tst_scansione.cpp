// Switch scanning of the main menu: the highlight moved by Space or by the timer, the
// selection by Enter or by releasing Space, the refused exercise, the immediate exit.
#include "TestSupport.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "platform/PointerConfine.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <QTimer>
#include <QtTest>

using namespace forms;

namespace {

constexpr int32_t kBottoni = 0x00C0C0C0;
constexpr int32_t kScansione = 0x0000FF00;




FormMenu &apriMenu()
{
    auto &m = Default<FormMenu>();
    m.Show();
    return m;
}

// The highlighted buttons; a button in neither colour counts as -1.
QList<int> evidenziati(FormMenu &m)
{
    QList<int> out;
    for (int i = 0; i < FormMenu::kNumeroBottoni; ++i) {
        const int32_t c = m.Command1[i]->BackColor();
        if (c == kScansione) out << i;
        else if (c != kBottoni) out << -1;
    }
    return out;
}

void tasto(QWidget *w, QEvent::Type tipo, Qt::Key k, bool ripetuto = false)
{
    const QString testo = k == Qt::Key_Space ? QStringLiteral(" ") : k == Qt::Key_Return ? QStringLiteral("\r") : QString();
    QKeyEvent e(tipo, k, Qt::NoModifier, testo, ripetuto);
    QApplication::sendEvent(w, &e);
}

// A key held long enough to repeat: the first press, then repeated releases and presses,
// then the one real release.
void tenuto(QWidget *w, Qt::Key k)
{
    tasto(w, QEvent::KeyPress, k);
    for (int i = 0; i < 4; ++i) {
        tasto(w, QEvent::KeyRelease, k, true);
        tasto(w, QEvent::KeyPress, k, true);
    }
    tasto(w, QEvent::KeyRelease, k);
}

} // namespace

class TestScansione : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> env;
    QString profilo(const QString &nome) const { return env->file(QStringLiteral("BrivoMarte/utenti/%1.ini").arg(nome)); }

    FormMenu &menuInModo(int tipo, int velocita = 60)
    {
        TipoScansione = tipo;
        VelocitaScansione = velocita;
        creaUtente(QStringLiteral("Anna"));
        return apriMenu();
    }

private slots:
    void init()
    {
        env = std::make_unique<Ambiente>();
        ColoreBottoni = kBottoni;
        ColoreScansione = kScansione;
        DisabilitaControlloAlunno = true;
    }
    void cleanup()
    {
        Form::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::releasePointer();
        Ridimensionatore.reset();
        env.reset();
    }

    void manualSpaceMovesAndWraps();
    void manualEnterStartsTheHighlightedExercise_data();
    void manualEnterStartsTheHighlightedExercise();
    void secondEnterDuringTheLoadStartsNothing();
    void exitSavesAndEndsWithoutThePanel_data();
    void exitSavesAndEndsWithoutThePanel();
    void releaseCountsOnlyAfterItsOwnPress_data();
    void releaseCountsOnlyAfterItsOwnPress();

    void automaticTicksMoveTheHighlight();
    void automaticIntervalStaysInRange_data();
    void automaticIntervalStaysInRange();
    void automaticHoldPausesReleaseSelects();
    void automaticRefusedExerciseResumes();

    void mouseModeAndUserSwitch();

    void heldAsX11StepsOrSelectsOnce();
    void catcherHoldsTheKeysFromTheStart();
};

// ---- manual scanning ----

void TestScansione::manualSpaceMovesAndWraps()
{
    auto &m = menuInModo(1);
    QWidget *cattura = m.PictureScansioneManuale->widget();
    QVERIFY(m.PictureScansioneManuale->Visible());
    QVERIFY(!m.PictureScansioneAutomatica->Visible());
    QCOMPARE(m.PictureScansioneManuale->BackColor(), m.BackColor());
    QVERIFY(m.Timer1->Enabled());
    QCOMPARE(m.Timer1->Interval(), 100);
    QVERIFY(!m.ShapeRiquadro->Visible());
    QCOMPARE(evidenziati(m), QList<int>{0});

    for (int atteso : {1, 2, 3, 4, 5, 0, 1}) {
        QTest::keyClick(cattura, Qt::Key_Space);
        QCOMPARE(evidenziati(m), QList<int>{atteso});
        QCOMPARE(m.PosizioneScansione(), atteso);
    }
    // The timer only keeps the focus; other keys do nothing.
    m.Timer1->Timer();
    QTest::keyClick(cattura, Qt::Key_A);
    QTest::keyClick(cattura, Qt::Key_Tab);
    QTest::keyClick(cattura, Qt::Key_Escape);
    QCOMPARE(evidenziati(m), QList<int>{1});
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
}

// A pupil with a tremor presses twice: the second Enter arrives while the first one's
// exercise is still loading (its translation lets events through).
void TestScansione::secondEnterDuringTheLoadStartsNothing()
{
    auto &m = menuInModo(1);
    QWidget *cattura = m.PictureScansioneManuale->widget();
    QTest::keyClick(cattura, Qt::Key_Space);
    QTimer::singleShot(0, [&] {
        if (IfLoaded<FormMenu>()) QTest::keyClick(cattura, Qt::Key_Return);
    });
    QTest::keyClick(cattura, Qt::Key_Return);
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormEs2")});
    QCOMPARE(NumeroRigheEsercizi, 2); // one header
    Form *es = caricata(QStringLiteral("FormEs2"));
    QVERIFY(es->Visible());
    QCOMPARE(Form::ActiveForm(), es);
}

void TestScansione::manualEnterStartsTheHighlightedExercise_data()
{
    QTest::addColumn<int>("passi");
    for (int i = 0; i < 5; ++i) QTest::addRow("button %d", i) << i;
    QTest::newRow("button 1 after a full round") << 7;
}

void TestScansione::manualEnterStartsTheHighlightedExercise()
{
    QFETCH(int, passi);
    auto &m = menuInModo(1);
    for (int i = 0; i < passi; ++i) QTest::keyClick(m.PictureScansioneManuale->widget(), Qt::Key_Space);
    QTest::keyClick(m.PictureScansioneManuale->widget(), Qt::Key_Return);
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormEs%1").arg(passi % 6 + 1)});
    QVERIFY(env->messages.empty());
}

void TestScansione::exitSavesAndEndsWithoutThePanel_data()
{
    QTest::addColumn<int>("tipo");
    QTest::newRow("manual, Enter") << 1;
    QTest::newRow("automatic, Space") << 2;
}

void TestScansione::exitSavesAndEndsWithoutThePanel()
{
    QFETCH(int, tipo);
    auto &m = menuInModo(tipo);
    if (tipo == 1) {
        for (int i = 0; i < 5; ++i) QTest::keyClick(m.PictureScansioneManuale->widget(), Qt::Key_Space);
    } else {
        for (int i = 0; i < 6; ++i) m.Timer1->Timer();
    }
    QCOMPARE(evidenziati(m), QList<int>{5});
    NumeroMassimo = 6; // changed in memory since the profile was last written
    platform::confinePointer(QRect(10, 10, 100, 100));

    if (tipo == 1) QTest::keyClick(m.PictureScansioneManuale->widget(), Qt::Key_Return);
    else QTest::keyClick(m.PictureScansioneAutomatica->widget(), Qt::Key_Space);

    QCOMPARE(readLines(profilo("Anna")).value(3), QStringLiteral(" 6 "));
    QVERIFY(finestreCaricate().isEmpty());
    QVERIFY(!Ridimensionatore);
    QVERIFY(env->messages.empty());
    QVERIFY(!platform::pointerConfined());
}

void TestScansione::releaseCountsOnlyAfterItsOwnPress_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<Qt::Key>("seleziona");
    QTest::newRow("manual") << 1 << Qt::Key_Return;
    QTest::newRow("automatic") << 2 << Qt::Key_Space;
}

void TestScansione::releaseCountsOnlyAfterItsOwnPress()
{
    QFETCH(int, tipo);
    QFETCH(Qt::Key, seleziona);
    NumeroMassimo = 2; // exercise 2 is refused: each selection shows one message
    auto &m = menuInModo(tipo);
    Control *catcher = tipo == 1 ? m.PictureScansioneManuale : m.PictureScansioneAutomatica;
    QWidget *w = catcher->widget();
    if (tipo == 1) QTest::keyClick(w, Qt::Key_Space);
    else for (int i = 0; i < 2; ++i) m.Timer1->Timer();
    QCOMPARE(evidenziati(m), QList<int>{1});

    // A key pressed elsewhere (another window) and let go here selects nothing.
    tasto(w, QEvent::KeyRelease, seleziona);
    tasto(w, QEvent::KeyRelease, Qt::Key_Space);
    QVERIFY(env->messages.empty());
    QCOMPARE(evidenziati(m), QList<int>{1});

    // A held key that repeats selects once.
    tenuto(w, seleziona);
    QCOMPARE(int(env->messages.size()), 1);
    QCOMPARE(evidenziati(m), QList<int>{1});
    if (tipo == 1) {
        tenuto(w, Qt::Key_Space);
        QCOMPARE(evidenziati(m), QList<int>{2});
    }
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
}

// ---- automatic scanning ----

void TestScansione::automaticTicksMoveTheHighlight()
{
    auto &m = menuInModo(2, 4);
    QVERIFY(m.PictureScansioneAutomatica->Visible());
    QVERIFY(!m.PictureScansioneManuale->Visible());
    QCOMPARE(m.PictureScansioneAutomatica->BackColor(), m.BackColor());
    QVERIFY(!m.ShapeRiquadro->Visible());
    QVERIFY(m.Timer1->Enabled());
    QCOMPARE(m.Timer1->Interval(), 1000);
    QVERIFY(m.Timer1->timer()->isActive());
    // Nothing is highlighted before the first tick.
    QCOMPARE(evidenziati(m), QList<int>{});

    for (int atteso : {0, 1, 2, 3, 4, 5, 0}) {
        m.Timer1->Timer();
        QCOMPARE(evidenziati(m), QList<int>{atteso});
    }
    // Enter, and any key but Space, does nothing in automatic scanning.
    QTest::keyClick(m.PictureScansioneAutomatica->widget(), Qt::Key_Return);
    QTest::keyPress(m.PictureScansioneAutomatica->widget(), Qt::Key_A);
    QVERIFY(m.Timer1->Enabled());
    QTest::keyRelease(m.PictureScansioneAutomatica->widget(), Qt::Key_A);
    QCOMPARE(evidenziati(m), QList<int>{0});
    QVERIFY(m.Timer1->Enabled());
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
}

void TestScansione::automaticIntervalStaysInRange_data()
{
    QTest::addColumn<int>("velocita");
    QTest::addColumn<int>("intervallo");
    QTest::newRow("4") << 4 << 1000;
    QTest::newRow("60") << 60 << 15000;
    QTest::newRow("0") << 0 << 1000;
    QTest::newRow("-3") << -3 << 1000;
    QTest::newRow("200") << 200 << 15000;
    QTest::newRow("32767") << 32767 << 15000;
}

void TestScansione::automaticIntervalStaysInRange()
{
    QFETCH(int, velocita);
    QFETCH(int, intervallo);
    // A user without a profile in the folder: the value in memory is used as it is.
    CreaCartelle();
    NomeUtente = QStringLiteral("Zoe");
    FileUtente = PercorsoProfilo(NomeUtente);
    TipoScansione = 2;
    VelocitaScansione = velocita;
    auto &m = apriMenu();
    QCOMPARE(VelocitaScansione, velocita);
    QCOMPARE(m.Timer1->Interval(), intervallo);
    QVERIFY(m.Timer1->timer()->isActive());
    QCOMPARE(m.Timer1->timer()->interval(), intervallo);
}

void TestScansione::automaticHoldPausesReleaseSelects()
{
    auto &m = menuInModo(2);
    QWidget *w = m.PictureScansioneAutomatica->widget();
    for (int i = 0; i < 3; ++i) m.Timer1->Timer();
    QCOMPARE(evidenziati(m), QList<int>{2});

    QTest::keyPress(w, Qt::Key_Space);
    QVERIFY(!m.Timer1->Enabled());
    QVERIFY(!m.Timer1->timer()->isActive());
    QCOMPARE(evidenziati(m), QList<int>{2});
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});

    QTest::keyRelease(w, Qt::Key_Space);
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormEs3")});
    QVERIFY(caricata(QStringLiteral("FormEs3"))->Visible());
}

void TestScansione::automaticRefusedExerciseResumes()
{
    NumeroMassimo = 2;
    auto &m = menuInModo(2);
    QWidget *w = m.PictureScansioneAutomatica->widget();
    m.Timer1->Timer();
    m.Timer1->Timer();
    QCOMPARE(evidenziati(m), QList<int>{1});

    QTest::keyPress(w, Qt::Key_Space);
    QVERIFY(!m.Timer1->Enabled());
    QTest::keyRelease(w, Qt::Key_Space);
    QCOMPARE(int(env->messages.size()), 1);
    QCOMPARE(env->messages[0].title, QStringLiteral("Brivomarte"));
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
    QVERIFY(m.Timer1->Enabled());
    QVERIFY(m.Timer1->timer()->isActive());
    QCOMPARE(m.Timer1->Interval(), 15000);
    QCOMPARE(evidenziati(m), QList<int>{1});
    m.Timer1->Timer();
    QCOMPARE(evidenziati(m), QList<int>{2});
}

// ---- no scanning, and the set-up after a user switch ----

void TestScansione::mouseModeAndUserSwitch()
{
    TipoScansione = 2;
    VelocitaScansione = 8;
    creaUtente(QStringLiteral("Bea"));
    auto &m = menuInModo(0);
    QVERIFY(!m.Timer1->Enabled());
    QVERIFY(!m.Timer1->timer()->isActive());
    QVERIFY(!m.PictureScansioneManuale->Visible());
    QVERIFY(!m.PictureScansioneAutomatica->Visible());
    QVERIFY(!m.ShapeRiquadro->Visible());
    for (int i = 0; i < FormMenu::kNumeroBottoni; ++i) QCOMPARE(m.Command1[i]->BackColor(), m.BackColor());
    m.Timer1->Timer();
    QTest::keyClick(m.PictureScansioneManuale->widget(), Qt::Key_Space);
    QTest::keyClick(m.PictureScansioneAutomatica->widget(), Qt::Key_Space);
    QTest::keyClick(m.PictureScansioneManuale->widget(), Qt::Key_Return);
    for (int i = 0; i < FormMenu::kNumeroBottoni; ++i) QCOMPARE(m.Command1[i]->BackColor(), m.BackColor());
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});

    // Switching to a user who scans sets the scanning up at once.
    QCOMPARE(m.Combo1->List(1), QStringLiteral("BEA"));
    m.Combo1->setListIndex(1);
    QCOMPARE(TipoScansione, 2);
    QVERIFY(m.PictureScansioneAutomatica->Visible());
    QVERIFY(m.Timer1->Enabled());
    QCOMPARE(m.Timer1->Interval(), 2000);
    m.Timer1->Timer();
    QCOMPARE(m.PosizioneScansione(), 0);
    QCOMPARE(m.Command1[0]->BackColor(), kScansione);
}

// ---- a switch as a pupil holds it, on a real X11 desktop ----

void TestScansione::heldAsX11StepsOrSelectsOnce()
{
    auto &m = menuInModo(1);
    QWidget *w = m.PictureScansioneManuale->widget();
    for (int atteso : {1, 2}) {
        premiComeX11(w, Qt::Key_Space, 8);
        rilasciaComeX11(w, Qt::Key_Space);
        QCOMPARE(evidenziati(m), QList<int>{atteso});
    }
    Form::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    auto &a = menuInModo(2);
    w = a.PictureScansioneAutomatica->widget();
    for (int i = 0; i < 3; ++i) a.Timer1->Timer();
    QCOMPARE(evidenziati(a), QList<int>{2});
    premiComeX11(w, Qt::Key_Space, 8);
    QVERIFY(!a.Timer1->timer()->isActive());
    QCOMPARE(evidenziati(a), QList<int>{2});
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
    rilasciaComeX11(w, Qt::Key_Space);
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormEs3")});
    QCOMPARE(Errati, 0);
    QCOMPARE(Esatti, 0);
}

// From the moment a scanning window appears the keyboard focus is on its key catcher, in
// every window that scans: a Space at once pauses (here), it never opens the user list.
// Until the first tick nothing is highlighted, and releasing Space chooses nothing (the
// position lies on the exit): the scanning goes on.
void TestScansione::catcherHoldsTheKeysFromTheStart()
{
    auto &m = menuInModo(2, 4);
    QVERIFY(QTest::qWaitForWindowActive(m.window()));
    QCOMPARE(QApplication::focusWidget(), m.PictureScansioneAutomatica->widget());
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(!m.Timer1->timer()->isActive());
    QVERIFY(!static_cast<QComboBox *>(m.Combo1->widget())->view()->isVisible());
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
    QVERIFY(m.Timer1->timer()->isActive());
    QVERIFY(evidenziati(m).isEmpty());
    m.Timer1->Timer();
    QCOMPARE(evidenziati(m), QList<int>{0});
    Form::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The same on every window that scans, in both modes.
    NumeroMassimo = 10;
    for (int tipo : {1, 2}) {
        for (int scelta = 0; scelta < 5; ++scelta) {
            for (bool esercizio : {false, true}) {
                DisabilitaControlloAlunno = esercizio;
                auto &menu = menuInModo(tipo);
                menu.AvviaEsercizi(scelta);
                Form *f = Form::ActiveForm();
                QVERIFY(QTest::qWaitForWindowActive(f->window()));
                const char *nome = tipo == 1 ? "PictureScansioneManuale" : "PictureScansioneAutomatica";
                QVERIFY2(QApplication::focusWidget() == f->control(QLatin1String(nome))->widget(), qPrintable(f->Name()));
                Form::UnloadAll();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
        }
    }
}

QTEST_MAIN(TestScansione)
#include "tst_scansione.moc"
