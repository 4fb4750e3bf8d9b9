#include "FormConfigura.h"
#include "AdattaCarattere.h"
#include "CommDlgs.h"
#include "Disegno.h"
#include "FormMenu.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "platform/MessageBox.h"
#include <QLocale>
#include <algorithm>
#include <optional>

using namespace forms;

namespace {
constexpr int kTab = 5;
const char *const kFrameTab[kTab] = {"FrameUtente", "FrameScelte", "FrameFonts", "FrameVoce", "FramePunt"};
const char *const kDidascalieDis[8] = {"dita", "domino", "pallini", "barre", "numeri", "numeri in lettere",
                                       "tutti esclusi i numeri in lettere", "tutti "};
const QString kPredefinito = QStringLiteral("_predefinito");

bool spuntata(const Control *c) { return c->Value() == 1; }
int spunta(bool b) { return b ? 1 : 0; }
} // namespace

FormConfigura::FormConfigura() : FormStandard(QStringLiteral("FormConfigura"))
{
    setCaption(QStringLiteral("Configurazione"));
    setClientSize(10590, 8880);
}

void FormConfigura::layout(Layout &l)
{
    l.add(Kind::Label, "Label4").at(960, 120, 6735, 615).back(0xFFFFFF).withFont("Arial", 15.75);
    l.add(Kind::TabStrip, "TabStrip1").at(360, 840, 9735, 7695).withFont("Arial", 12, true)
        .withTabs({"Utente", "Scelte didattiche", "Fonts e Colori", "Suoni", "Modalità di input"});
    for (int t = 0; t < kTab; ++t)
        l.add(Kind::Frame, kFrameTab[t]).at(360, t == 2 ? 1320 : 1200, 9975, 7335);

    // The user.
    static const char *utenti[3] = {"Utente predefinito", "Modifica utente", "Nuovo utente"};
    static const double topUtenti[3] = {840, 1680, 2640};
    for (int i = 0; i < 3; ++i) {
        auto &o = l.add(Kind::OptionButton, "OptionUtente", i).in("FrameUtente").at(360, topUtenti[i], 3855, 615)
                      .cap(QLatin1String(utenti[i])).withFont("Arial", 14.25);
        if (i == 0) o.val(1);
    }
    l.add(Kind::ListBox, "ListModificaUtente").in("FrameUtente").at(4560, 1800, 3135, 390).withFont("Arial", 14.25).hidden();
    l.add(Kind::TextBox, "TextNuovoUtente").in("FrameUtente").at(4560, 2640, 3135, 495).txt("Text1").withFont("Arial", 14.25).hidden();
    // Why the name typed cannot yet be a new user's: shown under the box while typing.
    l.add(Kind::Label, "LabelAvvisoNome").in("FrameUtente").at(4560, 3240, 5040, 1200).withFont("Arial", 12)
        .fore(0x0000C0).transparent().hidden();
    l.add(Kind::CheckBox, "CheckSalvaUtente").in("FrameUtente").at(480, 4560, 7815, 495)
        .cap("Tieni traccia dell'attività eseguita").withFont("Arial", 14.25);

    // The representations, the highest number, the letter case.
    l.add(Kind::CheckBox, "CheckDisabilitaControlloAlunno").in("FrameScelte").at(600, 240, 6255, 255)
        .cap("disabilita il controllo autonomo da parte dell'alunno").withFont("Arial", 12);
    // The letter case comes first, beneath the picture frames: "Secondo disegno" reaches 15
    // twips into it and its bottom edge must stay in sight.
    l.add(Kind::Frame, "Frame1").in("FrameScelte").at(5040, 6480, 4650, 645).cap("Tipo di carattere");
    l.add(Kind::OptionButton, "maiuscolo").in("Frame1").at(360, 240, 1905, 285).cap("MAIUSCOLO").withFont("Arial", 12, true);
    l.add(Kind::OptionButton, "minuscolo").in("Frame1").at(2640, 240, 1875, 285).cap("minuscolo").withFont("Arial", 12, true);
    struct Disegno { const char *cornice, *opzioni, *anteprima, *etichetta, *forme, *linea, *immagine;
                     double left, width, sinistraOpzioni, anteprimaLeft, larghe; const char *didascalia; };
    const Disegno disegni[2] = {
        {"FramePrimo", "OptionDis1", "FramePrimaImmagine", "LabelPrimoNumero", "Shape1", "Linea1", "Image1", 360, 4215, 360, 120, 2535, "Primo disegno"},
        {"FrameSecondo", "OptionDis2", "FrameSecondaImmagine", "LabelSecondoNumero", "Shape2", "Linea2", "Image2", 5160, 4335, 240, 240, 3735, "Secondo disegno"}};
    for (const Disegno &d : disegni) {
        l.add(Kind::Frame, d.cornice).in("FrameScelte").at(d.left, 600, d.width, 5895).cap(QString::fromUtf8(d.didascalia))
            .withFont("Arial", 12);
        for (int k = 0; k < 8; ++k) {
            const double w = k <= 4 ? 1215 : k == 5 ? d.larghe : (d.larghe == 2535 ? 3615 : 3735);
            l.add(Kind::OptionButton, d.opzioni, k).in(QLatin1String(d.cornice)).at(d.sinistraOpzioni, 3000 + 360 * k, w, 255)
                .cap(QString::fromUtf8(kDidascalieDis[k])).withFont("Arial", 12);
        }
        const QString anteprima = QLatin1String(d.anteprima);
        l.add(Kind::Frame, d.anteprima).in(QLatin1String(d.cornice)).at(d.anteprimaLeft, 360, 3975, 2535);
        l.add(Kind::Image, d.immagine).in(anteprima).at(0, 120, 3975, 2415).pic(QString(), true).hidden();
        for (int j = 0; j < 10; ++j)
            l.add(Kind::Shape, d.forme, j).in(anteprima).fill(vbFSTransparent).outline(0x404040, 2).hidden();
        l.add(Kind::Line, d.linea).in(anteprima).outline(0x404040, 2).hidden();
        l.add(Kind::Label, d.etichetta).in(anteprima).at(120, 120, 3735, 2295).withFont("Arial", 8.25, true).align(2)
            .transparent().hidden();
    }
    l.add(Kind::HScrollBar, "HScroll4").in("FrameScelte").at(360, 6600, 4095, 375).range(2, 10).val(2);
    l.add(Kind::Label, "LabelNumeroMassimo").in("FrameScelte").at(360, 6960, 4095, 375).cap("Label5").withFont("Arial", 12)
        .transparent();

    // The colours.
    l.add(Kind::Frame, "Frame5").in("FrameFonts").at(480, 360, 4215, 4455);
    l.add(Kind::Label, "LabelFontSelezionato1").in("Frame5").at(720, 240, 2775, 2415).cap("9").withFont("Arial", 8.25, true).align(2);
    l.add(Kind::CommandButton, "CommandSceltaSfondoTesto1").in("Frame5").at(240, 3240, 1455, 735).cap("Sfondo").withFont("Arial", 14.25);
    l.add(Kind::CommandButton, "CommandSceltaColoreFont1").in("Frame5").at(2040, 3240, 1455, 735).cap("Disegno").withFont("Arial", 14.25);
    l.add(Kind::Frame, "Frame2").in("FrameFonts").at(5160, 360, 4215, 4455);
    l.add(Kind::Label, "LabelFontSelezionato2").in("Frame2").at(720, 240, 2775, 2415).cap("9").withFont("Arial", 8.25, true).align(2);
    l.add(Kind::CommandButton, "CommandSceltaSfondoTesto2").in("Frame2").at(360, 3240, 1455, 735).cap("Sfondo").withFont("Arial", 14.25);
    l.add(Kind::CommandButton, "CommandSceltaColoreFont2").in("Frame2").at(2160, 3240, 1455, 735).cap("Disegno").withFont("Arial", 14.25);
    l.add(Kind::Frame, "Frame6").in("FrameFonts").at(600, 5040, 5295, 2055).cap("Colore sfondo").withFont("Arial", 14.25);
    l.add(Kind::OptionButton, "OptionColoreCasualeFisso", 0).in("Frame6").at(240, 480, 2055, 615).cap("Colore casuale").withFont("Arial", 12);
    l.add(Kind::OptionButton, "OptionColoreCasualeFisso", 1).in("Frame6").at(2760, 480, 1815, 615).cap("Colore fisso").withFont("Arial", 12);
    l.add(Kind::CommandButton, "CommandSceltaColori").in("Frame6").at(2880, 1080, 1455, 735).cap("Colore").withFont("Arial", 14.25);
    l.add(Kind::CommandButton, "CommandSceltaColoreBottoni").in("FrameFonts").at(6480, 6000, 1455, 735).cap("Colore Bottoni")
        .withFont("Arial", 14.25);
    l.add(Kind::Label, "LabelPerColore").in("FrameFonts").at(7440, 2400, 1200, 255).cap("LabelPerColore").hidden();

    // The sounds.
    l.add(Kind::CheckBox, "CheckSuoni").in("FrameVoce").at(840, 1080, 3855, 330).cap("Attiva suoni").withFont("Arial", 14.25).val(1);

    // The input mode and the scanning.
    static const char *modi[3] = {"Mouse e tastiera", "Scansione manuale - spazio e invio ", "Scansione automatica - spazio"};
    static const double modiTop[3] = {720, 1920, 3120}, modiW[3] = {3615, 5175, 5295};
    for (int i = 0; i < 3; ++i)
        l.add(Kind::OptionButton, "Option4", i).in("FramePunt").at(480, modiTop[i], modiW[i], 495).cap(QLatin1String(modi[i]))
            .withFont("Arial", 14.25);
    l.add(Kind::CheckBox, "CheckDisabilitaMousePersonalizzato").in("FramePunt").at(4920, 720, 4335, 615)
        .cap("Usa mouse di sistema").withFont("Arial", 14.25);
    l.add(Kind::HScrollBar, "HScroll3").in("FramePunt").at(480, 3840, 8655, 375).range(4, 60).val(4);
    l.add(Kind::Label, "Label7").in("FramePunt").at(600, 4320, 8655, 375).cap("Label7").withFont("Arial", 12).transparent();
    l.add(Kind::CommandButton, "CommandSceltaColoreBottoniSelezionati").in("FramePunt").at(480, 5640, 2055, 975)
        .cap("Colore scansione").withFont("Arial", 14.25);
    l.add(Kind::CheckBox, "CheckRiquadro").in("FramePunt").at(2880, 5760, 2175, 855).cap("Con riquadro").withFont("Arial", 14.25);
    l.add(Kind::Shape, "ShapeRiquadro").in("FramePunt").at(5280, 5400, 1335, 1215).outline(0x0000FF, 9);
    l.add(Kind::HScrollBar, "HScrollRiquadro").in("FramePunt").at(5160, 6840, 1575, 255).range(3, 30).val(3);
    l.add(Kind::CheckBox, "CheckRiparti").in("FramePunt").at(7080, 5640, 2655, 1215).cap("Riparti dall'inizio dopo la selezione")
        .withFont("Arial", 14.25);

    l.add(Kind::Label, "LabelDimensionaFont").at(0, 0, 1500, 330).cap("dimensiona font ").withFont("Arial", 14.25, true)
        .autosized().hidden().transparent();
    l.add(Kind::Label, "LabelNomeNonValido")
        .cap("Questo nome non si può usare: il nome di un alunno non può contenere i segni \\ / : * ? \" < > |, due punti di seguito "
             "né caratteri di controllo, che non si vedono, come la tabulazione o l'a capo (arrivano spesso incollando un testo).")
        .hidden();
    l.add(Kind::Menu, "mnuEsci").cap("&Menu");
}

