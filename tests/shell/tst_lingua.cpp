// Texts by id from the current language file, the translation of a window, the number words.
#include "TestSupport.h"
#include "FormAvvio.h"
#include "Modulo1.h"
#include "modLanguageSupport.h"
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace forms;

namespace {

class FormProva : public Form {
public:
    explicit FormProva(const QString &caption = QStringLiteral("Prova")) : Form(QStringLiteral("FormProva"))
    {
        setCaption(caption);
        setTag(QStringLiteral("tag iniziale"));
    }

protected:
    void layout(Layout &l) override
    {
        l.add(Kind::Label, "Label1").at(0, 0, 1000, 300).cap("L1").tip("tip1").withTag("tag1");
        l.add(Kind::CommandButton, "Command1", 0).at(0, 400, 1000, 300).cap("C0");
        l.add(Kind::CommandButton, "Command1", 1).at(0, 800, 1000, 300).cap("C1").tip("tipC1");
        l.add(Kind::Image, "Image1").at(1200, 0, 500, 500);
        l.add(Kind::Shape, "Shape1").at(1200, 600, 500, 500);
        l.add(Kind::Line, "Line1").line(0, 0, 100, 100);
        l.add(Kind::Timer, "Timer1");
        l.add(Kind::Frame, "Frame1").at(2000, 0, 1000, 1000).cap("F");
        l.add(Kind::TabStrip, "TabStrip1").at(0, 1200, 3000, 400).withTabs({"Uno", "Due"});
        l.add(Kind::Menu, "mnuFile").cap("File");
        l.add(Kind::Menu, "mnuEsci").in("mnuFile").cap("Esci");
    }
};

// Every text of the test window, to compare with what the layout gives.
QStringList testi(const Form &f)
{
    QStringList out{f.Caption(), f.Tag()};
    for (Control *c : f.Controls())
        out << c->fullName() + QLatin1Char(':') + c->Caption() + QLatin1Char('|') + c->ToolTipText()
                   + QLatin1Char('|') + c->Tag();
    return out;
}

QStringList testiDelLayout()
{
    FormProva f;
    f.Load();
    return testi(f);
}

void lingua(const Ambiente &env, const QString &name, const QByteArray &bytes)
{
    writeBytes(env.program() + QLatin1Char('/') + name + QStringLiteral(".lng"), bytes);
    MLSCurrentLanguage = name;
}

void impostazione(const Ambiente &env, const QByteArray &language)
{
    writeBytes(env.program() + QStringLiteral("/LangSetting.ini"), "[Language]\r\nCurrentLanguage=" + language + "\r\n");
}

} // namespace

class TestLingua : public QObject {
    Q_OBJECT

private slots:
    void textsFromTheSettingFilesLanguage();
    void settingNamingAMissingLanguage();
    void settingInOtherLetterCase();
    void withoutAUsableSettingTheProgramsOwnLanguage_data();
    void withoutAUsableSettingTheProgramsOwnLanguage();
    void sameRulesAboveAndBelow64000Bytes_data();
    void sameRulesAboveAndBelow64000Bytes();
    void writeIniReportsSuccess();
    void shippedFilesInWindows1252WithCrLf();
    void everyLanguageHasEveryItalianKey();

    void translationReplacesTexts();
    void missingKeysEmptyOnlyTheWindowsTexts();
    void emptyWindowCaptionStaysEmpty();
    void noLanguageFileKeepsLayoutTexts();
    void translationLetsEventsRun();
    void windowUnloadedDuringTranslation();
    void startWindowIsTranslatedOnLoad();
    void qtDialogsSpeakTheCurrentLanguage();

    void numberWords();
};

void TestLingua::textsFromTheSettingFilesLanguage()
{
    Ambiente env;
    QVERIFY(MLSCurrentLanguage.isEmpty());
    QCOMPARE(MLSGetString("0004"), QStringLiteral("zero"));
    QCOMPARE(MLSCurrentLanguage, QStringLiteral("Italiano"));
    QCOMPARE(MLSGetString("0003"), QStringLiteral("SÌ"));
    QCOMPARE(MLSGetString("0014"), QStringLiteral("dieci"));
    QCOMPARE(MLSGetString("8888"), QString());
    // The setting file is read only while no language is current.
    impostazione(env, "English");
    QCOMPARE(MLSGetString("0014"), QStringLiteral("dieci"));
}

