#include "FormEs5.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include "platform/Random.h"
#include <cmath>
#include <numeric>
#include <vector>

using namespace forms;

FormEs5::FormEs5() : FormEsercizio(QStringLiteral("FormEs5"), "PictureBoxUscita")
{
    setCaption(QStringLiteral("Esercizio 5"));
    setClientSize(11475, 7620);
}

void FormEs5::layout(Layout &l)
{
    // The row of the question, and over each of its places an empty place to drop on.
    for (int i = 0; i < 3; ++i) {
        l.add(Kind::PictureBox, "PictureBoxImmagine", i).at(2280 + 2280 * i, 600, 1935, 1455).border(1);
        l.add(Kind::Label, "LabelNumero", i).in("PictureBoxImmagine", i).withFont("Arial", 8.25, true).align(2).transparent();
        l.add(Kind::Line, "Linea1", i).in("PictureBoxImmagine", i).outline(0x404040, 2).hidden();
        for (int j = 0; j < 10; ++j)
            l.add(Kind::Shape, "Shape1", 10 * i + j).in("PictureBoxImmagine", i).fill(vbFSTransparent).outline(0x404040, 3).hidden();
        l.add(Kind::Image, "Image1", i).in("PictureBoxImmagine", i).pic(QString(), true);
    }
    for (int i = 0; i < 3; ++i) l.add(Kind::PictureBox, "PictureBox1", i).at(2280 + 2280 * i, 600, 1935, 1455).border(1);
    // The five cards.
    for (int i = 0; i < 5; ++i) {
        l.add(Kind::PictureBox, "PictureBoxSecondaImmagine", i).at(120 + 2280 * i, 4200, 1935, 1455).border(1)
            .pointer(vbCustom).draggable();
        l.add(Kind::Label, "LabelSecondoNumero", i).in("PictureBoxSecondaImmagine", i).withFont("Arial", 8.25, true).align(2)
            .transparent().draggable();
        for (int j = 0; j < 10; ++j)
            l.add(Kind::Shape, "Shape2", 10 * i + j).in("PictureBoxSecondaImmagine", i).fill(vbFSTransparent).outline(0x404040, 3).hidden();
        l.add(Kind::Line, "Linea2", i).in("PictureBoxSecondaImmagine", i).outline(0x404040, 2).hidden();
        l.add(Kind::Image, "Image2", i).in("PictureBoxSecondaImmagine", i).pic(QString(), true).draggable();
    }
    l.add(Kind::Label, "Label4").at(4200, 6360, 4455, 375).cap("Label4").withFont("Arial", 12, true).align(2).transparent();

    ControlliComuni c{};
    c.label1 = {240, 6195, 1095, 375};
    c.esatti = {1440, 6120, 975, 615};
    c.label2 = {240, 6600, 1095, 495};
    c.errati = {1440, 6480, 855, 615};
    c.iconaSi = {9720, 600, 1095, 975};
    c.iconaNo = {9720, 600, 1095, 975};
    c.avanti = {9120, 6120, 1935, 975};
    c.manuale = {5400, 6960, 615, 495};
    c.automatica = {6120, 6960, 495, 495};
    c.uscita = "PictureBoxUscita";
    c.tipoUscita = Kind::PictureBox;
    c.spaziAzzera = 1;
    // The menu bar reads "Azzera conteggio", "Trova il numero", "Esci".
    c.menuPropri = [](Layout &m) {
        m.add(Kind::Menu, "mnuTrova").cap("Trova il numero");
        m.add(Kind::Menu, "mnuMezzo").in("mnuTrova").cap("in mezzo").check();
        m.add(Kind::Menu, "mnuSuccessivo").in("mnuTrova").cap("successivo");
        m.add(Kind::Menu, "mnuPrecedente").in("mnuTrova").cap("precedente");
        m.add(Kind::Menu, "mnuMancante").in("mnuTrova").cap("mancante");
    };
    AggiungiControlliComuni(l, c);
}

void FormEs5::Form_Load()
{
    FormEsercizio::Form_Load();
    mnuMezzo->Click = [this] { mnuMezzo_Click(); };
    mnuSuccessivo->Click = [this] { mnuSuccessivo_Click(); };
    mnuPrecedente->Click = [this] { mnuPrecedente_Click(); };
    mnuMancante->Click = [this] { mnuMancante_Click(); };
    for (int i = 0; i < 5; ++i)
        for (Control *c : {LabelSecondoNumero[i], Image2[i]}) c->actsWith(PictureBoxSecondaImmagine[i]);
    for (int i = 0; i < 3; ++i)
        PictureBox1[i]->DragDrop = [this, i](Control *sorgente, double, double) { PictureBox1_DragDrop(i, sorgente); };

    // The frame steps over the five cards, hidden ones included, and then rests on
    // "avanti" once the question is solved.
    scansione.numeroElementi = [] { return 5; };
    scansione.evidenzia = [this](int p, bool acceso) {
        if (acceso) FormEsercizio::SistemaRiquadro(PictureBoxSecondaImmagine[p]);
    };
    scansione.seleziona = [this](int p) { return Seleziona(p); };
    scansione.inAttesaAvanti = [this] { return BottoneAvanti->Enabled(); };
    scansione.scegliAvanti = [this] { ScegliAvanti(); };
    scansione.collega();
}