void FormConfigura::Form_Load()
{
    FormStandard::Form_Load();
    TabStrip1->Click = [this] { TabStrip1_Click(); };
    control(QStringLiteral("mnuEsci"))->Click = [this] { mnuEsci_Click(); };

    for (int i = 0; i < 3; ++i) OptionUtente[i]->Click = [this, i] { OptionUtente_Click(i); };
    ListModificaUtente->Click = [this] { ListModificaUtente_Click(); };
    TextNuovoUtente->Change = [this] { TextNuovoUtente_Change(); };

    CheckSalvaUtente->Click = [this] { TieniTraccia = spuntata(CheckSalvaUtente); };
    CheckDisabilitaControlloAlunno->Click = [this] { DisabilitaControlloAlunno = spuntata(CheckDisabilitaControlloAlunno); };
    CheckSuoni->Click = [this] { SuoniAttivi = spuntata(CheckSuoni); };
    CheckRiparti->Click = [this] { RipartiDallInizio = spuntata(CheckRiparti); };
    CheckDisabilitaMousePersonalizzato->Click = [this] {
        DisabilitaMousePersonalizzato = spuntata(CheckDisabilitaMousePersonalizzato);
    };
    CheckRiquadro->Click = [this] { CheckRiquadro_Click(); };

    // The bars move one step at a time, a click beside the thumb too.
    for (Control *b : {HScroll4.get(), HScrollRiquadro.get(), HScroll3.get()}) b->setLargeChange(1);
    HScroll4->Change = [this] { HScroll4_Change(); };
    HScrollRiquadro->Change = [this] { HScrollRiquadro_Change(); };
    HScroll3->Change = [this] { HScroll3_Change(); };

    for (int k = 0; k < 8; ++k) {
        OptionDis1[k]->Click = [this, k] { OptionDis1_Click(k); };
        OptionDis2[k]->Click = [this, k] { OptionDis2_Click(k); };
    }
    maiuscolo->Click = [this] { TipoCarattere = QStringLiteral("maiuscolo"); ImpostaConfigurazioni(); };
    minuscolo->Click = [this] { TipoCarattere = QStringLiteral("minuscolo"); ImpostaConfigurazioni(); };
    for (int i = 0; i < 2; ++i) OptionColoreCasualeFisso[i]->Click = [this, i] { OptionColoreCasualeFisso_Click(i); };
    for (int i = 0; i < 3; ++i) Option4[i]->Click = [this, i] { Option4_Click(i); };

    // The colour buttons: the dialog, then the window shows what the settings now hold.
    CommandSceltaColoreFont1->Click = [this] { SceltaColore(LabelFontSelezionato1, ColoreDisegno1); ImpostaConfigurazioni(); };
    CommandSceltaSfondoTesto1->Click = [this] { SceltaColore(LabelPerColore, ColoreSfondo1); ImpostaConfigurazioni(); };
    CommandSceltaColoreFont2->Click = [this] { SceltaColore(LabelFontSelezionato2, ColoreDisegno2); ImpostaConfigurazioni(); };
    CommandSceltaSfondoTesto2->Click = [this] { SceltaColore(LabelPerColore, ColoreSfondo2); ImpostaConfigurazioni(); };
    CommandSceltaColori->Click = [this] { SceltaColore(LabelPerColore, ColoreSfondoFinestra); ImpostaConfigurazioni(); };
    CommandSceltaColoreBottoni->Click = [this] {
        SceltaColore(LabelPerColore, ColoreBottoni);
        CommandSceltaColoreBottoni->setBackColor(colourFromDouble(ColoreBottoni));
    };
    CommandSceltaColoreBottoniSelezionati->Click = [this] {
        SceltaColore(LabelPerColore, ColoreScansione);
        ImpostaConfigurazioni();
    };
}

