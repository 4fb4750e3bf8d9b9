// User profiles, the settings folders with their readme, and the activity record.
#include "TestSupport.h"
#include "modLanguageSupport.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/RichText.h"
#include "shell/ModuloPerIni.h"
#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <QtTest>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kStartPath = QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\brivomarte\\utenti\\_predefinito.INI");

QByteArray crlf(const QStringList &lines)
{
    QByteArray b;
    for (const QString &l : lines) b += l.toLatin1() + "\r\n";
    return b;
}

// All 21 settings in one line, so that a comparison shows which one differs.
QString impostazioni()
{
    auto n = [](double v) { return QString::number(v, 'f', 0); };
    auto b = [](bool v) { return v ? QStringLiteral("T") : QStringLiteral("F"); };
    return QStringList{TipoCarattere, QString::number(RappresentazionePrima), QString::number(RappresentazioneSeconda),
                       QString::number(NumeroMassimo), b(SuoniAttivi), b(TieniTraccia), b(DisabilitaControlloAlunno),
                       n(ColoreDisegno1), n(ColoreDisegno2), n(ColoreSfondo1), n(ColoreSfondo2),
                       n(ColoreSfondoFinestra), b(ColoreCasuale), b(DisabilitaMousePersonalizzato),
                       QString::number(TipoScansione), QString::number(VelocitaScansione), b(RipartiDallInizio),
                       b(ConRiquadro), QString::number(DimensioneRiquadro), n(ColoreBottoni), n(ColoreScansione)}
        .join(QLatin1Char('|'));
}

// The defaults, as impostazioni() shows them. A constant, not ImpostaPredefiniti(): a
// comparison may evaluate its expected side first.
QString predefiniti()
{
    return QStringLiteral("maiuscolo|1|4|10|T|F|F|255|16711680|16777215|12648447|16777152|T|F|0|4|F|F|9|-2147483633|255");
}

const QStringList kDefaultLines = {
    "maiuscolo", " 1 ", " 4 ", " 10 ", "True", "False", "False", " 255 ", " 16711680 ", " 16777215 ", " 12648447 ",
    " 16777152 ", "True", "False", " 0 ", " 4 ", "False", "False", " 9 ", "-2147483633 ", " 255 "};

// A valid profile in which every setting differs from its default.
const QStringList kOtherLines = {
    "minuscolo", " 3 ", " 5 ", " 7 ", "False", "True", "True", " 65280 ", " 0 ", " 8421504 ", "-2147483643 ",
    " 16777215 ", "False", "True", " 2 ", " 12 ", "True", "True", " 15 ", " 12632256 ", "-2147483635 "};
const QString kOtherSettings = QStringLiteral(
    "minuscolo|3|5|7|F|T|T|65280|0|8421504|-2147483643|16777215|F|T|2|12|T|T|15|12632256|-2147483635");

// Makes the folders and points the current user at a profile of the given name.
void utente(const QString &nome)
{
    CreaCartelle();
    NomeUtente = nome;
    FileUtente = PercorsoProfilo(nome);
}

void scriviProfilo(const Ambiente &env, const QByteArray &bytes)
{
    writeBytes(env.file(QStringLiteral("BrivoMarte/utenti/") + NomeUtente + QStringLiteral(".ini")), bytes);
}

// Counts how often the readme is put in place while `work` runs.
int scritture(const QString &folder, const std::function<void()> &work)
{
    const auto eventi = eventiCartella(folder, IN_CREATE | IN_MOVED_TO, work);
    if (!eventi) return -1;
    return int(std::count_if(eventi->begin(), eventi->end(), [](const EventoCartella &e) { return e.nome == QLatin1String("leggimi.txt"); }));
}

QByteArray leggimiAtteso()
{
    QByteArray b;
    for (const QString &l : {MLSGetString("0031"), QStringLiteral(" "), MLSGetString("0032"), QStringLiteral(" "),
                             MLSGetString("0033")})
        b += l.toUtf8() + "\r\n";
    return b;
}

} // namespace

class TestProfilo : public QObject {
    Q_OBJECT

private slots:
    void defaultProfileByteForByte();
    void bothSpellingsOfTheDefaultPathAreOneFile();
    void missingProfileGivesDefaults();
    void incompleteProfileGivesDefaults_data();
    void incompleteProfileGivesDefaults();
    void firstLineDecidesLetterCase_data();
    void firstLineDecidesLetterCase();
    void booleanLinesNeedCapitalT_data();
    void booleanLinesNeedCapitalT();
    void defaultUserAlwaysLetsThePupilChoose_data();
    void defaultUserAlwaysLetsThePupilChoose();
    void roundTrip_data();
    void roundTrip();
    void outOfRangeValuesAreBroughtIntoRange_data();
    void outOfRangeValuesAreBroughtIntoRange();
    void unreadableNumberGivesAllDefaults_data();
    void unreadableNumberGivesAllDefaults();
    void profileWriteFailureIsReported_data();
    void profileWriteFailureIsReported();
    void fullDiskLeavesEveryFileAsItWas_data();
    void fullDiskLeavesEveryFileAsItWas();
    void profileThatIsNoOrdinaryFile_data();
    void profileThatIsNoOrdinaryFile();
    void failedSystemCallsLeaveTheProfileAsItWas_data();
    void failedSystemCallsLeaveTheProfileAsItWas();
    void linkLeadingOutOfItsFolderIsNotWrittenThrough_data();
    void linkLeadingOutOfItsFolderIsNotWrittenThrough();

