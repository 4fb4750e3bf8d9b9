#include "FormEsercizio.h"
#include "FormMenu.h"
#include "Modulo1.h"
#include "ModuloColoriSuoni.h"
#include "ModuloPerIni.h"
#include "forms/Twips.h"
#include <cmath>

using namespace forms;

FormEsercizio::FormEsercizio(const QString &nome, const char *contenitoreUscita)
    : FormStandard(nome), uscita(this, contenitoreUscita)
{
}

QString FormEsercizio::ConSpazio(int n) { return (n >= 0 ? QStringLiteral(" ") : QString()) + QString::number(n); }

void FormEsercizio::AggiungiControlliComuni(Layout &l, const ControlliComuni &c)
{
    auto at = [](ControlSpec &s, const QRectF &r) -> ControlSpec & { return s.at(r.left(), r.top(), r.width(), r.height()); };
    at(l.add(Kind::Label, "Label1"), c.label1).cap("Esatti").withFont("Arial", 12, true).transparent();
    at(l.add(Kind::Label, "Label2"), c.label2).cap("Errati").withFont("Arial", 12, true).transparent();
    at(l.add(Kind::Label, "EtichettaEsatti"), c.esatti).cap("quantiesatti").withFont("Arial", 18, true).transparent();
    at(l.add(Kind::Label, "EtichettaErrati"), c.errati).cap("quantierrati").withFont("Arial", 18, true).transparent();
    at(l.add(Kind::Image, "ComandoIconaSi"), c.iconaSi).pic(":/pictures/faccina_si.svg");
    at(l.add(Kind::Image, "ComandoIconaNo"), c.iconaNo).pic(":/pictures/faccina_no.svg").hidden();
    at(l.add(Kind::CommandButton, "BottoneAvanti"), c.avanti).cap("avanti").withFont("Arial", 14.25, true)
        .pic(":/pictures/freccia_avanti.svg").disabled().icon(":/pictures/puntatore_avanti.png", 30, 15);
    at(l.add(Kind::PictureBox, "PictureScansioneManuale"), c.manuale).border(0).hidden();
    at(l.add(Kind::PictureBox, "PictureScansioneAutomatica"), c.automatica).border(0).hidden();
    l.add(Kind::Timer, "Timer1").every(100).disabled();
    l.add(Kind::Shape, "ShapeRiquadro").in(QLatin1String(c.contenitoreRiquadro)).at(0, 0, 1000, 1000).outline(0x0000FF, 9).hidden();
    l.add(Kind::Label, "LabelDimensionaFont").cap("dimensiona font ").withFont("Arial", 14.25).autosized().hidden().transparent();
    AggiungiPannelloUscita(l, c.uscita, c.tipoUscita);
    l.add(Kind::Menu, "MenuAzzera").cap(QStringLiteral("Azzera conteggio") + QString(c.spaziAzzera, QLatin1Char(' ')));
    if (c.menuPropri) c.menuPropri(l);
    l.add(Kind::Menu, "mnuEsci").cap("Esci");
}

void FormEsercizio::Form_Load()
{
    FormStandard::Form_Load();
    control(QStringLiteral("MenuAzzera"))->Click = [this] { MenuAzzera_Click(); };
    control(QStringLiteral("mnuEsci"))->Click = [this] { mnuEsci_Click(); };
    BottoneAvanti->Click = [this] { BottoneAvanti_Click(); };
    // Every exercise halts its automatic scanning while any key is held, and "avanti"
    // chosen by switch starts the next round; the windows add their items and rules.
    scansione.pausaConQualsiasiTasto = true;
    scansione.scegliAvanti = [this] {
        BottoneAvanti->setEnabled(false);
        NuovoTurno();
    };
    // Yes goes back to the main menu; nothing is saved.
    uscita.collega([this] {
        Default<FormMenu>().Show();
        Unload();
    });
}

void FormEsercizio::MenuAzzera_Click()
{
    EtichettaEsatti->setCaption(QStringLiteral("0"));
    EtichettaErrati->setCaption(QStringLiteral("0"));
    Esatti = 0;
    Errati = 0;
}