void FormConfigura::Form_Activate()
{
    FormStandard::Form_Activate();
    if (TipoScansione >= 0 && TipoScansione <= Option4.UBound()) Option4[TipoScansione]->setValue(1);
    Label4->setCaption(NomeUtente);
    NascondiFrame();
    ImpostaConfigurazioni();
    FrameUtente->setVisible(true);
    FrameUtente->ZOrder(0);
    Dimensiona();
}

int FormConfigura::NelRange(const Control *barra, int valore)
{
    return std::clamp(valore, std::min(barra->Min(), barra->Max()), std::max(barra->Min(), barra->Max()));
}

void FormConfigura::ImpostaConfigurazioni()
{
    // A value that the scroll bars cannot show (from code, never from a profile, which
    // the reader keeps in range) is brought to the nearest one they can.
    NumeroMassimo = NelRange(HScroll4, NumeroMassimo);
    DimensioneRiquadro = NelRange(HScrollRiquadro, DimensioneRiquadro);
    VelocitaScansione = NelRange(HScroll3, VelocitaScansione);

    LabelNumeroMassimo->setCaption(MLSGetString(QStringLiteral("0025")) + QString::number(NumeroMassimo));
    HScroll4->setValue(NumeroMassimo);
    CheckSalvaUtente->setValue(spunta(TieniTraccia));
    if (TipoCarattere == QLatin1String("minuscolo")) minuscolo->setValue(1);
    if (TipoCarattere == QLatin1String("maiuscolo")) maiuscolo->setValue(1);
    HScrollRiquadro->setValue(DimensioneRiquadro);

    LabelFontSelezionato1->setForeColor(colourFromDouble(ColoreDisegno1));
    LabelFontSelezionato1->setBackColor(colourFromDouble(ColoreSfondo1));
    LabelFontSelezionato2->setForeColor(colourFromDouble(ColoreDisegno2));
    LabelFontSelezionato2->setBackColor(colourFromDouble(ColoreSfondo2));

    // The window's frames and their options take the fixed background, whether or not
    // the other windows take a random one.
    const int32_t sfondo = colourFromDouble(ColoreSfondoFinestra);
    for (Control *c : {FrameUtente.get(), FrameVoce.get(), FrameScelte.get(), FrameFonts.get(), FramePunt.get(), Frame2.get(),
                       CheckSalvaUtente.get(), CheckDisabilitaControlloAlunno.get()})
        c->setBackColor(sfondo);
    CheckDisabilitaControlloAlunno->setValue(spunta(DisabilitaControlloAlunno));
    for (Control *c : OptionUtente.all()) c->setBackColor(sfondo);
    for (Control *c : {Frame1.get(), Frame5.get(), Frame6.get(), OptionColoreCasualeFisso[0], OptionColoreCasualeFisso[1],
                       CheckSuoni.get()})
        c->setBackColor(sfondo);
    for (Control *c : Option4.all()) c->setBackColor(sfondo);
    for (Control *c : {CheckRiparti.get(), CheckDisabilitaMousePersonalizzato.get(), CheckRiquadro.get()}) c->setBackColor(sfondo);

    OptionColoreCasualeFisso[ColoreCasuale ? 0 : 1]->setValue(1);
    CommandSceltaColori->setEnabled(!ColoreCasuale);

    CheckRiparti->setValue(spunta(RipartiDallInizio));
    CheckRiquadro->setValue(spunta(ConRiquadro));

    ShapeRiquadro->setBorderWidth(DimensioneRiquadro);
    ShapeRiquadro->setBorderColor(colourFromDouble(ColoreScansione));
    CommandSceltaColoreBottoniSelezionati->setBackColor(colourFromDouble(ColoreScansione));

    CheckDisabilitaMousePersonalizzato->setValue(spunta(DisabilitaMousePersonalizzato));
    CheckSuoni->setValue(spunta(SuoniAttivi));

    if (TipoScansione >= 0 && TipoScansione <= 2) {
        const bool scansione = TipoScansione != 0;
        for (Control *c : {CheckRiparti.get(), CheckRiquadro.get(), CommandSceltaColoreBottoniSelezionati.get()})
            c->setVisible(scansione);
        ShapeRiquadro->setVisible(scansione && ConRiquadro);
        HScrollRiquadro->setVisible(scansione && ConRiquadro);
        CheckDisabilitaMousePersonalizzato->setVisible(!scansione);
        const bool automatica = TipoScansione == 2;
        HScroll3->setVisible(automatica);
        Label7->setVisible(automatica);
        if (automatica) {
            HScroll3->setValue(VelocitaScansione);
            Label7->setCaption(TestoVelocita());
        }
    }

    for (Control *c : {maiuscolo.get(), minuscolo.get(), FramePrimo.get(), FrameSecondo.get()}) c->setBackColor(sfondo);
    for (int i = 0; i < 8; ++i) {
        OptionDis1[i]->setBackColor(sfondo);
        OptionDis2[i]->setBackColor(sfondo);
    }
    if (RappresentazionePrima >= 0 && RappresentazionePrima <= OptionDis1.UBound())
        OptionDis1[RappresentazionePrima]->setValue(1);
    if (RappresentazioneSeconda >= 0 && RappresentazioneSeconda <= OptionDis2.UBound())
        OptionDis2[RappresentazioneSeconda]->setValue(1);

    FramePrimaImmagine->setBackColor(colourFromDouble(ColoreSfondo1));
    FrameSecondaImmagine->setBackColor(colourFromDouble(ColoreSfondo2));
    for (int i = 0; i < 10; ++i) {
        Shape1[i]->setFillColor(colourFromDouble(ColoreDisegno1));
        Shape2[i]->setFillColor(colourFromDouble(ColoreDisegno2));
    }
    LabelPrimoNumero->setForeColor(colourFromDouble(ColoreDisegno1));
    LabelSecondoNumero->setForeColor(colourFromDouble(ColoreDisegno2));
    ImpostaDisegni();
}