    void firstRunMakesTheWholeTree();
    void readmeWrittenOnceWhenFoldersAreMade_data();
    void readmeWrittenOnceWhenFoldersAreMade();
    void folderThatCannotBeMadeStopsTheTree();
    void existenceTests();
    void safeUserNames_data();
    void safeUserNames();
    void namesAListShowsAlike_data();
    void namesAListShowsAlike();

    void activityRecordStaysInBounds();
    void fullRecordTakesNoPieces();
};

void TestProfilo::defaultProfileByteForByte()
{
    Ambiente env;
    CreaCartelle();
    NomeUtente = QStringLiteral("_predefinito");
    FileUtente = kStartPath;
    // An earlier, longer profile is replaced whole.
    writeBytes(env.file("BrivoMarte/utenti/_predefinito.INI"), crlf(kOtherLines) + crlf(kOtherLines));
    ImpostaPredefiniti();
    QCOMPARE(impostazioni(), predefiniti());
    QVERIFY(ScriviImpostazioni());
    QCOMPARE(readBytes(env.file("BrivoMarte/utenti/_predefinito.INI")), crlf(kDefaultLines));
    QVERIFY(env.messages.empty());
}

void TestProfilo::bothSpellingsOfTheDefaultPathAreOneFile()
{
    Ambiente env;
    CreaCartelle();
    // The start sequence spells the path one way...
    NomeUtente = QStringLiteral("_predefinito");
    FileUtente = kStartPath;
    LeggiImpostazioni();
    QCOMPARE(impostazioni(), predefiniti());
    writeBytes(env.file("BrivoMarte/utenti/_predefinito.ini"), crlf(kOtherLines));
    LeggiImpostazioni();
    QCOMPARE(impostazioni(), kOtherSettings);
    // ...the user switch the other; both reach the one file.
    FileUtente = PercorsoProfilo(NomeUtente);
    QCOMPARE(FileUtente, QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\BrivoMarte\\utenti\\_predefinito.ini"));
    ImpostaPredefiniti();
    QVERIFY(ScriviImpostazioni());
    FileUtente = kStartPath;
    LeggiImpostazioni();
    QCOMPARE(impostazioni(), predefiniti());
    QCOMPARE(QDir(env.file("BrivoMarte/utenti")).entryList(QDir::Files), QStringList{"_predefinito.ini"});
}

void TestProfilo::missingProfileGivesDefaults()
{
    Ambiente env;
    utente("mario");
    scriviProfilo(env, crlf(kOtherLines));
    LeggiImpostazioni();
    QCOMPARE(impostazioni(), kOtherSettings);

    for (const QString &path : {PercorsoProfilo("nessuno"), QString(), CartellaUtenti,
                                QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\manca\\x.ini")}) {
        FileUtente = PercorsoProfilo("mario");
        LeggiImpostazioni();
        QCOMPARE(impostazioni(), kOtherSettings);
        FileUtente = path;
        LeggiImpostazioni();
        QCOMPARE(impostazioni(), predefiniti());
    }
    QVERIFY(env.messages.empty());
}

void TestProfilo::incompleteProfileGivesDefaults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");
    const QByteArray all = crlf(kOtherLines);
    QTest::newRow("20 lines") << crlf(kOtherLines.mid(0, 20)) << false;
    QTest::newRow("20 lines, last unterminated") << crlf(kOtherLines.mid(0, 20)).chopped(2) << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("one line") << QByteArray("minuscolo\r\n") << false;
    QTest::newRow("21 lines, last unterminated") << all.chopped(2) << true;
    QTest::newRow("21 lines and more") << all + "anything\r\nelse\r\n" << true;
    QTest::newRow("21 lines with bare line feeds") << QByteArray(all).replace("\r\n", "\n") << true;
}

void TestProfilo::incompleteProfileGivesDefaults()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    Ambiente env;
    utente("mario");
    // Start from settings that are neither the defaults nor the file's.
    ImpostaPredefiniti();
    NumeroMassimo = 5;
    TipoCarattere = QStringLiteral("minuscolo");
    scriviProfilo(env, bytes);
    LeggiImpostazioni();
    QCOMPARE(impostazioni(), complete ? kOtherSettings : predefiniti());
}

void TestProfilo::firstLineDecidesLetterCase_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("maiuscolo") << "maiuscolo" << "maiuscolo";
    QTest::newRow("capitals") << "MAIUSCOLO" << "minuscolo";
    QTest::newRow("capital M") << "Maiuscolo" << "minuscolo";
    QTest::newRow("any mai") << "maiale" << "maiuscolo";
    QTest::newRow("just mai") << "mai" << "maiuscolo";
    QTest::newRow("blank first") << " maiuscolo" << "minuscolo";
    QTest::newRow("minuscolo") << "minuscolo" << "minuscolo";
    QTest::newRow("empty") << "" << "minuscolo";
}

void TestProfilo::firstLineDecidesLetterCase()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    Ambiente env;
    utente("mario");
    QStringList lines = kDefaultLines;
    lines[0] = line;
    scriviProfilo(env, crlf(lines));
    LeggiImpostazioni();
    QCOMPARE(TipoCarattere, expected);
    QCOMPARE(NumeroMassimo, 10);
}

