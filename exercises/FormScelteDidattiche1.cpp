#include "FormScelteDidattiche1.h"
#include "FormEs1.h"
#include "FormEs3.h"
#include "FormEs4.h"
#include "FormEs5.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloPerIni.h"

using namespace forms;

namespace {
const SceltaDidattica::Riga kRiga{"OptionDis1", "PictureBoxImmagine", "LabelNumero", "Image1", "Linea1", "Shape1",
                                  &RappresentazionePrima, &ColoreSfondo1, &ColoreDisegno1};
}

FormScelteDidattiche1::FormScelteDidattiche1() : SceltaDidattica(QStringLiteral("FormScelteDidattiche1"), {kRiga})
{
    setCaption(QStringLiteral("Scelte didattiche"));
    setClientSize(8340, 5910);
}

void FormScelteDidattiche1::layout(Layout &l)
{
    l.add(Kind::Label, "Label1").at(240, 120, 7575, 375).withFont("Arial", 15.75).transparent();
    const double scatole[6][2] = {{240, 600}, {2640, 600}, {5040, 600}, {240, 2520}, {2640, 2520}, {5040, 2520}};
    const double opzioni[8][4] = {{240, 2040, 1935, 360}, {2640, 2040, 1935, 360}, {5040, 2040, 1935, 360},
                                  {240, 3960, 1935, 360}, {2640, 3960, 1935, 360}, {5040, 3960, 1935, 360},
                                  {360, 4680, 4335, 255}, {360, 5160, 4215, 255}};
    AggiungiRiga(l, kRiga, "", scatole, opzioni);
    l.add(Kind::CommandButton, "CommandConferma").at(4920, 4680, 2535, 975).cap("Conferma").withFont("Arial", 12, true);
    l.add(Kind::Label, "LabelDimensionaFont").at(120, 480, 1500, 330).cap("dimensiona font ").withFont("Arial", 14.25, true)
        .autosized().hidden().transparent();
    l.add(Kind::PictureBox, "PictureScansioneManuale").at(3120, 5640, 255, 255).border(0).hidden();
    l.add(Kind::PictureBox, "PictureScansioneAutomatica").at(4200, 5640, 255, 255).border(0).hidden();
    l.add(Kind::Timer, "Timer1").every(100);
}

void FormScelteDidattiche1::Form_Activate()
{
    PreparaAttivazione();
    if (RappresentazionePrima >= 0 && RappresentazionePrima < kOpzioni) OptionDis1[RappresentazionePrima]->setBackColor(kRosso);
    ImpostaScelta(0, RappresentazionePrima);
    scansione.imposta(TipoScansione, VelocitaScansione, true, 7);
    if (TipoScansione != 0) ImpostaColori();
}

void FormScelteDidattiche1::AvviaEsercizi()
{
    switch (EsercizioScelto) {
    case 0: Default<FormEs1>().Show(); break;
    case 2: Default<FormEs3>().Show(); break;
    case 3: Default<FormEs4>().Show(); break;
    case 4: Default<FormEs5>().Show(); break;
    // This screen opens no other exercise: back to the menu rather than to no window.
    default: Default<FormMenu>().Show(); break;
    }
    Unload();
}