void FormConfigura::NascondiFrame()
{
    for (const char *nome : kFrameTab) control(QLatin1String(nome))->setVisible(false);
}

void FormConfigura::ImpostaDisegni()
{
    const SlotFigura primo = Slot(this, "FramePrimaImmagine", -1, "LabelPrimoNumero", "Shape1", "Linea1", "Image1");
    const SlotFigura secondo = Slot(this, "FrameSecondaImmagine", -1, "LabelSecondoNumero", "Shape2", "Linea2", "Image2");
    const Griglia g = CalcolaGriglia(FramePrimaImmagine);

    LabelPrimoNumero->setVisible(false);
    LabelSecondoNumero->setVisible(false);
    for (int i = 0; i < 10; ++i) {
        Shape1[i]->setVisible(false);
        Shape2[i]->setVisible(false);
    }
    for (Control *c : {Image1.get(), Linea1.get(), Image2.get(), Linea2.get()}) c->setVisible(false);

    // The words come in the letter case of their texts; a random representation shows
    // nothing, since the exercises draw it anew every time.
    const bool maiuscole = TipoCarattere == QLatin1String("maiuscolo");
    const QString parola1 = MLSGetString(QLatin1String(maiuscole ? "0026" : "0027"));
    const QString parola2 = MLSGetString(QLatin1String(maiuscole ? "0029" : "0030"));
    for (int k = kDita; k <= kParole; ++k) {
        if (RappresentazionePrima == k) DisegnaAnteprimaNove(primo, k, g, FramePrimaImmagine, parola1, LabelDimensionaFont);
        if (RappresentazioneSeconda == k) DisegnaAnteprimaNove(secondo, k, g, FramePrimaImmagine, parola2, LabelDimensionaFont);
    }
}

