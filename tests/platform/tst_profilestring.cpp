// The sections-and-keys reader and writer, and how the windows' paths are found on disk.
#include "TestSupport.h"
#include "platform/Paths.h"
#include "platform/ProfileString.h"
#include "platform/Text8.h"
#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QtTest>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::readProfileString;
using platform::writeProfileString;

namespace {

QString lookup(const QString &file, const QString &section, const QString &key)
{
    QString v = QStringLiteral("untouched");
    if (!readProfileString(file, section, key, v)) return QStringLiteral("<failed>");
    return v;
}

} // namespace

class TestProfileString : public QObject {
    Q_OBJECT

private slots:
    void readerRules_data();
    void readerRules();
    void missingFileFailsWithEmptyValue();
    void valuesAreCutAt511Characters();
    void decodesWindows1252AndUtf8();
    void writerCreatesFileAndSection();
    void writerReplacesInPlaceAndKeepsOtherLines();
    void writerAddsKeyBehindLastEntryOfSection();
    void writerKeepsTheFilesEncoding();
    void writerFailsWhereNothingCanBeWritten();
    void rewrittenFileIsReadAfresh();
    void unchangedFileIsNotReadAgain_data();
    void unchangedFileIsNotReadAgain();
    void localPathIgnoresLetterCase();
    void listingMatchesPatternWithoutCase();
    void keptListingSeesAChange();
};

static const QByteArray kSample =
    "Orphan=before any section\r\n"
    "[Strings]\r\n"
    "0001=\"Ciao\"\r\n"
    "  Spaced   =   \"  inner blanks kept  \"   \r\n"
    "Plain=Ciao\r\n"
    "MiXeD=case of the key\r\n"
    "dup=first\r\n"
    "dup=second\r\n"
    "Empty=\r\n"
    "Quotes=\"\"\r\n"
    "Single='apostrophes'\r\n"
    "Half=\"only opening\r\n"
    "Equals=a=b\r\n"
    "KeyAlone\r\n"
    "=no key\r\n"
    "\r\n"
    "[ Other Window ]\r\n"
    "0001=\"Altro\"\r\n"
    "Command1(0).Caption=\"Primo\"\r\n"
    "[STRINGS]\r\n"
    "late=\"in a repeated section\"\r\n";

void TestProfileString::readerRules_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("quotes dropped") << "Strings" << "0001" << "Ciao";
    QTest::newRow("section name case") << "sTrInGs" << "0001" << "Ciao";
    QTest::newRow("blanks round equals, not inside quotes") << "Strings" << "spaced" << "  inner blanks kept  ";
    QTest::newRow("value without quotes whole") << "Strings" << "Plain" << "Ciao";
    QTest::newRow("key name case") << "Strings" << "mixed" << "case of the key";
    QTest::newRow("first entry wins") << "Strings" << "dup" << "first";
    QTest::newRow("empty value") << "Strings" << "Empty" << "";
    QTest::newRow("empty quotes") << "Strings" << "Quotes" << "";
    QTest::newRow("single quotes dropped") << "Strings" << "Single" << "apostrophes";
    QTest::newRow("unpaired quote kept") << "Strings" << "Half" << "\"only opening";
    QTest::newRow("equals sign inside value") << "Strings" << "Equals" << "a=b";
    QTest::newRow("key without equals is no entry") << "Strings" << "KeyAlone" << "";
    QTest::newRow("entry before any section") << "Strings" << "Orphan" << "";
    QTest::newRow("same key, other section") << "Other Window" << "0001" << "Altro";
    QTest::newRow("array member key") << "other window" << "COMMAND1(0).CAPTION" << "Primo";
    QTest::newRow("sections count") << "Other Window" << "Plain" << "";
    QTest::newRow("repeated section adds nothing") << "Strings" << "late" << "";
    QTest::newRow("missing section") << "Nowhere" << "0001" << "";
    QTest::newRow("missing key") << "Strings" << "9999" << "";
}

void TestProfileString::readerRules()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    Ambiente env;
    const QString file = env.program() + QStringLiteral("/sample.lng");
    writeBytes(file, kSample);
    QCOMPARE(lookup(file, section, key), expected);
    // The same file with bare line feeds reads the same.
    const QString lf = env.program() + QStringLiteral("/sample_lf.lng");
    writeBytes(lf, QByteArray(kSample).replace("\r\n", "\n"));
    QCOMPARE(lookup(lf, section, key), expected);
}