void TestLingua::settingNamingAMissingLanguage()
{
    Ambiente env;
    impostazione(env, "Deutsch");
    QCOMPARE(MLSGetString("0004"), QString());
    QCOMPARE(MLSCurrentLanguage, QStringLiteral("Deutsch"));
    FormProva f;
    f.Load();
    MLSTranslateForm(&f);
    QCOMPARE(testi(f), testiDelLayout());
}

void TestLingua::settingInOtherLetterCase()
{
    Ambiente env;
    impostazione(env, "italiano");
    QCOMPARE(MLSGetString("0006"), QStringLiteral("due"));
    QCOMPARE(MLSCurrentLanguage, QStringLiteral("italiano"));
}

void TestLingua::withoutAUsableSettingTheProgramsOwnLanguage_data()
{
    QTest::addColumn<QByteArray>("setting");   // the setting file; empty: none
    QTest::addColumn<QString>("planted");      // where a language file lies, from the program folder
    QTest::addColumn<QStringList>("shipped");  // the language files beside the program
    QTest::addColumn<QString>("language");     // the one used
    const QStringList both{"English", "Italiano"};
    auto name = [](const char *n) { return QByteArray("[Language]\r\nCurrentLanguage=") + n + "\r\n"; };
    QTest::newRow("no setting file") << QByteArray() << QString() << both << "Italiano";
    QTest::newRow("no key") << QByteArray("[Language]\r\nOther=English\r\n") << QString() << both << "Italiano";
    QTest::newRow("empty name") << name("") << QString() << both << "Italiano";
    QTest::newRow("climbing, backslashes") << name("..\\altrove\\Finto") << "../altrove/Finto.lng" << both << "Italiano";
    QTest::newRow("climbing, slashes") << name("../Finto") << "../Finto.lng" << both << "Italiano";
    QTest::newRow("subfolder, backslash") << name("sotto\\Finto") << "sotto/Finto.lng" << both << "Italiano";
    QTest::newRow("subfolder, slash") << name("sotto/Finto") << "sotto/Finto.lng" << both << "Italiano";
    QTest::newRow("absolute path") << name("@/Finto") << "../Finto.lng" << both << "Italiano";
    QTest::newRow("drive") << name("C:\\Finto") << QString() << both << "Italiano";
    QTest::newRow("device name") << name("CON") << QString() << both << "Italiano";
    QTest::newRow("refused, only English shipped") << name("../Finto") << "../Finto.lng" << QStringList{"English"} << "English";
    QTest::newRow("refused, no language shipped") << name("../Finto") << "../Finto.lng" << QStringList{} << "";
}

void TestLingua::withoutAUsableSettingTheProgramsOwnLanguage()
{
    QFETCH(QByteArray, setting);
    QFETCH(QString, planted);
    QFETCH(QStringList, shipped);
    QFETCH(QString, language);
    Ambiente env;
    // "@" stands for the folder above the program's, the test's own.
    const QString sopra = QDir::cleanPath(env.program() + QStringLiteral("/.."));
    setting.replace("@", QFile::encodeName(sopra));
    for (const QString &f : QDir(env.program()).entryList({QStringLiteral("*.lng")}, QDir::Files))
        if (!shipped.contains(f.chopped(4))) QVERIFY(QFile::remove(env.program() + QLatin1Char('/') + f));
    const QString path = QDir::cleanPath(env.program() + QLatin1Char('/') + planted);
    if (!planted.isEmpty()) {
        QVERIFY(path.startsWith(sopra + QLatin1Char('/')));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(writeBytes(path, "[Strings]\r\n0001=\"non da qui\"\r\n[FormProva]\r\nLabel1.Caption=\"non da qui\"\r\n"));
    }
    QFile::remove(env.program() + QStringLiteral("/LangSetting.ini"));
    if (!setting.isEmpty()) QVERIFY(writeBytes(env.program() + QStringLiteral("/LangSetting.ini"), setting));

    // As when the setting file is missing: a language beside the program, the program's
    // own when it is there.
    const QString uno = language.isEmpty() ? QString() : language == QLatin1String("English") ? QStringLiteral("one") : QStringLiteral("uno");
    QCOMPARE(MLSGetString("0005"), uno);
    QCOMPARE(MLSCurrentLanguage, language);
    QVERIFY(MLSGetString("0001") != QStringLiteral("non da qui"));
    if (language.isEmpty()) {
        // Each call looks again, until a language file appears.
        QVERIFY(QFile::copy(qEnvironmentVariable("BRIVO_ASSETS") + QStringLiteral("/lang/Italiano.lng"),
                            env.program() + QStringLiteral("/Italiano.lng")));
        QCOMPARE(MLSGetString("0005"), QStringLiteral("uno"));
    }
    // A name that is not a plain file name names no file: a window keeps its layout texts.
    MLSCurrentLanguage = QString::fromLatin1(setting.mid(setting.indexOf('=') + 1).trimmed());
    if (!MLSCurrentLanguage.isEmpty() && !MLSPlainLanguageName(MLSCurrentLanguage)) {
        FormProva f;
        f.Load();
        QCOMPARE(testi(f), testiDelLayout());
    }
}