int FormEs5::NumeroPiuAlto() { return std::clamp(NumeroMassimo, 4, 10); }

void FormEs5::trascinabili(int carta, int modo)
{
    for (Control *c : {PictureBoxSecondaImmagine[carta], LabelSecondoNumero[carta], Image2[carta]}) c->setDragMode(modo);
}

void FormEs5::Form_Activate()
{
    NumeroCorrente = -1;
    AttivaFinestra();
    BottoneAvanti->setMousePointer(DisabilitaMousePersonalizzato ? vbDefault : vbCustom);

    // Both rows in the first picture's colours.
    const int32_t sfondo = colourFromDouble(ColoreSfondo1), disegno = colourFromDouble(ColoreDisegno1);
    for (int i = 0; i < 3; ++i) {
        PictureBoxImmagine[i]->setBackColor(sfondo);
        PictureBox1[i]->setBackColor(sfondo);
        LabelNumero[i]->setForeColor(disegno);
        for (Control *c : {LabelNumero[i], Image1[i]}) c->Move(0, 0, PictureBoxImmagine[i]->Width(), PictureBoxImmagine[i]->Height());
    }
    for (int i = 0; i < 5; ++i) {
        Control *carta = PictureBoxSecondaImmagine[i];
        carta->setBackColor(sfondo);
        LabelSecondoNumero[i]->setForeColor(disegno);
        for (Control *c : {LabelSecondoNumero[i], Image2[i]}) c->Move(0, 0, carta->Width(), carta->Height());
        PosizioniCarte[i] = int(std::nearbyint(carta->Left()));
    }
    for (int k = 0; k < 50; ++k) control(QStringLiteral("Shape2"), k)->setFillColor(disegno);
    for (int k = 0; k < 30; ++k) control(QStringLiteral("Shape1"), k)->setFillColor(disegno);
    TopRigaBassa = int(std::nearbyint(PictureBoxSecondaImmagine[0]->Top()));

    scansione.imposta(TipoScansione, VelocitaScansione, false);
    if (TipoScansione == 0) {
        ShapeRiquadro->setVisible(false);
    } else {
        // This window always highlights with the frame.
        MostraRiquadro();
        for (int i = 0; i < 5; ++i) {
            trascinabili(i, 0);
            PictureBoxSecondaImmagine[i]->setMousePointer(vbDefault);
        }
        BottoneAvanti->setMousePointer(vbDefault);
    }
    BottoneAvanti->setBackColor(colourFromDouble(ColoreBottoni));
    mnuMezzo_Click();
    PreparaEsercizio();
}

void FormEs5::PreparaEsercizio()
{
    for (Control *carta : PictureBoxSecondaImmagine.all()) carta->setVisible(true);
    IniziaTurno();
    for (int i = 0; i < 5; ++i) {
        PictureBoxSecondaImmagine[i]->setLeft(PosizioniCarte[i]);
        PictureBoxSecondaImmagine[i]->setTop(TopRigaBassa);
        if (TipoScansione == 0) {
            trascinabili(i, 1);
            PictureBoxSecondaImmagine[i]->setMousePointer(DisabilitaMousePersonalizzato ? vbDefault : vbCustom);
        }
    }
    // A new question is open: "avanti" is not offered until it is solved, whether it comes
    // from "avanti" itself or from the menu in the middle of a solved question.
    BottoneAvanti->setEnabled(false);
    if (TipoScansione != 0) {
        scansione.posizione = 4;
        SistemaRiquadro();
    }

    // Five different numbers, each number still free equally likely at every draw. Below
    // five numbers in use the cards go up to 4, so that there are always five.
    std::vector<int> liberi(NumeroPiuAlto() + 1);
    std::iota(liberi.begin(), liberi.end(), 0);
    for (int &n : Numeri) {
        const int j = platform::randomInt(0, int(liberi.size()) - 1);
        n = liberi[j];
        liberi.erase(liberi.begin() + j);
    }

    ModoDomanda = Modo == kMancante ? platform::randomInt(kInMezzo, kPrecedente) : Modo;
    // The answering card, among those whose number has neighbours the row can show: the
    // five numbers differ, so at most two cards are left out.
    std::vector<int> ammesse;
    for (int i = 0; i < 5; ++i) {
        const int n = Numeri[i];
        const bool escluso = (ModoDomanda == kInMezzo && (n == 0 || n == 10)) || (ModoDomanda == kSuccessivo && n == 0)
                             || (ModoDomanda == kPrecedente && n == 10);
        if (!escluso) ammesse.push_back(i);
    }
    CartaGiusta = ammesse[platform::randomInt(0, int(ammesse.size()) - 1)];
    const int n = Numeri[CartaGiusta];
    NumeroCorrente = n;
    switch (ModoDomanda) {
    case kSuccessivo:
        NumeriDomanda = {n - 1, n - 1, n};
        CasellaVuota = 2;
        break;
    case kPrecedente:
        NumeriDomanda = {n, n + 1, n + 1};
        CasellaVuota = 0;
        break;
    default:
        NumeriDomanda = {n - 1, n, n + 1};
        CasellaVuota = 1;
        break;
    }
    for (int i = 0; i < 3; ++i) {
        PictureBox1[i]->setVisible(i == CasellaVuota);
        // Between: the two neighbours; after and before: the one number in the middle.
        PictureBoxImmagine[i]->setVisible(ModoDomanda == kInMezzo ? i != 1 : i == 1);
    }

    RegistraNumeri({n});
    RigaLog += QStringLiteral("  ");
    ImpostaDisegni();
}