void TestProfileString::missingFileFailsWithEmptyValue()
{
    Ambiente env;
    QString v = QStringLiteral("stale");
    QVERIFY(!readProfileString(env.program() + QStringLiteral("/none.lng"), QStringLiteral("Strings"),
                               QStringLiteral("0001"), v));
    QVERIFY(v.isEmpty());
    // A folder of that name is not a file either.
    QDir(env.program()).mkdir(QStringLiteral("folder.lng"));
    QVERIFY(!readProfileString(env.program() + QStringLiteral("/folder.lng"), QStringLiteral("Strings"),
                               QStringLiteral("0001"), v));
}

void TestProfileString::valuesAreCutAt511Characters()
{
    Ambiente env;
    QString long600;
    for (int i = 0; i < 600; ++i) long600 += QChar('a' + i % 26);
    const QString exact511 = long600.left(511);
    const QString file = env.program() + QStringLiteral("/long.lng");
    writeBytes(file, "[S]\r\nquoted=\"" + long600.toLatin1() + "\"\r\nbare=" + long600.toLatin1() + "\r\nexact=\""
                         + exact511.toLatin1() + "\"\r\nshort=\"" + long600.left(510).toLatin1() + "\"\r\n");
    QCOMPARE(lookup(file, "S", "quoted"), exact511);
    QCOMPARE(lookup(file, "S", "bare"), exact511);
    QCOMPARE(lookup(file, "S", "exact"), exact511);
    QCOMPARE(lookup(file, "S", "short"), long600.left(510));
}

void TestProfileString::decodesWindows1252AndUtf8()
{
    Ambiente env;
    const QString cp = env.program() + QStringLiteral("/cp1252.lng");
    writeBytes(cp, "[Strings]\r\n0001=\"perch\xe8 \x80 \x93x\x94\"\r\n");
    QCOMPARE(lookup(cp, "Strings", "0001"), QStringLiteral("perchè € “x”"));

    const QString utf = env.program() + QStringLiteral("/utf8.lng");
    writeBytes(utf, "\xef\xbb\xbf[Strings]\r\n0001=\"perch\xc3\xa8 S\xc3\x8c\"\r\n");
    QCOMPARE(lookup(utf, "Strings", "0001"), QStringLiteral("perchè SÌ"));

    QCOMPARE(platform::decode8bit(platform::encodeCp1252(QStringLiteral("è€ÿ"))), QStringLiteral("è€ÿ"));
    QCOMPARE(platform::encodeCp1252(QStringLiteral("a\u4e2db")), QByteArray("a?b"));
}

void TestProfileString::writerCreatesFileAndSection()
{
    Ambiente env;
    const QString file = env.program() + QStringLiteral("/LangSetting.new");
    QVERIFY(writeProfileString(file, "Language", "CurrentLanguage", "Italiano"));
    QCOMPARE(readBytes(file), QByteArray("[Language]\r\nCurrentLanguage=Italiano\r\n"));

    QVERIFY(writeProfileString(file, "Other", "Key", "Value"));
    QCOMPARE(readBytes(file), QByteArray("[Language]\r\nCurrentLanguage=Italiano\r\n[Other]\r\nKey=Value\r\n"));
    QCOMPARE(lookup(file, "language", "currentlanguage"), QStringLiteral("Italiano"));
}

void TestProfileString::writerReplacesInPlaceAndKeepsOtherLines()
{
    Ambiente env;
    const QString file = env.program() + QStringLiteral("/keep.ini");
    // Bare line feeds come back as CR LF; every other line is kept as it was.
    writeBytes(file, "; comment\n[First]\nCurrentLanguage=not this one\n[language]\nbefore = 1\n"
                     "  currentlanguage =  Old\nafter=2\n[Last]\nCurrentLanguage=nor this\n");
    QVERIFY(writeProfileString(file, "Language", "CurrentLanguage", "English"));
    QCOMPARE(readBytes(file),
             QByteArray("; comment\r\n[First]\r\nCurrentLanguage=not this one\r\n[language]\r\nbefore = 1\r\n"
                        "CurrentLanguage=English\r\nafter=2\r\n[Last]\r\nCurrentLanguage=nor this\r\n"));
    QCOMPARE(lookup(file, "Language", "CurrentLanguage"), QStringLiteral("English"));
    QCOMPARE(lookup(file, "First", "CurrentLanguage"), QStringLiteral("not this one"));
}

