#include "FormEs2.h"
#include "Modulo1.h"
#include "ModuloColoriSuoni.h"
#include "ModuloPerIni.h"
#include "platform/Random.h"
#include <cmath>

using namespace forms;

FormEs2::FormEs2() : FormEsercizio(QStringLiteral("FormEs2"), "FrameUscita")
{
    setCaption(QStringLiteral("Esercizio 2"));
    Move(0, 0, 9090, 7245 + 330);
}

void FormEs2::layout(Layout &l)
{
    // Three rows of four: the top pictures, the empty boxes, the pictures to place.
    for (int i = 0; i < 4; ++i) {
        const double left = 120 + 2280 * i;
        l.add(Kind::PictureBox, "FrameImmagine", i).at(left, 240, 1935, 1455).border(1);
        l.add(Kind::Image, "Image1", i).in("FrameImmagine", i).pic(QString(), true);
        for (int j = 0; j < 10; ++j)
            l.add(Kind::Shape, "Shape1", 10 * i + j).in("FrameImmagine", i).fill(vbFSTransparent).outline(0x404040, 3).hidden();
        l.add(Kind::Line, "Linea1", i).in("FrameImmagine", i).outline(0x404040, 2).hidden();
        l.add(Kind::Label, "LabelNumero", i).in("FrameImmagine", i).withFont("Arial", 8.25, true).align(2).transparent();
    }
    for (int i = 0; i < 4; ++i)
        l.add(Kind::PictureBox, "Frame1", i).at(120 + 2280 * i, 1920, 1935, 1455).border(1);
    for (int i = 0; i < 4; ++i) {
        const double left = 120 + 2280 * i;
        l.add(Kind::PictureBox, "FrameSecondaImmagine", i).at(left, 4200, 1935, 1455).border(1).pointer(vbCustom).draggable();
        l.add(Kind::Image, "Image2", i).in("FrameSecondaImmagine", i).pic(QString(), true).draggable();
        for (int j = 0; j < 10; ++j)
            l.add(Kind::Shape, "Shape2", 10 * i + j).in("FrameSecondaImmagine", i).fill(vbFSTransparent).outline(0x404040, 3).hidden();
        l.add(Kind::Line, "Linea2", i).in("FrameSecondaImmagine", i).outline(0x404040, 2).hidden();
        l.add(Kind::Label, "LabelSecondoNumero", i).in("FrameSecondaImmagine", i).withFont("Arial", 8.25, true).align(2)
            .transparent().draggable();
    }
    l.add(Kind::Label, "LabelSpiega").at(4320, 6120, 2055, 975).cap("trascina, dal basso, nella casella vuota")
        .withFont("Arial", 12, true).transparent();

    ControlliComuni c{};
    c.label1 = {1440, 6195, 1095, 375};
    c.esatti = {2640, 6120, 975, 615};
    c.label2 = {1440, 6600, 1095, 495};
    c.errati = {2640, 6480, 855, 615};
    c.iconaSi = {240, 6120, 1095, 975};
    c.iconaNo = {240, 6120, 1095, 975};
    c.avanti = {6720, 6120, 1935, 975};
    c.manuale = {4680, 6840, 615, 495};
    c.automatica = {5400, 6840, 495, 495};
    c.tipoUscita = Kind::PictureBox;
    AggiungiControlliComuni(l, c);
}

void FormEs2::Form_Load()
{
    FormEsercizio::Form_Load();
    for (int i = 0; i < 4; ++i)
        Frame1[i]->DragDrop = [this, i](Control *sorgente, double, double) { Frame1_DragDrop(i, sorgente->Index()); };

    scansione.numeroElementi = [] { return 4; };
    scansione.successivo = [this](int p) { return Successivo(p); };
    scansione.evidenzia = [this](int, bool acceso) {
        if (acceso) SistemaRiquadro();
    };
    scansione.seleziona = [this](int p) { return Seleziona(p); };
    scansione.inAttesaAvanti = [this] { return FaseScansione == 3; };
    scansione.collega();
}

void FormEs2::trascinabili(int modo)
{
    for (int i = 0; i < 4; ++i)
        for (Control *c : {FrameSecondaImmagine[i], LabelSecondoNumero[i], Image2[i]}) c->setDragMode(modo);
}