void TestLingua::sameRulesAboveAndBelow64000Bytes_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("small") << 0;
    QTest::newRow("64000 bytes") << 64000;
    QTest::newRow("64001 bytes") << 64001;
    QTest::newRow("100000 bytes") << 100000;
}

void TestLingua::sameRulesAboveAndBelow64000Bytes()
{
    QFETCH(int, size);
    Ambiente env;
    const QByteArray long600(600, 'z');
    // An earlier window's section holds the same keys: sections must count.
    QByteArray head = "[FormAltro]\r\n0001=\"sbagliato\"\r\nCommand1(0).Caption=\"sbagliato\"\r\n"
                      "Label1.Caption=\"sbagliato\"\r\n";
    const QByteArray tail = "[STRINGS]\r\n"
                            "0001=\"Ciao\"\r\n"
                            "0002=Ciao\r\n"
                            "0003=\"\"\r\n"
                            "0004\r\n"
                            "0005=x\r\n"
                            "0006 = \"spazi\"\r\n"
                            "0007=\"" + long600 + "\"\r\n"
                            "00080=\"longer key\"\r\n"
                            "[formprova]\r\n"
                            "command1(0).caption=\"Grande\"\r\n";
    if (size > 0) {
        // Padding of comment lines up to the exact size.
        const int rest = size - int(head.size() + tail.size());
        QVERIFY(rest > 4);
        QByteArray pad;
        while (pad.size() + 100 < rest) pad += "; " + QByteArray(96, 'p') + "\r\n";
        pad += "; " + QByteArray(rest - pad.size() - 4, 'p') + "\r\n";
        head += pad;
    }
    lingua(env, QStringLiteral("Grande"), head + tail);
    if (size > 0) QCOMPARE(QFileInfo(env.program() + QStringLiteral("/Grande.lng")).size(), qint64(size));

    QCOMPARE(MLSGetString("0001"), QStringLiteral("Ciao"));
    QCOMPARE(MLSGetString("0002"), QStringLiteral("Ciao"));
    QCOMPARE(MLSGetString("0003"), QString());
    QCOMPARE(MLSGetString("0004"), QString());
    QCOMPARE(MLSGetString("0005"), QStringLiteral("x"));
    QCOMPARE(MLSGetString("0006"), QStringLiteral("spazi"));
    QCOMPARE(MLSGetString("0007"), QString(long600.left(511)));
    QCOMPARE(MLSGetString("0008"), QString());

    FormProva f;
    f.Load();
    MLSTranslateForm(&f);
    QCOMPARE(f.control("Command1", 0)->Caption(), QStringLiteral("Grande"));
    QCOMPARE(f.control("Label1")->Caption(), QStringLiteral("L1"));
}

