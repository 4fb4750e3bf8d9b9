#include "FormEs4.h"
#include "ModuloPerIni.h"
#include "modLanguageSupport.h"
#include <algorithm>
#include <functional>

using namespace forms;

FormEs4::FormEs4()
    : FormAbbinamento(QStringLiteral("FormEs4"), "PictureBoxUscita", 5, "PictureBox1", "PictureBoxSecondaImmagine", "LabelSecondoNumero", "Image2")
{
    setCaption(QStringLiteral("Esercizio 4"));
    setClientSize(11370, 7245);
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
    c.spaziAzzera = 1;
    c.uscita = "PictureBoxUscita";
    c.tipoUscita = Kind::PictureBox;
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
    FormAbbinamento::Form_Load();
    mnuCresci->Click = [this] { mnuCresci_Click(); };
    mnuDecresci->Click = [this] { mnuDecresci_Click(); };
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
    ImpostaScansioneAbbinamento();
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
    IniziaAbbinamento(colourFromDouble(ColoreSfondo1));
    EstraiNumeri();
    if (Ordine == 2) std::sort(Numeri.begin(), Numeri.end(), std::greater<int>());
    else std::sort(Numeri.begin(), Numeri.end());
    ImpostaDisegni();
    FinisciAbbinamento();
}

void FormEs4::ImpostaDisegni()
{
    const int k = ScegliRappresentazione(RappresentazionePrima);
    if (k < 0) return; // no representation: the cards keep what they showed
    // The labels keep the place the activation gave them (the whole card): the drawing sets
    // their captions and font size only.
    std::vector<SlotFigura> carte;
    for (int i = 0; i < 5; ++i)
        carte.push_back(Slot(this, "PictureBoxSecondaImmagine", i, "LabelSecondoNumero", "Shape2", "Linea2", "Image2"));
    DisegnaRiga(carte, k, Numeri, LabelDimensionaFont, 2);
}
