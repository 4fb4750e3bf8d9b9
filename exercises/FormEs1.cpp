#include "FormEs1.h"
#include "AdattaCarattere.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"
#include "platform/Random.h"

using namespace forms;

FormEs1::FormEs1() : FormEsercizio(QStringLiteral("FormEs1"), "FrameUscita")
{
    setCaption(QStringLiteral("Esercizio 1"));
    setClientSize(10935, 7755);
}

void FormEs1::layout(Layout &l)
{
    l.add(Kind::Frame, "FramePrimaImmagine").at(360, 240, 7500, 4500).back(0xFFFFFF);
    l.add(Kind::Image, "Image1").in("FramePrimaImmagine").at(0, 120, 7500, 4500).pic(QString(), true);
    for (int k = 0; k < 10; ++k)
        l.add(Kind::Shape, "Shape1", k).in("FramePrimaImmagine").fill(vbFSTransparent, 0x0000FF).outline(0x404040, 3).hidden();
    l.add(Kind::Line, "Linea1").in("FramePrimaImmagine").outline(0x404040, 2).hidden();
    l.add(Kind::Label, "LabelPrimoNumero").in("FramePrimaImmagine").at(600, 120, 6255, 4335).withFont("Arial", 8.25, true)
        .align(2).transparent().hidden();
    l.add(Kind::Label, "LabelSpiega").at(8520, 3720, 1815, 975).cap("scrivi il numero corrispondente").withFont("Arial", 12, true).transparent();
    l.add(Kind::TextBox, "Text1").at(2160, 5640, 3375, 1395).withFont("Arial", 14, true).align(2).pointer(vbCustom);
    l.add(Kind::Frame, "FrameAiuto").at(480, 5160, 6735, 2055).border(0).hidden();
    for (int i = 0; i < 3; ++i)
        l.add(Kind::CommandButton, "CommandAiuto", i).in("FrameAiuto").at(720 + 2040 * i, 720, 975, 735).withFont("Arial", 14, true).pointer(vbCustom);
    l.add(Kind::Frame, "FrameScansione").at(240, 5040, 9495, 2415).hidden();
    for (int k = 0; k <= 10; ++k) {
        const double left = k <= 5 ? 240 + 1080 * k : 240 + 1080 * (k - 6);
        l.add(Kind::CommandButton, "Command1", k).in("FrameScansione").at(left, k <= 5 ? 480 : 1440, 855, 735)
            .cap(QString::number(k)).withFont("Arial", 8.25, true);
    }
    l.add(Kind::CommandButton, "BottoneAvanti2").in("FrameScansione").at(7200, 1200, 1935, 975).cap("avanti")
        .withFont("Arial", 14.25, true).pic(":/pictures/freccia_avanti.svg").disabled().icon(":/pictures/puntatore_avanti.png", 30, 15);

    ControlliComuni c{};
    c.label1 = {8280, 1755, 1155, 375};
    c.label2 = {8280, 2280, 1155, 375};
    c.esatti = {9480, 1650, 1215, 495};
    c.errati = {9480, 2175, 1215, 495};
    c.iconaSi = {8820, 360, 1095, 975};
    c.iconaNo = {8760, 390, 1095, 975};
    c.avanti = {7560, 6120, 1935, 975};
    c.manuale = {9960, 4920, 615, 495};
    c.automatica = {9960, 5760, 495, 495};
    c.contenitoreRiquadro = "FrameScansione";
    AggiungiControlliComuni(l, c);
}

void FormEs1::Form_Load()
{
    FormEsercizio::Form_Load();
    Text1->KeyPress = [this](int &a) { Text1_KeyPress(a); };
    Text1->KeyUp = [this](int &k, int) { Text1_KeyUp(k); };
    for (int i = 0; i < 3; ++i) CommandAiuto[i]->Click = [this, i] { CommandAiuto_Click(i); };

    scansione.numeroElementi = [this] { return UltimoNumero() + 1; };
    scansione.successivo = [this](int p) {
        // The next enabled number button, wrapping after the last one in use.
        const int n = UltimoNumero() + 1;
        for (int passi = 0; passi < n; ++passi) {
            p = (p + 1) % n;
            if (Command1[p]->Enabled()) return p;
        }
        return scansione.posizione;
    };
    scansione.evidenzia = [this](int p, bool on) { Evidenzia(Command1[p], on, ConRiquadro); };
    scansione.seleziona = [this](int p) { return SelezionaNumero(p); };
    scansione.inAttesaAvanti = [this] { return BottoneAvanti2->Enabled(); };
    scansione.scegliAvanti = [this] { ScegliAvanti(); };
    scansione.collega();
}

