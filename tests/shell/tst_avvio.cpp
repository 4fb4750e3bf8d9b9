// The start sequence: one running copy, folders, the default user's profile, the hidden
// picture archive, the number words and the start window.
#include "TestSupport.h"
#include "FormArchivio.h"
#include "FormAvvio.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "platform/SingleInstance.h"
#include <QDir>
#include <QtTest>

class TestAvvio : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void secondCopyIsRefused();
    void lockIsTheUsersOwn();
    void startWithoutLanguageFiles();
    void cleanupTestCase();

private:
    QTemporaryDir tmp_;
};

void TestAvvio::initTestCase()
{
    // The single-instance lock lives in the user's runtime folder: keep ours apart from any
    // other copy of the program or of the tests.
    QVERIFY(tmp_.isValid());
    QVERIFY(QFile::setPermissions(tmp_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(tmp_.path()));
    // The lock is held until the program ends, after this object is gone: the folder
    // is removed once the lock has been let go.
    tmp_.setAutoRemove(false);
    static QString folder;
    folder = tmp_.path();
    std::atexit([] { QDir(folder).removeRecursively(); });
}

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
    // Nothing else of the start: no folder, no profile, no window.
    QCOMPARE(QDir(env.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(NomeUtente, QStringLiteral("nessuno"));
    QVERIFY(forms::Form::LoadedForms().empty());
}

void TestAvvio::lockIsTheUsersOwn()
{
    Ambiente env;
    const QString own = tmp_.path();
    const QString userName = qEnvironmentVariable("USER");
    const auto folderOfLock = [](const QByteArray &runtime) {
        qputenv("XDG_RUNTIME_DIR", runtime);
        return QFileInfo(platform::SingleInstance(QStringLiteral("brivomarte")).path()).absolutePath();
    };
    // The user's runtime folder, whatever USER says; never the shared temporary folder.
    qputenv("USER", "someone-else");
    QCOMPARE(folderOfLock(QFile::encodeName(own)), own);
    qunsetenv("USER");
    QCOMPARE(folderOfLock(QFile::encodeName(own)), own);
    // A runtime folder open to others, or none, gives the settings root.
    QCOMPARE(folderOfLock(QFile::encodeName(QDir::tempPath())), env.root());
    QTemporaryDir open;
    QVERIFY(QFile::setPermissions(open.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                   | QFile::ReadOther | QFile::ExeOther));
    QCOMPARE(folderOfLock(QFile::encodeName(open.path())), env.root());
    QCOMPARE(folderOfLock(QByteArray()), env.root());

    // A copy of another account, with its own runtime folder, does not hold this one back.
    QTemporaryDir other;
    QVERIFY(QFile::setPermissions(other.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(other.path()));
    platform::SingleInstance theirs(QStringLiteral("brivomarte"));
    QVERIFY(theirs.acquire());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own));
    platform::SingleInstance mine(QStringLiteral("brivomarte"));
    QVERIFY(mine.acquire());
    QVERIFY(!platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
    // Without a runtime folder the settings root holds the lock, and a second copy is refused.
    qunsetenv("XDG_RUNTIME_DIR");
    platform::SingleInstance atRoot(QStringLiteral("brivomarte"));
    QVERIFY(atRoot.acquire());
    QVERIFY(!platform::SingleInstance(QStringLiteral("brivomarte")).acquire());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own));
    if (!userName.isEmpty()) qputenv("USER", userName.toLocal8Bit());
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

void TestAvvio::cleanupTestCase()
{
    qunsetenv("XDG_RUNTIME_DIR");
}

QTEST_MAIN(TestAvvio)
#include "tst_avvio.moc"
