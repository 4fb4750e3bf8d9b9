#include "FormScelteDidattiche2.h"
#include "FormEs2.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloColoriSuoni.h"
#include "ModuloPerIni.h"

using namespace forms;

namespace {
const SceltaDidattica::Riga kPrima{"OptionDis1", "PictureBoxImmagine", "LabelNumero", "Image1", "Linea1", "Shape1",
                                   &RappresentazionePrima, &ColoreSfondo1, &ColoreDisegno1};
const SceltaDidattica::Riga kSeconda{"OptionDis2", "PictureBoxSecondaImmagine", "LabelSecondoNumero", "Image2", "Linea2", "Shape2",
                                     &RappresentazioneSeconda, &ColoreSfondo2, &ColoreDisegno2};
}

FormScelteDidattiche2::FormScelteDidattiche2() : SceltaDidattica(QStringLiteral("FormScelteDidattiche2"), {kPrima, kSeconda})
{
    setCaption(QStringLiteral("Scelte didattiche"));
    setClientSize(10320, 8580);
}

void FormScelteDidattiche2::layout(Layout &l)
{
    l.add(Kind::Label, "Label1").at(240, 240, 7575, 375).withFont("Arial", 15.75).transparent();
    // The first row lies in a box of its own, so that each row is an option group.
    l.add(Kind::PictureBox, "PictureBox1").at(120, 600, 10095, 4095).border(0);
    const double scatole1[6][2] = {{0, 0}, {2040, 0}, {4080, 0}, {6120, 0}, {8160, 0}, {0, 2040}};
    const double opzioni1[8][4] = {{0, 1455, 1935, 360}, {2040, 1440, 1935, 360}, {4080, 1440, 1935, 360},
                                   {6120, 1440, 1935, 360}, {8160, 1440, 1935, 360}, {0, 3360, 2415, 360},
                                   {2640, 2400, 5415, 255}, {2640, 3000, 5415, 255}};
    AggiungiRiga(l, kPrima, "PictureBox1", scatole1, opzioni1);
    const double scatole2[6][2] = {{120, 4680}, {2160, 4680}, {4200, 4680}, {6240, 4680}, {8280, 4680}, {120, 6720}};
    const double opzioni2[8][4] = {{120, 6120, 1935, 360}, {2160, 6120, 1935, 360}, {4200, 6120, 1935, 360},
                                   {6240, 6120, 1935, 360}, {8280, 6120, 1935, 360}, {120, 8160, 2415, 360},
                                   {2520, 7080, 4815, 255}, {2520, 7680, 4815, 255}};
    AggiungiRiga(l, kSeconda, "", scatole2, opzioni2);
    l.add(Kind::CommandButton, "CommandConferma").at(7560, 7440, 2535, 975).cap("Conferma").withFont("Arial", 12, true);
    l.add(Kind::Label, "LabelDimensionaFont").at(240, 0, 1500, 330).cap("dimensiona font ").withFont("Arial", 14.25, true)
        .autosized().hidden().transparent();
    l.add(Kind::PictureBox, "PictureScansioneManuale").at(5760, 8160, 255, 255).border(0).hidden();
    l.add(Kind::PictureBox, "PictureScansioneAutomatica").at(6840, 8160, 255, 255).border(0).hidden();
    l.add(Kind::Timer, "Timer1").every(100);
}

void FormScelteDidattiche2::Form_Load()
{
    SceltaDidattica::Form_Load();
    PictureBox1->MouseMove = [this](int b, int s, double x, double y) { Form_MouseMove(b, s, x, y); };
}

void FormScelteDidattiche2::Form_Activate()
{
    PreparaAttivazione();
    if (RappresentazioneSeconda >= 0 && RappresentazioneSeconda < kOpzioni) OptionDis2[RappresentazioneSeconda]->setBackColor(kRosso);
    if (RappresentazionePrima >= 0 && RappresentazionePrima < kOpzioni) OptionDis1[RappresentazionePrima]->setBackColor(kRosso);
    ImpostaScelta(1, RappresentazioneSeconda);
    ImpostaScelta(0, RappresentazionePrima);
    scansione.imposta(TipoScansione, VelocitaScansione, true, 15);
    if (TipoScansione == 2) ImpostaColori();
    ImpostaColori();
    // The pause lets the screen be drawn; the pupil may even leave it meanwhile.
    QPointer<FormScelteDidattiche2> vivo(this);
    Attendi(0.2);
    if (!vivo || !isLoaded()) return;
    ImpostaColori();
}

void FormScelteDidattiche2::Conferma()
{
    // Only exercise 2 comes through this screen; anything else goes back to the menu.
    if (EsercizioScelto == 1 || scansione.tipo() != 0) Default<FormEs2>().Show();
    else Default<FormMenu>().Show();
    Unload();
}
