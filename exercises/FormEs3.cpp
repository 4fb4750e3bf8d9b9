#include "FormEs3.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "platform/Random.h"
#include <algorithm>

using namespace forms;

namespace {
// The highest number in use: the setting kept within the ten brick places.
int UltimoNumero() { return std::clamp(NumeroMassimo, 0, 10); }
}

FormEs3::FormEs3() : FormEsercizio(QStringLiteral("FormEs3"), "PictureBoxUscita")
{
    setCaption(QStringLiteral("Esercizio 3"));
    setClientSize(10560, 7800);
}

void FormEs3::layout(Layout &l)
{
    // The line at the height of five bricks comes first, so the bricks cover it and it
    // shows on both sides of the column.
    l.add(Kind::Line, "Line1").line(720, 3840, 2880, 3840).outline(0x404040, 5);
    for (int i = 0; i < 10; ++i)
        l.add(Kind::Label, "Label4", i).at(1440, 240 + 720 * (9 - i), 735, 735).back(0xFFFFFF).border(1).pointer(vbCustom);
    for (int i = 0; i < 10; ++i)
        l.add(Kind::Shape, "Shape2", i).at(720, 360 + 720 * (9 - i), 495, 495).shaped(vbShapeCircle)
            .fill(vbFSSolid, 0x0000FF).outline(0x404040, 1).hidden();
    auto bottone = [&l](const char *nome, double top, const char *testo, const char *figura) {
        l.add(Kind::CommandButton, nome).at(2760, top, 1905, 990).cap(QLatin1String(testo)).withFont("Arial", 14.25, true)
            .pic(QLatin1String(figura)).pointer(vbCustom);
    };
    bottone("CommandMattone", 4200, "Mattone", ":/pictures/muro_mattoni.svg");
    bottone("Bot_ricomincia", 5280, "Ricomincia", ":/pictures/cestino_verde.svg");
    bottone("BottoneConferma", 6360, "Conferma", ":/pictures/spunta_verde.svg");
    l.add(Kind::Label, "LabelSpiega").at(5760, 6480, 2055, 975).cap("Clicca sul bottone con il  mattone")
        .withFont("Arial", 12, true).transparent();

    l.add(Kind::PictureBox, "PictureBoxPrimaImmagine").at(5040, 2280, 5220, 3060).back(0xFFFFFF);
    l.add(Kind::Image, "Image1").in("PictureBoxPrimaImmagine").at(0, 120, 5100, 2820).pic(QString(), true);
    for (int k = 0; k < 10; ++k)
        l.add(Kind::Shape, "Shape1", k).in("PictureBoxPrimaImmagine").fill(vbFSTransparent, 0x0000FF).outline(0x404040, 3).hidden();
    l.add(Kind::Line, "Linea1").in("PictureBoxPrimaImmagine").outline(0x404040, 2).hidden();
    l.add(Kind::Label, "LabelPrimoNumero").in("PictureBoxPrimaImmagine").at(360, 240, 4575, 2535).withFont("Arial", 8.25, true)
        .align(2).transparent().hidden();

    ControlliComuni c{};
    c.label1 = {7440, 315, 1095, 375};
    c.label2 = {7440, 840, 1095, 495};
    c.esatti = {8640, 210, 975, 615};
    c.errati = {8640, 735, 855, 615};
    c.iconaSi = {6060, 240, 1095, 975};
    c.iconaNo = {6000, 270, 1095, 975};
    c.avanti = {8400, 6120, 1935, 975};
    c.manuale = {8400, 7200, 615, 495};
    c.automatica = {9840, 7200, 495, 495};
    c.uscita = "PictureBoxUscita";
    c.tipoUscita = Kind::PictureBox;
    AggiungiControlliComuni(l, c);
}

void FormEs3::Form_Load()
{
    // The frame rests under the picture until the first step moves it, so no item looks
    // highlighted at the start; placed before the layout is recorded for the resizing.
    ShapeRiquadro->Move(5760, 3000, 975, 735);
    FormEsercizio::Form_Load();
    // The brick button answers the release of a mouse button only: left lays a brick,
    // right takes the top one away. It has no click, so keys on it do nothing.
    CommandMattone->MouseUp = [this](int b, int, double, double) { CommandMattone_MouseUp(b); };
    Bot_ricomincia->Click = [this] { Bot_ricomincia_Click(); };
    BottoneConferma->Click = [this] { BottoneConferma_Click(); };

    scansione.numeroElementi = [] { return 4; };
    // Mattone, Ricomincia, Conferma and round again; "avanti" is reached only by a right
    // answer, and while it waits the engine makes no step.
    scansione.successivo = [](int p) {
        static constexpr int prossimo[4] = {kMattone, kRicomincia, kConferma, kMattone};
        return prossimo[std::clamp(p, 0, 3)];
    };
    scansione.evidenzia = [this](int p, bool on) {
        if (on) EvidenziaElemento(p);
        else SpegniBottoni();
    };
    scansione.seleziona = [this](int p) { return Seleziona(p); };
    scansione.inAttesaAvanti = [this] { return BottoneAvanti->Enabled(); };
    scansione.scegliAvanti = [this] { ScegliAvanti(); };
    scansione.collega();
}