void TestProfileString::writerAddsKeyBehindLastEntryOfSection()
{
    Ambiente env;
    const QString file = env.program() + QStringLiteral("/add.ini");
    writeBytes(file, "[Language]\r\na=1\r\n\r\n[Other]\r\nb=2\r\n");
    QVERIFY(writeProfileString(file, "Language", "CurrentLanguage", "Italiano"));
    QCOMPARE(readBytes(file), QByteArray("[Language]\r\na=1\r\nCurrentLanguage=Italiano\r\n\r\n[Other]\r\nb=2\r\n"));
}

void TestProfileString::writerKeepsTheFilesEncoding()
{
    Ambiente env;
    // A file in the system's code page stays in it...
    const QString cp = env.program() + QStringLiteral("/cp.ini");
    writeBytes(cp, "[S]\r\nold=\"gi\xe0\"\r\n");
    QVERIFY(writeProfileString(cp, "S", "new", QStringLiteral("più")));
    QCOMPARE(readBytes(cp), QByteArray("[S]\r\nold=\"gi\xe0\"\r\nnew=pi\xf9\r\n"));
    QCOMPARE(lookup(cp, "S", "new"), QStringLiteral("più"));
    // ...and a UTF-8 file in UTF-8.
    const QString utf = env.program() + QStringLiteral("/utf.ini");
    writeBytes(utf, "[S]\r\nold=\"gi\xc3\xa0\"\r\n");
    QVERIFY(writeProfileString(utf, "S", "new", QStringLiteral("più")));
    QCOMPARE(readBytes(utf), QByteArray("[S]\r\nold=\"gi\xc3\xa0\"\r\nnew=pi\xc3\xb9\r\n"));
    // A new file is written in the code page.
    const QString fresh = env.program() + QStringLiteral("/fresh.ini");
    QVERIFY(writeProfileString(fresh, "S", "k", QStringLiteral("è")));
    QCOMPARE(readBytes(fresh), QByteArray("[S]\r\nk=\xe8\r\n"));
}

void TestProfileString::writerFailsWhereNothingCanBeWritten()
{
    Ambiente env;
    QVERIFY(!writeProfileString(env.program() + QStringLiteral("/missing/folder/x.ini"), "S", "k", "v"));
    QVERIFY(!QFileInfo::exists(env.program() + QStringLiteral("/missing")));
    QDir(env.program()).mkdir(QStringLiteral("adir.ini"));
    QVERIFY(!writeProfileString(env.program() + QStringLiteral("/adir.ini"), "S", "k", "v"));
    QVERIFY(QFileInfo(env.program() + QStringLiteral("/adir.ini")).isDir());
}

void TestProfileString::rewrittenFileIsReadAfresh()
{
    Ambiente env;
    const QString file = env.program() + QStringLiteral("/changing.lng");
    writeBytes(file, "[S]\r\nk=\"first\"\r\n");
    QCOMPARE(lookup(file, "S", "k"), QStringLiteral("first"));
    // Our own writer: seen at once.
    QVERIFY(writeProfileString(file, "S", "k", "\"other\""));
    QCOMPARE(lookup(file, "S", "k"), QStringLiteral("other"));
    // Replaced by someone else with a file of another length.
    writeBytes(file, "[S]\r\nk=\"third value\"\r\n");
    QCOMPARE(lookup(file, "S", "k"), QStringLiteral("third value"));
    // Deleted: the lookup fails again.
    QFile::remove(file);
    QCOMPARE(lookup(file, "S", "k"), QStringLiteral("<failed>"));
}

void TestProfileString::unchangedFileIsNotReadAgain_data()
{
    QTest::addColumn<int>("secondsFromNow");
    QTest::newRow("time in the future") << 86400;
    QTest::newRow("written just now") << 0;
    QTest::newRow("old file") << -86400;
}

