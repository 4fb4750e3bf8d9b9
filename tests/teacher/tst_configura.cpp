// The configuration window as a teacher uses it: settings in their controls and back, the
// scroll bars' ranges, the tabs, the previews of nine, the colour buttons, the user
// switches with their profile writes, the names refused for a new user, and leaving.
#include "TestSupport.h"
#include "FormConfigura.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "forms/Twips.h"
#include "platform/Dialogs.h"
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QLocale>
#include <QRegularExpression>
#include <QTabBar>
#include <QtTest>
#include <functional>
#include <sys/stat.h>

using namespace forms;

namespace {

FormConfigura &apri()
{
    auto &f = Default<FormConfigura>();
    f.Show();
    return f;
}

QStringList visibiliIn(FormConfigura &f, Control *contenitore)
{
    QStringList v;
    for (Control *c : f.Controls())
        if (c->Container() == contenitore && c->Visible()) v << c->fullName();
    return v;
}

} // namespace

class TestConfigura : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> env;
    QString profilo(const QString &nome) const { return env->file(QStringLiteral("BrivoMarte/utenti/%1.ini").arg(nome)); }
    void diventa(const QString &nome)
    {
        NomeUtente = nome;
        FileUtente = PercorsoProfilo(nome);
    }

private slots:
    void init()
    {
        Screen::setSizeOverride(QSize(1280, 1024));
        env = std::make_unique<Ambiente>();
        CreaCartelle();
        diventa(QStringLiteral("_predefinito"));
    }
    void cleanup()
    {
        Form::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::setColourDialogHandler(nullptr);
        Ridimensionatore.reset();
        Screen::setSizeOverride(QSize());
        env.reset();
    }

    void caselleMostranoESalvano()
    {
        const std::pair<const char *, bool *> caselle[] = {
            {"CheckSalvaUtente", &TieniTraccia}, {"CheckDisabilitaControlloAlunno", &DisabilitaControlloAlunno},
            {"CheckSuoni", &SuoniAttivi}, {"CheckDisabilitaMousePersonalizzato", &DisabilitaMousePersonalizzato}};
        for (bool iniziale : {true, false}) {
            for (auto [nome, b] : caselle) *b = iniziale;
            auto &f = apri();
            for (auto [nome, b] : caselle) {
                Control *c = f.control(QLatin1String(nome));
                QCOMPARE(c->Value(), iniziale ? 1 : 0);
                c->setValue(iniziale ? 0 : 1);
                QCOMPARE(*b, !iniziale);
            }
            f.Unload();
        }
    }

    // What the bars cannot show never becomes a setting; an index no option has breaks nothing.
    void valoriFuoriDaiControlli()
    {
        NumeroMassimo = 0;
        DimensioneRiquadro = 100;
        VelocitaScansione = -3;
        TipoCarattere = QStringLiteral("Maiuscolo");
        RappresentazionePrima = 9;
        auto &f = apri();
        QCOMPARE(NumeroMassimo, 2);
        QCOMPARE(f.LabelNumeroMassimo->Caption(), MLSGetString(QStringLiteral("0025")) + QStringLiteral("2"));
        QCOMPARE(DimensioneRiquadro, 30);
        QCOMPARE(VelocitaScansione, 4);
        f.HScroll4->setValue(50);
        QCOMPARE(NumeroMassimo, 10);
        QCOMPARE(f.LabelNumeroMassimo->Caption(), MLSGetString(QStringLiteral("0025")) + QStringLiteral("10"));
        QVERIFY(!f.maiuscolo->Value() && !f.minuscolo->Value());
        for (int k = 0; k < 8; ++k) QVERIFY(!f.OptionDis1[k]->Value());
        TipoScansione = 7;
        f.Unload();
        auto &g = apri();
        for (int i = 0; i < 3; ++i) QVERIFY(!g.Option4[i]->Value());
    }

    void schedeEModalitaDiInput()
    {
        auto &f = apri();
        auto *schede = qobject_cast<QTabBar *>(f.TabStrip1->widget());
        const QStringList cornici{"FrameUtente", "FrameScelte", "FrameFonts", "FrameVoce", "FramePunt"};
        QCOMPARE(visibiliIn(f, nullptr).filter(QStringLiteral("Frame")), QStringList{"FrameUtente"});
        for (int t : {2, 4, 1, 3, 0, 4}) {
            schede->setCurrentIndex(t);
            QCOMPARE(visibiliIn(f, nullptr).filter(QStringLiteral("Frame")), QStringList{cornici[t]});
        }
        const QStringList opzioni{"Option4(0)", "Option4(1)", "Option4(2)"};
        QCOMPARE(visibiliIn(f, f.FramePunt), opzioni + QStringList{"CheckDisabilitaMousePersonalizzato"});
        f.Option4[2]->setValue(1);
        QCOMPARE(TipoScansione, 2);
        const QStringList scansione{"HScroll3", "Label7", "CommandSceltaColoreBottoniSelezionati", "CheckRiquadro", "CheckRiparti"};
        QCOMPARE(visibiliIn(f, f.FramePunt), opzioni + scansione);
        f.CheckRiquadro->setValue(1);
        QVERIFY(ConRiquadro && f.ShapeRiquadro->Visible() && f.HScrollRiquadro->Visible());
        f.HScrollRiquadro->setValue(17);
        QCOMPARE(f.ShapeRiquadro->BorderWidth(), 17);

        // The speed bar changes its text only: a colour set meanwhile is not shown.
        ColoreDisegno1 = 0x00123456;
        const std::pair<int, const char *> velocita[] = {{4, "1.00"}, {5, "1.25"}, {60, "15.00"}};
        for (auto [quarti, secondi] : velocita) {
            f.HScroll3->setValue(quarti);
            QCOMPARE(VelocitaScansione, quarti);
            QCOMPARE(f.Label7->Caption(), QStringLiteral("Velocità scansione: ")
                                              + QString::fromLatin1(secondi).replace(QLatin1Char('.'), QLocale().decimalPoint())
                                              + QStringLiteral(" secondi"));
        }
        QVERIFY(f.LabelFontSelezionato1->ForeColor() != 0x00123456);
        f.Option4[1]->setValue(1);
        QVERIFY(!f.HScroll3->Visible() && f.ShapeRiquadro->Visible());
    }

    void anteprimaSegueLeScelte()
    {
        RappresentazionePrima = 4;
        RappresentazioneSeconda = 4;
        auto &f = apri();
        QCOMPARE(f.LabelPrimoNumero->Caption(), QStringLiteral("9"));
        QVERIFY(f.LabelPrimoNumero->Visible() && f.LabelSecondoNumero->Visible());
        QCOMPARE(f.LabelSecondoNumero->ForeColor(), colourFromDouble(ColoreDisegno2));
        QVERIFY(f.LabelFontSelezionato1->FontSize() > 14);
        QCOMPARE(f.LabelFontSelezionato2->FontSize(), f.LabelFontSelezionato1->FontSize());

        f.OptionDis1[1]->setValue(1); // the domino leaves no digit behind
        QCOMPARE(visibiliIn(f, f.FramePrimaImmagine).size(), 11);
        QVERIFY(!f.LabelPrimoNumero->Visible() && f.Linea1->Visible());
        QCOMPARE(f.Shape1[5]->FillStyle(), int(vbFSTransparent));
        f.OptionDis2[5]->setValue(1);
        QCOMPARE(f.LabelSecondoNumero->Caption(), MLSGetString(QStringLiteral("0029")));
        f.minuscolo->setValue(1);
        QCOMPARE(f.LabelSecondoNumero->Caption(), MLSGetString(QStringLiteral("0030")));
        f.OptionDis1[7]->setValue(1); // drawn at random by the exercises: no preview
        QVERIFY(visibiliIn(f, f.FramePrimaImmagine).isEmpty());
        QVERIFY(f.LabelSecondoNumero->Visible());
    }

    void pulsantiDeiColori()
    {
        RappresentazionePrima = 2;
        auto &f = apri();
        QVERIFY(!f.CommandSceltaColori->Enabled());
        QCOMPARE(f.FrameScelte->BackColor(), colourFromDouble(ColoreSfondoFinestra)); // a random colour or not

        // Cancelled: no setting and nothing shown changes.
        auto vista = [&] {
            QList<int32_t> v{int32_t(ColoreDisegno1), int32_t(ColoreSfondo2), int32_t(ColoreScansione)};
            for (Control *c : f.Controls()) v << c->BackColor() << c->ForeColor() << c->FillColor() << c->BorderColor();
            return v;
        };
        const auto prima = vista();
        platform::setColourDialogHandler([] { return QColor(); });
        for (Control *b : {f.CommandSceltaColoreFont1.get(), f.CommandSceltaSfondoTesto2.get(), f.CommandSceltaColoreBottoniSelezionati.get()})
            b->raiseClick();
        QCOMPARE(vista(), prima);

        const int32_t verde = 0x00208010;
        platform::setColourDialogHandler([] { return QColor(0x10, 0x80, 0x20); });
        const int32_t secondo = f.Shape2[0]->FillColor();
        f.CommandSceltaColoreFont1->raiseClick();
        QCOMPARE(ColoreDisegno1, double(verde));
        QCOMPARE(f.LabelFontSelezionato1->ForeColor(), verde);
        QCOMPARE(f.Shape1[9]->FillColor(), verde);
        QCOMPARE(f.Shape2[0]->FillColor(), secondo);
        f.CommandSceltaSfondoTesto2->raiseClick();
        QCOMPARE(f.FrameSecondaImmagine->BackColor(), verde);
        f.CommandSceltaColoreBottoniSelezionati->raiseClick();
        QCOMPARE(f.ShapeRiquadro->BorderColor(), verde);
        f.OptionColoreCasualeFisso[1]->setValue(1);
        f.CommandSceltaColori->raiseClick();
        QCOMPARE(f.FramePunt->BackColor(), verde);
    }

    void utentiEsistenti()
    {
        NumeroMassimo = 6;
        creaUtente(QStringLiteral("Anna"));
        creaUtente(QStringLiteral("LUCA"));
        writeBytes(profilo(QStringLiteral(".nascosto")), "x");
        ImpostaPredefiniti();
        diventa(QStringLiteral("_predefinito"));
        auto &f = apri();
        QVERIFY(!QFile::exists(profilo(QStringLiteral("_predefinito"))));
        f.OptionUtente[0]->raiseClick(); // already selected: written all the same
        QVERIFY(QFile::exists(profilo(QStringLiteral("_predefinito"))));
        f.OptionUtente[1]->setValue(1);
        QCOMPARE(visibiliIn(f, f.FrameUtente).filter(QStringLiteral("List")), QStringList{"ListModificaUtente"});
        QCOMPARE(f.ListModificaUtente->List(0) + f.ListModificaUtente->List(1), QStringLiteral("ANNALUCA"));
        QCOMPARE(f.ListModificaUtente->ListCount(), 2);

        f.HScroll4->setValue(8);
        f.ListModificaUtente->setListIndex(0);
        QCOMPARE(readLines(profilo(QStringLiteral("_predefinito")))[3], QStringLiteral(" 8 "));
        // Named as the list shows her; her profile is the file the entry came from.
        QCOMPARE(f.Label4->Caption(), QStringLiteral("ANNA"));
        QCOMPARE(NomeUtente, QStringLiteral("ANNA"));
        QCOMPARE(FileUtente, PercorsoProfilo(QStringLiteral("Anna")));
        QCOMPARE(f.HScroll4->Value(), 6);
        // Her profile is written back to her own file, whatever its letter case.
        f.HScroll4->setValue(3);
        f.OptionUtente[0]->setValue(1);
        QCOMPARE(readLines(profilo(QStringLiteral("Anna")))[3], QStringLiteral(" 3 "));
        QCOMPARE(NomeUtente, QStringLiteral("_predefinito"));
        QCOMPARE(NumeroMassimo, 8);
        QVERIFY(visibiliIn(f, f.FrameUtente).filter(QRegularExpression(QStringLiteral("List|Text|Check"))).isEmpty());
    }

    void nuovoUtente()
    {
        TieniTraccia = true;
        auto &f = apri();
        f.OptionUtente[2]->setValue(1);
        QVERIFY(!TieniTraccia && f.CheckSalvaUtente->Visible());
        QCOMPARE(readLines(profilo(QStringLiteral("_predefinito")))[5], QStringLiteral("True"));
        QWidget *casella = f.TextNuovoUtente->widget();
        QTest::keyClicks(casella, QStringLiteral(" Anna"));
        QCOMPARE(f.Label4->Caption(), QStringLiteral(" Anna"));
        for (int i = 0; i < 5; ++i) QTest::keyClick(casella, Qt::Key_Backspace);
        QCOMPARE(NomeUtente, QStringLiteral(" A")); // the last name that was not blank
        QTest::keyClicks(casella, QStringLiteral(" Anna"));
        f.OptionUtente[1]->setValue(1);
        QCOMPARE(readLines(profilo(QStringLiteral(" Anna")))[5], QStringLiteral("False"));
        QVERIFY(!QFile::exists(profilo(QStringLiteral(" A"))));
        QCOMPARE(f.ListModificaUtente->List(0), QStringLiteral(" ANNA"));
    }

    void nomeNonValido()
    {
        auto &f = apri();
        f.OptionUtente[2]->setValue(1);
        QTest::keyClicks(f.TextNuovoUtente->widget(), QStringLiteral("Eva"));
        const QStringList rifiutati{"../fuori", "a/b", "a\\b", "..", QStringLiteral("a\tb"), "C:x"};
        for (const QString &nome : rifiutati) f.TextNuovoUtente->setText(nome); // as if pasted
        QTest::keyClick(f.TextNuovoUtente->widget(), '/');                      // typed
        QCOMPARE(env->messages.size(), size_t(rifiutati.size() + 1));
        QCOMPARE(f.TextNuovoUtente->Text(), QStringLiteral("Eva"));
        QCOMPARE(FileUtente, PercorsoProfilo(QStringLiteral("Eva")));
        // Nothing but signs that do not show is no name, as nothing but blanks is not.
        f.TextNuovoUtente->setText(QStringLiteral("\u200B\u200F\u2028 \u00A0"));
        QCOMPARE(NomeUtente, QStringLiteral("Eva"));
        QVERIFY(!f.LabelAvvisoNome->Visible());
        QCOMPARE(env->messages.size(), size_t(rifiutati.size() + 1));
        f.control(QStringLiteral("mnuEsci"))->raiseClick();
        QVERIFY(QFile::exists(profilo(QStringLiteral("Eva"))));
        QCOMPARE(QDir(env->root()).entryList(QDir::Files), QStringList{"leggimi.txt"});
        QVERIFY(QDir(env->root() + QStringLiteral("/BrivoMarte")).entryList(QDir::Files).isEmpty());
    }

    // A name already in the users folder, or one that a list would show alike (in any letter
    // case, with its accents composed otherwise, with signs in it that do not show), never
    // becomes a new user: the box says so while typing, the user before stays current,
    // nothing is written.
    void nomeEsistenteNonSovrascrive()
    {
        creaUtente(QStringLiteral("Zoë Straße"));
        creaUtente(QStringLiteral("İpek"));
        NumeroMassimo = 7;
        creaUtente(QStringLiteral("Anna"));
        const QByteArray anna = [&] { QFile f(profilo(QStringLiteral("Anna"))); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        ImpostaPredefiniti();
        diventa(QStringLiteral("_predefinito"));
        NumeroMassimo = 3;
        auto &f = apri();
        f.OptionUtente[2]->setValue(1);
        for (const QString &nome : {QStringLiteral("anna"), QStringLiteral("Anna"), QStringLiteral("ANNA"),
                                    QStringLiteral("_predefinito"), QStringLiteral("_PREDEFINITO"), QStringLiteral("An\u200Bna"),
                                    QStringLiteral("ZOË STRASSE"), QStringLiteral("Zoe\u0308 Straße"), QStringLiteral("zoë strasse"),
                                    QStringLiteral("Zoë\u00A0Straße"), QStringLiteral("IPEK"), QStringLiteral("ipek"),
                                    QStringLiteral("I\u0307pek")}) {
            f.TextNuovoUtente->setText(nome);
            QCOMPARE(f.TextNuovoUtente->Text(), nome); // kept: typing on may make it a new name
            QVERIFY2(f.LabelAvvisoNome->Visible(), qPrintable(nome));
            QVERIFY(f.LabelAvvisoNome->Caption().contains(QStringLiteral("esiste già"), Qt::CaseInsensitive));
            QCOMPARE(NomeUtente, QStringLiteral("_predefinito"));
            QCOMPARE(f.Label4->Caption(), QStringLiteral("_predefinito"));
        }
        QTest::keyClicks(f.TextNuovoUtente->widget(), QStringLiteral("lisa")); // "_PREDEFINITOlisa"
        QVERIFY(!f.LabelAvvisoNome->Visible());
        f.TextNuovoUtente->setText(QStringLiteral("anna"));
        f.control(QStringLiteral("mnuEsci"))->raiseClick();
        QCOMPARE([&] { QFile g(profilo(QStringLiteral("Anna"))); g.open(QIODevice::ReadOnly); return g.readAll(); }(), anna);
        QCOMPARE(QDir(env->file(QStringLiteral("BrivoMarte/utenti"))).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
                 (QStringList{"_predefinito.ini", "Anna.ini", "İpek.ini", "Zoë Straße.ini"}));
        QCOMPARE(readLines(profilo(QStringLiteral("_predefinito")))[3], QStringLiteral(" 3 "));
    }

    // "Nuovo utente" unticks the record box for the user to be made; left without a name,
    // the user who was current keeps its own setting, on disk and in memory.
    void nuovoUtenteSenzaNome()
    {
        TieniTraccia = true;
        auto &f = apri();
        f.OptionUtente[2]->setValue(1);
        QVERIFY(!TieniTraccia);
        f.OptionUtente[0]->setValue(1);
        QCOMPARE(readLines(profilo(QStringLiteral("_predefinito")))[5], QStringLiteral("True"));
        QVERIFY(TieniTraccia);
        f.OptionUtente[2]->setValue(1);
        f.control(QStringLiteral("mnuEsci"))->raiseClick();
        QCOMPARE(readLines(profilo(QStringLiteral("_predefinito")))[5], QStringLiteral("True"));
        QVERIFY(TieniTraccia);
    }

    // The user list comes from one pass over the users folder, and a new name is checked at
    // every key against the users listed when "Nuovo utente" was chosen: with thousands of
    // profiles, a pass per name listed or per key typed would be felt.
    void utentiDaUnaSolaLettura()
    {
        ScriviImpostazioni();
        const QByteArray profiloValido = readBytes(profilo(QStringLiteral("_predefinito")));
        for (const char *nome : {"Anna.INI", "Bea.INI", "carlo.ini"})
            writeBytes(env->file(QStringLiteral("BrivoMarte/utenti/") + QLatin1String(nome)), profiloValido);
        const QString utenti = env->file(QStringLiteral("BrivoMarte/utenti"));
        auto &f = apri();
        const int elenco = apertureCartella(utenti, [&] { f.OptionUtente[1]->setValue(1); });
        if (elenco < 0) QSKIP("no inotify here");
        QVERIFY(elenco <= 1);
        QCOMPARE(f.ListModificaUtente->ListCount(), 3);
        QCOMPARE(f.ListModificaUtente->List(1), QStringLiteral("BEA"));

        f.OptionUtente[2]->setValue(1);
        QWidget *casella = f.TextNuovoUtente->widget();
        const int battitura = apertureCartella(utenti, [&] {
            QTest::keyClicks(casella, QStringLiteral("bEa"));
            QVERIFY(f.LabelAvvisoNome->Visible()); // taken, whatever its letter case
            QTest::keyClicks(casella, QStringLiteral("trice"));
        });
        QCOMPARE(battitura, 0);
        QVERIFY(!f.LabelAvvisoNome->Visible());
        QCOMPARE(NomeUtente, QStringLiteral("bEatrice"));
        // The user made by the next write is known from then on.
        f.OptionUtente[2]->raiseClick();
        QTest::keyClicks(casella, QStringLiteral("BEATRICE"));
        QVERIFY(f.LabelAvvisoNome->Visible());
        QCOMPARE(NomeUtente, QStringLiteral("bEatrice"));
    }

    // Names longer than the limit are refused as typed, in characters as the teacher sees
    // them, and so is a name whose file name the file system would refuse; the refusal of
    // signs names each of the signs that are refused, and control characters.
    void nomiTroppoLunghiESegni()
    {
        MLSCurrentLanguage = QStringLiteral("nessuna"); // the window's own texts
        auto &f = apri();
        f.OptionUtente[2]->setValue(1);
        const QString emoji = QString::fromUtf8("😀").repeated(40); // 80 UTF-16 units
        f.TextNuovoUtente->setText(emoji);
        QCOMPARE(NomeUtente, emoji);
        f.TextNuovoUtente->setText(QString::fromUtf8("👨‍👩‍👧‍👦").repeated(kLunghezzaMassimaNome)); // 1600 bytes
        QCOMPARE(f.TextNuovoUtente->Text(), emoji);
        QCOMPARE(env->messages.size(), size_t(1));
        env->messages.clear();
        const QString lungo(kLunghezzaMassimaNome, QChar(0x00E8)); // two bytes each in UTF-8
        f.TextNuovoUtente->setText(lungo);
        QCOMPARE(NomeUtente, lungo);
        QTest::keyClick(f.TextNuovoUtente->widget(), 'x');
        QCOMPARE(f.TextNuovoUtente->Text(), lungo);
        QCOMPARE(NomeUtente, lungo);
        QCOMPARE(env->messages.size(), size_t(1));
        QVERIFY(env->messages.back().text.contains(QString::number(kLunghezzaMassimaNome)));
        f.TextNuovoUtente->setText(QString(300, QLatin1Char('a')));
        QCOMPARE(f.TextNuovoUtente->Text(), lungo);
        for (const QChar c : QStringLiteral("\\/:*?\"<>|")) {
            QCOMPARE(ControllaNomeUtente(QStringLiteral("a") + c), EsitoNomeUtente::SegniVietati);
            QVERIFY2(f.LabelNomeNonValido->Caption().contains(c), qPrintable(QString(c)));
        }
        f.control(QStringLiteral("mnuEsci"))->raiseClick();
        QVERIFY(QFile::exists(profilo(lungo)));

        const std::pair<const char *, const char *> detto[] = {
            {"nessuna", "caratteri di controllo"}, {"Italiano", "caratteri di controllo"}, {"English", "control characters"}};
        for (auto [lingua, controllo] : detto) {
            MLSCurrentLanguage = QLatin1String(lingua);
            auto &g = apri();
            g.OptionUtente[2]->setValue(1);
            for (const QString &incollato : {QStringLiteral("a\tb"), QStringLiteral("a\nb"), QStringLiteral("a") + QChar(0x7F)}) {
                env->messages.clear();
                g.TextNuovoUtente->setText(incollato);
                QCOMPARE(env->messages.size(), size_t(1));
                QVERIFY2(env->messages[0].text.contains(QLatin1String(controllo)), lingua);
            }
            g.Unload();
        }
    }

    // Device names of Windows and names ending in a dot or a blank are not new users.
    void nomiRiservati()
    {
        auto &f = apri();
        f.OptionUtente[2]->setValue(1);
        for (const QString &nome : {QStringLiteral("con"), QStringLiteral("Nul.txt"), QStringLiteral("COM1"),
                                    QStringLiteral("lpt9"), QStringLiteral("Anna."), QStringLiteral("Anna ")}) {
            f.TextNuovoUtente->setText(nome);
            QVERIFY2(f.LabelAvvisoNome->Visible(), qPrintable(nome));
            QCOMPARE(NomeUtente, QStringLiteral("_predefinito"));
        }
        f.TextNuovoUtente->setText(QStringLiteral("Anna Maria"));
        QCOMPARE(NomeUtente, QStringLiteral("Anna Maria"));
        QVERIFY(env->messages.empty()); // said under the box, not in a box at every key
    }

    // A name beginning with a dot would be a hidden file, which no list shows: it is held
    // as a device name is. Message 0057 names what the check refuses, in each language and
    // in the program's own words, and the check refuses what it names.
    void nomeConPuntoIniziale()
    {
        creaUtente(QStringLiteral("Bea"));
        QVERIFY(writeBytes(profilo(QStringLiteral(".anna")), readBytes(profilo(QStringLiteral("Bea")))));
        diventa(QStringLiteral("_predefinito"));
        QCOMPARE(ElencoUtenti(true), QStringList{"Bea"}); // the menu's list, as "Modifica utente"'s
        auto &f = apri();
        f.OptionUtente[2]->setValue(1);
        QMap<QString, QString> testi;
        for (const char *lingua : {"Italiano", "English", "nessuna"}) {
            MLSCurrentLanguage = QLatin1String(lingua);
            for (const QString &nome : {QStringLiteral(".anna"), QStringLiteral(".bea")}) {
                f.TextNuovoUtente->setText(QStringLiteral("x"));
                f.TextNuovoUtente->setText(nome);
                QVERIFY2(f.LabelAvvisoNome->Visible(), qPrintable(nome));
                QCOMPARE(NomeUtente, QStringLiteral("_predefinito"));
                const QString delFile = MLSGetStringOr(QStringLiteral("0057"), QString()); // none without a language
                if (!delFile.isEmpty()) QCOMPARE(f.LabelAvvisoNome->Caption(), delFile);
            }
            const QString testo = testi[QLatin1String(lingua)] = f.LabelAvvisoNome->Caption();
            for (const char *nominato : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "COM0", "COM9", "LPT0", "LPT9", "¹", "²", "³"})
                QVERIFY2(testo.contains(QString::fromUtf8(nominato)), nominato);
        }
        QCOMPARE(testi["nessuna"], testi["Italiano"]);
        QVERIFY(testi["Italiano"].contains(QStringLiteral("iniziare con un punto")));
        QVERIFY(testi["English"].contains(QStringLiteral("begin with a dot")));
        QStringList riservati{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
        for (const char *porta : {"COM", "LPT"})
            for (const QChar cifra : QStringLiteral("0123456789¹²³")) riservati << QLatin1String(porta) + cifra;
        for (const QString &nome : riservati) {
            QCOMPARE(ControllaNomeUtente(nome), EsitoNomeUtente::Riservato);
            QCOMPARE(ControllaNomeUtente(nome.toLower() + QStringLiteral(".txt")), EsitoNomeUtente::Riservato);
        }
    }

    // Every entry of the users folder takes its name, whatever it is: a pipe or a dangling
    // link is no new user. One made after the folder was listed is found when the new user is
    // left: it is said once that it cannot be saved, and the teacher moves on.
    void nomePresoDaCioCheNonEUnFile()
    {
        QCOMPARE(mkfifo(QFile::encodeName(profilo(QStringLiteral("Pipa"))).constData(), 0644), 0);
        QVERIFY(QFile::link(QStringLiteral("nessuno.ini"), profilo(QStringLiteral("Rotto"))));
        auto &f = apri();
        f.OptionUtente[2]->setValue(1);
        for (const QString &nome : {QStringLiteral("pipa"), QStringLiteral("ROTTO")}) {
            f.TextNuovoUtente->setText(nome);
            QVERIFY2(f.LabelAvvisoNome->Visible(), qPrintable(nome));
            QCOMPARE(f.LabelAvvisoNome->Caption(), TestoProfiloSenzaFile());
            QCOMPARE(NomeUtente, QStringLiteral("_predefinito"));
        }
        QVERIFY(env->messages.empty());

        const std::pair<QString, std::function<bool(const QString &)>> fatti[] = {
            {QStringLiteral("Tubo"), [](const QString &p) { return mkfifo(QFile::encodeName(p).constData(), 0644) == 0; }},
            {QStringLiteral("Lia"), [](const QString &p) { return QFile::link(QStringLiteral("altrove.ini"), p); }}};
        for (const auto &[nome, crea] : fatti) {
            f.OptionUtente[0]->setValue(1);
            env->messages.clear();
            f.OptionUtente[2]->setValue(1);
            QVERIFY(crea(profilo(nome)));
            f.TextNuovoUtente->setText(nome);
            QVERIFY(!f.LabelAvvisoNome->Visible());
            QCOMPARE(NomeUtente, nome);
            f.OptionUtente[0]->setValue(1);
            QCOMPARE(NomeUtente, QStringLiteral("_predefinito"));
            QCOMPARE(env->messages.size(), size_t(1));
            QCOMPARE(env->messages[0].text, TestoProfiloSenzaFile() + QStringLiteral("\r\n") + nome);
            f.OptionUtente[2]->setValue(1);
            f.TextNuovoUtente->setText(nome);
            QCOMPARE(f.LabelAvvisoNome->Caption(), TestoProfiloSenzaFile());
            QCOMPARE(NomeUtente, QStringLiteral("_predefinito"));
            QCOMPARE(env->messages.size(), size_t(1));
        }
        QVERIFY(QFileInfo(profilo(QStringLiteral("Lia"))).isSymLink());
        QVERIFY(!QFileInfo::exists(env->file(QStringLiteral("BrivoMarte/utenti/altrove.ini"))));
    }

    // The default user's profile, in whatever letter case, is not a pupil's.
    void predefinitoNonEUnAlunno()
    {
        creaUtente(QStringLiteral("Anna"));
        QVERIFY(writeBytes(profilo(QStringLiteral("_PREDEFINITO")), readBytes(profilo(QStringLiteral("Anna")))));
        diventa(QStringLiteral("_PREDEFINITO"));
        auto &f = apri();
        f.OptionUtente[1]->setValue(1);
        QCOMPARE(f.ListModificaUtente->ListCount(), 1);
        QCOMPARE(f.ListModificaUtente->List(0), QStringLiteral("ANNA"));
    }

    // Picking a user opens the file the name came from, whatever capitals make of it. Profiles
    // copied in under names a new pupil may not take (two dots in a row, more than 64
    // characters) are listed and opened as well.
    void sceltaApreIlSuoFile()
    {
        const QString lungo = QStringLiteral("Anna") + QString(61, QLatin1Char('z'));
        const QStringList nomi{QStringLiteral("Anna..B"), lungo, QStringLiteral("Strauß")}; // in list order
        for (int k = 0; k < nomi.size(); ++k) {
            NumeroMassimo = 5 + k;
            creaUtente(nomi[k]);
        }
        ImpostaPredefiniti();
        diventa(QStringLiteral("_predefinito"));
        auto &f = apri();
        f.OptionUtente[1]->setValue(1);
        QCOMPARE(f.ListModificaUtente->ListCount(), nomi.size());
        for (int k = 0; k < nomi.size(); ++k) {
            f.ListModificaUtente->setListIndex(k);
            QCOMPARE(NumeroMassimo, 5 + k);
            QCOMPARE(FileUtente, PercorsoProfilo(nomi[k]));
        }
        QCOMPARE(NomeUtente, QStringLiteral("STRAUSS"));
        QCOMPARE(f.ListModificaUtente->List(0), QStringLiteral("ANNA..B"));
        QCOMPARE(f.ListModificaUtente->List(1), lungo.toUpper());
        f.HScroll4->setValue(5);
        f.control(QStringLiteral("mnuEsci"))->raiseClick();
        QCOMPARE(QDir(env->file(QStringLiteral("BrivoMarte/utenti"))).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
                 (QStringList{"_predefinito.ini", "Anna..B.ini", lungo + QStringLiteral(".ini"), "Strauß.ini"}));
        QCOMPARE(readLines(profilo(QStringLiteral("Strauß")))[3], QStringLiteral(" 5 "));
    }

    // A profile that cannot be written keeps its user and the settings in memory.
    void scritturaFallita()
    {
        creaUtente(QStringLiteral("Anna"));
        const QString nonScrivibile = CartellaUtenti + QStringLiteral("manca\\Bob.ini");
        NomeUtente = QStringLiteral("Bob");
        FileUtente = nonScrivibile;
        auto &f = apri();
        f.HScroll4->setValue(7);
        f.OptionUtente[1]->setValue(1);
        QCOMPARE(env->messages.size(), size_t(1));
        QVERIFY(f.OptionUtente[0]->Value() && !f.ListModificaUtente->Visible());
        f.OptionUtente[0]->raiseClick();
        QCOMPARE(NomeUtente, QStringLiteral("Bob"));

        diventa(QStringLiteral("_predefinito"));
        f.OptionUtente[1]->setValue(1);
        FileUtente = nonScrivibile;
        f.ListModificaUtente->setListIndex(0);
        QCOMPARE(env->messages.size(), size_t(3));
        QCOMPARE(f.ListModificaUtente->ListIndex(), -1);
        QCOMPARE(FileUtente, nonScrivibile);
        QCOMPARE(NumeroMassimo, 7);

        NomeUtente = QStringLiteral("Bob");
        f.control(QStringLiteral("mnuEsci"))->raiseClick(); // leaving still leaves
        QVERIFY(!IfLoaded<FormConfigura>());
        QCOMPARE(NumeroMassimo, 7);
    }

    // Leaving with a profile that cannot be written says so once, though the menu saves the
    // same user again as it comes up; a later switch in the menu says it again.
    void uscitaNonScrittaDettaUnaVolta()
    {
        creaUtente(QStringLiteral("Bea"));
        creaUtente(QStringLiteral("Anna"));
        LeggiImpostazioni();
        auto &f = apri();
        QFile::remove(profilo(QStringLiteral("Anna")));
        QVERIFY(QDir().mkdir(profilo(QStringLiteral("Anna")))); // no file can be written there now
        f.HScroll4->setValue(7);
        f.control(QStringLiteral("mnuEsci"))->raiseClick();
        QCOMPARE(finestreCaricate(), QStringList{"FormMenu"});
        QCOMPARE(env->messages.size(), size_t(1));
        QVERIFY(env->messages[0].text.startsWith(QStringLiteral("Non è stato possibile salvare le impostazioni")));
        QCOMPARE(NumeroMassimo, 7);
        auto *m = IfLoaded<FormMenu>();
        QCOMPARE(m->Combo1->Text(), QStringLiteral("ANNA"));
        m->Combo1->setListIndex(m->Combo1->ListIndex() == 0 ? 1 : 0);
        QCOMPARE(env->messages.size(), size_t(2));
        QCOMPARE(FileUtente, PercorsoProfilo(QStringLiteral("Anna"))); // refused: her settings stay in force
    }

    void uscitaScriveSempre()
    {
        apri().control(QStringLiteral("mnuEsci"))->action()->trigger();
        QCOMPARE(readLines(profilo(QStringLiteral("_predefinito"))).size(), 21);
        QCOMPARE(finestreCaricate(), QStringList{"FormMenu"});
    }

    void testiDelLinguaggio()
    {
        writeBytes(env->program() + QStringLiteral("/Prova.lng"),
                   "[Strings]\r\n0025=\"Top: \"\r\n[FormConfigura]\r\nLabelTestoVelocita.Caption=\"Speed: \"\r\n"
                   "LabelTestoSecondi.Caption=\" s\"\r\nLabelNomeNonValido.Caption=\"Not a name.\"\r\n");
        MLSCurrentLanguage = QStringLiteral("Prova");
        TipoScansione = 2;
        auto &f = apri();
        // The speed text is the window's own: a language file does not reword it.
        QCOMPARE(f.Label7->Caption(), QStringLiteral("Velocità scansione: 1") + QLocale().decimalPoint() + QStringLiteral("00 secondi"));
        f.OptionUtente[2]->setValue(1);
        f.TextNuovoUtente->setText(QStringLiteral("a/b"));
        QCOMPARE(env->messages.back().text, QStringLiteral("Not a name."));
    }

    void aspetto()
    {
        // On the screens the program meets: the frame "Secondo disegno" keeps its bottom edge
        // in sight above "Tipo di carattere", which its layout overlaps by 15 twips; the
        // user's name stands on white without a border, from the left; the user list, at its
        // laid-out height, shows one whole row. Each tab is grabbed too when asked
        // (BRIVO_GRAB=folder), to look at.
        TipoScansione = 2;
        ConRiquadro = true;
        RappresentazioneSeconda = 5;
        creaUtente(QStringLiteral("Anna"));
        diventa(QStringLiteral("_predefinito"));
        for (const QSize schermo : {QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080)}) {
            Screen::setSizeOverride(schermo);
            auto &f = apri();
            QCOMPARE(f.Label4->BorderStyle(), 0);
            QCOMPARE(f.Label4->Alignment(), 0);
            f.OptionUtente[1]->setValue(1);
            auto *lista = qobject_cast<QListWidget *>(f.ListModificaUtente->widget());
            QVERIFY(lista && lista->isVisible() && lista->count() > 0);
            QVERIFY2(lista->viewport()->height() >= lista->sizeHintForRow(0),
                     qPrintable(QStringLiteral("%1 < %2").arg(lista->viewport()->height()).arg(lista->sizeHintForRow(0))));

            const QString cartella = qEnvironmentVariable("BRIVO_GRAB");
            const QString nome = QStringLiteral("/configura_%1x%2_scheda%3").arg(schermo.width()).arg(schermo.height());
            for (int t = 0; t < 5; ++t) {
                f.TabStrip1->setValue(t);
                if (!cartella.isEmpty()) f.window()->grab().save(cartella + nome.arg(t + 1) + QStringLiteral(".png"));
            }
            f.TabStrip1->setValue(1);
            const QImage scheda = f.FrameScelte->widget()->grab().toImage();
            const QRect secondo = f.FrameSecondo->widget()->geometry();
            const QColor bordo = scheda.pixelColor(secondo.left(), secondo.center().y());
            QVERIFY(bordo != toQColor(f.FrameSecondo->BackColor()));
            QCOMPARE(scheda.pixelColor(secondo.center().x(), secondo.bottom()), bordo);
            Form::UnloadAll();
        }
    }
};

QTEST_MAIN(TestConfigura)
#include "tst_configura.moc"