int FormEs1::UltimoNumero() const { return std::clamp(NumeroMassimo, 0, 10); }

void FormEs1::Form_Activate()
{
    NumeroCorrente = -1;
    AttivaFinestra();

    FramePrimaImmagine->setBackColor(colourFromDouble(ColoreSfondo1));
    for (int k = 0; k < 10; ++k) control(QStringLiteral("Shape1"), k)->setFillColor(colourFromDouble(ColoreDisegno1));
    LabelPrimoNumero->setForeColor(colourFromDouble(ColoreDisegno1));

    const int puntatore = DisabilitaMousePersonalizzato ? vbDefault : vbCustom;
    BottoneAvanti->setMousePointer(puntatore);
    for (Control *a : CommandAiuto.all()) a->setMousePointer(puntatore);
    ShapeRiquadro->setVisible(false);
    const int32_t bottoni = colourFromDouble(ColoreBottoni);
    BottoneAvanti->setBackColor(bottoni);
    BottoneAvanti2->setBackColor(bottoni);
    for (Control *a : CommandAiuto.all()) a->setBackColor(bottoni);

    scansione.imposta(TipoScansione, VelocitaScansione, false);
    if (TipoScansione == 0) {
        BottoneAvanti->setVisible(true);
        FrameScansione->setVisible(false);
    } else {
        Text1->setVisible(false);
        FrameScansione->setVisible(true);
        BottoneAvanti->setVisible(false);
        // In manual scanning the keypad takes the window's colour of this moment.
        if (TipoScansione == 1) FrameScansione->setBackColor(BackColor());
        BottoneAvanti->setMousePointer(vbDefault);
        if (ConRiquadro) {
            MostraRiquadro();
        }
        for (int k = 0; k <= 10; ++k) {
            const bool inUso = k <= UltimoNumero();
            Command1[k]->setCaption(QString::number(k));
            Command1[k]->setVisible(inUso);
            Command1[k]->setEnabled(inUso);
        }
        AdattaCarattere(LabelDimensionaFont, QStringLiteral("10"), 0, Command1[10], ProvaAdattamento::AltezzaELarghezza,
                        Command1.all());
        for (Control *b : Command1.all()) b->setBackColor(bottoni);
        scansione.posizione = 0;
    }
    NuovoNumero();
}

void FormEs1::NuovoNumero()
{
    IniziaTurno();
    if (TipoScansione == 0) {
        Text1->setText(QString());
        Text1->setVisible(true);
        Text1->setLocked(false);
        AdattaCarattere(LabelDimensionaFont, QStringLiteral("9"), 0, Text1, ProvaAdattamento::Altezza, {Text1});
    } else {
        for (int k = 0; k <= UltimoNumero(); ++k) Command1[k]->setEnabled(true);
        Evidenzia(Command1[std::clamp(scansione.posizione, 0, UltimoNumero())], true, ConRiquadro);
    }
    NumeroCorrente = platform::randomInt(0, UltimoNumero());
    RegistraNumeri({NumeroCorrente});
    FrameAiuto->setVisible(false);
    ImpostaDisegni();
    if (TipoScansione == 0) Text1->SetFocus();
}

void FormEs1::ImpostaDisegni()
{
    const SlotFigura slot = Slot(this, "FramePrimaImmagine", -1, "LabelPrimoNumero", "Shape1", "Linea1", "Image1");
    DisegnaRiga({slot}, ScegliRappresentazione(RappresentazionePrima), {NumeroCorrente}, LabelDimensionaFont, 3);
}


void FormEs1::Text1_KeyPress(int &KeyAscii)
{
    const bool cifra = KeyAscii >= '0' && KeyAscii <= '9';
    if (!(KeyAscii == vbKeyBack || KeyAscii == ',' || cifra)) KeyAscii = 0;
}

void FormEs1::Text1_KeyUp(int KeyCode)
{
    // A solved round's box is locked: Enter there answers nothing again.
    if (KeyCode != vbKeyReturn || Text1->Text().isEmpty() || Text1->Locked()) return;
    const QString t = Text1->Text();
    int cifre = 0;
    while (cifre < t.size() && cifre < 9 && t.at(cifre).isDigit()) ++cifre;
    const int valore = t.left(cifre).toInt();
    if (valore == NumeroCorrente) EsattoEs1();
    else ErratoEs1();
}

