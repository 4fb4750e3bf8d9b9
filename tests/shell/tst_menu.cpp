// The main menu: which exercises the highest number allows, the activity record headers,
// the windows it opens, the user list and the user switch, the settings it applies to
// itself, the hover highlight, the mouse pointers and the language menu.
#include "TestSupport.h"
#include "FormConfigura.h"
#include "FormInfo.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "forms/Twips.h"
#include "platform/PointerConfine.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <QDesktopServices>
#include <QPaintEngine>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QUrl>
#include <QtTest>
#include <sys/stat.h>

using namespace forms;

namespace {

constexpr int32_t kSfondoMenu = 0x00FFFF80;




FormMenu &apriMenu()
{
    auto &m = Default<FormMenu>();
    m.Show();
    return m;
}

QString messaggioRifiuto() { return MLSGetString("0019") + QStringLiteral("\r\n") + MLSGetString("0020"); }

// Keeps the texts painted on it, each with the point it is drawn from, and nothing else:
// what a widget draws as text, before a clip hides any of it.
class TestiDipinti : public QPaintDevice {
public:
    struct Testo {
        QString testo;
        QPointF da;
    };
    std::vector<Testo> testi;
    explicit TestiDipinti(QSize size) : size_(size) { motore_.testi = &testi; }
    QPaintEngine *paintEngine() const override { return &motore_; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return size_.width() * 254 / 960;
        case PdmHeightMM: return size_.height() * 254 / 960;
        case PdmNumColors: return 0x7FFFFFFF;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 96; // the resolutions
        }
    }

private:
    class Motore : public QPaintEngine {
    public:
        std::vector<Testo> *testi = nullptr;
        Motore() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &s) override
        {
            if (s.state() & DirtyTransform) trasformazione_ = s.transform();
        }
        void drawTextItem(const QPointF &p, const QTextItem &t) override { testi->push_back({t.text(), trasformazione_.map(p)}); }
        void drawPath(const QPainterPath &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        Type type() const override { return User; }

    private:
        QTransform trasformazione_;
    };
    QSize size_;
    mutable Motore motore_;
};

// Records the documents the desktop is asked to open.

} // namespace

class TestMenu : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> env;
    Apertura apertura;
    QString profilo(const QString &nome) const { return env->file(QStringLiteral("BrivoMarte/utenti/%1.ini").arg(nome)); }
    void impostaLingua(const QByteArray &nome)
    {
        writeBytes(env->program() + QStringLiteral("/LangSetting.ini"), "[Language]\r\nCurrentLanguage=" + nome + "\r\n");
    }

private slots:
    void init()
    {
        env = std::make_unique<Ambiente>();
        Esatti = Errati = 0;
        apertura.aperti.clear();
    }
    void cleanup()
    {
        Form::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::releasePointer();
        Ridimensionatore.reset();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        forms::Screen::setSizeOverride(QSize());
        env.reset();
    }

    void exerciseRefusedByHighestNumber_data();
    void exerciseRefusedByHighestNumber();
    void headersAndChoiceScreens_data();
    void headersAndChoiceScreens();
    void recordNeverGoesPastItsLastLine_data();
    void recordNeverGoesPastItsLastLine();
    void clickOnButtonOrPictureStarts();
    void doubleClickStartsOnce();
    void tremorOnTheCaptionOfTheTilePressed();

    void userList_data();
    void userList();
    void sameUserInOtherLetterCaseKeepsRecord();
    void otherUserIsSavedReadAndApplied();
    void switchWithAnUnwritableProfileKeepsTheSettings();
    void userWhoseProfileIsNoFileLetsTheTeacherMoveOn();
    void namesListedUnlessTheyLeadOutOfTheFolder_data();
    void namesListedUnlessTheyLeadOutOfTheFolder();
    void pickingOpensItsOwnFile();
    void namesAlikeButForCaseAreTwoUsers();
    void longUserListIsFilledOnce();
    void longNameShortenedInTheMiddle_data();
    void longNameShortenedInTheMiddle();
    void returnWithNothingChangedWritesNothing();

    void activationAppliesTheSettings_data();
    void activationAppliesTheSettings();
    void hoverLeavesAtMostOneButtonRed();
    void scanningIgnoresTheMouse_data();
    void scanningIgnoresTheMouse();
    void mousePointers_data();
    void mousePointers();

    void menuItemsOpenTheirWindows_data();
    void menuItemsOpenTheirWindows();
    void documentItemsLeaveTheMenuOpen();

    void noLanguageFile();
    void languageItems_data();
    void languageItems();
    void choosingALanguage();
    void languageChoiceThatCannotBeKept();
};

// ---- starting the exercises ----

void TestMenu::exerciseRefusedByHighestNumber_data()
{
    QTest::addColumn<int>("massimo");
    QTest::addColumn<int>("scelta");
    QTest::addColumn<bool>("rifiutato");
    QTest::newRow("2, es. 1") << 2 << 0 << false;
    QTest::newRow("2, es. 2") << 2 << 1 << true;
    QTest::newRow("2, es. 3") << 2 << 2 << false;
    QTest::newRow("2, es. 4") << 2 << 3 << true;
    QTest::newRow("2, es. 5") << 2 << 4 << true;
    QTest::newRow("3, es. 2") << 3 << 1 << false;
    QTest::newRow("3, es. 4") << 3 << 3 << true;
    QTest::newRow("3, es. 5") << 3 << 4 << true;
    QTest::newRow("4, es. 4") << 4 << 3 << false;
    QTest::newRow("4, es. 5") << 4 << 4 << false;
}

