#include "FormEserciziEseguiti.h"
#include "CommDlgs.h"
#include "FormMenu.h"
#include "FormScelteDidattiche1.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "ModuloStampa.h"
#include "modLanguageSupport.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/RichText.h"
#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

using namespace forms;

namespace {
const QString kACapo = QStringLiteral("\r\n");
constexpr int kMarginePollice = 1440; // one inch, in twips

// The name of a user's records folder in the records folder. Profiles alike but for letter
// case, copied in from elsewhere, are pupils of their own: each has the folder of its very
// name. A folder alike but for letter case, copied in with the profile, is the pupil's too,
// but only while no other profile is alike to it: one that two pupils could claim belongs
// to neither, and is left as it is.
QString nomeCartellaRegistri(const QString &nome)
{
    const QString dati = platform::localPath(CartellaDati);
    std::vector<std::pair<QString, unsigned char>> voci;
    if (!platform::folderEntries(dati, voci)) return nome;
    QStringList simili;
    for (const auto &[voce, tipo] : voci) {
        if (voce == nome) return nome;
        if (voce.compare(nome, Qt::CaseInsensitive) == 0 && QFileInfo(dati + QLatin1Char('/') + voce).isDir()) simili << voce;
    }
    if (simili.isEmpty()) return nome;
    // A profile alike to such a folder is alike to this pupil's: a twin.
    const QStringList profili = ElencoUtenti(true);
    const bool gemelli = std::any_of(profili.cbegin(), profili.cend(), [&](const QString &p) {
        return p != nome && p.compare(nome, Qt::CaseInsensitive) == 0;
    });
    return gemelli ? nome : simili.first();
}
} // namespace

FormEserciziEseguiti::FormEserciziEseguiti() : FormStandard(QStringLiteral("FormEserciziEseguiti"))
{
    setCaption(QStringLiteral("Esercizi eseguiti"));
    setClientSize(7740, 5970);
}

void FormEserciziEseguiti::layout(Layout &l)
{
    l.add(Kind::RichTextBox, "RichTextBox1").at(240, 120, 5295, 5655).withFont("Arial", 14.25);
    l.add(Kind::CommandButton, "Command1").at(5640, 1200, 1815, 855).cap("Stampa").withFont("Arial", 14.25);
    l.add(Kind::CommandButton, "Command2").at(5640, 2520, 1815, 855).cap("Salva").withFont("Arial", 14.25);
    l.add(Kind::CommandButton, "Command3").at(5640, 3840, 1815, 855).cap("Inserisci informazioni configurazione")
        .withFont("Arial", 14.25);
    l.add(Kind::Menu, "mnuEsci").cap("&Esci");
}

void FormEserciziEseguiti::Form_Load()
{
    FormStandard::Form_Load();
    // The teacher may add a note before saving or printing; pasted text comes in plain,
    // so that the file holds only what the window itself formats.
    if (auto *editor = qobject_cast<QTextEdit *>(RichTextBox1->widget())) editor->setAcceptRichText(false);
    RichTextBox1->PasteCut = [] {
        platform::MsgBox(MLSGetStringOr(QStringLiteral("0061"), QStringLiteral("Il testo incollato era troppo lungo ed è stato tagliato: "
                                                            "si possono incollare al massimo %1 caratteri alla volta, e il "
                                                            "registro con le note può contenerne al massimo %2.")
                                                            .arg(kPasteMaxChars).arg(kBoxMaxCharsWithPaste)),
                         platform::vbExclamation, QStringLiteral("Brivomarte"));
    };
    Command1->Click = [this] { Command1_Click(); };
    Command2->Click = [this] { Command2_Click(); };
    Command3->Click = [this] { Command3_Click(); };
    mnuEsci->Click = [this] { mnuEsci_Click(); };
}

void FormEserciziEseguiti::Form_Activate()
{
    FormStandard::Form_Activate();
    FontSpec f = RichTextBox1->Font();
    f.name = QStringLiteral("arial");
    RichTextBox1->setFont(f);

    QString testo = NomeUtente + kACapo + kACapo;
    testo += MLSGetString(QStringLiteral("0038")) + QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)
             + kACapo + kACapo;
    // Line 0 is always there (and empty); the record has no line past its last one.
    const int ultima = std::clamp(NumeroRigheEsercizi, 0, kRigheMassime);
    for (int i = 0; i <= ultima; ++i) testo += RigheEsercizi[i] + kACapo;
    ImpostaTesto(testo);
    FormatoIntestazione();
}