void TestProfilo::booleanLinesNeedCapitalT_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("True") << "True" << true;
    QTest::newRow("T alone") << "T" << true;
    QTest::newRow("TRUE") << "TRUE" << true;
    QTest::newRow("true") << "true" << false;
    QTest::newRow("False") << "False" << false;
    QTest::newRow("-1") << "-1" << false;
    QTest::newRow("blank before") << " True" << false;
    QTest::newRow("empty") << "" << false;
}

void TestProfilo::booleanLinesNeedCapitalT()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    Ambiente env;
    utente("mario");
    QStringList lines = kDefaultLines;
    for (int line : {5, 6, 7, 13, 14, 17, 18}) lines[line - 1] = text;
    scriviProfilo(env, crlf(lines));
    LeggiImpostazioni();
    const bool all[] = {SuoniAttivi, TieniTraccia, DisabilitaControlloAlunno, ColoreCasuale,
                        DisabilitaMousePersonalizzato, RipartiDallInizio, ConRiquadro};
    for (bool b : all) QCOMPARE(b, expected);
    QCOMPARE(VelocitaScansione, 4); // the rest is read as it stands
}

void TestProfilo::defaultUserAlwaysLetsThePupilChoose_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("disable");
    QTest::addColumn<QString>("line7");
    QTest::newRow("default user") << "_predefinito" << true << "False";
    QTest::newRow("default user in capitals") << "_PREDEFINITO" << true << "True";
    QTest::newRow("other user") << "mario" << true << "True";
    QTest::newRow("other user, off") << "mario" << false << "False";
}

void TestProfilo::defaultUserAlwaysLetsThePupilChoose()
{
    QFETCH(QString, name);
    QFETCH(bool, disable);
    QFETCH(QString, line7);
    Ambiente env;
    utente(name);
    DisabilitaControlloAlunno = disable;
    QVERIFY(ScriviImpostazioni());
    const QStringList lines = readLines(platform::localPath(FileUtente));
    QCOMPARE(lines.size(), 21);
    QCOMPARE(lines[6], line7);
    QCOMPARE(DisabilitaControlloAlunno, disable); // memory keeps what was set
}

void TestProfilo::roundTrip_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("defaults") << kDefaultLines;
    QTest::newRow("every setting changed") << kOtherLines;
    QTest::newRow("lowest values") << QStringList{
        "maiuscolo", " 0 ", " 0 ", " 2 ", "True", "False", "False", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ",
        "False", "False", " 0 ", " 4 ", "False", "False", " 3 ", "-2147483648 ", " 0 "};
    QTest::newRow("highest values") << QStringList{
        "minuscolo", " 7 ", " 7 ", " 10 ", "True", "True", "True", " 16777215 ", " 16777215 ", " 16777215 ",
        " 16777215 ", " 16777215 ", "True", "True", " 2 ", " 60 ", "True", "True", " 30 ", "-2147483393 ",
        " 16777215 "};
}

void TestProfilo::roundTrip()
{
    QFETCH(QStringList, lines);
    Ambiente env;
    utente("mario");
    scriviProfilo(env, crlf(lines));
    LeggiImpostazioni();
    const QString read = impostazioni();
    // Written back, the same bytes; read again, the same settings.
    QFile::remove(platform::localPath(FileUtente));
    QVERIFY(ScriviImpostazioni());
    QCOMPARE(readBytes(platform::localPath(FileUtente)), crlf(lines));
    ImpostaPredefiniti();
    LeggiImpostazioni();
    QCOMPARE(impostazioni(), read);
}

void TestProfilo::outOfRangeValuesAreBroughtIntoRange_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // the setting as impostazioni() shows it

    QTest::newRow("highest number above 10") << 4 << " 11 " << "10";
    QTest::newRow("highest number 32767") << 4 << " 32767 " << "10";
    QTest::newRow("highest number 1") << 4 << " 1 " << "2";
    QTest::newRow("highest number negative") << 4 << "-3 " << "2";
    QTest::newRow("speed 3") << 16 << " 3 " << "4";
    QTest::newRow("speed 61") << 16 << " 61 " << "60";
    QTest::newRow("speed 132") << 16 << " 132 " << "60";
    QTest::newRow("frame 2") << 19 << " 2 " << "3";
    QTest::newRow("frame 31") << 19 << " 31 " << "30";
    QTest::newRow("first representation 8") << 2 << " 8 " << "1";
    QTest::newRow("first representation -1") << 2 << "-1 " << "1";
    QTest::newRow("second representation 8") << 3 << " 8 " << "4";
    QTest::newRow("scanning 3") << 15 << " 3 " << "0";
    QTest::newRow("scanning -1") << 15 << "-1 " << "0";
    QTest::newRow("colour above 24 bits") << 8 << " 16777216 " << "255";
    QTest::newRow("colour -1") << 9 << "-1 " << "16711680";
    QTest::newRow("below system colours") << 10 << "-2147483649 " << "16777215";
    QTest::newRow("above system colours") << 11 << "-2147483392 " << "12648447";
    QTest::newRow("huge colour") << 12 << " 1E+20 " << "16777152";
    QTest::newRow("button colour") << 20 << " 4294967295 " << "-2147483633";
    QTest::newRow("scanning colour") << 21 << "-2147483392 " << "255";
}

void TestProfilo::outOfRangeValuesAreBroughtIntoRange()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    Ambiente env;
    utente("mario");
    QStringList lines = kOtherLines;
    lines[line - 1] = text;
    scriviProfilo(env, crlf(lines));
    LeggiImpostazioni();
    // Only that setting changes; every other one is read from the file.
    QStringList want = kOtherSettings.split(QLatin1Char('|'));
    want[line - 1] = expected;
    QCOMPARE(impostazioni(), want.join(QLatin1Char('|')));
}