void FormEs1::CommandAiuto_Click(int Index)
{
    if (CommandAiuto[Index]->Caption().toInt() != NumeroCorrente) {
        ErratoEs1();
        CommandAiuto[Index]->setEnabled(false);
        // The greyed choice hands the keys on to the next help button, where Enter would
        // press it; they go back to the covered box, which reads typed answers as before.
        Text1->SetFocus();
    } else {
        EsattoEs1();
    }
}

void FormEs1::EsattoEs1()
{
    Esatto();
    if (TipoScansione == 0) {
        if (FrameAiuto->Visible()) {
            FrameAiuto->setVisible(false);
            Text1->setText(QString::number(NumeroCorrente));
        }
        Text1->setLocked(true);
        BottoneAvanti->setEnabled(true);
        BottoneAvanti->SetFocus();
    } else {
        for (Control *b : Command1.all()) b->setEnabled(false);
        if (ConRiquadro) {
            SistemaRiquadro(BottoneAvanti2);
        } else {
            Command1[scansione.posizione]->setBackColor(colourFromDouble(ColoreBottoni));
            BottoneAvanti2->setBackColor(colourFromDouble(ColoreScansione));
        }
        BottoneAvanti2->setEnabled(true);
        if (RipartiDallInizio) scansione.posizione = 0;
    }
}

void FormEs1::ErratoEs1()
{
    Errato();
    if (TipoScansione == 0) {
        if (ErroriEsercizio == 2) MostraFrameAiuto();
        // The help covers the box, which still takes what is typed: the pupil cannot see a
        // wrong answer left there, so the next one must not be added to it.
        if (FrameAiuto->Visible()) Text1->setText(QString());
        return;
    }
    if (ErroriEsercizio == 2) MenoPossibilita();
    if (RipartiDallInizio) {
        Evidenzia(Command1[scansione.posizione], false, ConRiquadro);
        for (int k = 0; k <= UltimoNumero(); ++k)
            if (Command1[k]->Enabled()) {
                scansione.posizione = k;
                break;
            }
        Evidenzia(Command1[scansione.posizione], true, ConRiquadro);
    }
}

void FormEs1::MostraFrameAiuto()
{
    for (Control *a : CommandAiuto.all()) a->setEnabled(true);
    // Two other numbers; with fewer than three numbers in use they come from 0 to 2, so
    // that the draws always end.
    const int massimo = std::max(UltimoNumero(), 2);
    int a, b;
    do a = platform::randomInt(0, massimo); while (a == NumeroCorrente);
    do b = platform::randomInt(0, massimo); while (b == NumeroCorrente || b == a);
    const int k = platform::randomInt(0, 2);
    const int valori[3][3] = {{NumeroCorrente, a, b}, {a, NumeroCorrente, b}, {a, b, NumeroCorrente}};
    for (int i = 0; i < 3; ++i) CommandAiuto[i]->setCaption(QString::number(valori[k][i]));
    FrameAiuto->setBackColor(BackColor());
    AdattaCarattere(LabelDimensionaFont, QStringLiteral("9"), 0, CommandAiuto[0], ProvaAdattamento::Altezza, CommandAiuto.all());
    FrameAiuto->setVisible(true);
}

void FormEs1::MenoPossibilita()
{
    int abilitati = 0;
    for (Control *b : Command1.all()) abilitati += b->Enabled() ? 1 : 0;
    if (abilitati < 4) return;
    for (int volta = 0; volta < 3; ++volta) {
        int j;
        do j = platform::randomInt(0, UltimoNumero());
        while (j == NumeroCorrente || !Command1[j]->Enabled());
        Command1[j]->setEnabled(false);
    }
}

bool FormEs1::SelezionaNumero(int posizione)
{
    if (posizione < 0 || posizione > UltimoNumero() || !Command1[posizione]->Enabled()) return true;
    Command1[posizione]->setEnabled(false);
    if (posizione == NumeroCorrente) EsattoEs1();
    else ErratoEs1();
    return true;
}

void FormEs1::ScegliAvanti()
{
    BottoneAvanti2->setEnabled(false);
    BottoneAvanti2->setBackColor(colourFromDouble(ColoreBottoni));
    NuovoNumero();
}