void TestProfileString::unchangedFileIsNotReadAgain()
{
    QFETCH(int, secondsFromNow);
    Ambiente env;
    const QString file = env.program() + QStringLiteral("/Lingua.lng");
    writeBytes(file, "[S]\r\nk=\"first\"\r\n");
    const QDateTime when = QDateTime::currentDateTime().addSecs(secondsFromNow);
    auto setTime = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime);
    };
    QVERIFY(setTime());
    QCOMPARE(lookup(file, "S", "k"), QStringLiteral("first"));

    // Every opening of the file is seen.
    const int fd = inotify_init1(IN_NONBLOCK);
    QVERIFY(fd >= 0);
    QVERIFY(inotify_add_watch(fd, QFile::encodeName(file).constData(), IN_OPEN) >= 0);
    for (int i = 0; i < 50; ++i) QCOMPARE(lookup(file, "S", "k"), QStringLiteral("first"));
    alignas(inotify_event) char buf[4096];
    const ssize_t n = read(fd, buf, sizeof buf);
    close(fd);
    QCOMPARE(n, ssize_t(-1)); // no event: the file was not opened again

    // Changed in place to the same size and given back its time: read again all the same.
    writeBytes(file, "[S]\r\nk=\"other\"\r\n");
    QVERIFY(setTime());
    QCOMPARE(lookup(file, "S", "k"), QStringLiteral("other"));
}