void TestProfilo::unreadableNumberGivesAllDefaults_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::newRow("word for an integer") << 2 << "uno";
    QTest::newRow("empty integer line") << 16 << "";
    QTest::newRow("empty colour line") << 8 << "";
    QTest::newRow("word for a colour") << 21 << "rosso";
    QTest::newRow("integer above 16 bits") << 4 << " 32768 ";
    QTest::newRow("integer below 16 bits") << 19 << "-32769 ";
    QTest::newRow("number and more") << 15 << " 1 2 ";
}

void TestProfilo::unreadableNumberGivesAllDefaults()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    Ambiente env;
    utente("mario");
    QStringList lines = kOtherLines;
    lines[line - 1] = text;
    scriviProfilo(env, crlf(lines));
    LeggiImpostazioni();
    QCOMPARE(impostazioni(), predefiniti());
    QVERIFY(env.messages.empty());
}

void TestProfilo::profileWriteFailureIsReported_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing folder") << "C:\\ImpostazioniProgrammiTesmo\\BrivoMarte\\manca\\mario.ini";
    QTest::newRow("path is a folder") << "C:\\ImpostazioniProgrammiTesmo\\BrivoMarte\\utenti\\";
    QTest::newRow("empty path") << "";
}

void TestProfilo::profileWriteFailureIsReported()
{
    QFETCH(QString, path);
    Ambiente env;
    utente("mario");
    scriviProfilo(env, crlf(kOtherLines));
    LeggiImpostazioni();
    FileUtente = path;
    QVERIFY(!ScriviImpostazioni());
    QCOMPARE(env.messages.size(), size_t(1));
    QVERIFY(env.messages[0].text.contains(QStringLiteral("mario")));
    QCOMPARE(impostazioni(), kOtherSettings);
    QVERIFY(QFileInfo(env.file("BrivoMarte/utenti")).isDir());
    QVERIFY(!QFileInfo::exists(env.file("BrivoMarte/manca")));
}

void TestProfilo::fullDiskLeavesEveryFileAsItWas_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("profile") << "BrivoMarte/utenti/mario.ini";
    QTest::newRow("language setting") << "LangSetting.ini";
    QTest::newRow("readme") << "leggimi.txt";
    QTest::newRow("saved record") << "BrivoMarte/dati/mario/registro.rtf";
}

void TestProfilo::fullDiskLeavesEveryFileAsItWas()
{
    QFETCH(QString, file);
    Ambiente env;
    utente("mario");
    LeggiImpostazioni();
    const QString percorso = file == QLatin1String("LangSetting.ini") ? env.program() + "/LangSetting.ini" : env.file(file);
    const QString cartella = QFileInfo(percorso).absolutePath();
    QDir().mkpath(cartella);
    const QByteArray prima = crlf(kOtherLines) + "written whole by an earlier run\r\n";
    writeBytes(percorso, prima);
    const QStringList voci = QDir(cartella).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    // Each writer, failing half-way as on a full disk, must say so (in a run of its own,
    // below): by its result, and with one message where the program tells the user.
    QCOMPARE(rieseguiConDiscoPieno({file, env.root(), env.program()}), 0);
    QCOMPARE(readBytes(percorso), prima);
    QCOMPARE(QDir(cartella).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), voci);
}

void TestProfilo::profileThatIsNoOrdinaryFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("used");
    QTest::newRow("pipe") << "pipe" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("link to an endless device") << "zero" << false;
    QTest::newRow("link out of the users folder") << "out" << false;
    QTest::newRow("link into a sibling folder") << "sibling" << false;
    QTest::newRow("dangling link") << "dangling" << false;
    QTest::newRow("much larger than a profile") << "large" << false;
    QTest::newRow("64 KiB and one byte") << "64K+1" << false;
    QTest::newRow("exactly 64 KiB") << "64K" << true;
    QTest::newRow("link to another profile") << "in" << true;
}