void FormEs2::Form_Activate()
{
    AttivaFinestra();
    BottoneAvanti->setMousePointer(DisabilitaMousePersonalizzato ? vbDefault : vbCustom);
    for (int i = 0; i < 4; ++i) {
        FrameImmagine[i]->setBackColor(colourFromDouble(ColoreSfondo1));
        FrameSecondaImmagine[i]->setBackColor(colourFromDouble(ColoreSfondo2));
        Frame1[i]->setBackColor(colourFromDouble(ColoreSfondo2));
        LabelNumero[i]->setForeColor(colourFromDouble(ColoreDisegno1));
        LabelSecondoNumero[i]->setForeColor(colourFromDouble(ColoreDisegno2));
        for (Control *c : {LabelNumero[i], Image1[i]}) c->Move(0, 0, FrameImmagine[i]->Width(), FrameImmagine[i]->Height());
        for (Control *c : {LabelSecondoNumero[i], Image2[i]})
            c->Move(0, 0, FrameSecondaImmagine[i]->Width(), FrameSecondaImmagine[i]->Height());
    }
    for (int k = 0; k < 40; ++k) {
        control(QStringLiteral("Shape1"), k)->setFillColor(colourFromDouble(ColoreDisegno1));
        control(QStringLiteral("Shape2"), k)->setFillColor(colourFromDouble(ColoreDisegno2));
    }
    TopRigaBassa = int(std::nearbyint(FrameSecondaImmagine[0]->Top()));

    scansione.imposta(TipoScansione, VelocitaScansione, false);
    if (TipoScansione == 0) {
        ShapeRiquadro->setVisible(false);
    } else {
        ShapeRiquadro->setBorderWidth(DimensioneRiquadro);
        ShapeRiquadro->setBorderColor(colourFromDouble(ColoreScansione));
        ShapeRiquadro->setVisible(true);
        trascinabili(0);
        for (Control *p : FrameSecondaImmagine.all()) p->setMousePointer(vbDefault);
        BottoneAvanti->setMousePointer(vbDefault);
    }
    BottoneAvanti->setBackColor(colourFromDouble(ColoreBottoni));
    PreparaEsercizio();
}

void FormEs2::PreparaEsercizio()
{
    ErroriImmagine.fill(0);
    IniziaTurno();
    for (int i = 0; i < 4; ++i) {
        Frame1[i]->setVisible(true);
        FrameSecondaImmagine[i]->setTop(TopRigaBassa);
        if (TipoScansione == 0) {
            for (Control *c : {FrameSecondaImmagine[i], LabelSecondoNumero[i], Image2[i]}) c->setDragMode(1);
            FrameSecondaImmagine[i]->setMousePointer(DisabilitaMousePersonalizzato ? vbDefault : vbCustom);
        } else {
            Frame1[i]->setBackColor(colourFromDouble(ColoreSfondo2));
        }
    }
    Sistemati = 0;
    // Four different numbers; with fewer than four numbers in use they come from 0 to 3,
    // so that the draws always end.
    const int massimo = std::max(std::clamp(NumeroMassimo, 0, 10), 3);
    for (int i = 0; i < 4; ++i) {
        int n;
        do n = platform::randomInt(0, massimo);
        while (std::find(Numeri.begin(), Numeri.begin() + i, n) != Numeri.begin() + i);
        Numeri[i] = n;
    }
    ErroriEsercizio = 0;
    const int riga = std::clamp(NumeroRigheEsercizi, 0, kRigheMassime);
    RigaLog = RigheEsercizi[riga].isEmpty() ? QString() : QStringLiteral(" - ");
    for (int n : Numeri) RigaLog += ConSpazio(n) + QStringLiteral("  ");
    ImpostaDisegni();
    ScombiccheraPosti();
    if (TipoScansione != 0) {
        scansione.posizione = 0;
        FaseScansione = 1;
        SistemaRiquadro();
    }
}

void FormEs2::ImpostaDisegni()
{
    std::vector<SlotFigura> sopra, sotto;
    for (int i = 0; i < 4; ++i) {
        sopra.push_back(Slot(this, "FrameImmagine", i, "LabelNumero", "Shape1", "Linea1", "Image1"));
        sotto.push_back(Slot(this, "FrameSecondaImmagine", i, "LabelSecondoNumero", "Shape2", "Linea2", "Image2"));
    }
    const std::vector<int> numeri(Numeri.begin(), Numeri.end());
    DisegnaRiga(sopra, ScegliRappresentazione(RappresentazionePrima), numeri, LabelDimensionaFont, 3);
    DisegnaRiga(sotto, ScegliRappresentazione(RappresentazioneSeconda), numeri, LabelDimensionaFont, 3);
}