void FormEs5::ImpostaDisegni()
{
    std::vector<SlotFigura> domanda, carte;
    for (int i = 0; i < 3; ++i) domanda.push_back(Slot(this, "PictureBoxImmagine", i, "LabelNumero", "Shape1", "Linea1", "Image1"));
    for (int i = 0; i < 5; ++i)
        carte.push_back(Slot(this, "PictureBoxSecondaImmagine", i, "LabelSecondoNumero", "Shape2", "Linea2", "Image2"));
    // One representation for both rows, even when it is drawn at random.
    const int k = ScegliRappresentazione(RappresentazionePrima);
    DisegnaRiga(domanda, k, std::vector<int>(NumeriDomanda.begin(), NumeriDomanda.end()), LabelDimensionaFont, 2);
    DisegnaRiga(carte, k, std::vector<int>(Numeri.begin(), Numeri.end()), LabelDimensionaFont, 2);
}

int FormEs5::CartaDi(const Control *c) const
{
    if (!c || c->form() != this) return -1;
    const int i = c->Index();
    if (i < 0 || i > 4) return -1;
    const QString &nome = c->Name();
    if (nome == QLatin1String("PictureBoxSecondaImmagine") || nome == QLatin1String("LabelSecondoNumero")
        || nome == QLatin1String("Image2"))
        return i;
    return -1;
}

void FormEs5::PictureBox1_DragDrop(int Index, Control *Source)
{
    // Only the visible empty place takes a card; a hidden one is as if nothing were there.
    const int carta = CartaDi(Source);
    if (Index < 0 || Index > 2 || !PictureBox1[Index]->Visible() || carta < 0) return;
    if (carta == CartaGiusta) {
        Sistema(carta);
    } else {
        PictureBoxSecondaImmagine[carta]->setVisible(false);
        Errato();
    }
}

void FormEs5::Sistema(int carta)
{
    Control *vuota = PictureBox1[CasellaVuota];
    vuota->setVisible(false);
    PictureBoxSecondaImmagine[carta]->setTop(vuota->Top());
    PictureBoxSecondaImmagine[carta]->setLeft(vuota->Left());
    trascinabili(carta, 0);
    PictureBoxSecondaImmagine[carta]->setMousePointer(vbDefault);
    EsattoEs5();
}

void FormEs5::EsattoEs5()
{
    Esatto();
    BottoneAvanti->setEnabled(true);
    if (TipoScansione == 0) BottoneAvanti->SetFocus();
    else FormEsercizio::SistemaRiquadro(BottoneAvanti);
}

void FormEs5::SistemaRiquadro() { scansione.passo(); }

bool FormEs5::Seleziona(int posizione)
{
    if (posizione < 0 || posizione > 4) return true;
    if (posizione == CartaGiusta) {
        Sistema(posizione);
    } else {
        // The frame stays on the card, whose place, now empty, is still scanned.
        PictureBoxSecondaImmagine[posizione]->setVisible(false);
        Errato();
    }
    return true;
}

void FormEs5::ScegliAvanti()
{
    BottoneAvanti->setEnabled(false);
    PreparaEsercizio();
}


void FormEs5::ScegliModo(int modo, const char *testo, Control *voce)
{
    // The kind's name heads a new record line, and the questions fill the line after it.
    const QString riga = MLSGetString(QLatin1String(testo));
    ScriviIntestazione(riga);
    Label4->setCaption(riga);
    for (Control *v : {mnuMezzo.get(), mnuSuccessivo.get(), mnuPrecedente.get(), mnuMancante.get()}) v->setChecked(v == voce);
    Modo = modo;
    PreparaEsercizio();
}

void FormEs5::mnuMezzo_Click() { ScegliModo(kInMezzo, "0016", mnuMezzo); }
void FormEs5::mnuSuccessivo_Click() { ScegliModo(kSuccessivo, "0018", mnuSuccessivo); }
void FormEs5::mnuPrecedente_Click() { ScegliModo(kPrecedente, "0017", mnuPrecedente); }
void FormEs5::mnuMancante_Click() { ScegliModo(kMancante, "0015", mnuMancante); }
