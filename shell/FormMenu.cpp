#include "FormMenu.h"
#include "AdattaCarattere.h"
#include "CommDlgs.h"
#include "FormEs1.h"
#include "FormEs2.h"
#include "FormEs3.h"
#include "FormEs4.h"
#include "FormEs5.h"
#include "FormScelteDidattiche1.h"
#include "FormScelteDidattiche2.h"
#include "FormInfo.h"
#include "FormConfigura.h"
#include "FormEserciziEseguiti.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include <QScopedValueRollback>

using namespace forms;

namespace {
constexpr int32_t kSfondoMenu = 0x00FFFF80;
}

FormMenu::FormMenu() : FormStandard(QStringLiteral("FormMenu"))
{
    setCaption(QStringLiteral("Brivomarte"));
    setBackColor(kSfondoMenu);
    setClientSize(12000, 9000);
}

void FormMenu::layout(Layout &l)
{
    l.add(Kind::ComboBox, "Combo1").at(3000, 240, 6000, 480).withFont("Arial", 14);
    // Six tiles in three columns: the caption on top, the picture below it. The list of
    // users above them grows with the tiles' font, so it has room to.
    auto tessera = [](int i) { return QRectF(420 + (i % 3) * 3780, 1320 + (i / 3) * 3780, 3600, 3600); };
    for (int i = 0; i < kNumeroBottoni; ++i) {
        const QRectF t = tessera(i);
        auto &b = l.add(Kind::Label, "Command1", i).at(t.left(), t.top(), t.width(), t.height()).cap("Label1")
                      .withFont("Arial", 14, true).align(2).back(kSfondoMenu).border(1);
        if (i == 0) b.pointer(vbCustom);
    }
    static const char *figure[kNumeroBottoni] = {"esercizio1", "esercizio2", "esercizio3", "esercizio4", "esercizio5",
                                                 "anatroccolo_cammina"};
    for (int i = 0; i < kNumeroBottoni; ++i) {
        const QRectF t = tessera(i);
        l.add(Kind::Image, "Image1", i).at(t.left() + 300, t.top() + 1140, t.width() - 600, t.height() - 1380)
            .pic(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(figure[i])));
    }
    l.add(Kind::Label, "LabelDimensionaFont").at(0, 0, 1500, 330).cap("dimensiona font ").withFont("Arial", 14.25)
        .autosized().hidden().transparent();
    l.add(Kind::Shape, "ShapeRiquadro").at(0, 0, 1000, 1000).hidden();
    l.add(Kind::Timer, "Timer1").every(100);
    l.add(Kind::PictureBox, "PictureScansioneAutomatica").at(0, 0, 240, 240).border(0).hidden();
    l.add(Kind::PictureBox, "PictureScansioneManuale").at(0, 0, 240, 240).border(0).hidden();
    AggiungiPannelloUscita(l, "FrameUscita", Kind::Frame);

    l.add(Kind::Menu, "mnuConfigura").cap("Configurazione");
    l.add(Kind::Menu, "mnuEserciziEseguiti").cap("Esercizi eseguiti");
    l.add(Kind::Menu, "mnuInfo").cap("Informazioni");
    l.add(Kind::Menu, "mnuDocum2").in("mnuInfo").cap("documentazione pedagogica");
    l.add(Kind::Menu, "mnuDocum").in("mnuInfo").cap("documentazione uso");
    l.add(Kind::Menu, "mnuAbout").in("mnuInfo").cap("about");
    l.add(Kind::Menu, "mnuLanguages").cap("Lingua");
    l.add(Kind::Menu, "mnuLanguage", 0).in("mnuLanguages").cap("mnuLanguage 0");
}

void FormMenu::Form_Load()
{
    MLSFillMenuLanguages();
    FormStandard::Form_Load();

    Combo1->Click = [this] { Combo1_Click(); };
    for (int i = 0; i < kNumeroBottoni; ++i) {
        Command1[i]->Click = [this, i] { Command1_Click(i); };
        Image1[i]->Click = [this, i] { Command1_Click(i); };
        Image1[i]->actsWith(Command1[i]);
        Command1[i]->MouseMove = [this, i](int, int, double, double) { Command1_MouseMove(i); };
        Image1[i]->MouseMove = [this, i](int, int, double, double) { Command1_MouseMove(i); };
    }
    control(QStringLiteral("mnuConfigura"))->Click = [this] { Default<FormConfigura>().Show(); Unload(); };
    mnuEserciziEseguiti->Click = [this] { Default<FormEserciziEseguiti>().Show(); Unload(); };
    control(QStringLiteral("mnuDocum2"))->Click = [this] { ApriDocumento(this, platform::programFolder() + QStringLiteral("\\docdid.pdf")); };
    control(QStringLiteral("mnuDocum"))->Click = [this] { ApriDocumento(this, platform::programFolder() + QStringLiteral("\\brivomarte.pdf")); };
    control(QStringLiteral("mnuAbout"))->Click = [this] { Default<FormInfo>().Show(); Unload(); };

    scansione.numeroElementi = [] { return kNumeroBottoni; };
    scansione.evidenzia = [this](int i, bool on) {
        Command1[i]->setBackColor(colourFromDouble(on ? ColoreScansione : ColoreBottoni));
    };
    scansione.seleziona = [this](int i) {
        if (i == kNumeroBottoni - 1) UscitaImmediata();
        else AvviaEsercizi(i);
        return true;
    };
    scansione.collega();
    uscita.collega([] {
        ScriviImpostazioni();
        TerminaProgramma();
    });
}