void FormConfigura::Dimensiona()
{
    AdattaCarattere(LabelDimensionaFont, QStringLiteral("9"), 0, LabelFontSelezionato1, ProvaAdattamento::Altezza,
                    {LabelFontSelezionato1, LabelFontSelezionato2});
}

QString FormConfigura::TestoVelocita() const
{
    QString secondi = QString::number(VelocitaScansione / 4.0, 'f', 2);
    secondi.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return QStringLiteral("Velocità scansione: ") + secondi + QStringLiteral(" secondi");
}

// ---- tabs and leaving ----

void FormConfigura::TabStrip1_Click()
{
    NascondiFrame();
    const int posizione = TabStrip1->Value() + 1;
    if (posizione < 1 || posizione > kTab) return;
    Control *f = control(QLatin1String(kFrameTab[posizione - 1]));
    f->setVisible(true);
    f->ZOrder(0);
}

void FormConfigura::mnuEsci_Click()
{
    // A profile that cannot be written has been reported; its settings stay in memory. The
    // menu saves the same user again as it comes up: that failure is not told twice.
    const bool scritto = ScriviUtenteCorrente();
    {
        std::optional<NonRidirlo> detto;
        if (!scritto) detto.emplace();
        Default<FormMenu>().Show();
    }
    Unload();
}

