// The start sequence: one running copy, folders, the default user's profile, the hidden
// picture archive, the number words and the start window.
#include "TestSupport.h"
#include "FormArchivio.h"
#include "FormAvvio.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QtTest>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

class TestAvvio : public QObject {
    Q_OBJECT

private slots:
    void secondCopyIsRefused();
    void lockIsTheUsersOwn();
    void lockLeftByACopyThatEndedDoesNotBlock_data();
    void lockLeftByACopyThatEndedDoesNotBlock();
    void liveCopyRefusesAnotherUntilItEnds();
    void lockWhereItsFileCannotBeUsed_data();
    void lockWhereItsFileCannotBeUsed();
    void lockStaysWithTheProgramNotWithWhatItStarts();
    void pipeOpenedForReadingDoesNotHangTheStart();
    void startsWhereTheKernelHasNoLocks_data();
    void startsWhereTheKernelHasNoLocks();
    void startWithoutLanguageFiles();
    void startRemovesWritesCutShort();
};

void TestAvvio::secondCopyIsRefused()
{
    Ambiente env;
    platform::SingleInstance first(QStringLiteral("brivomarte"));
    QVERIFY(first.acquire());
    NomeUtente = QStringLiteral("nessuno");
    QVERIFY(!AvviaSistema());
    QCOMPARE(env.messages.size(), size_t(1));
    QCOMPARE(env.messages[0].title, QStringLiteral("Error"));
    QCOMPARE(env.messages[0].style, platform::vbCritical | platform::vbOKOnly);
    QVERIFY(!env.messages[0].text.isEmpty());
    QCOMPARE(env.messages[0].text, MLSGetString("0001"));
    // Nothing else of the start: no folder, no profile, no window; the settings root holds
    // the running copy's lock alone.
    QCOMPARE(QDir(env.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QFileInfo(first.path()).fileName()});
    QCOMPARE(NomeUtente, QStringLiteral("nessuno"));
    QVERIFY(forms::Form::LoadedForms().empty());
}