void FormMenu::Form_Activate()
{
    FormStandard::Form_Activate();
    scansione.posizione = 1;
    for (Control *b : Command1.all())
        b->setBackColor(TipoScansione != 0 ? colourFromDouble(ColoreBottoni) : BackColor());
    RecuperaUtenti();
    ImpostaUtente();
    Esatti = 0;
    Errati = 0;
}

void FormMenu::RecuperaUtenti()
{
    // The list shows the users as the letter case asks, but each entry keeps the name of
    // the file it came from: picking it opens that file, whatever the case mapping makes
    // of the name. The list is filled in one go.
    utenti_ = ElencoUtenti(true);
    {
        QScopedValueRollback<bool> quieto(ripristino_, true);
        Combo1->Clear();
        Combo1->AddItems(NomiDaMostrare(utenti_, TipoCarattere == QLatin1String("maiuscolo")));
    }
    const int i = VoceUtenteCorrente();
    if (i >= 0) Combo1->setListIndex(i);
}

int FormMenu::VoceUtenteCorrente() const
{
    // The entry of the current profile's file as it is spelled; else one of the same name
    // in other letters.
    const QString file = NomeDelProfilo();
    const int esatta = utenti_.indexOf(file);
    if (esatta >= 0) return esatta;
    const QString nome = NomeUtente.toUpper();
    for (int i = 0; i < utenti_.size(); ++i)
        if (utenti_[i].compare(file, Qt::CaseInsensitive) == 0 || Combo1->List(i).toUpper() == nome) return i;
    return -1;
}

void FormMenu::Combo1_Click()
{
    if (ripristino_) return;
    const int i = Combo1->ListIndex();
    if (i < 0 || i >= utenti_.size()) return;
    const QString nuovo = utenti_[i];
    // A name that could lead out of the users folder is never used as a path; and the
    // settings in memory are read over only once they are safely in their file. When the
    // switch is refused, the list shows again the user whose settings are in force.
    if (!NomeUtenteSicuro(nuovo) || !ScriviImpostazioni()) {
        QScopedValueRollback<bool> quieto(ripristino_, true);
        Combo1->setListIndex(VoceUtenteCorrente());
        return;
    }
    // The user is named as the list shows the entry; the profile is the file it came from.
    // The user changes when the profile does: two pupils whose names differ only in letter
    // case have a profile each, and the same profile reached under another spelling of its
    // path (the start's "_predefinito.INI") is the same pupil.
    const QString vecchio = platform::localPath(FileUtente);
    NomeUtente = Combo1->List(i);
    FileUtente = PercorsoProfilo(nuovo);
    LeggiImpostazioni();
    if (platform::localPath(FileUtente) != vecchio) {
        SvuotaRegistro();
        ImpostaUtente();
    }
}

void FormMenu::ImpostaUtente()
{
    const bool maiuscolo = TipoCarattere == QLatin1String("maiuscolo");
    for (Control *b : Command1.all()) b->setCaption(maiuscolo ? b->Caption().toUpper() : b->Caption().toLower());

    for (int i = 0; i < kNumeroBottoni; ++i) {
        for (Control *c : {Command1[i], Image1[i]}) {
            if (!DisabilitaMousePersonalizzato) {
                c->setMouseIcon(Command1[0]->MouseIcon());
                c->setMousePointer(vbCustom);
            } else {
                c->setMousePointer(vbDefault);
            }
        }
    }

    // The six captions share one size: the longest one, with five blanks, fills the
    // width of the first button.
    QString misura = QStringLiteral("a");
    for (Control *b : Command1.all())
        if (b->Caption().size() > misura.size()) misura = b->Caption();
    AdattaCarattere(LabelDimensionaFont, misura, 5, Command1[0], ProvaAdattamento::Larghezza, Command1.all());

    mnuEserciziEseguiti->setVisible(TieniTraccia);

    // Scanning gives the ordinary pointer to the buttons only; the pictures keep theirs.
    if (TipoScansione != 0)
        for (int i = 0; i < kNumeroBottoni; ++i) Command1[i]->setMousePointer(vbDefault);
    ShapeRiquadro->setVisible(false);
    scansione.imposta(TipoScansione, VelocitaScansione);

    FontSpec f = Combo1->Font();
    f.size = std::max(14.0, Command1[0]->FontSize() - 10);
    Combo1->setFont(f);
}