void FormEsercizio::BottoneAvanti_Click()
{
    if (TipoScansione != 0) return;
    BottoneAvanti->setEnabled(false);
    NuovoTurno();
}

bool FormEsercizio::Viaggia(Control *c, Control *destinazione, const std::function<bool()> &ancora)
{
    const int dx = int(std::nearbyint(c->Left() - destinazione->Left())) / 10;
    const int dy = int(std::nearbyint(c->Top() - destinazione->Top())) / 10;
    QPointer<FormEsercizio> vivo(this);
    for (int passo = 0; passo < 10; ++passo) {
        Attendi(0.1);
        if (!vivo || !isLoaded() || (ancora && !ancora())) return false;
        c->setTop(c->Top() - dy);
        c->setLeft(c->Left() - dx);
    }
    c->setTop(destinazione->Top());
    c->setLeft(destinazione->Left());
    return true;
}

void FormEsercizio::AttivaFinestra()
{
    FormStandard::Form_Activate();
    EtichettaEsatti->setCaption(QString::number(Esatti));
    EtichettaErrati->setCaption(QString::number(Errati));
    if (!ColoreCasuale) setBackColor(colourFromDouble(ColoreSfondoFinestra));
}

Control *FormEsercizio::CatturaTasti() const
{
    if (TipoScansione == 1) return PictureScansioneManuale;
    if (TipoScansione == 2) return PictureScansioneAutomatica;
    return nullptr;
}

void FormEsercizio::IniziaTurno()
{
    RigaLog.clear();
    if (ColoreCasuale) {
        setBackColor(GeneraColoreCasuale());
        if (Control *c = CatturaTasti()) c->setBackColor(BackColor());
    }
}

void FormEsercizio::RegistraNumeri(std::initializer_list<int> numeri)
{
    ErroriEsercizio = 0;
    const int riga = std::clamp(NumeroRigheEsercizi, 0, kRigheMassime);
    RigaLog = RigheEsercizi[riga].isEmpty() ? QString() : QStringLiteral(" - ");
    for (int n : numeri) RigaLog += ConSpazio(n);
}

void FormEsercizio::Esatto(bool risolveTurno)
{
    if (Control *spiega = control(QStringLiteral("LabelSpiega"))) spiega->setVisible(false);
    ComandoIconaSi->setVisible(true);
    ComandoIconaNo->setVisible(false);
    SuonoEsatto();
    ContaEsatto();
    EtichettaEsatti->setCaption(ConSpazio(Esatti));
    if (risolveTurno) {
        if (ErroriEsercizio > 0) RigaLog += QLatin1Char(')');
        AggiungiAlRegistro(RigaLog);
    }
}

void FormEsercizio::Errato()
{
    ComandoIconaSi->setVisible(false);
    ComandoIconaNo->setVisible(true);
    SuonoErrato();
    ContaErrato();
    EtichettaErrati->setCaption(ConSpazio(Errati));
    if (ErroriEsercizio == 0) RigaLog += QLatin1Char('(');
    if (ErroriEsercizio < INT_MAX) ++ErroriEsercizio;
    RigaLog += QLatin1Char('*');
}

void FormEsercizio::SistemaRiquadro(Control *elemento)
{
    const double b = DimensioneRiquadro;
    ShapeRiquadro->Move(elemento->Left() - b, elemento->Top() - b, elemento->Width() + b, elemento->Height() + b);
}

void FormEsercizio::MostraRiquadro()
{
    ShapeRiquadro->setBorderWidth(DimensioneRiquadro);
    ShapeRiquadro->setBorderColor(colourFromDouble(ColoreScansione));
    ShapeRiquadro->setVisible(true);
}

void FormEsercizio::Evidenzia(Control *elemento, bool acceso, bool conRiquadro)
{
    if (conRiquadro) {
        if (acceso) SistemaRiquadro(elemento);
    } else {
        elemento->setBackColor(colourFromDouble(acceso ? ColoreScansione : ColoreBottoni));
    }
}