void TestAvvio::lockIsTheUsersOwn()
{
    Ambiente env;
    const QByteArray proprio = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir runtime;
    QVERIFY(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    // A copy started from the desktop (with a runtime folder of its own) and one started
    // over ssh or through su (with none) share one lock, beside the profiles.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    platform::SingleInstance desktop(QStringLiteral("brivomarte"));
    QVERIFY(desktop.acquire());
    QCOMPARE(QFileInfo(desktop.path()).absolutePath(), env.root());
    QVERIFY(QFileInfo(desktop.path()).fileName().contains(QString::number(::getuid())));
    qunsetenv("XDG_RUNTIME_DIR");
    QVERIFY(!platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
    // And the other way round.
    QTemporaryDir altra;
    platform::setSettingsRoot(altra.path());
    platform::SingleInstance remota(QStringLiteral("brivomarte"));
    QVERIFY(remota.acquire());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QVERIFY(!platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
    if (proprio.isNull()) qunsetenv("XDG_RUNTIME_DIR");
    else qputenv("XDG_RUNTIME_DIR", proprio);
}

namespace {
// A copy that has ended, by its process id: one of a process started and waited for.
qint64 processoFinito()
{
    QProcess p;
    p.start(QStringLiteral("true"), QStringList());
    p.waitForStarted();
    const qint64 pid = p.processId();
    p.waitForFinished();
    return pid;
}

// A lock file that may only be read, whoever runs the test (permissions do not stop the
// superuser): opening it for writing is refused.
int apriSoloLettura(const char *path, int flags, mode_t mode)
{
    if ((flags & O_ACCMODE) == O_RDONLY) return ::open(path, flags, mode);
    errno = EACCES;
    return -1;
}

// Another running copy: the test program started again with "--tieni-lucchetto" holds the
// lock of the settings root given until its input is closed or it is killed; with
// "--sola-lettura" it may only read its lock file.
int tieniLucchetto(const char *root, bool soloLettura)
{
    platform::setSettingsRoot(QFile::decodeName(root));
    if (soloLettura) platform::setLockCallsForTest({apriSoloLettura, nullptr});
    platform::SingleInstance copia(QStringLiteral("brivomarte"));
    std::puts(copia.acquire() ? "pronto" : "occupato");
    std::fflush(stdout);
    while (std::getchar() != EOF) {}
    return 0;
}

// Starts that other copy and gives its first line: "pronto" when it holds the lock, nothing
// when it has said nothing within a minute.
QByteArray altraCopia(QProcess &altra, const QString &root, const QStringList &opzioni = {})
{
    altra.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--tieni-lucchetto"), root} + opzioni);
    if (!altra.waitForStarted()) return QByteArray();
    while (!altra.canReadLine() && altra.waitForReadyRead(60000)) {}
    return altra.readLine();
}
} // namespace

void TestAvvio::lockLeftByACopyThatEndedDoesNotBlock_data()
{
    QTest::addColumn<QByteArray>("contenuto");
    const QByteArray morto = QByteArray::number(processoFinito());
    // What a crash right after making the file leaves, what a person may put there, and the
    // words of a copy that ended here or on another computer sharing the home folder.
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArrayLiteral("\xff\x00garbage\n\n\n-7\n");
    QTest::newRow("another host, dead process") << QByteArray(morto + "\nbrivomarte\naltro-computer.example\n");
    QTest::newRow("this host, dead process") << QByteArray(morto + "\nbrivomarte\n" + QSysInfo::machineHostName().toUtf8() + "\n");
}

void TestAvvio::lockLeftByACopyThatEndedDoesNotBlock()
{
    QFETCH(QByteArray, contenuto);
    Ambiente env;
    platform::SingleInstance copia(QStringLiteral("brivomarte"));
    QVERIFY(writeBytes(copia.path(), contenuto));
    QVERIFY(copia.acquire());
    QVERIFY(!platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
}

void TestAvvio::liveCopyRefusesAnotherUntilItEnds()
{
    Ambiente env;
    QProcess altra;
    QCOMPARE(altraCopia(altra, env.root()), QByteArray("pronto\n"));
    QVERIFY(!platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
    // Killed, it can do nothing more; its end alone lets the next copy start.
    altra.kill();
    QVERIFY(altra.waitForFinished());
    QVERIFY(platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
}

void TestAvvio::lockWhereItsFileCannotBeUsed_data()
{
    QTest::addColumn<QString>("caso");
    for (const char *c : {"folder", "pipe", "dangling link", "link elsewhere", "mode 000", "read-only root"})
        QTest::newRow(c) << QString::fromLatin1(c);
}

// Whatever lies at the lock file's name, two copies still exclude each other, and nothing
// outside the settings root is made, locked or written through a link.
void TestAvvio::lockWhereItsFileCannotBeUsed()
{
    QFETCH(QString, caso);
    // Permissions do not stop the superuser: those cases cannot be made.
    if ((caso == QLatin1String("mode 000") || caso == QLatin1String("read-only root")) && ::geteuid() == 0)
        QSKIP("run as the superuser, whom permissions do not stop");
    Ambiente env;
    QTemporaryDir fuori;
    const QString altrove = fuori.filePath(QStringLiteral("altrui"));
    const QString path = platform::SingleInstance(QStringLiteral("brivomarte")).path();
    const QByteArray nativo = QFile::encodeName(path);
    if (caso == QLatin1String("folder")) QVERIFY(QDir().mkdir(path));
    if (caso == QLatin1String("pipe")) QCOMPARE(::mkfifo(nativo.constData(), 0600), 0);
    if (caso == QLatin1String("dangling link")) QVERIFY(QFile::link(altrove, path));
    if (caso == QLatin1String("link elsewhere")) {
        QVERIFY(writeBytes(altrove, "altrui\n"));
        QVERIFY(QFile::link(altrove, path));
    }
    if (caso == QLatin1String("mode 000")) {
        QVERIFY(writeBytes(path, QByteArray()));
        QCOMPARE(::chmod(nativo.constData(), 0), 0);
    }
    const QByteArray radice = QFile::encodeName(env.root());
    if (caso == QLatin1String("read-only root")) QCOMPARE(::chmod(radice.constData(), 0555), 0);
    const auto ripristina = qScopeGuard([&] { ::chmod(radice.constData(), 0755); });

    {
        platform::SingleInstance first(QStringLiteral("brivomarte"));
        QVERIFY(first.acquire());
        QVERIFY(!platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
        if (caso == QLatin1String("dangling link")) QVERIFY(!QFileInfo::exists(altrove));
        if (caso == QLatin1String("link elsewhere")) {
            QCOMPARE(readBytes(altrove), QByteArray("altrui\n"));
            const int fd = ::open(QFile::encodeName(altrove).constData(), O_RDONLY | O_CLOEXEC);
            QVERIFY(fd >= 0);
            QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
            ::close(fd);
        }
    }
    QVERIFY(platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
}

// A program started from this one (a document viewer opened from the menu) may outlive it:
// it must not take the lock along, or the next start would be refused.
void TestAvvio::lockStaysWithTheProgramNotWithWhatItStarts()
{
    Ambiente env;
    QProcess viewer;
    const auto fine = qScopeGuard([&] {
        viewer.kill();
        viewer.waitForFinished();
    });
    {
        platform::SingleInstance copia(QStringLiteral("brivomarte"));
        QVERIFY(copia.acquire());
        viewer.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(viewer.waitForStarted());
    }
    QVERIFY(platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
}

// A pipe no one writes, put where the lock file goes, that the start may only open for
// reading: opening it waits for no writer. The start runs as another copy, so that a wait
// would end with this test.
void TestAvvio::pipeOpenedForReadingDoesNotHangTheStart()
{
    Ambiente env;
    const QString path = platform::SingleInstance(QStringLiteral("brivomarte")).path();
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0400), 0);
    QProcess altra;
    const auto fine = qScopeGuard([&] {
        altra.kill();
        altra.waitForFinished();
    });
    QCOMPARE(altraCopia(altra, env.root(), {QStringLiteral("--sola-lettura")}), QByteArray("pronto\n"));
    QVERIFY(!platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
}

namespace {
int g_erroreLock = 0;
int flockSenzaLock(int, int)
{
    errno = g_erroreLock;
    return -1;
}
} // namespace

void TestAvvio::startsWhereTheKernelHasNoLocks_data()
{
    QTest::addColumn<int>("errore");
    QTest::newRow("no locks") << ENOLCK;
    QTest::newRow("not supported") << EOPNOTSUPP;
}

// Where the kernel gives no locks (a network share without them), no other copy can be
// known of: the program starts.
void TestAvvio::startsWhereTheKernelHasNoLocks()
{
    QFETCH(int, errore);
    Ambiente env;
    g_erroreLock = errore;
    platform::setLockCallsForTest({nullptr, flockSenzaLock});
    const auto ripristina = qScopeGuard([] { platform::setLockCallsForTest({}); });
    QVERIFY(platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
}

void TestAvvio::startWithoutLanguageFiles()
{
    Ambiente env(false);
    QDir(env.root()).mkpath(QStringLiteral("BrivoMarte/utenti"));
    // The default user's profile, saved in an earlier run with other than the defaults.
    writeBytes(env.file(QStringLiteral("BrivoMarte/utenti/_predefinito.ini")),
               "minuscolo\r\n 0 \r\n 5 \r\n 6 \r\nFalse\r\nTrue\r\nFalse\r\n 255 \r\n 16711680 \r\n 16777215 \r\n"
               " 12648447 \r\n 16777152 \r\nFalse\r\nFalse\r\n 1 \r\n 8 \r\nFalse\r\nTrue\r\n 9 \r\n-2147483633 \r\n 255 \r\n");
    NumeriInLettere.fill(QStringLiteral("old"));
    QVERIFY(AvviaSistema());
    QVERIFY(env.messages.empty());

    QVERIFY(QFileInfo(env.file(QStringLiteral("BrivoMarte/dati"))).isDir());
    QCOMPARE(readLines(env.file(QStringLiteral("leggimi.txt"))), (QStringList{"", " ", "", " ", ""}));
    QCOMPARE(NomeUtente, QStringLiteral("_predefinito"));
    QCOMPARE(FileUtente, QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\brivomarte\\utenti\\_predefinito.INI"));
    QCOMPARE(TipoCarattere, QStringLiteral("minuscolo"));
    QCOMPARE(NumeroMassimo, 6);
    QCOMPARE(TipoScansione, 1);
    QVERIFY(TieniTraccia && ConRiquadro && !ColoreCasuale);

    FormArchivio *archivio = forms::IfLoaded<FormArchivio>();
    QVERIFY(archivio);
    QVERIFY(!archivio->Visible());
    QCOMPARE(archivio->ImageArchivio.UBound(), 11);
    for (int k = 0; k <= 11; ++k) QVERIFY(!archivio->ImageArchivio[k]->picture().isNull());

    // No language file: empty number words, layout texts on the start window.
    for (const QString &w : NumeriInLettere) QVERIFY(w.isEmpty());
    FormAvvio *avvio = forms::IfLoaded<FormAvvio>();
    QVERIFY(avvio);
    QVERIFY(avvio->Visible());
    QCOMPARE(forms::Form::ActiveForm(), avvio);
    QCOMPARE(avvio->Command1->Caption(), QStringLiteral("Avvio"));
    QCOMPARE(avvio->Label2[1]->Caption(), QStringLiteral("Esercitazioni matematiche"));
    QCOMPARE(Ridimensionatore->SourceForm(), avvio); // the archive is never bound

    forms::Form::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Ridimensionatore.reset();
}

void TestAvvio::startRemovesWritesCutShort()
{
    Ambiente env;
    QVERIFY(QDir(env.root()).mkpath(QStringLiteral("BrivoMarte/dati/mario")));
    QVERIFY(QDir(env.root()).mkpath(QStringLiteral("BrivoMarte/utenti")));
    const QString nome = QStringLiteral("/.brivo-0123456789abcdef.tmp");
    auto pianta = [](const QString &path, int secondiFa) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write("a half") == 6 && f.flush()
               && f.setFileTime(QDateTime::currentDateTime().addSecs(-secondiFa), QFileDevice::FileModificationTime);
    };
    // Left by runs that ended while writing: in the settings folders and beside the program.
    const QStringList lasciati = {env.root() + nome, env.file(QStringLiteral("BrivoMarte/utenti")) + nome,
                                  env.file(QStringLiteral("BrivoMarte/dati/mario")) + nome, env.program() + nome};
    for (const QString &p : lasciati) QVERIFY(pianta(p, 3600));
    // Not ours, or still being written by another copy.
    const QStringList altri = {env.file(QStringLiteral("BrivoMarte/utenti/.brivo-appunti.tmp")),
                               env.file(QStringLiteral("BrivoMarte/utenti/.brivo-fedcba9876543210.tmp")),
                               env.file(QStringLiteral("BrivoMarte/utenti/brivo-0123456789abcdef.tmp"))};
    QVERIFY(pianta(altri[0], 3600));
    QVERIFY(pianta(altri[1], 0));
    QVERIFY(pianta(altri[2], 3600));
    const QString collegamento = env.file(QStringLiteral("BrivoMarte/.brivo-aaaaaaaaaaaaaaaa.tmp"));
    QVERIFY(QFile::link(altri[0], collegamento));

    QVERIFY(AvviaSistema());
    for (const QString &p : lasciati) QVERIFY2(!QFileInfo::exists(p), qPrintable(p));
    for (const QString &p : altri) QVERIFY2(QFileInfo::exists(p), qPrintable(p));
    QVERIFY(QFileInfo(collegamento).isSymLink());

    forms::Form::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Ridimensionatore.reset();
}

int main(int argc, char *argv[])
{
    if (argc > 2 && qstrcmp(argv[1], "--tieni-lucchetto") == 0) return tieniLucchetto(argv[2], argc > 3 && qstrcmp(argv[3], "--sola-lettura") == 0);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestAvvio test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_avvio.moc"
