#include "FormEs4.h"
#include "Modulo1.h"
#include "ModuloColoriSuoni.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "platform/Random.h"
#include <QPointer>
#include <algorithm>
#include <functional>
#include <cmath>

using namespace forms;

namespace {
int intero(double v) { return int(std::nearbyint(v)); }
}

FormEs4::FormEs4() : FormEsercizio(QStringLiteral("FormEs4"), "FrameUscita")
{
    setCaption(QStringLiteral("Esercizio 4"));
    Move(0, 0, 11370, 7245 + 330);
}

void FormEs4::layout(Layout &l)
{
    // The empty boxes on top, the cards below them; the cards' places change every round.
    for (int i = 0; i < 5; ++i) l.add(Kind::PictureBox, "PictureBox1", i).at(120 + 2280 * i, 360, 1935, 1455).border(1);
    for (int i = 0; i < 5; ++i) {
        l.add(Kind::PictureBox, "PictureBoxSecondaImmagine", i).at(120 + 2280 * i, 4200, 1935, 1455).border(1)
            .pointer(vbCustom).draggable();
        l.add(Kind::Image, "Image2", i).in("PictureBoxSecondaImmagine", i).at(0, 0, 1935, 1455).pic(QString(), true)
            .draggable();
        for (int j = 0; j < 10; ++j)
            l.add(Kind::Shape, "Shape2", 10 * i + j).in("PictureBoxSecondaImmagine", i).fill(vbFSTransparent)
                .outline(0x404040, 3).hidden();
        l.add(Kind::Line, "Linea2", i).in("PictureBoxSecondaImmagine", i).outline(0x404040, 2).hidden();
        l.add(Kind::Label, "LabelSecondoNumero", i).in("PictureBoxSecondaImmagine", i).at(0, 0, 1935, 1455)
            .withFont("Arial", 8.25, true).align(2).transparent().draggable();
    }
    l.add(Kind::Label, "Label4").at(4440, 6480, 4335, 375).withFont("Arial", 12, true).transparent();

    ControlliComuni c{};
    c.label1 = {1440, 6195, 1095, 375};
    c.esatti = {2640, 6120, 975, 615};
    c.label2 = {1440, 6600, 1095, 495};
    c.errati = {2640, 6480, 855, 615};
    c.iconaSi = {240, 6120, 1095, 975};
    c.iconaNo = {240, 6120, 1095, 975};
    c.avanti = {9120, 6120, 1935, 975};
    c.manuale = {7440, 7080, 615, 495};
    c.automatica = {8160, 7080, 495, 495};
    // The order menu stands between the count reset and the exit.
    c.menuPropri = [](Layout &m) {
        m.add(Kind::Menu, "mnuOrdine").cap("Ordine");
        m.add(Kind::Menu, "mnuCresci").in("mnuOrdine").cap("crescente").check();
        m.add(Kind::Menu, "mnuDecresci").in("mnuOrdine").cap("decrescente").check(false);
    };
    AggiungiControlliComuni(l, c);
}

void FormEs4::Form_Load()
{
    FormEsercizio::Form_Load();
    mnuCresci->Click = [this] { mnuCresci_Click(); };
    mnuDecresci->Click = [this] { mnuDecresci_Click(); };
    for (int i = 0; i < 5; ++i)
        PictureBox1[i]->DragDrop = [this, i](Control *sorgente, double, double) { PictureBox1_DragDrop(i, sorgente); };

    scansione.numeroElementi = [] { return 5; };
    scansione.successivo = [this](int p) { return Successivo(p); };
    scansione.evidenzia = [this](int, bool acceso) {
        if (acceso) SistemaRiquadro();
    };
    // The highlight moves on after every selection, also when nothing was chosen.
    scansione.seleziona = [this](int p) { return Seleziona(p); };
    scansione.inAttesaAvanti = [this] { return FaseScansione == 3; };
    scansione.collega();
}

void FormEs4::Trascinabile(int k, bool si)
{
    for (Control *c : {PictureBoxSecondaImmagine[k], LabelSecondoNumero[k], Image2[k]}) c->setDragMode(si ? 1 : 0);
}

void FormEs4::Form_Activate()
{
    AttivaFinestra();
    BottoneAvanti->setMousePointer(DisabilitaMousePersonalizzato ? vbDefault : vbCustom);
    const int32_t sfondo = colourFromDouble(ColoreSfondo1), disegno = colourFromDouble(ColoreDisegno1);
    for (int i = 0; i < 5; ++i) {
        Control *carta = PictureBoxSecondaImmagine[i];
        carta->setBackColor(sfondo);
        PictureBox1[i]->setBackColor(sfondo);
        LabelSecondoNumero[i]->setForeColor(disegno);
        for (Control *c : {LabelSecondoNumero[i], Image2[i]}) c->Move(0, 0, carta->Width(), carta->Height());
    }
    for (int k = 0; k < 50; ++k) control(QStringLiteral("Shape2"), k)->setFillColor(disegno);
    TopRigaBassa = intero(PictureBoxSecondaImmagine[0]->Top());

    scansione.imposta(TipoScansione, VelocitaScansione, false, 0);
    if (TipoScansione == 0) {
        ShapeRiquadro->setVisible(false);
    } else {
        ShapeRiquadro->setBorderWidth(DimensioneRiquadro);
        ShapeRiquadro->setBorderColor(colourFromDouble(ColoreScansione));
        ShapeRiquadro->setVisible(true);
        for (int i = 0; i < 5; ++i) {
            Trascinabile(i, false);
            PictureBoxSecondaImmagine[i]->setMousePointer(vbDefault);
        }
        BottoneAvanti->setMousePointer(vbDefault);
    }
    BottoneAvanti->setBackColor(colourFromDouble(ColoreBottoni));
    // Every activation starts a new block of the record in increasing order.
    mnuCresci_Click();
    PreparaEsercizio();
}