// ---- the user ----

void FormConfigura::RipristinaSceltaUtente()
{
    ripristino_ = true;
    OptionUtente[opzioneUtente_]->setValue(1);
    if (ListModificaUtente->ListIndex() != voceUtente_) ListModificaUtente->setListIndex(voceUtente_);
    ripristino_ = false;
}

bool FormConfigura::ScriviUtenteCorrente()
{
    if (!nuovoInSospeso_) return ScriviImpostazioni();
    // "Nuovo utente" is still waiting for a name: the current user is the one before it,
    // and the unticked box belongs to the user not yet named, not to this one.
    const bool traccia = TieniTraccia;
    TieniTraccia = tieniTracciaPrima_;
    if (!ScriviImpostazioni()) {
        TieniTraccia = traccia;
        return false;
    }
    nuovoInSospeso_ = false;
    return true;
}

void FormConfigura::OptionUtente_Click(int)
{
    if (ripristino_) return;
    // The user current until now keeps the settings of this window. When they cannot be
    // written, nothing changes: reading another profile would lose them.
    if (!ScriviUtenteCorrente()) {
        RipristinaSceltaUtente();
        return;
    }
    LabelAvvisoNome->setVisible(false);
    if (OptionUtente[0]->Value()) {
        opzioneUtente_ = 0;
        NomeUtente = kPredefinito;
        Label4->setCaption(NomeUtente);
        FileUtente = PercorsoProfilo(NomeUtente);
        voceUtente_ = -1;
        LeggiImpostazioni();
        ImpostaConfigurazioni();
        TextNuovoUtente->setVisible(false);
        ListModificaUtente->setVisible(false);
        CheckSalvaUtente->setVisible(false);
    }
    if (OptionUtente[1]->Value()) {
        opzioneUtente_ = 1;
        ListModificaUtente->setVisible(true);
        RecuperaUtenti();
        TextNuovoUtente->setVisible(false);
    }
    if (OptionUtente[2]->Value()) {
        opzioneUtente_ = 2;
        // Until a name is typed, the user before stays current with what it had.
        nomePrima_ = NomeUtente;
        filePrima_ = FileUtente;
        tieniTracciaPrima_ = TieniTraccia;
        nuovoInSospeso_ = true;
        nomeAccettato_.clear();
        // Listed once here, after the write above, which may have made a user.
        esistenti_.aggiorna();
        TextNuovoUtente->setText(QString());
        TextNuovoUtente->setVisible(true);
        TextNuovoUtente->SetFocus();
        ListModificaUtente->setVisible(false);
        CheckSalvaUtente->setVisible(true);
        CheckSalvaUtente->setValue(0);
    }
}