void FormMenu::Command1_Click(int Index)
{
    if (TipoScansione == 0) AvviaEsercizi(Index);
}

void FormMenu::Command1_MouseMove(int Index)
{
    if (TipoScansione != 0) return;
    if (Command1[Index]->BackColor() == kColoreSopra) return;
    for (Control *b : Command1.all())
        if (b->BackColor() != BackColor()) b->setBackColor(BackColor());
    Command1[Index]->setBackColor(kColoreSopra);
}

void FormMenu::Form_MouseMove(int, int, double, double)
{
    if (TipoScansione != 0 || !isLoaded()) return;
    for (Control *b : Command1.all())
        if (b->BackColor() != BackColor()) b->setBackColor(BackColor());
}

void FormMenu::AvviaEsercizi(int Scelta)
{
    EsercizioScelto = Scelta;
    if (Scelta == 5) {
        ScriviImpostazioni();
        PresentaFinestraUscita();
        return;
    }
    if (Scelta < 0 || Scelta > 4) return;
    static const int minimo[5] = {0, 3, 0, 4, 4};
    if (NumeroMassimo < minimo[Scelta]) {
        platform::MsgBox(MLSGetString(QStringLiteral("0019")) + QStringLiteral("\r\n") + MLSGetString(QStringLiteral("0020")),
                         platform::vbOKOnly, QStringLiteral("Brivomarte"));
        return;
    }
    // A full record takes no more headers; the exercise starts all the same.
    static const char *intestazione[3] = {"0021", "0022", "0023"};
    if (Scelta <= 2) ScriviIntestazione(MLSGetString(QLatin1String(intestazione[Scelta])));

    if (DisabilitaControlloAlunno) {
        switch (Scelta) {
        case 0: Default<FormEs1>().Show(); break;
        case 1: Default<FormEs2>().Show(); break;
        case 2: Default<FormEs3>().Show(); break;
        case 3: Default<FormEs4>().Show(); break;
        case 4: Default<FormEs5>().Show(); break;
        }
    } else if (Scelta == 1) {
        auto &scelta = Default<FormScelteDidattiche2>();
        scelta.Label1->setCaption(MLSGetString(QStringLiteral("0042")));
        scelta.Show();
    } else {
        static const char *titolo[5] = {"0041", "", "0041", "0043", "0044"};
        auto &scelta = Default<FormScelteDidattiche1>();
        scelta.Label1->setCaption(MLSGetString(QLatin1String(titolo[Scelta])));
        scelta.Show();
    }
    Unload();
}

void FormMenu::UscitaImmediata()
{
    ScriviImpostazioni();
    TerminaProgramma();
}

void FormMenu::MLSFillMenuLanguages()
{
    QStringList files;
    platform::listFolder(platform::programFolder(), QStringLiteral("*.lng"), true, files);
    if (files.isEmpty()) {
        platform::MsgBox(QStringLiteral("Non è presente alcun file di linguaggio!"), platform::vbOKOnly, QStringLiteral("Brivomarte"));
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        if (i > 0) LoadControl(QStringLiteral("mnuLanguage"), i)->setVisible(true);
        mnuLanguage[i]->setCaption(files[i].left(files[i].size() - 4));
        mnuLanguage[i]->Click = [this, i] { mnuLanguage_Click(i); };
    }
    if (auto v = MLSReadLanguageSetting()) MLSCurrentLanguage = *v;
    else if (MLSCurrentLanguage.isEmpty()) MLSCurrentLanguage = MLSDefaultLanguage();
    for (Control *m : mnuLanguage.all())
        if (m->Caption() == MLSCurrentLanguage) {
            m->setChecked(true);
            break;
        }
}

void FormMenu::mnuLanguage_Click(int Index)
{
    for (Control *m : mnuLanguage.all()) m->setChecked(false);
    mnuLanguage[Index]->setChecked(true);
    const QString lingua = mnuLanguage[Index]->Caption();
    MLSCurrentLanguage = lingua;
    std::vector<QPointer<Form>> finestre;
    for (Form *f : Form::LoadedForms()) finestre.emplace_back(f);
    for (const QPointer<Form> &f : finestre)
        if (f && f->isLoaded()) MLSTranslateForm(f);
    // The setting file is replaced whole or kept. Where it cannot be written (a program
    // installed by an administrator and run by a pupil's account), the menu's next load
    // reads the old language back: the user is told that the choice does not last.
    if (!MLSWriteIni(MLSSettingFile(), QStringLiteral("Language"), QStringLiteral("CurrentLanguage"), lingua))
        AvvisaFileNonScritto(platform::localPath(MLSSettingFile()),
                             MLSGetStringOr(QStringLiteral("0059"),
                                            QStringLiteral("La lingua scelta non può essere ricordata, perché il file che la conserva "
                                                           "non si può scrivere: vale solo fino al ritorno al menu principale.")));
}