void TestProfileString::localPathIgnoresLetterCase()
{
    Ambiente env;
    QDir(env.root()).mkpath(QStringLiteral("BrivoMarte/utenti"));
    const QString real = env.file(QStringLiteral("BrivoMarte/utenti/_predefinito.ini"));
    writeBytes(real, "x");

    const QString atStart = QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\brivomarte\\utenti\\_predefinito.INI");
    const QString bySwitch = QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\BrivoMarte\\utenti\\_predefinito.ini");
    QCOMPARE(platform::localPath(atStart), real);
    QCOMPARE(platform::localPath(bySwitch), real);
    QCOMPARE(platform::localPath(QStringLiteral("c:\\impostazioniprogrammitesmo\\BRIVOMARTE\\UTENTI\\")),
             env.file(QStringLiteral("BrivoMarte/utenti/")));
    QCOMPARE(platform::localPath(QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\")), env.root() + QLatin1Char('/'));

    // What does not exist yet keeps the spelling given, below the parts that do.
    QCOMPARE(platform::localPath(QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\brivomarte\\UTENTI\\Nuovo.INI")),
             env.file(QStringLiteral("BrivoMarte/utenti/Nuovo.INI")));
    QCOMPARE(platform::localPath(QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\brivomarte\\Dati\\Mario\\")),
             env.file(QStringLiteral("BrivoMarte/Dati/Mario/")));
    // Only the whole folder name is the settings root.
    QVERIFY(!platform::localPath(QStringLiteral("C:\\ImpostazioniProgrammiTesmoBis\\x")).startsWith(env.root()));

    // Paths beside the program, built with backslashes.
    writeBytes(env.program() + QStringLiteral("/Deutsch.LNG"), "[Strings]\r\n0001=\"Hallo\"\r\n");
    QCOMPARE(platform::localPath(env.program() + QStringLiteral("\\deutsch.lng")), env.program() + QStringLiteral("/Deutsch.LNG"));
    QCOMPARE(lookup(env.program() + QStringLiteral("\\DEUTSCH.lng"), "Strings", "0001"), QStringLiteral("Hallo"));

    // Writing through either spelling changes the one file.
    QVERIFY(writeProfileString(atStart, "S", "k", "v"));
    QCOMPARE(QDir(env.file(QStringLiteral("BrivoMarte/utenti"))).entryList(QDir::Files),
             QStringList{QStringLiteral("_predefinito.ini")});
    QCOMPARE(lookup(bySwitch, "S", "k"), QStringLiteral("v"));
}

void TestProfileString::listingMatchesPatternWithoutCase()
{
    Ambiente env(false);
    const QString dir = env.program();
    for (const char *n : {"b.lng", "A.LNG", "c.lngx", "d.txt"}) writeBytes(dir + QLatin1Char('/') + QLatin1String(n), "x");
    QDir(dir).mkdir(QStringLiteral("folder.lng"));
    // A pipe and a device, which would block or read without end, are never listed.
    QCOMPARE(mkfifo(QFile::encodeName(dir + QStringLiteral("/pipe.lng")).constData(), 0644), 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), dir + QStringLiteral("/zero.lng")));

    QStringList names;
    QVERIFY(platform::listFolder(dir, QStringLiteral("*.lng"), true, names));
    QCOMPARE(names, (QStringList{QStringLiteral("A.LNG"), QStringLiteral("b.lng")}));
    QVERIFY(platform::listFolder(dir, QStringLiteral("*.lng"), false, names));
    QCOMPARE(names, (QStringList{QStringLiteral("A.LNG"), QStringLiteral("b.lng"), QStringLiteral("folder.lng")}));
    QVERIFY(!platform::listFolder(dir + QStringLiteral("/nowhere"), QStringLiteral("*.lng"), true, names));
}

namespace {
qint64 g_ora = 0; // the listing's clock, in nanoseconds
qint64 ora() { return g_ora; }
qint64 nanosecondi(const timespec &t) { return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }
} // namespace

void TestProfileString::keptListingSeesAChange()
{
    Ambiente env(false);
    const QString dir = env.program();
    const QByteArray nativo = QFile::encodeName(dir);
    struct Ripristina {
        ~Ripristina() { platform::setListingClockForTest(nullptr); }
    } ripristina;
    platform::setListingClockForTest(ora);
    struct stat st;
    QCOMPARE(::stat(nativo.constData(), &st), 0);
    // An hour on, as the listing's clock sees it: what the folder holds now has lasted.
    g_ora = nanosecondi(st.st_ctim) + 3600LL * 1'000'000'000;
    // Each change below then moves the folder's modification time from an hour ago to now,
    // however soon it follows (the file system's clock may not have moved meanwhile).
    auto indietro = [&] {
        timespec tempi[2] = {{0, UTIME_OMIT}, {st.st_mtim.tv_sec - 3600, 0}};
        return ::utimensat(AT_FDCWD, nativo.constData(), tempi, 0) == 0;
    };
    auto elenco = [&] {
        QStringList names;
        platform::listFolder(dir, QStringLiteral("*.lng"), true, names);
        return names;
    };

    QVERIFY(writeBytes(dir + QStringLiteral("/a.lng"), "x"));
    QVERIFY(indietro());
    QCOMPARE(elenco(), QStringList{QStringLiteral("a.lng")});
    // Kept: the folder is not read again while it stays as it was...
    QStringList visti;
    const int letture = apertureCartella(dir, [&] { visti = elenco(); });
    if (letture < 0) QSKIP("no inotify here");
    QCOMPARE(letture, 0);
    QCOMPARE(visti, QStringList{QStringLiteral("a.lng")});
    // ...and an entry that comes or goes is seen.
    QVERIFY(writeBytes(dir + QStringLiteral("/b.lng"), "x"));
    QCOMPARE(elenco(), (QStringList{QStringLiteral("a.lng"), QStringLiteral("b.lng")}));
    QVERIFY(indietro());
    QCOMPARE(elenco(), (QStringList{QStringLiteral("a.lng"), QStringLiteral("b.lng")}));
    QVERIFY(QFile::remove(dir + QStringLiteral("/a.lng")));
    QCOMPARE(elenco(), QStringList{QStringLiteral("b.lng")});
    // One kept listing answers each kind of list asked of it with its own, again and again.
    QVERIFY(writeBytes(dir + QStringLiteral("/c.ini"), "x"));
    QVERIFY(QDir(dir).mkdir(QStringLiteral("d.lng")));
    QVERIFY(indietro());
    for (int volta = 0; volta < 2; ++volta) {
        QStringList names;
        QVERIFY(platform::listFolder(dir, QStringLiteral("*.lng"), true, names));
        QCOMPARE(names, QStringList{QStringLiteral("b.lng")});
        QVERIFY(platform::listFolder(dir, QStringLiteral("*.ini"), true, names));
        QCOMPARE(names, QStringList{QStringLiteral("c.ini")});
        QVERIFY(platform::listFolder(dir, QStringLiteral("*.lng"), false, names));
        QCOMPARE(names, (QStringList{QStringLiteral("b.lng"), QStringLiteral("d.lng")}));
    }

    // Within a tick of the file system's clock of the folder's last change, a second change
    // may leave its times as they are: a listing taken then is not kept.
    QVERIFY(writeBytes(dir + QStringLiteral("/c.lng"), "x"));
    QCOMPARE(::stat(nativo.constData(), &st), 0);
    g_ora = nanosecondi(st.st_ctim) + 1'000'000'000;
    const QStringList ultimi{QStringLiteral("b.lng"), QStringLiteral("c.lng")};
    QCOMPARE(elenco(), ultimi);
    QCOMPARE(apertureCartella(dir, [&] { visti = elenco(); }), 1);
    QCOMPARE(visti, ultimi);
}

QTEST_MAIN(TestProfileString)
#include "tst_profilestring.moc"