void FormConfigura::RecuperaUtenti()
{
    ripristino_ = true; // emptying the list picks nobody
    ListModificaUtente->Clear();
    ripristino_ = false;
    voceUtente_ = -1;
    // The list shows the names in capitals; each entry keeps the name of the file it came
    // from, and picking it opens that file.
    utenti_ = ElencoUtenti(false);
    ListModificaUtente->AddItems(NomiDaMostrare(utenti_, true));
}

void FormConfigura::ListModificaUtente_Click()
{
    if (ripristino_) return;
    const int i = ListModificaUtente->ListIndex();
    if (i < 0 || i >= utenti_.size()) return;
    const QString nome = utenti_[i];
    if (!NomeUtenteSicuro(nome)) return;
    if (!ScriviUtenteCorrente()) {
        RipristinaSceltaUtente();
        return;
    }
    voceUtente_ = i;
    FileUtente = PercorsoProfilo(nome);
    NomeUtente = ListModificaUtente->List(i); // as listed; the profile is the file it came from
    Label4->setCaption(NomeUtente);
    LeggiImpostazioni();
    ImpostaConfigurazioni();
}

QString FormConfigura::MotivoNomeRifiutato(const QString &nome) const
{
    switch (ControllaNomeUtente(nome)) {
    case EsitoNomeUtente::Valido:
        break;
    case EsitoNomeUtente::Vuoto:
        return QString();
    case EsitoNomeUtente::SegniVietati:
        return LabelNomeNonValido->Caption();
    case EsitoNomeUtente::TroppoLungo:
        return MLSGetStringOr(QStringLiteral("0056"), QStringLiteral("Questo nome è troppo lungo: il nome di un alunno può avere al massimo "
                                                     "%1 caratteri, e meno se sono caratteri che occupano molto spazio nel "
                                                     "nome di un file (come certi emoji o lettere con molti accenti).")
                                                      .arg(kLunghezzaMassimaNome));
    case EsitoNomeUtente::Riservato:
        return MLSGetStringOr(QStringLiteral("0057"), QStringLiteral("Questo nome non si può usare: non può iniziare con un punto né finire "
                                                     "con un punto o uno spazio, né essere un nome riservato del sistema, da "
                                                     "solo o seguito da un punto e da altro: CON, PRN, AUX, NUL, CONIN$, "
                                                     "CONOUT$, da COM0 a COM9 e da LPT0 a LPT9 (anche con ¹, ² o ³ al posto "
                                                     "della cifra)."));
    }
    // A name taken by something no list shows (a pipe, a dangling link) cannot be picked
    // either: the box says why.
    if (esistenti_.senzaFile(nome)) return TestoProfiloSenzaFile();
    if (esistenti_.contiene(nome))
        return MLSGetStringOr(QStringLiteral("0055"), QStringLiteral("Esiste già un alunno con questo nome: sceglilo da \"Modifica utente\" "
                                                     "oppure scrivi un altro nome."));
    return QString();
}