void FormEs3::Form_Activate()
{
    NumeroCorrente = -1;
    AttivaFinestra();

    PictureBoxPrimaImmagine->setBackColor(colourFromDouble(ColoreSfondo1));
    const int32_t disegno = colourFromDouble(ColoreDisegno1);
    for (int k = 0; k < 10; ++k) {
        control(QStringLiteral("Shape1"), k)->setFillColor(disegno);
        Shape2[k]->setFillColor(disegno); // the markers take the picture's colour
    }
    LabelPrimoNumero->setForeColor(disegno);

    std::vector<Control *> puntatori = {Bot_ricomincia, BottoneConferma, BottoneAvanti, CommandMattone};
    for (Control *c : Label4.all()) puntatori.push_back(c);
    for (Control *c : puntatori) c->setMousePointer(DisabilitaMousePersonalizzato ? vbDefault : vbCustom);
    ShapeRiquadro->setVisible(false);
    SpegniBottoni();
    // Every activation starts a fresh round: an "avanti" left enabled by a solved one
    // would hold the scanning on it.
    BottoneAvanti->setEnabled(false);

    scansione.imposta(TipoScansione, VelocitaScansione, false, kConferma);
    BottoneAvanti->setVisible(true);
    if (TipoScansione != 0) {
        for (Control *c : puntatori) c->setMousePointer(vbDefault);
        if (ConRiquadro) {
            MostraRiquadro();
        }
    }
    NuovoNumero();
}

void FormEs3::NuovoNumero()
{
    IniziaTurno();
    for (Control *b : {Bot_ricomincia.get(), BottoneConferma.get(), CommandMattone.get()}) b->setEnabled(true);
    SvuotaColonna();
    for (Control *s : Shape2.all()) s->setVisible(false);
    NumeroCorrente = platform::randomInt(0, UltimoNumero());
    RegistraNumeri({NumeroCorrente});
    ImpostaDisegni();
}

void FormEs3::ImpostaDisegni()
{
    const SlotFigura slot = Slot(this, "PictureBoxPrimaImmagine", -1, "LabelPrimoNumero", "Shape1", "Linea1", "Image1");
    DisegnaRiga({slot}, ScegliRappresentazione(RappresentazionePrima), {NumeroCorrente}, LabelDimensionaFont, 3);
}

bool FormEs3::ColonnaGiusta() const { return MattoniMessi == NumeroCorrente; }

void FormEs3::AggiungiMattone()
{
    if (MattoniMessi >= 10) return;
    Label4[MattoniMessi]->setBackColor(colourFromDouble(ColoreDisegno2));
    ++MattoniMessi;
}

void FormEs3::TogliMattone()
{
    if (MattoniMessi <= 0) return;
    --MattoniMessi;
    Label4[MattoniMessi]->setBackColor(colourFromDouble(ColoreSfondo2));
}

void FormEs3::SvuotaColonna()
{
    MattoniMessi = 0;
    const int32_t vuoto = colourFromDouble(ColoreSfondo2);
    for (Control *m : Label4.all()) m->setBackColor(vuoto);
}

void FormEs3::CommandMattone_MouseUp(int Button)
{
    if (TipoScansione != 0 || !CommandMattone->Enabled()) return;
    if (Button == 1) AggiungiMattone();
    else if (Button == 2) TogliMattone();
}

void FormEs3::Bot_ricomincia_Click()
{
    if (TipoScansione == 0) SvuotaColonna();
}

void FormEs3::BottoneConferma_Click()
{
    if (TipoScansione != 0) return;
    if (ColonnaGiusta()) EsattoEs3();
    else ErratoEs3();
}


void FormEs3::EsattoEs3()
{
    Esatto();
    for (Control *b : {Bot_ricomincia.get(), BottoneConferma.get(), CommandMattone.get()}) b->setEnabled(false);
    BottoneAvanti->setEnabled(true);
    if (TipoScansione == 0) BottoneAvanti->SetFocus();
}

void FormEs3::ErratoEs3()
{
    Errato();
    if (ErroriEsercizio == 2) MostraAiuto();
}

void FormEs3::MostraAiuto()
{
    // A marker beside each place the right column fills.
    for (int i = 0; i < std::min(NumeroCorrente, 10); ++i) Shape2[i]->setVisible(true);
}

Control *FormEs3::Elemento(int posizione) const
{
    switch (posizione) {
    case kMattone: return CommandMattone;
    case kRicomincia: return Bot_ricomincia;
    case kAvanti: return BottoneAvanti;
    default: return BottoneConferma;
    }
}

void FormEs3::SpegniBottoni()
{
    const int32_t bottoni = colourFromDouble(ColoreBottoni);
    for (Control *b : {CommandMattone.get(), Bot_ricomincia.get(), BottoneConferma.get(), BottoneAvanti.get()})
        b->setBackColor(bottoni);
}

void FormEs3::EvidenziaElemento(int posizione) { Evidenzia(Elemento(posizione), true, ConRiquadro); }

bool FormEs3::Seleziona(int posizione)
{
    switch (posizione) {
    case kMattone:
        AggiungiMattone();
        break;
    case kRicomincia:
        SvuotaColonna();
        break;
    case kConferma:
        if (ColonnaGiusta()) {
            EsattoEs3();
            scansione.posizione = kAvanti;
            SpegniBottoni();
            EvidenziaElemento(kAvanti);
        } else {
            ErratoEs3(); // the highlight stays on "Conferma"
        }
        break;
    default:
        break;
    }
    return true;
}

void FormEs3::ScegliAvanti()
{
    BottoneAvanti->setEnabled(false);
    SpegniBottoni();
    EvidenziaElemento(kMattone);
    scansione.posizione = kMattone;
    NuovoNumero();
}