void TestProfilo::profileThatIsNoOrdinaryFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, used);
    Ambiente env;
    utente("mario");
    const QString profilo = env.file("BrivoMarte/utenti/mario.ini");
    const QString fuori = env.file("fuori.ini"), altro = env.file("BrivoMarte/utenti/anna.ini");
    const QString accanto = env.file("BrivoMarte/utentiX/mario.ini");
    QVERIFY(QDir().mkpath(env.file("BrivoMarte/utentiX")));
    for (const QString &f : {fuori, altro, accanto}) QVERIFY(writeBytes(f, crlf(kOtherLines)));
    const QByteArray spazi(64 * 1024 - crlf(kOtherLines).size(), ' ');
    if (kind == QLatin1String("pipe")) QCOMPARE(mkfifo(QFile::encodeName(profilo).constData(), 0644), 0);
    else if (kind == QLatin1String("folder")) QVERIFY(QDir().mkdir(profilo));
    else if (kind == QLatin1String("zero")) QVERIFY(QFile::link("/dev/zero", profilo));
    else if (kind == QLatin1String("out")) QVERIFY(QFile::link(fuori, profilo));
    else if (kind == QLatin1String("sibling")) QVERIFY(QFile::link(QStringLiteral("../utentiX/mario.ini"), profilo));
    else if (kind == QLatin1String("dangling")) QVERIFY(QFile::link(QStringLiteral("nessuno.ini"), profilo));
    else if (kind == QLatin1String("in")) QVERIFY(QFile::link(altro, profilo));
    else if (kind == QLatin1String("64K")) QVERIFY(writeBytes(profilo, crlf(kOtherLines) + spazi));
    else if (kind == QLatin1String("64K+1")) QVERIFY(writeBytes(profilo, crlf(kOtherLines) + spazi + ' '));
    else QVERIFY(writeBytes(profilo, crlf(kOtherLines) + QByteArray(100 * 1024, ' ')));
    const QFileInfo prima(profilo);

    // Read without waiting on a pipe or reading on without end: a read that did would never
    // return, and the test would not end.
    LeggiImpostazioni();
    QCOMPARE(impostazioni(), used ? kOtherSettings : predefiniti());
    QVERIFY(env.messages.empty());

    // Nothing is written through such a file. It had no settings of its own to lose: the
    // user is told once that they cannot be saved, and may move on.
    if (kind.startsWith(QLatin1String("large")) || kind == QLatin1String("64K+1")) return;
    NumeroMassimo = 9;
    QVERIFY(ScriviImpostazioni());
    QVERIFY(ScriviImpostazioni());
    QCOMPARE(env.messages.size(), size_t(used ? 0 : 1));
    if (!used) QVERIFY(env.messages[0].text.endsWith(QStringLiteral("\r\nmario")));
    for (const QString &f : {fuori, accanto}) QCOMPARE(readBytes(f), crlf(kOtherLines));
    QCOMPARE(QFileInfo(profilo).isSymLink(), prima.isSymLink());
    QCOMPARE(QFileInfo(profilo).isFile(), prima.isFile());
    QVERIFY(!QFileInfo::exists(env.file("BrivoMarte/utenti/nessuno.ini")));
    QCOMPARE(readBytes(kind == QLatin1String("64K") ? profilo : altro).contains("\r\n 9 \r\n"), used);
}

namespace {
int fallisce(int e)
{
    errno = e;
    return -1;
}
int fsyncFallisce(int) { return fallisce(EIO); }
int renameFallisce(const char *, const char *) { return fallisce(EIO); }
int fsyncCartellaFallisce(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) ? fallisce(EIO) : ::fsync(fd);
}
} // namespace

void TestProfilo::failedSystemCallsLeaveTheProfileAsItWas_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("file not forced to the disk") << "fsync";
    QTest::newRow("no new name") << "rename";
    QTest::newRow("folder not forced to the disk") << "folder";
}

