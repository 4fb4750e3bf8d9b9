// The pause, the right and wrong sounds, and the random background colour.
#include "TestSupport.h"
#include "FormAvvio.h"
#include "Modulo1.h"
#include "ModuloColoriSuoni.h"
#include "ModuloPerIni.h"
#include "platform/Paths.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include <QDir>
#include <QAbstractEventDispatcher>
#include <QFile>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <map>

namespace {

struct Suoni {
    QStringList played;
    Suoni() { platform::setSoundObserver([this](const QString &s) { played << s; }); }
    ~Suoni() { platform::setSoundObserver(nullptr); }
};

const std::vector<int32_t> kTabella = {
    0x00C0C0FF, 0x008080FF, 0x00C0C0FF, 0x0080C0FF, 0x000080FF, 0x00C0FFFF, 0x0000FFFF, 0x000040C0, 0x0080FF80,
    0x0080FF80, 0x00FFFFC0, 0x00FFFF00, 0x00FFC0C0, 0x00FFC0FF, 0x00FFC0FF, 0x00E0E0E0, 0x00FFC0FF, 0x00FF00FF};

} // namespace

class TestFeedback : public QObject {
    Q_OBJECT

private slots:
    void pauseOfNothingReturnsAtOnce_data();
    void pauseOfNothingReturnsAtOnce();
    void pauseKeepsWindowsAliveWithoutBusyWaiting();
    void noSoundsWhenSwitchedOff();
    void missingSoundFileGivesTheBeep();
    void soundFilesBesideTheProgram();
    void randomColoursFollowTheTable();
    void startWindowTakesARandomColour();
};

void TestFeedback::pauseOfNothingReturnsAtOnce_data()
{
    QTest::addColumn<double>("seconds");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative") << -1.0;
    QTest::newRow("not a number") << std::nan("");
}

void TestFeedback::pauseOfNothingReturnsAtOnce()
{
    QFETCH(double, seconds);
    bool ran = false;
    QTimer pronto;
    pronto.setSingleShot(true);
    QObject::connect(&pronto, &QTimer::timeout, [&] { ran = true; });
    pronto.start(0);
    Attendi(seconds);
    QVERIFY(!ran); // no events processed: no loop was run
    QTRY_VERIFY(ran);
}

// The pause goes on until its end, whatever the events that come meanwhile, and the
// windows keep working: the events due before its end are handled in it, those due after
// are not. It sleeps between events: the event loop wakes up about once for each event,
// where waiting busily would wake it up thousands of times. No clock is read: a slow
// machine changes when things happen, not their order.
void TestFeedback::pauseKeepsWindowsAliveWithoutBusyWaiting()
{
    int ticks = 0;
    QTimer battito;
    QObject::connect(&battito, &QTimer::timeout, [&] { ++ticks; });
    battito.start(20);
    bool prima = false, dopo = false;
    QTimer primaDellaFine, dopoLaFine;
    for (QTimer *t : {&primaDellaFine, &dopoLaFine}) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
    }
    QObject::connect(&primaDellaFine, &QTimer::timeout, [&] { prima = true; });
    QObject::connect(&dopoLaFine, &QTimer::timeout, [&] { dopo = true; });
    primaDellaFine.start(250);
    dopoLaFine.start(60000);

    int risvegli = 0;
    auto *dispatcher = QAbstractEventDispatcher::instance();
    const auto conta = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { ++risvegli; });
    Attendi(0.3);
    QObject::disconnect(conta);

    QVERIFY(prima);
    QVERIFY(!dopo);
    QVERIFY2(ticks >= 1, qPrintable(QString::number(ticks)));
    QVERIFY2(risvegli <= 3 * ticks + 20, qPrintable(QStringLiteral("%1 wake-ups, %2 ticks").arg(risvegli).arg(ticks)));
}

void TestFeedback::noSoundsWhenSwitchedOff()
{
    Ambiente env;
    platform::setProgramFolder(qEnvironmentVariable("BRIVO_BUILD"));
    Suoni s;
    SuoniAttivi = false;
    SuonoEsatto();
    SuonoErrato();
    QVERIFY(s.played.isEmpty());
}

void TestFeedback::missingSoundFileGivesTheBeep()
{
    Ambiente env;
    Suoni s;
    SuoniAttivi = true;
    SuonoEsatto();
    SuonoErrato();
    QCOMPARE(s.played, (QStringList{"beep", "beep"}));
}

void TestFeedback::soundFilesBesideTheProgram()
{
    Ambiente env;
    Suoni s;
    SuoniAttivi = true;
    const QString build = qEnvironmentVariable("BRIVO_BUILD");
    QVERIFY(QFileInfo(build + QStringLiteral("/suoni/si.wav")).isFile());
    platform::setProgramFolder(build);
    // A right answer quickly followed by a wrong one: both start.
    SuonoEsatto();
    SuonoErrato();
    QCOMPARE(s.played, (QStringList{build + QStringLiteral("/suoni/si.wav"), build + QStringLiteral("/suoni/no.wav")}));

    // Only the right answer's file present, spelt in other letter case.
    s.played.clear();
    platform::setProgramFolder(env.program());
    QDir(env.program()).mkdir(QStringLiteral("Suoni"));
    QVERIFY(QFile::copy(build + QStringLiteral("/suoni/si.wav"), env.program() + QStringLiteral("/Suoni/SI.WAV")));
    SuonoEsatto();
    SuonoErrato();
    QCOMPARE(s.played, (QStringList{env.program() + QStringLiteral("/Suoni/SI.WAV"), "beep"}));
}

void TestFeedback::randomColoursFollowTheTable()
{
    platform::randomSeed(20050324);
    std::map<int32_t, int> count;
    const int draws = 36000; // 2000 per entry of the table
    for (int i = 0; i < draws; ++i) ++count[GeneraColoreCasuale()];

    std::map<int32_t, int> weight;
    for (int32_t c : kTabella) ++weight[c];
    QCOMPARE(count.size(), weight.size()); // every colour comes, and nothing else
    for (const auto &[colour, n] : count) {
        QVERIFY2(weight.count(colour), qPrintable(QString::number(colour, 16)));
        const double expected = 2000.0 * weight[colour];
        // More than five standard deviations away would mean a wrong table or draw.
        QVERIFY2(std::abs(n - expected) < 5 * std::sqrt(expected),
                 qPrintable(QStringLiteral("%1: %2 of %3").arg(colour, 8, 16, QLatin1Char('0')).arg(n).arg(expected)));
    }
    const double ratio = double(count[0x00FFC0FF]) / count[0x000080FF];
    QVERIFY2(ratio > 2.6 && ratio < 3.4, qPrintable(QString::number(ratio)));
}

void TestFeedback::startWindowTakesARandomColour()
{
    Ambiente env;
    ColoreCasuale = false;
    std::map<int32_t, int> seen;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        platform::randomSeed(seed);
        FormAvvio &a = Default<FormAvvio>();
        QVERIFY(std::find(kTabella.begin(), kTabella.end(), a.BackColor()) != kTabella.end());
        ++seen[a.BackColor()];
        a.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QVERIFY(seen.size() > 1);
    Ridimensionatore.reset();
}

QTEST_MAIN(TestFeedback)
#include "tst_feedback.moc"