void FormEs4::mnuCresci_Click() { ScegliOrdine(1, "0039"); }
void FormEs4::mnuDecresci_Click() { ScegliOrdine(2, "0040"); }

void FormEs4::ScegliOrdine(int ordine, const char *testo)
{
    // The header goes into the record (when there is still room for it) and under the cards;
    // the pieces of the next rounds follow on the line after it.
    const QString intestazione = MLSGetString(QLatin1String(testo));
    ScriviIntestazione(intestazione);
    Label4->setCaption(intestazione);
    mnuCresci->setChecked(ordine == 1);
    mnuDecresci->setChecked(ordine == 2);
    Ordine = ordine;
    PreparaEsercizio();
}

void FormEs4::PreparaEsercizio()
{
    // A card still travelling belongs to the round that ends here: it stops where it is.
    ++turno_;
    inMovimento_ = false;
    // A new round waits on no "avanti", whatever ended the one before.
    BottoneAvanti->setEnabled(false);
    ErroriImmagine.fill(0);
    IniziaTurno();
    for (int i = 0; i < 5; ++i) {
        PictureBox1[i]->setVisible(true);
        PictureBoxSecondaImmagine[i]->setTop(TopRigaBassa);
        if (TipoScansione == 0) {
            Trascinabile(i, true);
            PictureBoxSecondaImmagine[i]->setMousePointer(DisabilitaMousePersonalizzato ? vbDefault : vbCustom);
        } else {
            PictureBox1[i]->setBackColor(colourFromDouble(ColoreSfondo1)); // no box chosen yet
        }
    }
    if (TipoScansione != 0) {
        scansione.posizione = 0;
        FaseScansione = 1;
        SistemaRiquadro();
    }
    Sistemati = 0;

    // Five different numbers; with fewer than five numbers in use they come from 0 to 4,
    // so that the draws always end.
    const int massimo = std::max(std::clamp(NumeroMassimo, 0, 10), 4);
    for (int i = 0; i < 5; ++i) {
        int n;
        do n = platform::randomInt(0, massimo);
        while (std::find(Numeri.begin(), Numeri.begin() + i, n) != Numeri.begin() + i);
        Numeri[i] = n;
    }
    RegistraNumeri({});
    for (int n : Numeri) RigaLog += ConSpazio(n) + QStringLiteral("  ");

    if (Ordine == 2) std::sort(Numeri.begin(), Numeri.end(), std::greater<int>());
    else std::sort(Numeri.begin(), Numeri.end());
    ImpostaDisegni();
    ScombiccheraPosti();
}

void FormEs4::ImpostaDisegni()
{
    const int k = ScegliRappresentazione(RappresentazionePrima);
    if (k < 0) return; // no representation: the cards keep what they showed
    std::vector<SlotFigura> carte;
    for (int i = 0; i < 5; ++i) {
        carte.push_back(Slot(this, "PictureBoxSecondaImmagine", i, "LabelSecondoNumero", "Shape2", "Linea2", "Image2"));
        // The texts are fitted to the whole card.
        Control *carta = PictureBoxSecondaImmagine[i];
        LabelSecondoNumero[i]->Move(0, 0, carta->Width(), carta->Height());
    }
    DisegnaRiga(carte, k, std::vector<int>(Numeri.begin(), Numeri.end()), LabelDimensionaFont, 2);
    if (k == kParole) {
        // A word is as wide as the card but lower than it: it stands in the middle.
        for (int i = 0; i < 5; ++i) {
            Control *carta = PictureBoxSecondaImmagine[i];
            const double alta = std::min(LabelDimensionaFont->Height(), carta->Height());
            LabelSecondoNumero[i]->Move(0, (carta->Height() - alta) / 2, carta->Width(), alta);
        }
    }
}

void FormEs4::ScombiccheraPosti()
{
    for (Control *p : PictureBoxSecondaImmagine.all()) p->setTag(QString());
    for (int s = 0; s < 5; ++s) {
        int j;
        do j = platform::randomInt(0, 4);
        while (!PictureBoxSecondaImmagine[j]->Tag().isEmpty());
        PictureBoxSecondaImmagine[j]->setLeft(PictureBox1[s]->Left());
        PictureBoxSecondaImmagine[j]->setTag(QString::number(s));
    }
}