void FormConfigura::TextNuovoUtente_Change()
{
    if (ripristino_) return;
    const QString nome = TextNuovoUtente->Text();
    const EsitoNomeUtente esito = ControllaNomeUtente(nome);
    if (esito == EsitoNomeUtente::Vuoto) {
        nomeAccettato_ = nome;
        LabelAvvisoNome->setVisible(false);
        return;
    }
    // A sign no file name can hold, or a name too long, cannot be mended by typing on:
    // the box goes back to the text last accepted, and the current user stays as it was.
    if (esito == EsitoNomeUtente::SegniVietati || esito == EsitoNomeUtente::TroppoLungo) {
        ripristino_ = true;
        TextNuovoUtente->setText(nomeAccettato_);
        ripristino_ = false;
        platform::MsgBox(MotivoNomeRifiutato(nome), platform::vbExclamation, QStringLiteral("Brivomarte"));
        return;
    }
    nomeAccettato_ = nome;
    // An existing user's name, a device name or a final dot or blank may still become a
    // good name as the teacher types on ("Anna" on the way to "Annalisa"): the box keeps
    // the text and says why it is not a new user yet, and the user before "Nuovo utente"
    // is current meanwhile, so that nothing is ever written under this name.
    const QString motivo = MotivoNomeRifiutato(nome);
    LabelAvvisoNome->setCaption(motivo);
    LabelAvvisoNome->setVisible(!motivo.isEmpty());
    voceUtente_ = -1;
    if (!motivo.isEmpty()) {
        if (!nuovoInSospeso_) {
            nuovoInSospeso_ = true;
            NomeUtente = nomePrima_;
            FileUtente = filePrima_;
        }
    } else {
        nuovoInSospeso_ = false;
        FileUtente = PercorsoProfilo(nome);
        NomeUtente = nome;
        ProfiloNuovo();
    }
    Label4->setCaption(NomeUtente);
}

// ---- the settings ----

void FormConfigura::CheckRiquadro_Click()
{
    ConRiquadro = spuntata(CheckRiquadro);
    ShapeRiquadro->setVisible(ConRiquadro);
    HScrollRiquadro->setVisible(ConRiquadro);
}

void FormConfigura::HScroll4_Change()
{
    NumeroMassimo = NelRange(HScroll4, HScroll4->Value());
    ImpostaConfigurazioni();
}

void FormConfigura::HScrollRiquadro_Change()
{
    DimensioneRiquadro = NelRange(HScrollRiquadro, HScrollRiquadro->Value());
    ImpostaConfigurazioni();
}

void FormConfigura::HScroll3_Change()
{
    VelocitaScansione = NelRange(HScroll3, HScroll3->Value());
    Label7->setCaption(TestoVelocita());
}

void FormConfigura::OptionDis1_Click(int Index)
{
    RappresentazionePrima = Index;
    ImpostaConfigurazioni();
}

void FormConfigura::OptionDis2_Click(int Index)
{
    RappresentazioneSeconda = Index;
    ImpostaConfigurazioni();
}

void FormConfigura::OptionColoreCasualeFisso_Click(int Index)
{
    ColoreCasuale = Index == 0;
    ImpostaConfigurazioni();
}

void FormConfigura::Option4_Click(int Index)
{
    TipoScansione = Index;
    ImpostaConfigurazioni();
}

bool FormConfigura::SceltaColore(Control *bersaglio, double &impostazione)
{
    if (!ScegliColore(this, bersaglio)) return false;
    impostazione = bersaglio->ForeColor();
    return true;
}