void TestProfilo::failedSystemCallsLeaveTheProfileAsItWas()
{
    QFETCH(QString, fault);
    Ambiente env;
    utente("mario");
    const QString profilo = env.file("BrivoMarte/utenti/mario.ini");
    QVERIFY(writeBytes(profilo, crlf(kOtherLines)));
    QVERIFY(QFile::setPermissions(profilo, QFile::ReadOwner | QFile::WriteOwner));
    LeggiImpostazioni();
    NumeroMassimo = 9;
    struct Ripristina {
        ~Ripristina() { platform::setFileCallsForTest({}); }
    } ripristina;
    platform::FileCalls chiamate;
    if (fault == QLatin1String("fsync")) chiamate.fsync = fsyncFallisce;
    else if (fault == QLatin1String("rename")) chiamate.rename = renameFallisce;
    else chiamate.fsync = fsyncCartellaFallisce;
    platform::setFileCallsForTest(chiamate);

    // Told, and the settings stay in memory. Only a folder that could not be forced to the
    // disk may leave the new bytes in place, as a crash may yet undo them.
    QVERIFY(!ScriviImpostazioni());
    QCOMPARE(env.messages.size(), size_t(1));
    QCOMPARE(NumeroMassimo, 9);
    if (fault != QLatin1String("folder")) QCOMPARE(readBytes(profilo), crlf(kOtherLines));
    QCOMPARE(QDir(env.file("BrivoMarte/utenti")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"mario.ini"});

    // Written at last, it keeps the permissions the teacher gave it.
    platform::setFileCallsForTest({});
    QVERIFY(ScriviImpostazioni());
    QVERIFY(readBytes(profilo).contains("\r\n 9 \r\n"));
    QCOMPARE(QFile::permissions(profilo), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

void TestProfilo::linkLeadingOutOfItsFolderIsNotWrittenThrough_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("readme") << "leggimi.txt";
    QTest::newRow("language setting") << "LangSetting.ini";
}

void TestProfilo::linkLeadingOutOfItsFolderIsNotWrittenThrough()
{
    QFETCH(QString, file);
    Ambiente env;
    CreaCartelle();
    // A file of someone else's beside the test's two folders, and one in the program
    // folder that the link may lead to.
    const QString fuori = QDir::cleanPath(env.root() + QStringLiteral("/../altrui.txt"));
    const QString cartella = file == QLatin1String("leggimi.txt") ? env.root() : env.program();
    const QString dentro = cartella + QStringLiteral("/vicino.txt");
    const QString collegamento = cartella + QLatin1Char('/') + file;
    QVERIFY(writeBytes(fuori, "di un altro\r\n"));
    QVERIFY(writeBytes(dentro, "[Language]\r\nCurrentLanguage=Italiano\r\n"));
    auto scrivi = [&] {
        if (file == QLatin1String("leggimi.txt")) {
            // A first run: three folders made, each rewriting the readme.
            QDir(env.file(QStringLiteral("BrivoMarte"))).removeRecursively();
            CreaCartelle();
            return QFileInfo(env.file(QStringLiteral("BrivoMarte/dati"))).isDir() && env.messages.empty();
        }
        return MLSWriteIni(MLSSettingFile(), "Language", "CurrentLanguage", "English") != 0;
    };
    QVERIFY(QFile::remove(collegamento));
    QVERIFY(QFile::link(fuori, collegamento));
    QVERIFY(!scrivi());
    QCOMPARE(readBytes(fuori), QByteArray("di un altro\r\n"));
    QVERIFY(QFileInfo(collegamento).isSymLink());
    if (file == QLatin1String("leggimi.txt")) QCOMPARE(env.messages.size(), size_t(1)); // told once, not once a folder
    // A link within its own folder is followed.
    env.messages.clear();
    QVERIFY(QFile::remove(collegamento));
    QVERIFY(QFile::link(dentro, collegamento));
    QVERIFY(scrivi());
    QVERIFY(readBytes(dentro) != "[Language]\r\nCurrentLanguage=Italiano\r\n");
    QVERIFY(QFileInfo(collegamento).isSymLink());
    // A dangling one is not replaced by a file, nor does it make one where it points.
    env.messages.clear();
    QVERIFY(QFile::remove(collegamento));
    QVERIFY(QFile::link(QStringLiteral("nessuno.txt"), collegamento));
    QVERIFY(!scrivi());
    QVERIFY(QFileInfo(collegamento).isSymLink());
    QVERIFY(!QFileInfo::exists(cartella + QStringLiteral("/nessuno.txt")));
}

void TestProfilo::firstRunMakesTheWholeTree()
{
    Ambiente env;
    const QString root = env.root() + QStringLiteral("/prima_volta");
    platform::setSettingsRoot(root);
    CreaCartelle();
    for (const char *f : {"", "/BrivoMarte", "/BrivoMarte/utenti", "/BrivoMarte/dati"})
        QVERIFY2(QFileInfo(root + QLatin1String(f)).isDir(), f);
    QCOMPARE(readBytes(root + QStringLiteral("/leggimi.txt")), leggimiAtteso());
    QVERIFY(!MLSGetString("0031").isEmpty());
    QVERIFY(env.messages.empty());
    // The default user's profile does not exist yet: the defaults apply.
    NomeUtente = QStringLiteral("_predefinito");
    FileUtente = kStartPath;
    LeggiImpostazioni();
    QCOMPARE(impostazioni(), predefiniti());
}

void TestProfilo::readmeWrittenOnceWhenFoldersAreMade_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<int>("writes");
    // Once for the whole tree, however many folders it took.
    QTest::newRow("settings root only") << QStringList{} << 1;
    QTest::newRow("users folder missing") << QStringList{"BrivoMarte/dati"} << 1;
    QTest::newRow("whole tree") << QStringList{"BrivoMarte/dati", "BrivoMarte/utenti"} << 0;
}

void TestProfilo::readmeWrittenOnceWhenFoldersAreMade()
{
    QFETCH(QStringList, existing);
    QFETCH(int, writes);
    Ambiente env;
    for (const QString &f : existing) QDir(env.root()).mkpath(f);
    const QString readme = env.file("leggimi.txt");
    writeBytes(readme, "old readme");
    const int n = scritture(env.root(), [] { CreaCartelle(); });
    if (n < 0) QSKIP("no inotify here");
    QCOMPARE(n, writes);
    QVERIFY(QFileInfo(env.file("BrivoMarte/utenti")).isDir());
    QVERIFY(QFileInfo(env.file("BrivoMarte/dati")).isDir());
    QCOMPARE(readBytes(readme), writes ? leggimiAtteso() : QByteArray("old readme"));
}

void TestProfilo::folderThatCannotBeMadeStopsTheTree()
{
    Ambiente env;
    // The settings root's parent is an ordinary file: nothing below it can be made.
    writeBytes(env.root() + QStringLiteral("/file"), "x");
    platform::setSettingsRoot(env.root() + QStringLiteral("/file/root"));
    CreaCartelle();
    QCOMPARE(env.messages.size(), size_t(1));
    QVERIFY(!CreaCartella(CartellaDati));
    QCOMPARE(env.messages.size(), size_t(2));
    QCOMPARE(readBytes(env.root() + QStringLiteral("/file")), QByteArray("x"));
}

void TestProfilo::existenceTests()
{
    Ambiente env;
    CreaCartelle();
    writeBytes(env.file("BrivoMarte/utenti/Mario.ini"), "x");
    writeBytes(env.file("BrivoMarte/utenti/.nascosto.ini"), "x");
    QVERIFY(EsisteFile(CartellaUtenti + "mario.INI"));
    QVERIFY(!EsisteFile(CartellaUtenti + ".nascosto.ini"));
    QVERIFY(!EsisteFile(CartellaUtenti));
    QVERIFY(!EsisteFile(CartellaUtenti + "nessuno.ini"));
    QVERIFY(!EsisteFile(QString()));
    QVERIFY(EsisteCartella(CartellaUtenti));
    QVERIFY(EsisteCartella("C:\\IMPOSTAZIONIPROGRAMMITESMO\\brivomarte\\DATI\\"));
    QVERIFY(!EsisteCartella(CartellaUtenti + "Mario.ini"));
    QVERIFY(!EsisteCartella(CartellaDati + "mario\\"));
    QVERIFY(!EsisteCartella(QString()));
    // The users with and without the default one, asked in turn, each as the folder has them.
    writeBytes(env.file("BrivoMarte/utenti/_predefinito.INI"), "x");
    for (int volta = 0; volta < 2; ++volta) {
        QCOMPARE(ElencoUtenti(true), (QStringList{"_predefinito", "Mario"}));
        QCOMPARE(ElencoUtenti(false), QStringList{"Mario"});
        QCOMPARE(NomiDaMostrare(ElencoUtenti(false), true), QStringList{"MARIO"});
        QCOMPARE(NomiDaMostrare(ElencoUtenti(true), true), (QStringList{"_PREDEFINITO", "MARIO"}));
        QCOMPARE(NomiDaMostrare(QStringList{"Bea"}, true), QStringList{"BEA"});
    }
}