void TestLingua::writeIniReportsSuccess()
{
    Ambiente env;
    QVERIFY(MLSWriteIni(MLSSettingFile(), "Language", "CurrentLanguage", "English") != 0);
    QCOMPARE(readLines(env.program() + QStringLiteral("/LangSetting.ini")),
             (QStringList{"[Language]", "CurrentLanguage=English"}));
    QCOMPARE(MLSWriteIni(env.program() + QStringLiteral("\\manca\\LangSetting.ini"), "Language", "CurrentLanguage", "x"), 0);
}

void TestLingua::shippedFilesInWindows1252WithCrLf()
{
    const QDir dir(qEnvironmentVariable("BRIVO_ASSETS") + QStringLiteral("/lang"));
    const QStringList files = dir.entryList({QStringLiteral("*.lng")}, QDir::Files);
    QVERIFY(files.contains(QStringLiteral("Italiano.lng")));
    for (const QString &name : files) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        QVERIFY2(b.endsWith("\r\n"), qPrintable(name));
        for (qsizetype i = 0; i < b.size(); ++i) {
            const auto u = static_cast<unsigned char>(b[i]);
            const auto next = i + 1 < b.size() ? static_cast<unsigned char>(b[i + 1]) : 0u;
            const QString where = name + QStringLiteral(" byte %1").arg(i);
            QVERIFY2(u != '\n' || (i > 0 && b[i - 1] == '\r'), qPrintable(where + QStringLiteral(": bare line feed")));
            QVERIFY2(u != '\r' || next == '\n', qPrintable(where + QStringLiteral(": bare carriage return")));
            // Bytes that Windows-1252 leaves undefined, and the start of a UTF-8 sequence.
            QVERIFY2(u != 0x81 && u != 0x8D && u != 0x8F && u != 0x90 && u != 0x9D, qPrintable(where));
            QVERIFY2(!(u >= 0xC2 && u <= 0xF4 && next >= 0x80 && next <= 0xBF), qPrintable(where + QStringLiteral(": UTF-8")));
        }
    }
}

// "[Section] key" of every entry of a shipped language file, as the reader matches them.
static QStringList chiaviDi(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList chiavi;
    QString sezione;
    for (const QByteArray &riga : f.readAll().split('\n')) {
        const QString r = QString::fromLatin1(riga).trimmed();
        if (r.startsWith(QLatin1Char('[')) && r.endsWith(QLatin1Char(']'))) sezione = r.toLower();
        else if (r.contains(QLatin1Char('='))) chiavi << sezione + QLatin1Char(' ') + r.section(QLatin1Char('='), 0, 0).trimmed().toLower();
    }
    return chiavi;
}

void TestLingua::everyLanguageHasEveryItalianKey()
{
    // A key missing from a translation shows an empty text there (the start window's title,
    // once): every language file gives every text the Italian one gives.
    const QDir dir(qEnvironmentVariable("BRIVO_ASSETS") + QStringLiteral("/lang"));
    const QStringList italiane = chiaviDi(dir.filePath(QStringLiteral("Italiano.lng")));
    QVERIFY(italiane.contains(QStringLiteral("[formavvio] formavvio.caption")));
    for (const QString &name : dir.entryList({QStringLiteral("*.lng")}, QDir::Files)) {
        const QStringList chiavi = chiaviDi(dir.filePath(name));
        QStringList mancanti;
        for (const QString &k : italiane)
            if (!chiavi.contains(k)) mancanti << k;
        QVERIFY2(mancanti.isEmpty(), qPrintable(name + QStringLiteral(": ") + mancanti.join(QStringLiteral(", "))));
    }
}