void FormEs2::ScombiccheraPosti()
{
    for (Control *p : FrameSecondaImmagine.all()) p->setTag(QString());
    for (int s = 0; s < 4; ++s) {
        int j;
        do j = platform::randomInt(0, 3);
        while (!FrameSecondaImmagine[j]->Tag().isEmpty());
        FrameSecondaImmagine[j]->setLeft(Frame1[s]->Left());
        FrameSecondaImmagine[j]->setTag(QString::number(s));
    }
}

void FormEs2::Sistema(int k)
{
    FrameSecondaImmagine[k]->setTop(Frame1[k]->Top());
    FrameSecondaImmagine[k]->setLeft(Frame1[k]->Left());
}

void FormEs2::Frame1_DragDrop(int Index, int k)
{
    // While a picture travels by itself the boxes take nothing.
    if (inMovimento_ || k < 0 || k > 3 || !Frame1[Index]->Visible()) return;
    if (k == Index) {
        Frame1[Index]->setVisible(false);
        Sistema(k);
        for (Control *c : {FrameSecondaImmagine[k], LabelSecondoNumero[k], Image2[k]}) c->setDragMode(0);
        FrameSecondaImmagine[k]->setMousePointer(vbDefault);
        EsattoEs2();
    } else {
        ++ErroriImmagine[k];
        Errato();
        if (ErroriImmagine[k] >= 2) PosizionaDaSolo(k, false);
    }
}

void FormEs2::PosizionaDaSolo(int k, bool daScansione)
{
    Frame1[k]->setVisible(false);
    for (Control *c : {FrameSecondaImmagine[k], LabelSecondoNumero[k], Image2[k]}) c->setDragMode(0);
    FrameSecondaImmagine[k]->setMousePointer(vbDefault);
    inMovimento_ = true;
    if (!Viaggia(FrameSecondaImmagine[k], Frame1[k])) return; // the pupil left meanwhile
    inMovimento_ = false;
    ++Sistemati;
    if (daScansione) {
        scansione.posizione = 3;
        FaseScansione = 1;
    }
    Sistema(k);
}

void FormEs2::EsattoEs2()
{
    // Every picture the pupil places counts; the fourth completes the round.
    ++Sistemati;
    Esatto(Sistemati >= 4);
    if (TipoScansione == 0) {
        if (Sistemati >= 4) {
            BottoneAvanti->setEnabled(true);
            BottoneAvanti->SetFocus();
        }
        return;
    }
    if (Sistemati < 4) {
        scansione.posizione = 3;
        FaseScansione = 1;
    } else {
        BottoneAvanti->setEnabled(true);
        FormEsercizio::SistemaRiquadro(BottoneAvanti);
        FaseScansione = 3;
    }
}

int FormEs2::Successivo(int p) const
{
    p = (p + 1) % 4;
    if (FaseScansione == 1)
        for (int giri = 0; giri < 4 && !Frame1[p]->Visible(); ++giri) p = (p + 1) % 4;
    return p; // in phase 2 the frame skips placed pictures itself
}

void FormEs2::SistemaRiquadro()
{
    if (FaseScansione == 1) {
        FormEsercizio::SistemaRiquadro(Frame1[scansione.posizione]);
    } else if (FaseScansione == 2) {
        auto immagine = [this](int colonna) {
            for (int i = 0; i < 4; ++i)
                if (FrameSecondaImmagine[i]->Tag().toInt() == colonna) return i;
            return 0;
        };
        ImmagineScelta = immagine(scansione.posizione);
        for (int giri = 0; giri < 4 && int(std::nearbyint(FrameSecondaImmagine[ImmagineScelta]->Top())) != TopRigaBassa; ++giri) {
            scansione.posizione = (scansione.posizione + 1) % 4;
            ImmagineScelta = immagine(scansione.posizione);
        }
        FormEsercizio::SistemaRiquadro(FrameSecondaImmagine[ImmagineScelta]);
    }
}

bool FormEs2::Seleziona(int p)
{
    if (inMovimento_) return true;
    if (FaseScansione == 1) {
        if (!Frame1[p]->Visible()) return true;
        Frame1[p]->setBackColor(colourFromDouble(ColoreScansione));
        FaseScansione = 2;
        CasellaScelta = p;
        scansione.posizione = 0;
        SistemaRiquadro();
    } else if (FaseScansione == 2) {
        if (ImmagineScelta == CasellaScelta) {
            Frame1[CasellaScelta]->setVisible(false);
            Sistema(ImmagineScelta);
            EsattoEs2();
            if (TipoScansione == 1) scansione.posizione = 0;
        } else {
            ++ErroriImmagine[CasellaScelta];
            Errato();
            if (ErroriImmagine[CasellaScelta] >= 2) PosizionaDaSolo(CasellaScelta, true);
        }
    }
    return true;
}

