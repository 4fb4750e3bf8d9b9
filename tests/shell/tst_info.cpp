// The information window: opened from the main menu, its credit, terms and language lines,
// the way back to the menu, and the picture that opens the document about the program.
#include "TestSupport.h"
#include "FormInfo.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include <QDesktopServices>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>
#include <QtTest>

using namespace forms;

namespace {



} // namespace

class TestInfo : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> env;
    Apertura apertura;

    FormInfo &apriDalMenu()
    {
        CreaCartelle();
        NomeUtente = QStringLiteral("Anna");
        FileUtente = PercorsoProfilo(NomeUtente);
        ScriviImpostazioni();
        auto &m = Default<FormMenu>();
        m.Show();
        m.control(QStringLiteral("mnuAbout"))->action()->trigger();
        FormInfo *info = IfLoaded<FormInfo>();
        Q_ASSERT(info);
        return *info;
    }

private slots:
    void init()
    {
        env = std::make_unique<Ambiente>();
        apertura.aperti.clear();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &apertura, "apri");
    }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        Form::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Ridimensionatore.reset();
        env.reset();
    }

    void openedFromTheMenu();
    void languageLines_data();
    void languageLines();
    void closeReturnsToAFreshMenu();
    void pictureOpensTheDocumentWhenThere();
};

void TestInfo::openedFromTheMenu()
{
    auto &info = apriDalMenu();
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormInfo")});
    QVERIFY(info.Visible());
    QCOMPARE(info.Command1->Caption(), QStringLiteral("Chiudi"));

    const QString credits = info.Label1->Caption();
    QVERIFY(credits.startsWith(QStringLiteral("Software di\r\n")));
    QVERIFY(credits.endsWith(QStringLiteral("\r\n")));
    const QStringList righe = credits.chopped(2).split(QStringLiteral("\r\n"));
    QCOMPARE(righe.size(), 4);
    for (const QString &r : righe) QVERIFY(!r.trimmed().isEmpty());
    // "di" takes no article after it ("di il" is not Italian), and the document about the
    // program gives the same credit, line for line.
    QVERIFY2(!QRegularExpression(QStringLiteral("^(il|lo|la|i|gli|le|l')\\b")).match(righe[1]).hasMatch(), qPrintable(righe[1]));
    QFile documento(qEnvironmentVariable("BRIVO_ASSETS") + QStringLiteral("/docs/documento.md"));
    QVERIFY(documento.open(QIODevice::ReadOnly));
    const QString md = QString::fromUtf8(documento.readAll());
    const qsizetype inizio = md.indexOf(QStringLiteral("**Software di**"));
    QVERIFY(inizio >= 0);
    QStringList credito;
    for (const QString &r : md.mid(inizio).section(QStringLiteral("\n## "), 0, 0).split(QLatin1Char('\n')))
        if (!r.trimmed().isEmpty()) credito << r.trimmed();
    QCOMPARE(credito.mid(0, 4), (QStringList{QStringLiteral("**Software di**")} + righe.mid(1)));

    const QString termini = info.Label3->Caption();
    QCOMPARE(termini.count(QStringLiteral("\r\n")), 1);
    QVERIFY(!termini.endsWith(QStringLiteral("\r\n")));
    QVERIFY(!termini.startsWith(QStringLiteral("\r\n")));

    QCOMPARE(info.Label4->Caption(), MLSGetString("9996") + QStringLiteral("\r\n") + MLSGetString("9997") + QStringLiteral("\r\n"));
    QVERIFY(!MLSGetString("9996").isEmpty());
    // The lines follow the current language at every activation.
    MLSCurrentLanguage = QStringLiteral("English");
    info.Hide();
    info.Show();
    QCOMPARE(info.Label4->Caption(), QStringLiteral("Language: English\r\n") + MLSGetString("9997") + QStringLiteral("\r\n"));
}

void TestInfo::languageLines_data()
{
    QTest::addColumn<QByteArray>("testi");
    QTest::addColumn<QString>("righe");
    QTest::newRow("all four") << QByteArray("9996=\"a\"\r\n9997=\"b\"\r\n9998=\"c\"\r\n9999=\"d\"\r\n")
                              << "a\r\nb\r\nc\r\nd\r\n";
    QTest::newRow("only 9997") << QByteArray("9997=\"solo\"\r\n") << "solo\r\n";
    QTest::newRow("empty ones left out") << QByteArray("9996=\"x\"\r\n9997=\"\"\r\n9999=\"z\"\r\n") << "x\r\nz\r\n";
    QTest::newRow("none") << QByteArray("0002=\"no\"\r\n") << "";
}

void TestInfo::languageLines()
{
    QFETCH(QByteArray, testi);
    QFETCH(QString, righe);
    writeBytes(env->program() + QStringLiteral("/Prova.lng"), "[Strings]\r\n" + testi);
    writeBytes(env->program() + QStringLiteral("/LangSetting.ini"), "[Language]\r\nCurrentLanguage=Prova\r\n");
    auto &info = apriDalMenu();
    QCOMPARE(info.Label4->Caption(), righe);
    // Texts the language does not give keep the layout's.
    QCOMPARE(info.Command1->Caption(), QStringLiteral("Chiudi"));
}

void TestInfo::closeReturnsToAFreshMenu()
{
    auto &info = apriDalMenu();
    QVERIFY(!IfLoaded<FormMenu>());
    Esatti = 5;
    QTest::mouseClick(info.Command1->widget(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
    FormMenu *m = IfLoaded<FormMenu>();
    QVERIFY(m->Visible());
    QVERIFY(!m->wasUnloaded());
    // Loaded afresh and activated: its language menu is filled again and the counters zeroed.
    QCOMPARE(m->mnuLanguage[0]->Caption(), QStringLiteral("English"));
    QCOMPARE(Esatti, 0);
}

void TestInfo::pictureOpensTheDocumentWhenThere()
{
    auto &info = apriDalMenu();
    QTest::mouseClick(info.Image1->widget(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(apertura.aperti.isEmpty());
    QVERIFY(env->messages.empty());
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormInfo")});
    QVERIFY(info.Visible());

    writeBytes(env->program() + QStringLiteral("/documento.pdf"), "%PDF-1.4\n");
    QTest::mouseClick(info.Image1->widget(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(apertura.aperti, QList<QUrl>{QUrl::fromLocalFile(env->program() + QStringLiteral("/documento.pdf"))});
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormInfo")});
}

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
