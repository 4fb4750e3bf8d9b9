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
    void startWithoutLanguageFiles();
    void cleanupTestCase();

private:
    QTemporaryDir tmp_;
};

void TestAvvio::initTestCase()
{
    // The single-instance lock lives in the temporary folder: keep ours apart from any
    // other copy of the program or of the tests.
    QVERIFY(tmp_.isValid());
    qputenv("TMPDIR", QFile::encodeName(tmp_.path()));
    QCOMPARE(QDir::tempPath(), QDir(tmp_.path()).canonicalPath());
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
    platform::SingleInstance first(QStringLiteral("brivomarte-") + qEnvironmentVariable("USER", QStringLiteral("utente")));
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
    qunsetenv("TMPDIR");
}

QTEST_MAIN(TestAvvio)
#include "tst_avvio.moc"