bool FormEs4::Sistemata(int k) const { return !PictureBox1[k]->Visible(); }

int FormEs4::CartaInColonna(int colonna) const
{
    for (int i = 0; i < 5; ++i)
        if (PictureBoxSecondaImmagine[i]->Tag() == QString::number(colonna)) return i;
    return -1;
}

void FormEs4::Piazza(int k)
{
    PictureBox1[k]->setVisible(false);
    PictureBoxSecondaImmagine[k]->setTop(PictureBox1[k]->Top());
    PictureBoxSecondaImmagine[k]->setLeft(PictureBox1[k]->Left());
}

void FormEs4::PictureBox1_DragDrop(int Index, Control *Source)
{
    const int k = Source && Source->form() == this ? Source->Index() : -1;
    // Only a card still to be placed, dropped on a box still empty, in mouse mode; while a
    // card travels by itself the boxes take nothing.
    if (TipoScansione != 0 || inMovimento_ || k < 0 || k > 4 || Index < 0 || Index > 4) return;
    if (Sistemata(k) || !PictureBox1[Index]->Visible()) return;
    if (k == Index) {
        Piazza(k);
        Trascinabile(k, false);
        PictureBoxSecondaImmagine[k]->setMousePointer(vbDefault);
        EsattoEs4();
    } else {
        ++ErroriImmagine[k];
        Errato();
        if (ErroriImmagine[k] >= 2) PosizionaDaSolo(k, false);
    }
}

void FormEs4::PosizionaDaSolo(int k, bool daScansione)
{
    Control *carta = PictureBoxSecondaImmagine[k], *casella = PictureBox1[k];
    casella->setVisible(false);
    Trascinabile(k, false);
    carta->setMousePointer(vbDefault);
    inMovimento_ = true;
    // Broken off when the pupil leaves, or when a new round begins: its cards are not this one's.
    const int turno = turno_;
    if (!Viaggia(carta, casella, [this, turno] { return turno_ == turno; })) return;
    inMovimento_ = false;
    ++Sistemati;
    Piazza(k);
    if (daScansione) RiprendiDalleCaselle();
}

void FormEs4::EsattoEs4()
{
    // Every card the pupil places counts; the fifth completes the round.
    ++Sistemati;
    Esatto(Sistemati >= 5);
    if (TipoScansione == 0) {
        if (Sistemati >= 5) {
            BottoneAvanti->setEnabled(true);
            BottoneAvanti->SetFocus();
        }
    } else if (Sistemati < 5) {
        RiprendiDalleCaselle();
    } else {
        BottoneAvanti->setEnabled(true);
        SistemaRiquadro(BottoneAvanti);
        FaseScansione = 3;
    }
}

// Back to choosing a box: the highlight goes at once to the first empty box from the
// left, so that what the pupil selects next is always what the frame shows.
void FormEs4::RiprendiDalleCaselle()
{
    FaseScansione = 1;
    scansione.posizione = Successivo(4);
    SistemaRiquadro();
}

int FormEs4::Successivo(int p) const
{
    p = ((p + 1) % 5 + 5) % 5;
    if (FaseScansione == 1)
        for (int giri = 0; giri < 5 && !PictureBox1[p]->Visible(); ++giri) p = (p + 1) % 5;
    return p; // in phase 2 the frame skips the placed cards itself
}

void FormEs4::SistemaRiquadro()
{
    if (FaseScansione == 1) {
        SistemaRiquadro(PictureBox1[std::clamp(scansione.posizione, 0, 4)]);
    } else if (FaseScansione == 2) {
        // The card of the scanned column; the columns of placed cards are passed over.
        for (int giri = 0; giri < 5; ++giri) {
            const int carta = CartaInColonna(scansione.posizione);
            if (carta >= 0 && !Sistemata(carta)) {
                ImmagineScelta = carta;
                SistemaRiquadro(PictureBoxSecondaImmagine[carta]);
                return;
            }
            scansione.posizione = (std::clamp(scansione.posizione, 0, 4) + 1) % 5;
        }
    }
}

bool FormEs4::Seleziona(int p)
{
    if (inMovimento_) return true; // a card is travelling: the choice is not taken
    if (FaseScansione == 1) {
        if (p < 0 || p > 4 || !PictureBox1[p]->Visible()) return true;
        PictureBox1[p]->setBackColor(colourFromDouble(ColoreScansione));
        CasellaScelta = p;
        FaseScansione = 2;
        scansione.posizione = 0;
        SistemaRiquadro();
    } else if (FaseScansione == 2) {
        if (Sistemata(ImmagineScelta) || Sistemata(CasellaScelta)) return true;
        if (ImmagineScelta == CasellaScelta) {
            Piazza(CasellaScelta);
            EsattoEs4();
        } else {
            ++ErroriImmagine[CasellaScelta];
            Errato();
            if (ErroriImmagine[CasellaScelta] >= 2) PosizionaDaSolo(CasellaScelta, true);
        }
    }
    return true;
}