void TestLingua::translationReplacesTexts()
{
    Ambiente env;
    lingua(env, QStringLiteral("Prova"),
           "[Strings]\r\n"
           "FormProva.Caption=\"from the wrong section\"\r\n"
           "[FormProva]\r\n"
           "FormProva.Caption=\"Finestra tradotta\"\r\n"
           "FormProva.Tag=\"tag finestra\"\r\n"
           "FormProva.ToolTipText=\"a window has none\"\r\n"
           "Label1.Caption=\"Etichetta\"\r\n"
           "Label1.ToolTipText=\"Suggerimento\"\r\n"
           "Label1.Tag=\"@LT\"\r\n"
           "Command1.Caption=\"no index\"\r\n"
           "Command1(0).Caption=\"Primo\"\r\n"
           "Command1(1).ToolTipText=\"Secondo\"\r\n"
           "Image1.Caption=\"an image has no caption\"\r\n"
           "Image1.Tag=\"immagine\"\r\n"
           "Shape1.Tag=\"forma\"\r\n"
           "Line1.Tag=\"linea\"\r\n"
           "Timer1.Tag=\"orologio\"\r\n"
           "Frame1.Caption=\"\"\r\n"
           "TabStrip1.TabCaption(0)=\"not by tab index\"\r\n"
           "mnuEsci.Caption=\"Esci subito\"\r\n");
    FormProva f;
    f.Load();
    MLSTranslateForm(&f);
    QCOMPARE(f.Caption(), QStringLiteral("Finestra tradotta"));
    QCOMPARE(f.window()->windowTitle(), QStringLiteral("Finestra tradotta"));
    QCOMPARE(f.Tag(), QStringLiteral("tag finestra"));
    Control *l = f.control("Label1");
    QCOMPARE(l->Caption(), QStringLiteral("Etichetta"));
    QCOMPARE(l->ToolTipText(), QStringLiteral("Suggerimento"));
    QCOMPARE(l->widget()->toolTip(), QStringLiteral("Suggerimento"));
    QCOMPARE(l->Tag(), QStringLiteral("@LT"));
    QCOMPARE(f.control("Command1", 0)->Caption(), QStringLiteral("Primo"));
    QCOMPARE(f.control("Command1", 1)->Caption(), QStringLiteral("C1"));
    QCOMPARE(f.control("Command1", 1)->ToolTipText(), QStringLiteral("Secondo"));
    QCOMPARE(f.control("Image1")->Caption(), QString());
    QCOMPARE(f.control("Image1")->Tag(), QStringLiteral("immagine"));
    QCOMPARE(f.control("Shape1")->Tag(), QStringLiteral("forma"));
    QCOMPARE(f.control("Line1")->Tag(), QStringLiteral("linea"));
    QCOMPARE(f.control("Timer1")->Tag(), QStringLiteral("orologio"));
    QCOMPARE(f.control("Frame1")->Caption(), QStringLiteral("F")); // an empty text keeps the layout's
    QCOMPARE(f.control("TabStrip1")->TabCaption(0), QStringLiteral("Uno"));
    QCOMPARE(f.control("mnuEsci")->Caption(), QStringLiteral("Esci subito"));
    QCOMPARE(f.control("mnuEsci")->action()->text(), QStringLiteral("Esci subito"));
    QCOMPARE(f.control("mnuFile")->Caption(), QStringLiteral("File"));
}

void TestLingua::missingKeysEmptyOnlyTheWindowsTexts()
{
    Ambiente env;
    for (const QByteArray &file : {QByteArray("[FormProva]\r\nOther.Caption=\"x\"\r\n"),
                                   QByteArray("[Strings]\r\n0001=\"x\"\r\n")}) {
        lingua(env, QStringLiteral("Prova"), file);
        FormProva f;
        f.Load();
        MLSTranslateForm(&f);
        QStringList want = testiDelLayout();
        want[0] = QString();
        want[1] = QString();
        QCOMPARE(testi(f), want);
        QCOMPARE(f.window()->windowTitle(), QString());
    }
}

void TestLingua::emptyWindowCaptionStaysEmpty()
{
    Ambiente env;
    lingua(env, QStringLiteral("Prova"),
           "[FormProva]\r\nFormProva.Caption=\"Titolo\"\r\nFormProva.Tag=\"tag finestra\"\r\n");
    FormProva f{QString()};
    f.Load();
    MLSTranslateForm(&f);
    QCOMPARE(f.Caption(), QString());
    QCOMPARE(f.Tag(), QStringLiteral("tag finestra"));

    // Nor does one emptied by an earlier translation come back.
    FormProva g;
    g.Load();
    lingua(env, QStringLiteral("Vuota"), "[FormProva]\r\n");
    MLSTranslateForm(&g);
    QCOMPARE(g.Caption(), QString());
    MLSCurrentLanguage = QStringLiteral("Prova");
    MLSTranslateForm(&g);
    QCOMPARE(g.Caption(), QString());
}