// Two checks of a name: whether a new user may take it (a file name on every system the
// profiles may be kept on), and whether a profile found under it in the users folder is
// listed and opened (it names that entry and nothing else).
void TestProfilo::safeUserNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("nuovo");
    QTest::addColumn<bool>("elencato");
    QTest::newRow("plain") << "mario" << true << true;
    QTest::newRow("blanks and accents") << "Maria Teresa Nicolò" << true << true;
    QTest::newRow("default user") << "_predefinito" << true << true;
    QTest::newRow("dotted") << "m.rossi" << true << true;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("blanks only") << "   " << false << true;
    QTest::newRow("invisible only") << QStringLiteral("\u200B\u200F\u2028\u00A0\uFEFF") << false << true;
    QTest::newRow("slash") << "a/b" << false << false;
    QTest::newRow("backslash") << "a\\b" << false << false;
    QTest::newRow("parent") << ".." << false << false;
    QTest::newRow("climbing") << "..\\..\\x" << false << false;
    QTest::newRow("two dots inside") << "Anna..B" << false << true;
    QTest::newRow("tab") << "a\tb" << false << true;
    QTest::newRow("new line") << "a\nb" << false << true;
    QTest::newRow("nul") << QString(QChar(0)) + "x" << false << false;
    QTest::newRow("delete") << QString("x") + QChar(127) << false << true;
    QTest::newRow("C1 control") << QString("x") + QChar(0x85) << false << true;
    QTest::newRow("C1 control inside") << QStringLiteral("x\u0090y") << false << true;
    // Fillers and variation selectors: fonts draw them as nothing.
    QTest::newRow("fillers only") << QStringLiteral("\u3164\u115F\u2800\uFE0F\uFE00") << false << true;
    // Windows takes these for devices or drops the final dot or blank.
    for (const char *n : {"CON", "con", "Prn", "AUX", "nul", "NUL.txt", "com1", "COM9", "lpt1", "LPT9.ini", "aux .x",
                          "anna.", "anna ", "COM0", "lpt0.x", "COM¹", "lpt³.txt", "CONIN$", "conout$.ini"})
        QTest::newRow(n) << QString::fromUtf8(n) << false << true;
    // A leading dot hides the file, and no list shows it.
    for (const char *n : {".", ".anna", ". anna", ".anna.ini"})
        QTest::newRow(n) << QString::fromLatin1(n) << false << false;
    for (const char *n : {"CONTI", "COM10", "LPT", "console.x", "nullo", "COMA", "CONIN", "anna.b", "a.anna"})
        QTest::newRow(n) << QString::fromLatin1(n) << true << true;
    // Characters as the teacher sees them are counted, and a file name never grows past
    // 255 bytes.
    QTest::newRow("longest") << QString(kLunghezzaMassimaNome, QChar(0x00E8)) << true << true;
    QTest::newRow("too long") << QString(kLunghezzaMassimaNome + 1, QLatin1Char('a')) << false << true;
    QTest::newRow("forty emoji") << QString::fromUtf8("😀").repeated(40) << true << true;
    QTest::newRow("64 emoji of 25 bytes") << QString::fromUtf8("👨‍👩‍👧‍👦").repeated(kLunghezzaMassimaNome) << false << true;
    // 64 characters, the last one a letter under 62 accents: 251 bytes and 252 bytes.
    const QString accenti(62, QChar(0x0301));
    QTest::newRow("251 bytes") << QString::fromUtf8("ü").repeated(63) + QLatin1Char('e') + accenti << true << true;
    QTest::newRow("252 bytes") << QString::fromUtf8("ü").repeated(63) + QChar(0x00E9) + accenti << false << true;
    QTest::newRow("double quote") << "a\"b" << false << true;
}

void TestProfilo::safeUserNames()
{
    QFETCH(QString, name);
    QFETCH(bool, nuovo);
    QFETCH(bool, elencato);
    QCOMPARE(ControllaNomeUtente(name) == EsitoNomeUtente::Valido, nuovo);
    QCOMPARE(NomeUtenteSicuro(name), elencato);
}