void FormEserciziEseguiti::Command3_Click()
{
    QString testo = Testo();
    testo += QString(28, QLatin1Char('*')) + kACapo;
    const QString numero = (NumeroMassimo >= 0 ? QStringLiteral(" ") : QString()) + QString::number(NumeroMassimo);
    testo += MLSGetString(QStringLiteral("0035")) + numero + kACapo;

    // The names of the representations are the options of the choice screen, in the
    // current language: loaded unseen to read them, then closed again.
    const bool giaCaricata = IfLoaded<FormScelteDidattiche1>() != nullptr;
    auto &scelta = Default<FormScelteDidattiche1>();
    auto nome = [&scelta](int rappresentazione) {
        Control *o = scelta.control(QStringLiteral("OptionDis1"), rappresentazione);
        return o ? o->Caption() : QString();
    };
    testo += MLSGetString(QStringLiteral("0036")) + nome(RappresentazionePrima) + kACapo;
    testo += MLSGetString(QStringLiteral("0037")) + nome(RappresentazioneSeconda);
    if (!giaCaricata) {
        scelta.Unload();
        // Loading the screen took the shared layout object over: this window takes it back,
        // so that a later resize still lays it out.
        Ridimensionatore = std::make_unique<clsResize>();
        Ridimensionatore->setSourceForm(this);
        Ridimensionatore->ReInitialise();
    }

    ImpostaTesto(testo);
    FormatoIntestazione();
}

QString FormEserciziEseguiti::CartellaRegistri()
{
    // The user's folder is named as the profile's file is. A name that could lead out of the
    // records folder is never used as a path.
    const QString nome = NomeDelProfilo();
    if (!NomeUtenteSicuro(nome)) return CartellaDati;
    return CartellaDati + nomeCartellaRegistri(nome) + QStringLiteral("\\");
}

void FormEserciziEseguiti::Command2_Click()
{
    auto nonSalvato = [] {
        platform::MsgBox(MLSGetString(QStringLiteral("0034")), platform::vbCritical | platform::vbOKOnly,
                         QStringLiteral("Brivomarte"));
    };
    const QString cartella = CartellaRegistri();
    // A folder that cannot be made has been reported by CreaCartella.
    if (!CreaCartella(cartella)) {
        nonSalvato();
        return;
    }
    const QString filtro = QString(QChar(0)) + QStringLiteral("*.rtf") + QChar(0);
    const QString percorso = ScegliFile(this, 2, QStringLiteral("Salva"), QString(), filtro, cartella, QStringLiteral("rtf"));
    // A cancelled dialog and a file that could not be written end alike, nothing was saved;
    // the file is named, as every file that cannot be written is.
    if (percorso.isEmpty()) nonSalvato();
    else if (!platform::saveRtf(*Documento(), percorso))
        AvvisaFileNonScritto(percorso, MLSGetString(QStringLiteral("0034")), platform::vbCritical | platform::vbOKOnly);
}

void FormEserciziEseguiti::Command1_Click()
{
    StampaTestoFormattato(RichTextBox1, kMarginePollice, kMarginePollice, kMarginePollice, kMarginePollice);
}

void FormEserciziEseguiti::mnuEsci_Click()
{
    Default<FormMenu>().Show();
    Unload();
}

QTextDocument *FormEserciziEseguiti::Documento() const
{
    auto *editor = qobject_cast<QTextEdit *>(RichTextBox1->widget());
    Q_ASSERT(editor);
    return editor->document();
}

QString FormEserciziEseguiti::Testo() const { return RichTextBox1->Text(); }

void FormEserciziEseguiti::ImpostaTesto(const QString &testo)
{
    // Set on the document itself: the box would give the new text the format at its
    // cursor, the heading's among them.
    Documento()->setPlainText(testo);
}

void FormEserciziEseguiti::FormatoIntestazione()
{
    QTextDocument *doc = Documento();
    const int fine = std::min<int>(NomeUtente.size(), doc->characterCount() - 1);
    QTextCursor c(doc);
    c.setPosition(fine, QTextCursor::KeepAnchor);
    QTextCharFormat carattere;
    carattere.setFontPointSize(18);
    c.mergeCharFormat(carattere);
    QTextBlockFormat paragrafo;
    paragrafo.setAlignment(Qt::AlignHCenter);
    c.mergeBlockFormat(paragrafo);
    // The caret back at the start, nothing selected, the heading in view.
    c.setPosition(0);
    if (auto *editor = qobject_cast<QTextEdit *>(RichTextBox1->widget())) editor->setTextCursor(c);
}