void TestLingua::noLanguageFileKeepsLayoutTexts()
{
    Ambiente env(false);
    FormProva f;
    f.Load();
    MLSTranslateForm(&f); // no language yet: the file ".lng"
    QCOMPARE(testi(f), testiDelLayout());
    MLSCurrentLanguage = QStringLiteral("Italiano");
    MLSTranslateForm(&f);
    QCOMPARE(testi(f), testiDelLayout());
    QCOMPARE(MLSGetString("0004"), QString());
}

void TestLingua::translationLetsEventsRun()
{
    Ambiente env;
    FormProva f;
    f.Load();
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    MLSTranslateForm(&f);
    QVERIFY(ran);
}

void TestLingua::windowUnloadedDuringTranslation()
{
    Ambiente env;
    lingua(env, QStringLiteral("Prova"), "[FormProva]\r\nCommand1(1).Caption=\"tardi\"\r\n");
    QPointer<FormProva> f = new FormProva;
    f->Load();
    QTimer::singleShot(0, f.data(), [&] { f->Unload(); });
    MLSTranslateForm(f);
    QVERIFY(f && f->wasUnloaded());
    QCOMPARE(f->control("Command1", 1)->Caption(), QStringLiteral("C1"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f);
}

void TestLingua::startWindowIsTranslatedOnLoad()
{
    Ambiente env;
    impostazione(env, "English");
    // No language is current until a text is asked for: the layout texts stay.
    FormAvvio &a = Default<FormAvvio>();
    QCOMPARE(a.Command1->Caption(), QStringLiteral("Avvio"));
    QCOMPARE(a.Caption(), QStringLiteral("Brivomarte"));
    a.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(MLSGetString("0004"), QStringLiteral("zero"));
    FormAvvio &b = Default<FormAvvio>();
    QCOMPARE(b.Command1->Caption(), QStringLiteral("Start"));
    QCOMPARE(b.Label2[1]->Caption(), QStringLiteral("Maths exercises"));
    QCOMPARE(b.Caption(), QStringLiteral("Brivomarte")); // from the file: a key it lacked would empty it
    b.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Ridimensionatore.reset();
}

void TestLingua::qtDialogsSpeakTheCurrentLanguage()
{
    Ambiente env;
    const auto testo = [](QDialogButtonBox::StandardButton b) { return QDialogButtonBox(b).button(b)->text(); };
    FormProva f;
    f.Load();
    const auto traduci = [&](const QString &lingua) {
        MLSCurrentLanguage = lingua;
        MLSTranslateForm(&f);
    };
    traduci(QStringLiteral("Italiano"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annulla"));
    QCOMPARE(testo(QDialogButtonBox::Cancel), QStringLiteral("Annulla"));
    QCOMPARE(testo(QDialogButtonBox::Save), QStringLiteral("Salva"));
    traduci(QStringLiteral("English"));
    QCOMPARE(testo(QDialogButtonBox::Cancel), QStringLiteral("Cancel"));
    traduci(QStringLiteral("italiano"));
    QCOMPARE(testo(QDialogButtonBox::Cancel), QStringLiteral("Annulla"));
    // A language Qt has no name for leaves Qt's own texts in English.
    traduci(QStringLiteral("Prova"));
    QCOMPARE(testo(QDialogButtonBox::Save), QStringLiteral("Save"));
}

void TestLingua::numberWords()
{
    {
        Ambiente env;
        CaricaNumeriInLettere();
        QCOMPARE(NumeriInLettere[0], QStringLiteral("zero"));
        QCOMPARE(NumeriInLettere[7], QStringLiteral("sette"));
        QCOMPARE(NumeriInLettere[10], QStringLiteral("dieci"));
    }
    {
        Ambiente env;
        impostazione(env, "English");
        CaricaNumeriInLettere();
        const QStringList want = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten"};
        for (int k = 0; k <= 10; ++k) QCOMPARE(NumeriInLettere[k], want[k]);
    }
    {
        Ambiente env(false);
        CaricaNumeriInLettere();
        for (const QString &w : NumeriInLettere) QVERIFY(w.isEmpty());
    }
}

QTEST_MAIN(TestLingua)
#include "tst_lingua.moc"