// Names the lists would show alike are one pupil; names they show apart are two.
void TestProfilo::namesAListShowsAlike_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("alike");
    QTest::newRow("ligature") << QStringLiteral("E\uFB00e") << QStringLiteral("EFFE") << true;
    QTest::newRow("capital sharp s") << QStringLiteral("STRA\u1E9EE") << QStringLiteral("Straße") << true;
    QTest::newRow("capital sharp s, doubled") << QStringLiteral("STRA\u1E9EE") << QStringLiteral("STRASSE") << true;
    QTest::newRow("dotted capital I") << QStringLiteral("\u0130pek") << QStringLiteral("IPEK") << true;
    QTest::newRow("blank or none") << QStringLiteral("Anna Maria") << QStringLiteral("AnnaMaria") << false;
    QTest::newRow("no-break space") << QStringLiteral("Anna\u00A0Maria") << QStringLiteral("Anna Maria") << true;
    QTest::newRow("two blanks") << QStringLiteral("Anna \u2003Maria") << QStringLiteral("Anna Maria") << true;
}

void TestProfilo::namesAListShowsAlike()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, alike);
    QCOMPARE(platform::chiaveNome(a) == platform::chiaveNome(b), alike);
}

void TestProfilo::fullRecordTakesNoPieces()
{
    // Exercise 1's header takes the last two lines; the header of the next exercise is
    // refused, and its pieces go nowhere, not onto exercise 1's line. The teacher is told
    // once.
    Ambiente env;
    NumeroRigheEsercizi = kRigheMassime - 2;
    QVERIFY(ScriviIntestazione("esercizio 1"));
    AggiungiAlRegistro("1 2 3");
    QVERIFY(!ScriviIntestazione("esercizio 4"));
    AggiungiAlRegistro("4 5 6");
    QVERIFY(!ScriviIntestazione("esercizio 5"));
    AggiungiAlRegistro("7 8 9");
    QCOMPARE(RigheEsercizi[kRigheMassime], QStringLiteral("1 2 3"));
    QCOMPARE(NumeroRigheEsercizi, kRigheMassime);
    QCOMPARE(env.messages.size(), size_t(1));
    QVERIFY(!env.messages[0].text.isEmpty());
    // An emptied record takes headers and pieces again.
    SvuotaRegistro();
    QVERIFY(ScriviIntestazione("esercizio 4"));
    AggiungiAlRegistro("4 5 6");
    QCOMPARE(RigheEsercizi[2], QStringLiteral("4 5 6"));
}

void TestProfilo::activityRecordStaysInBounds()
{
    Ambiente env;
    QVERIFY(ScriviIntestazione("uno"));
    QCOMPARE(NumeroRigheEsercizi, 2);
    QCOMPARE(RigheEsercizi[0], QString());
    QCOMPARE(RigheEsercizi[1], QStringLiteral("uno"));
    AggiungiAlRegistro("a");
    AggiungiAlRegistro("b");
    QCOMPARE(RigheEsercizi[2], QStringLiteral("ab"));

    // The last header that fits takes lines 999 and 1000.
    NumeroRigheEsercizi = 998;
    QVERIFY(ScriviIntestazione("ultima"));
    QCOMPARE(NumeroRigheEsercizi, 1000);
    QCOMPARE(RigheEsercizi[999], QStringLiteral("ultima"));
    AggiungiAlRegistro("x");
    QCOMPARE(RigheEsercizi[1000], QStringLiteral("x"));
    QVERIFY(!ScriviIntestazione("troppo"));
    QCOMPARE(NumeroRigheEsercizi, 1000);
    NumeroRigheEsercizi = 999;
    QVERIFY(!ScriviIntestazione("troppo"));
    QCOMPARE(NumeroRigheEsercizi, 999);
    QCOMPARE(RigheEsercizi[1000], QStringLiteral("x"));

    // An index out of its range is never used to index the record.
    for (int bad : {-1, -40000, 1001, 40000}) {
        NumeroRigheEsercizi = bad;
        QVERIFY(!ScriviIntestazione("no"));
        AggiungiAlRegistro("y");
    }
    NumeroRigheEsercizi = 1000;
    SvuotaRegistro();
    QCOMPARE(NumeroRigheEsercizi, 0);
    for (const QString &r : RigheEsercizi) QVERIFY(r.isEmpty());
}

// The writing side of fullDiskLeavesEveryFileAsItWas: the file, the settings root and the
// program folder of the test.
static int scriviADiscoPieno(const QStringList &args)
{
    const QString file = args.value(0);
    platform::setSettingsRoot(args.value(1));
    platform::setProgramFolder(args.value(2));
    size_t messaggi = 0;
    platform::setMsgBoxHandler([&](const platform::MsgBoxCall &) {
        ++messaggi;
        return int(platform::vbOK);
    });
    utente("mario");
    LeggiImpostazioni();
    MLSGetString("0031");
    discoPieno(4);
    bool scritto = true;
    if (file.startsWith(QLatin1String("BrivoMarte/utenti"))) scritto = ScriviImpostazioni();
    else if (file == QLatin1String("LangSetting.ini"))
        scritto = MLSWriteIni(MLSSettingFile(), "Language", "CurrentLanguage", "English") != 0;
    else if (file == QLatin1String("leggimi.txt")) scritto = !CreaCartella(CartellaProgramma + "nuova\\");
    else {
        QTextDocument doc(QStringLiteral("Mario: 1 2 3 4 5"));
        scritto = platform::saveRtf(doc, args.value(1) + QLatin1Char('/') + file);
    }
    const size_t attesi = file.startsWith(QLatin1String("BrivoMarte/utenti")) || file == QLatin1String("leggimi.txt");
    return !scritto && messaggi == attesi ? 0 : 1;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--disco-pieno") == 0) return scriviADiscoPieno(app.arguments().mid(2));
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestProfilo test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_profilo.moc"