void TestMenu::exerciseRefusedByHighestNumber()
{
    QFETCH(int, massimo);
    QFETCH(int, scelta);
    QFETCH(bool, rifiutato);
    NumeroMassimo = massimo;
    DisabilitaControlloAlunno = true;
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    const QByteArray prima = [&] { QFile f(profilo("Anna")); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    NumeroRigheEsercizi = 4;

    m.AvviaEsercizi(scelta);
    QCOMPARE(EsercizioScelto, scelta);
    if (rifiutato) {
        QCOMPARE(int(env->messages.size()), 1);
        QCOMPARE(env->messages[0].text, messaggioRifiuto());
        QVERIFY(!MLSGetString("0019").isEmpty());
        QCOMPARE(env->messages[0].title, QStringLiteral("Brivomarte"));
        QCOMPARE(env->messages[0].style, int(platform::vbOKOnly));
        QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
        QCOMPARE(NumeroRigheEsercizi, 4);
        QFile f(profilo("Anna"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), prima);
    } else {
        // Without the pupil's choice the exercise window opens at once.
        QVERIFY(env->messages.empty());
        QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormEs%1").arg(scelta + 1)});
        QVERIFY(IfLoaded<FormMenu>() == nullptr);
    }
}

void TestMenu::headersAndChoiceScreens_data()
{
    QTest::addColumn<int>("scelta");
    QTest::addColumn<QString>("intestazione"); // id of the header line, or none
    QTest::addColumn<QString>("schermata");
    QTest::addColumn<QString>("titolo");
    QTest::newRow("es. 1") << 0 << "0021" << "FormScelteDidattiche1" << "0041";
    QTest::newRow("es. 2") << 1 << "0022" << "FormScelteDidattiche2" << "0042";
    QTest::newRow("es. 3") << 2 << "0023" << "FormScelteDidattiche1" << "0041";
    QTest::newRow("es. 4") << 3 << "" << "FormScelteDidattiche1" << "0043";
    QTest::newRow("es. 5") << 4 << "" << "FormScelteDidattiche1" << "0044";
}

void TestMenu::headersAndChoiceScreens()
{
    QFETCH(int, scelta);
    QFETCH(QString, intestazione);
    QFETCH(QString, schermata);
    QFETCH(QString, titolo);
    // The record is kept whether or not it is shown to the teacher.
    TieniTraccia = false;
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    RigheEsercizi[1] = QStringLiteral("riga 1");
    RigheEsercizi[2] = QStringLiteral("risultati");
    NumeroRigheEsercizi = 2;

    m.AvviaEsercizi(scelta);
    QVERIFY(env->messages.empty());
    QCOMPARE(RigheEsercizi[1], QStringLiteral("riga 1"));
    QCOMPARE(RigheEsercizi[2], QStringLiteral("risultati"));
    if (intestazione.isEmpty()) {
        QCOMPARE(NumeroRigheEsercizi, 2);
        QVERIFY(RigheEsercizi[3].isEmpty());
    } else {
        QCOMPARE(NumeroRigheEsercizi, 4);
        QVERIFY(!MLSGetString(intestazione).isEmpty());
        QCOMPARE(RigheEsercizi[3], MLSGetString(intestazione));
        QVERIFY(RigheEsercizi[4].isEmpty());
    }
    QCOMPARE(finestreCaricate(), QStringList{schermata});
    QVERIFY(IfLoaded<FormMenu>() == nullptr);
    Form *s = caricata(schermata);
    QVERIFY(s);
    QCOMPARE(s->control(QStringLiteral("Label1"))->Caption(), MLSGetString(titolo));
    QVERIFY(s->Visible());
}

void TestMenu::recordNeverGoesPastItsLastLine_data()
{
    QTest::addColumn<int>("prima");
    QTest::addColumn<int>("dopo");
    QTest::newRow("997: fits") << 997 << 999;
    QTest::newRow("998: fits to the last line") << 998 << 1000;
    QTest::newRow("999: no room") << 999 << 999;
    QTest::newRow("1000: full") << 1000 << 1000;
}

void TestMenu::recordNeverGoesPastItsLastLine()
{
    QFETCH(int, prima);
    QFETCH(int, dopo);
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    NumeroRigheEsercizi = prima;
    for (int i = 997; i <= kRigheMassime; ++i) RigheEsercizi[i] = QStringLiteral("vecchia");
    m.AvviaEsercizi(2);
    QCOMPARE(NumeroRigheEsercizi, dopo);
    for (int i = 997; i <= kRigheMassime; ++i)
        QCOMPARE(RigheEsercizi[i], dopo != prima && i == prima + 1 ? MLSGetString("0023") : QStringLiteral("vecchia"));
    // The exercise starts all the same.
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormScelteDidattiche1")});
}

void TestMenu::clickOnButtonOrPictureStarts()
{
    DisabilitaControlloAlunno = true;
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    QTest::mouseClick(m.Image1[2]->widget(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormEs3")});

    Form::UnloadAll();
    auto &m2 = apriMenu();
    QTest::mouseClick(m2.Command1[3]->widget(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormEs4")});
}

// ---- the users ----

void TestMenu::userList_data()
{
    QTest::addColumn<QString>("carattere");
    QTest::addColumn<QString>("utente");
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<int>("scelto");
    QTest::newRow("maiuscolo") << "maiuscolo" << "Bea" << QStringList{"ANNA", "BEA", "CARLO"} << 1;
    QTest::newRow("minuscolo") << "minuscolo" << "Bea" << QStringList{"Anna", "Bea", "carlo"} << 1;
    QTest::newRow("not in the folder") << "minuscolo" << "Zoe" << QStringList{"Anna", "Bea", "carlo"} << -1;
}

void TestMenu::userList()
{
    QFETCH(QString, carattere);
    QFETCH(QString, utente);
    QFETCH(QStringList, lista);
    QFETCH(int, scelto);
    TipoCarattere = carattere;
    creaUtente(QStringLiteral("carlo"));
    const QByteArray profiloValido = [&] { QFile f(profilo("carlo")); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    writeBytes(profilo("Anna"), profiloValido);
    writeBytes(env->file(QStringLiteral("BrivoMarte/utenti/Bea.INI")), profiloValido);
    writeBytes(env->file(QStringLiteral("BrivoMarte/utenti/note.txt")), "x");
    writeBytes(env->file(QStringLiteral("BrivoMarte/utenti/vecchio.ini.bak")), profiloValido);

    NomeUtente = utente;
    FileUtente = PercorsoProfilo(utente);
    NumeroMassimo = 7; // in memory only: kept when the user has no profile to read
    auto &m = apriMenu();
    QStringList voci;
    for (int i = 0; i < m.Combo1->ListCount(); ++i) voci << m.Combo1->List(i);
    QCOMPARE(voci, lista);
    QCOMPARE(m.Combo1->ListIndex(), scelto);
    if (scelto < 0) {
        QCOMPARE(NomeUtente, utente);
        QCOMPARE(NumeroMassimo, 7);
        QVERIFY(!QFile::exists(profilo(utente)));
    } else {
        QCOMPARE(NomeUtente.toUpper(), utente.toUpper());
    }
}

void TestMenu::sameUserInOtherLetterCaseKeepsRecord()
{
    TipoCarattere = QStringLiteral("minuscolo");
    creaUtente(QStringLiteral("Anna"));
    NomeUtente = QStringLiteral("ANNA");
    ScriviIntestazione(QStringLiteral("riga di Anna"));
    NumeroMassimo = 6;
    auto &m = apriMenu();
    // Activation selected the user again: the profile was saved and read back.
    QCOMPARE(m.Combo1->Text(), QStringLiteral("Anna"));
    QCOMPARE(NomeUtente, QStringLiteral("Anna"));
    QCOMPARE(readLines(profilo("Anna")).value(3), QStringLiteral(" 6 "));
    QCOMPARE(NumeroMassimo, 6);
    QCOMPARE(NumeroRigheEsercizi, 2);
    QCOMPARE(RigheEsercizi[1], QStringLiteral("riga di Anna"));
}

void TestMenu::otherUserIsSavedReadAndApplied()
{
    TipoCarattere = QStringLiteral("minuscolo");
    NumeroMassimo = 7;
    TieniTraccia = true;
    creaUtente(QStringLiteral("Bea"));
    ImpostaPredefiniti();
    NumeroMassimo = 5;
    creaUtente(QStringLiteral("Anna"));

    auto &m = apriMenu();
    QCOMPARE(m.Combo1->Text(), QStringLiteral("ANNA"));
    QVERIFY(!m.mnuEserciziEseguiti->Visible());
    QCOMPARE(m.Command1[0]->Caption(), QStringLiteral("ESERCIZIO 1"));
    ScriviIntestazione(QStringLiteral("riga di Anna"));
    NumeroMassimo = 9; // changed in memory: must not be lost by the switch

    m.Combo1->setListIndex(1);
    QCOMPARE(NomeUtente, QStringLiteral("BEA")); // as the list shows her
    QCOMPARE(FileUtente, PercorsoProfilo(QStringLiteral("Bea"))); // her own file
    QCOMPARE(readLines(profilo("Anna")).value(3), QStringLiteral(" 9 "));
    QCOMPARE(NumeroMassimo, 7);
    QCOMPARE(TipoCarattere, QStringLiteral("minuscolo"));
    QCOMPARE(NumeroRigheEsercizi, 0);
    QVERIFY(RigheEsercizi[1].isEmpty());
    // Bea's settings are applied to the menu at once.
    QVERIFY(m.mnuEserciziEseguiti->Visible());
    QCOMPARE(m.Command1[0]->Caption(), QStringLiteral("esercizio 1"));
    // Her profile is written back to her own file.
    QVERIFY(ScriviImpostazioni());
    QCOMPARE(QDir(env->file(QStringLiteral("BrivoMarte/utenti"))).entryList(QDir::Files),
             (QStringList{"Anna.ini", "Bea.ini"}));
}

void TestMenu::namesListedUnlessTheyLeadOutOfTheFolder_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("elencato");
    // Where the profile's bytes are, from the users folder, when `file` is a link to them.
    QTest::addColumn<QString>("collegato");
    QTest::newRow("parent folder") << "..\\x.ini" << false << QString();
    QTest::newRow("backslash") << "a\\b.ini" << false << QString();
    QTest::newRow("dots only") << "...ini" << false << QString();
    QTest::newRow("hidden") << ".anna.ini" << false << QString();
    // Profiles copied in from another computer, under names a new pupil may not take.
    QTest::newRow("two dots") << "Anna..B.ini" << true << QString();
    QTest::newRow("65 characters") << QStringLiteral("Anna") + QString(61, QLatin1Char('z')) + QStringLiteral(".ini") << true
                                   << QString();
    // A link is a profile of the folder only when what it leads to is in the folder.
    QTest::newRow("link leading out") << "link_out.ini" << false << "../../fuori.ini";
    QTest::newRow("link inside") << "link_in.ini" << true << "copie/anna.txt";
}

void TestMenu::namesListedUnlessTheyLeadOutOfTheFolder()
{
    QFETCH(QString, file);
    QFETCH(bool, elencato);
    QFETCH(QString, collegato);
    TipoCarattere = QStringLiteral("minuscolo");
    creaUtente(QStringLiteral("Anna"));
    QStringList righe = readLines(profilo("Anna"));
    righe[3] = QStringLiteral(" 5 "); // NumeroMassimo
    const QString utenti = env->file(QStringLiteral("BrivoMarte/utenti/"));
    const QString bytes = utenti + (collegato.isEmpty() ? file : collegato);
    QVERIFY(QDir().mkpath(QFileInfo(bytes).absolutePath()));
    writeBytes(bytes, (righe.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    if (!collegato.isEmpty()) QVERIFY(QFile::link(collegato, utenti + file));
    auto &m = apriMenu();
    // A name that would lead elsewhere, or a hidden file's, is not listed: no pick can reach it.
    QStringList voci;
    for (int i = 0; i < m.Combo1->ListCount(); ++i) voci << m.Combo1->List(i);
    QCOMPARE(voci.size(), elencato ? 2 : 1);
    const int anna = voci.indexOf(QStringLiteral("Anna"));
    QCOMPARE(m.Combo1->ListIndex(), anna);
    ScriviIntestazione(QStringLiteral("riga"));
    NumeroMassimo = 3;

    m.Combo1->setListIndex(anna);
    QCOMPARE(NomeUtente, QStringLiteral("Anna"));
    QCOMPARE(FileUtente, PercorsoProfilo(QStringLiteral("Anna")));
    QCOMPARE(NumeroMassimo, 3);
    QCOMPARE(NumeroRigheEsercizi, 2);
    QVERIFY(!QFile::exists(env->file(QStringLiteral("BrivoMarte/x.ini"))));
    QVERIFY(env->messages.empty());
    QCOMPARE(m.Combo1->Text(), QStringLiteral("Anna")); // the user in force
    if (!elencato) return;

    // The other is picked as any pupil: its own profile is read.
    const QString nome = file.chopped(4);
    m.Combo1->setListIndex(1 - anna);
    QCOMPARE(NomeUtente, nome);
    QCOMPARE(FileUtente, PercorsoProfilo(nome));
    QCOMPARE(NumeroMassimo, 5);
    QCOMPARE(NumeroRigheEsercizi, 0);
    QVERIFY(env->messages.empty());
}

// ---- what activation applies ----

void TestMenu::activationAppliesTheSettings_data()
{
    QTest::addColumn<QString>("carattere");
    QTest::addColumn<bool>("traccia");
    QTest::addColumn<QString>("esci");
    QTest::newRow("maiuscolo, no record shown") << "maiuscolo" << false << "ESCI";
    QTest::newRow("minuscolo, record shown") << "minuscolo" << true << "esci";
}

void TestMenu::activationAppliesTheSettings()
{
    QFETCH(QString, carattere);
    QFETCH(bool, traccia);
    QFETCH(QString, esci);
    TipoCarattere = carattere;
    TieniTraccia = traccia;
    creaUtente(QStringLiteral("Anna"));
    Esatti = 12;
    Errati = 3;
    auto &m = apriMenu();
    QCOMPARE(Esatti, 0);
    QCOMPARE(Errati, 0);
    QCOMPARE(m.Command1[5]->Caption(), esci);
    QCOMPARE(m.mnuEserciziEseguiti->Visible(), traccia);
    // The six captions share one size, and the list's font never goes below 14 points.
    for (int i = 0; i < FormMenu::kNumeroBottoni; ++i) {
        QCOMPARE(m.Command1[i]->FontSize(), m.Command1[0]->FontSize());
        QCOMPARE(m.Command1[i]->BackColor(), kSfondoMenu);
    }
    QVERIFY(m.Command1[0]->FontSize() >= 14);

    // On a large screen the list follows the buttons, ten points smaller; on a small one
    // it stays at 14 points.
    forms::Screen::setSizeOverride(QSize(1600, 1200));
    m.Hide();
    m.Show();
    QVERIFY(m.Command1[0]->FontSize() > 24);
    QCOMPARE(m.Combo1->FontSize(), m.Command1[0]->FontSize() - 10);
    forms::Screen::setSizeOverride(QSize(240, 180));
    m.Hide();
    m.Show();
    QVERIFY(m.Command1[0]->FontSize() < 24);
    QCOMPARE(m.Combo1->FontSize(), 14.0);
}

// ---- the mouse ----

void TestMenu::hoverLeavesAtMostOneButtonRed()
{
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    auto rossi = [&] {
        QList<int> out;
        for (int i = 0; i < FormMenu::kNumeroBottoni; ++i) {
            const int32_t c = m.Command1[i]->BackColor();
            if (c == 255) out << i;
            else if (c != kSfondoMenu) out << -100 - i; // neither red nor the background
        }
        return out;
    };
    QTest::mouseMove(m.Command1[2]->widget(), QPoint(20, 20));
    QCOMPARE(rossi(), QList<int>{2});
    QTest::mouseMove(m.Image1[4]->widget(), QPoint(5, 5));
    QCOMPARE(rossi(), QList<int>{4});
    QTest::mouseMove(m.Command1[0]->widget(), QPoint(20, 20));
    QCOMPARE(rossi(), QList<int>{0});
    QTest::mouseMove(m.client(), QPoint(3, 3));
    QCOMPARE(rossi(), QList<int>{});
}

void TestMenu::scanningIgnoresTheMouse_data()
{
    QTest::addColumn<int>("tipo");
    QTest::newRow("manual") << 1;
    QTest::newRow("automatic") << 2;
}

void TestMenu::scanningIgnoresTheMouse()
{
    QFETCH(int, tipo);
    TipoScansione = tipo;
    ColoreBottoni = 0x00C0C0C0;
    ColoreScansione = 0x0000FF00;
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    auto colori = [&] {
        QList<int32_t> out;
        for (int i = 0; i < FormMenu::kNumeroBottoni; ++i) out << m.Command1[i]->BackColor();
        return out;
    };
    const QList<int32_t> prima = colori();
    QVERIFY(prima.contains(0x00C0C0C0));
    QTest::mouseMove(m.Command1[3]->widget(), QPoint(20, 20));
    QTest::mouseMove(m.Image1[1]->widget(), QPoint(5, 5));
    QCOMPARE(colori(), prima);
    QTest::mouseMove(m.client(), QPoint(3, 3));
    QCOMPARE(colori(), prima);
    QTest::mouseClick(m.Command1[2]->widget(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseClick(m.Image1[0]->widget(), Qt::LeftButton, {}, QPoint(5, 5));
    m.Command1[5]->raiseClick();
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
    QVERIFY(!m.control(QStringLiteral("FrameUscita"))->Visible());
    // The buttons show the ordinary pointer in the scanning modes; their pictures keep the
    // program's own.
    for (int i = 0; i < FormMenu::kNumeroBottoni; ++i) {
        QCOMPARE(m.Command1[i]->MousePointer(), int(vbDefault));
        QCOMPARE(m.Image1[i]->MousePointer(), int(vbCustom));
    }
}

void TestMenu::mousePointers_data()
{
    QTest::addColumn<bool>("disabilita");
    QTest::addColumn<int>("puntatore");
    QTest::newRow("own pointer") << false << int(vbCustom);
    QTest::newRow("system pointer") << true << int(vbDefault);
}

void TestMenu::mousePointers()
{
    QFETCH(bool, disabilita);
    QFETCH(int, puntatore);
    DisabilitaMousePersonalizzato = disabilita;
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    for (int i = 0; i < FormMenu::kNumeroBottoni; ++i) {
        QCOMPARE(m.Command1[i]->MousePointer(), puntatore);
        QCOMPARE(m.Image1[i]->MousePointer(), puntatore);
        if (!disabilita) {
            QCOMPARE(m.Image1[i]->MouseIcon().pixmap().cacheKey(), m.Command1[0]->MouseIcon().pixmap().cacheKey());
            QCOMPARE(m.Command1[i]->widget()->cursor().shape(), Qt::BitmapCursor);
        } else {
            QVERIFY(!m.Command1[i]->widget()->testAttribute(Qt::WA_SetCursor));
        }
    }
}

// ---- the menu bar ----

void TestMenu::menuItemsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("voce");
    QTest::addColumn<QString>("finestra");
    QTest::newRow("configuration") << "mnuConfigura" << "FormConfigura";
    QTest::newRow("record") << "mnuEserciziEseguiti" << "FormEserciziEseguiti";
    QTest::newRow("about") << "mnuAbout" << "FormInfo";
}

void TestMenu::menuItemsOpenTheirWindows()
{
    QFETCH(QString, voce);
    QFETCH(QString, finestra);
    TieniTraccia = true;
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    m.control(voce)->action()->trigger();
    QCOMPARE(finestreCaricate(), QStringList{finestra});
    QVERIFY(caricata(finestra)->Visible());
}

void TestMenu::documentItemsLeaveTheMenuOpen()
{
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &apertura, "apri");
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    // Missing documents: nothing happens, nothing is said.
    m.control(QStringLiteral("mnuDocum"))->action()->trigger();
    m.control(QStringLiteral("mnuDocum2"))->action()->trigger();
    QVERIFY(apertura.aperti.isEmpty());
    QVERIFY(env->messages.empty());

    writeBytes(env->program() + QStringLiteral("/brivomarte.pdf"), "%PDF-1.4\n");
    writeBytes(env->program() + QStringLiteral("/docdid.pdf"), "%PDF-1.4\n");
    m.control(QStringLiteral("mnuDocum"))->action()->trigger();
    m.control(QStringLiteral("mnuDocum2"))->action()->trigger();
    QCOMPARE(apertura.aperti, (QList<QUrl>{QUrl::fromLocalFile(env->program() + QStringLiteral("/brivomarte.pdf")),
                                          QUrl::fromLocalFile(env->program() + QStringLiteral("/docdid.pdf"))}));
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormMenu")});
}

// ---- the language menu ----

void TestMenu::noLanguageFile()
{
    for (const QString &f : QDir(env->program()).entryList({QStringLiteral("*.lng")}, QDir::Files))
        QFile::remove(env->program() + QLatin1Char('/') + f);
    creaUtente(QStringLiteral("Anna"));
    NumeroMassimo = 2;
    auto &m = apriMenu();
    QCOMPARE(int(env->messages.size()), 1);
    QCOMPARE(env->messages[0].text, QStringLiteral("Non è presente alcun file di linguaggio!"));
    QCOMPARE(env->messages[0].title, QStringLiteral("Brivomarte"));
    QCOMPARE(env->messages[0].style, int(platform::vbOKOnly));
    QCOMPARE(int(m.mnuLanguage.all().size()), 1);
    QCOMPARE(m.mnuLanguage[0]->Caption(), QStringLiteral("mnuLanguage 0"));
    QVERIFY(!m.mnuLanguage[0]->Checked());
    // The buttons keep their layout caption, in the user's letter case.
    QCOMPARE(m.Command1[3]->Caption(), QStringLiteral("LABEL1"));
    // The refusal is then only a line break.
    m.AvviaEsercizi(1);
    QCOMPARE(int(env->messages.size()), 2);
    QCOMPARE(env->messages[1].text, QStringLiteral("\r\n"));
}

void TestMenu::languageItems_data()
{
    QTest::addColumn<QStringList>("togli");    // language files removed
    QTest::addColumn<QStringList>("aggiungi"); // language files added
    QTest::addColumn<QByteArray>("impostata");
    QTest::addColumn<QStringList>("voci");
    QTest::addColumn<int>("spuntata");
    QTest::newRow("one file") << QStringList{"English.lng"} << QStringList{} << QByteArray("Italiano")
                              << QStringList{"Italiano"} << 0;
    QTest::newRow("two files") << QStringList{} << QStringList{} << QByteArray("Italiano")
                               << QStringList{"English", "Italiano"} << 1;
    QTest::newRow("three, extension in capitals") << QStringList{} << QStringList{"Deutsch.LNG"} << QByteArray("Deutsch")
                                                  << QStringList{"Deutsch", "English", "Italiano"} << 0;
    QTest::newRow("setting names a missing language") << QStringList{} << QStringList{} << QByteArray("Francais")
                                                      << QStringList{"English", "Italiano"} << -1;
    QTest::newRow("setting in other letter case") << QStringList{} << QStringList{} << QByteArray("english")
                                                  << QStringList{"English", "Italiano"} << -1;
}

void TestMenu::languageItems()
{
    QFETCH(QStringList, togli);
    QFETCH(QStringList, aggiungi);
    QFETCH(QByteArray, impostata);
    QFETCH(QStringList, voci);
    QFETCH(int, spuntata);
    for (const QString &f : togli) QFile::remove(env->program() + QLatin1Char('/') + f);
    for (const QString &f : aggiungi) writeBytes(env->program() + QLatin1Char('/') + f, "[Strings]\r\n0002=\"NEIN\"\r\n");
    writeBytes(env->program() + QStringLiteral("/leggimi.lng.txt"), "not a language");
    impostaLingua(impostata);
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    QVERIFY(env->messages.empty());
    QStringList trovate;
    for (Control *c : m.mnuLanguage.all()) {
        trovate << c->Caption();
        QVERIFY(c->Visible());
        QCOMPARE(c->Checked(), c->Index() == spuntata);
        QCOMPARE(c->action()->isChecked(), c->Index() == spuntata);
    }
    QCOMPARE(trovate, voci);
    QCOMPARE(MLSCurrentLanguage, QString::fromLatin1(impostata));
}

void TestMenu::choosingALanguage()
{
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    QCOMPARE(m.Command1[5]->Caption(), QStringLiteral("ESCI"));
    QVERIFY(m.mnuLanguage[1]->Checked());
    // A window loaded but not shown is translated as well.
    auto &info = Default<FormInfo>();
    QCOMPARE(info.Command1->Caption(), QStringLiteral("Chiudi"));
    // Qt's own dialogs follow the language chosen.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annulla"));

    m.mnuLanguage[0]->action()->trigger();
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    QVERIFY(m.mnuLanguage[0]->Checked());
    QVERIFY(!m.mnuLanguage[1]->Checked());
    QCOMPARE(MLSCurrentLanguage, QStringLiteral("English"));
    QCOMPARE(MLSReadIni(env->program() + QStringLiteral("/LangSetting.ini"), QStringLiteral("Language"),
                        QStringLiteral("CurrentLanguage")).value_or(QString()),
             QStringLiteral("English"));
    QCOMPARE(m.control(QStringLiteral("mnuConfigura"))->Caption(), QStringLiteral("Settings"));
    QCOMPARE(info.Command1->Caption(), QStringLiteral("Close"));
    QCOMPARE(MLSGetString("0003"), QStringLiteral("YES"));
    // The letter case of the buttons is applied again only at the next activation.
    QCOMPARE(m.Command1[5]->Caption(), QStringLiteral("Exit"));
    m.Hide();
    m.Show();
    QCOMPARE(m.Command1[5]->Caption(), QStringLiteral("EXIT"));

    // A new load of the menu finds the language chosen.
    Form::UnloadAll();
    MLSCurrentLanguage.clear();
    auto &m2 = apriMenu();
    QVERIFY(m2.mnuLanguage[0]->Checked());
    QCOMPARE(m2.Command1[0]->Caption(), QStringLiteral("EXERCISE 1"));
}

void TestMenu::languageChoiceThatCannotBeKept()
{
    // The setting file cannot be replaced (a folder stands in its place, as an installed
    // file the user may not write stands for an account that is not root).
    const QString impostazione = env->program() + QStringLiteral("/LangSetting.ini");
    QVERIFY(QFile::remove(impostazione) && QDir().mkdir(impostazione));
    MLSCurrentLanguage = QStringLiteral("Italiano");
    auto &m = apriMenu();
    env->messages.clear();
    m.mnuLanguage[0]->action()->trigger();
    QCOMPARE(MLSCurrentLanguage, QStringLiteral("English"));
    QCOMPARE(env->messages.size(), size_t(1));
    // Said in the language chosen: the choice holds only until the menu is loaded again.
    QVERIFY(env->messages[0].text.startsWith(QStringLiteral("The chosen language cannot be kept")));
    QVERIFY(env->messages[0].text.endsWith(QStringLiteral("\r\n") + QDir::toNativeSeparators(impostazione)));
}

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"

void TestMenu::switchWithAnUnwritableProfileKeepsTheSettings()
{
    creaUtente(QStringLiteral("Bea"));
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    // Anna's profile cannot be written any more (a folder now stands in its place).
    QFile::remove(profilo("Anna"));
    QVERIFY(QDir().mkdir(profilo("Anna")));
    NumeroMassimo = 6;
    m.Combo1->setListIndex(1);
    QCOMPARE(env->messages.size(), size_t(1));
    QCOMPARE(NomeUtente, QStringLiteral("ANNA"));
    QCOMPARE(FileUtente, PercorsoProfilo(QStringLiteral("Anna")));
    QCOMPARE(NumeroMassimo, 6);
    // The list shows again the user whose settings are in force.
    QCOMPARE(m.Combo1->ListIndex(), 0);
    QCOMPARE(m.Combo1->Text(), QStringLiteral("ANNA"));
}

void TestMenu::userWhoseProfileIsNoFileLetsTheTeacherMoveOn()
{
    TipoCarattere = QStringLiteral("minuscolo");
    creaUtente(QStringLiteral("Anna"));
    creaUtente(QStringLiteral("Bea"));
    // A folder named as a profile: the list shows it, and it is read as missing.
    QVERIFY(QDir().mkdir(profilo("Dir")));
    auto &m = apriMenu();
    QCOMPARE(m.Combo1->ListCount(), 3);
    m.Combo1->setListIndex(2);
    QCOMPARE(NomeUtente, QStringLiteral("Dir"));
    // Back at the menu, then on to another pupil: told once that Dir's settings are not
    // saved, and the switch is made.
    m.Hide();
    m.Show();
    m.Combo1->setListIndex(0);
    QCOMPARE(NomeUtente, QStringLiteral("ANNA")); // Dir's settings, read as missing, show capitals
    QCOMPARE(env->messages.size(), size_t(1));
    QVERIFY(env->messages[0].text.endsWith(QStringLiteral("\r\nDir")));
    // Likewise from the configuration window's list.
    m.Combo1->setListIndex(2);
    m.control(QStringLiteral("mnuConfigura"))->raiseClick();
    auto *c = IfLoaded<FormConfigura>();
    QVERIFY(c);
    c->OptionUtente[1]->setValue(1);
    QCOMPARE(env->messages.size(), size_t(2));
    c->ListModificaUtente->setListIndex(1);
    QCOMPARE(NomeUtente, QStringLiteral("BEA"));
    QCOMPARE(env->messages.size(), size_t(2));
    QVERIFY(QFileInfo(profilo("Dir")).isDir());
}

void TestMenu::doubleClickStartsOnce()
{
    // The second click of a double click arrives while the choice screen the first one
    // opens is still loading.
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    QWidget *bottone = m.Command1[0]->widget();
    QTimer::singleShot(0, [&] {
        if (IfLoaded<FormMenu>()) QTest::mouseClick(bottone, Qt::LeftButton);
    });
    QTest::mouseClick(bottone, Qt::LeftButton);
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormScelteDidattiche1")});
    QCOMPARE(NumeroRigheEsercizi, 2);
    Form *s = caricata(QStringLiteral("FormScelteDidattiche1"));
    QVERIFY(s->Visible());
    QCOMPARE(Form::ActiveForm(), s);
}

void TestMenu::tremorOnTheCaptionOfTheTilePressed()
{
    // A shaky hand presses the first tile's picture, which opens the choice screen, and at
    // once the tile's caption, well away from the picture: a sample of that screen lies
    // there by then. Caption and picture are one tile, so that press is part of the first
    // and chooses nothing; after a pause the same spot does choose.
    RappresentazionePrima = 3;
    creaUtente(QStringLiteral("Anna"));
    auto &m = apriMenu();
    const QRect figura(m.Image1[0]->widget()->mapToGlobal(QPoint()), m.Image1[0]->widget()->size());
    const QPoint didascalia(figura.center().x(), (m.Command1[0]->widget()->mapToGlobal(QPoint()).y() + figura.top()) / 2);
    QVERIFY(!figura.adjusted(-24, -24, 24, 24).contains(didascalia));

    clicComeX11(m.window(), figura.center(), 100000);
    QCOMPARE(finestreCaricate(), QStringList{QStringLiteral("FormScelteDidattiche1")});
    QWidget *scelta = caricata(QStringLiteral("FormScelteDidattiche1"))->window();
    clicComeX11(scelta, didascalia, 100070);
    QCOMPARE(RappresentazionePrima, 3);
    clicComeX11(scelta, didascalia, 102000);
    QCOMPARE(RappresentazionePrima, 0);
}

void TestMenu::pickingOpensItsOwnFile()
{
    // Capitals of "Strauß" are "STRAUSS": the list may show them, but picking the entry
    // opens the file it came from, and no other file appears.
    NumeroMassimo = 7;
    creaUtente(QStringLiteral("Strauß"));
    ImpostaPredefiniti();
    creaUtente(QStringLiteral("_predefinito"));
    auto &m = apriMenu();
    QCOMPARE(m.Combo1->ListCount(), 2);
    const int strauss = m.Combo1->List(0) == QStringLiteral("STRAUSS") ? 0 : 1;
    QCOMPARE(m.Combo1->List(strauss), QStringLiteral("STRAUSS"));
    m.Combo1->setListIndex(strauss);
    QCOMPARE(NomeUtente, QStringLiteral("STRAUSS"));
    QCOMPARE(FileUtente, PercorsoProfilo(QStringLiteral("Strauß")));
    QCOMPARE(NumeroMassimo, 7);
    NumeroMassimo = 5;
    Form::UnloadAll();
    auto &m2 = apriMenu(); // activation saves and reads the user again
    QCOMPARE(m2.Combo1->ListCount(), 2);
    QCOMPARE(m2.Combo1->ListIndex(), strauss);
    QCOMPARE(NumeroMassimo, 5);
    QCOMPARE(QDir(env->file(QStringLiteral("BrivoMarte/utenti"))).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
             (QStringList{"_predefinito.ini", "Strauß.ini"}));
}

void TestMenu::namesAlikeButForCaseAreTwoUsers()
{
    // Two pupils whose names differ only in letter case (profiles copied in): each pick is
    // a change of pupil, with its own settings, its own record and the menu set up for it.
    NumeroMassimo = 7;
    creaUtente(QStringLiteral("anna"));
    QStringList righe = readLines(profilo("anna"));
    righe[3] = QStringLiteral(" 9 ");  // NumeroMassimo
    righe[14] = QStringLiteral(" 2 "); // automatic scanning
    QVERIFY(writeBytes(profilo("Anna"), (righe.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1()));
    auto &m = apriMenu();
    QCOMPARE(m.Combo1->ListCount(), 2);
    for (int volta = 0; volta < 2; ++volta) {
        for (int i = 0; i < 2; ++i) {
            ScriviIntestazione(QStringLiteral("riga di ") + NomeUtente);
            m.Combo1->setListIndex(i);
            QCOMPARE(NomeUtente, m.Combo1->List(i)); // shown as their files spell them
            const bool seconda = NomeUtente == QLatin1String("Anna");
            QCOMPARE(NumeroMassimo, seconda ? 9 : 7);
            QCOMPARE(NumeroRigheEsercizi, 0);
            QCOMPARE(m.Timer1->Enabled(), seconda); // her automatic scanning runs
        }
    }
    QCOMPARE(QDir(env->file(QStringLiteral("BrivoMarte/utenti"))).entryList(QDir::Files, QDir::Name), (QStringList{"Anna.ini", "anna.ini"}));
}

void TestMenu::longUserListIsFilledOnce()
{
    // Five thousand pupils: the list is filled in one go, not emptied and filled again at
    // every name.
    CreaCartelle();
    constexpr int kUtenti = 5000;
    for (int i = 0; i < kUtenti; ++i) writeBytes(profilo(QStringLiteral("u%1").arg(i, 4, 10, QLatin1Char('0'))), "");
    auto &m = Default<FormMenu>();
    auto *lista = qobject_cast<QComboBox *>(m.Combo1->widget());
    QVERIFY(lista);
    qint64 righe = 0;
    QObject::connect(lista->model(), &QAbstractItemModel::rowsInserted, [&](const QModelIndex &, int a, int b) { righe += b - a + 1; });
    m.Show();
    QCOMPARE(m.Combo1->ListCount(), kUtenti);
    QCOMPARE(righe, qint64(kUtenti));
}

void TestMenu::longNameShortenedInTheMiddle_data()
{
    QTest::addColumn<QSize>("schermo");
    QTest::newRow("1280x1024") << QSize(1280, 1024);
    QTest::newRow("1024x768") << QSize(1024, 768);
}

void TestMenu::longNameShortenedInTheMiddle()
{
    // A name wider than the box keeps its beginning and its end in sight, the middle given up
    // to an ellipsis: in the rows of the dropped list, and in the closed box, clear of its
    // arrow. Names alike but in the middle look alike; names with another end do not.
    QFETCH(QSize, schermo);
    forms::Screen::setSizeOverride(schermo);
    // Narrow letters at both ends: one letter more than fits is never lost in the room the
    // arrow takes.
    const QString inizio(30, QLatin1Char('I')), fine(30, QLatin1Char('I'));
    const QString lungo = inizio + QString(30, QLatin1Char('M')) + fine;
    const QString altroMezzo = inizio + QString(30, QLatin1Char('N')) + fine;
    const QString altraFine = inizio + QString(30, QLatin1Char('M')) + QString(30, QLatin1Char('L'));
    for (const QString &nome : {lungo, altroMezzo, altraFine, QStringLiteral("BEA")}) creaUtente(nome);
    auto &m = apriMenu();
    auto *box = qobject_cast<QComboBox *>(m.Combo1->widget());
    QVERIFY(box);
    QCOMPARE(box->count(), 4);

    m.Combo1->setListIndex(box->findText(QStringLiteral("BEA")));
    box->showPopup();
    QAbstractItemView *righe = box->view();
    auto riga = [&](const QString &nome) {
        return righe->viewport()->grab(righe->visualRect(righe->model()->index(box->findText(nome), 0))).toImage();
    };
    QCOMPARE(riga(lungo), riga(altroMezzo));
    QVERIFY(riga(lungo) != riga(altraFine));
    box->hidePopup();

    auto chiusa = [&](const QString &nome) {
        m.Combo1->setListIndex(box->findText(nome));
        return box->grab().toImage();
    };
    QCOMPARE(chiusa(lungo), chiusa(altroMezzo));
    QVERIFY(chiusa(lungo) != chiusa(altraFine));
    QStyleOptionComboBox opzioni;
    opzioni.initFrom(box);
    const QRect freccia = box->style()->subControlRect(QStyle::CC_ComboBox, &opzioni, QStyle::SC_ComboBoxArrow, box);
    QVERIFY(!freccia.isEmpty());
    QCOMPARE(chiusa(lungo).copy(freccia), chiusa(QStringLiteral("BEA")).copy(freccia));
    // The closed box's text, as drawn, fits its text field whole: none of it is left for the
    // field's edge to cut off.
    m.Combo1->setListIndex(box->findText(lungo));
    TestiDipinti dipinti(box->size());
    box->render(&dipinti);
    QVERIFY(!dipinti.testi.empty());
    const QPointF da = dipinti.testi.front().da; // a sign the font lacks comes as a piece of its own
    QString testo;
    for (const auto &pezzo : dipinti.testi) testo += pezzo.testo;
    QVERIFY2(testo.contains(QChar(0x2026)), qPrintable(testo));
    const QRect campo = box->style()->subControlRect(QStyle::CC_ComboBox, &opzioni, QStyle::SC_ComboBoxEditField, box);
    const int larghezza = QFontMetrics(box->font()).horizontalAdvance(testo);
    QVERIFY2(da.x() >= campo.left() && da.x() + larghezza <= campo.left() + campo.width(),
             qPrintable(QStringLiteral("%1 + %2 beyond %3 + %4").arg(da.x()).arg(larghezza).arg(campo.left()).arg(campo.width())));
}

void TestMenu::returnWithNothingChangedWritesNothing()
{
    // The start writes the default profile as "_predefinito.INI", the menu asks for
    // "_predefinito.ini"; every return to the menu saves the user and reads it again. With
    // nothing changed, no file is put in place, and the users folder is read once at most,
    // for the list, not at every look for the profile.
    CreaCartelle();
    NomeUtente = QStringLiteral("_predefinito");
    FileUtente = QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\brivomarte\\utenti\\_predefinito.INI");
    QVERIFY(ScriviImpostazioni());
    const QString predefinito = env->file(QStringLiteral("BrivoMarte/utenti/_predefinito.INI"));
    for (const char *altro : {"Anna.ini", "Bea.INI"})
        writeBytes(env->file(QStringLiteral("BrivoMarte/utenti/") + QLatin1String(altro)), readBytes(predefinito));
    auto inode = [&] {
        struct stat st;
        return ::stat(QFile::encodeName(predefinito).constData(), &st) == 0 ? st.st_ino : 0;
    };
    apriMenu();
    Form::UnloadAll();
    const auto prima = inode();
    const int letture = apertureCartella(env->file(QStringLiteral("BrivoMarte/utenti")), [] { apriMenu(); });
    if (letture < 0) QSKIP("no inotify here");
    QCOMPARE(Default<FormMenu>().Combo1->Text(), QStringLiteral("_PREDEFINITO"));
    QCOMPARE(inode(), prima);
    QVERIFY(letture <= 1);

    // A change is written, in place of the file it came from.
    NumeroMassimo = 6;
    Form::UnloadAll();
    apriMenu();
    QVERIFY(inode() != prima);
    QCOMPARE(readLines(predefinito).value(3), QStringLiteral(" 6 "));
    QCOMPARE(QDir(env->file(QStringLiteral("BrivoMarte/utenti"))).entryList(QDir::Files).size(), 3);
}
