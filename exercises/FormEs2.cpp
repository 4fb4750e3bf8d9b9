#include "FormEs2.h"
#include "ModuloPerIni.h"

using namespace forms;

FormEs2::FormEs2()
    : FormAbbinamento(QStringLiteral("FormEs2"), "FrameUscita", 4, "Frame1", "FrameSecondaImmagine", "LabelSecondoNumero", "Image2")
{
    setCaption(QStringLiteral("Esercizio 2"));
    setClientSize(9090, 7245);
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
    c.spaziAzzera = 8;
    c.tipoUscita = Kind::PictureBox;
    AggiungiControlliComuni(l, c);
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
    ImpostaScansioneAbbinamento();
    PreparaEsercizio();
}

void FormEs2::PreparaEsercizio()
{
    IniziaAbbinamento(colourFromDouble(ColoreSfondo2));
    EstraiNumeri();
    ImpostaDisegni();
    FinisciAbbinamento();
}

void FormEs2::ImpostaDisegni()
{
    std::vector<SlotFigura> sopra, sotto;
    for (int i = 0; i < 4; ++i) {
        sopra.push_back(Slot(this, "FrameImmagine", i, "LabelNumero", "Shape1", "Linea1", "Image1"));
        sotto.push_back(Slot(this, "FrameSecondaImmagine", i, "LabelSecondoNumero", "Shape2", "Linea2", "Image2"));
    }
    DisegnaRiga(sopra, ScegliRappresentazione(RappresentazionePrima), Numeri, LabelDimensionaFont, 3);
    DisegnaRiga(sotto, ScegliRappresentazione(RappresentazioneSeconda), Numeri, LabelDimensionaFont, 3);
}
