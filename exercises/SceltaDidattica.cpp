#include "SceltaDidattica.h"
#include "AdattaCarattere.h"
#include "ModuloColoriSuoni.h"
#include "ModuloPerIni.h"

using namespace forms;

SceltaDidattica::SceltaDidattica(const QString &nome, std::vector<Riga> righe) : FormStandard(nome), righe_(std::move(righe)) {}

void SceltaDidattica::AggiungiRiga(Layout &l, const Riga &r, const char *contenitore, const double scatole[6][2],
                                   const double opzioni[8][4])
{
    static const char *didascalie[kOpzioni] = {"dita", "domino", "pallini", "barre", "numeri", "numeri in lettere",
                                               "tutti esclusi i numeri in lettere", "tutti "};
    const QString dentro = QLatin1String(contenitore);
    for (int k = 0; k < 6; ++k) {
        l.add(Kind::PictureBox, r.scatole, k).in(dentro).at(scatole[k][0], scatole[k][1], 1935, 1455).border(1);
        l.add(Kind::Image, r.immagini, k).in(QLatin1String(r.scatole), k).at(0, 0, 1935, 1455).pic(QString(), true);
        for (int j = 0; j < 10; ++j)
            l.add(Kind::Shape, r.forme, 10 * k + j).in(QLatin1String(r.scatole), k).fill(vbFSTransparent).outline(0x404040, 2).hidden();
        l.add(Kind::Line, r.linee, k).in(QLatin1String(r.scatole), k).outline(0x404040, 2).hidden();
        l.add(Kind::Label, r.etichette, k).in(QLatin1String(r.scatole), k).at(0, 0, 1935, 1455).withFont("Arial", 8.25, true)
            .align(2).transparent();
    }
    for (int k = 0; k < kOpzioni; ++k) {
        auto &o = l.add(Kind::OptionButton, r.opzioni, k).in(dentro).at(opzioni[k][0], opzioni[k][1], opzioni[k][2], opzioni[k][3])
                      .cap(QLatin1String(didascalie[k])).withFont("Arial", 8.25, true);
        if (k == 0) o.pointer(vbCustom);
    }
}

Control *SceltaDidattica::Opzione(int riga, int Index) const { return control(QLatin1String(righe_[riga].opzioni), Index); }

std::vector<SlotFigura> SceltaDidattica::slot(int riga) const
{
    const Riga &r = righe_[riga];
    std::vector<SlotFigura> s;
    for (int k = 0; k < 6; ++k) s.push_back(Slot(this, r.scatole, k, r.etichette, r.forme, r.linee, r.immagini));
    return s;
}

void SceltaDidattica::Form_Load()
{
    FormStandard::Form_Load();
    for (int riga = 0; riga < int(righe_.size()); ++riga) {
        const Riga &r = righe_[riga];
        for (int k = 0; k < kOpzioni; ++k) {
            Control *o = Opzione(riga, k);
            o->Click = [this, riga, k] { OptionDis_Click(riga, k); };
            o->MouseMove = [this, riga, k](int, int, double, double) { Opzione_MouseMove(riga, k); };
        }
        for (int k = 0; k < 6; ++k)
            for (const char *nome : {r.scatole, r.immagini, r.etichette}) {
                Control *c = control(QLatin1String(nome), k);
                c->Click = [this, riga, k] { OptionDis_Click(riga, k); };
                c->actsWith(control(QLatin1String(r.scatole), k));
                c->MouseMove = [this, riga, k](int, int, double, double) { Campione_MouseMove(riga, k); };
            }
    }
    CommandConferma->Click = [this] {
        if (!ConfermaSoloConMouse() || TipoScansione == 0) Conferma();
    };
    CommandConferma->MouseMove = [this](int, int, double, double) { CommandConferma_MouseMove(); };

    const int ultima = int(righe_.size()) * kOpzioni; // the confirm button closes the ring
    scansione.numeroElementi = [ultima] { return ultima + 1; };
    scansione.evidenzia = [this, ultima](int p, bool on) {
        Control *c = p == ultima ? CommandConferma.get() : Opzione(p / kOpzioni, p % kOpzioni);
        c->setBackColor(on ? colourFromDouble(ColoreScansione) : p == ultima ? colourFromDouble(ColoreBottoni) : BackColor());
    };
    scansione.seleziona = [this](int p) { return Seleziona(p); };
    scansione.collega();
}

void SceltaDidattica::PreparaAttivazione()
{
    FormStandard::Form_Activate();
    setBackColor(ColoreCasuale ? GeneraColoreCasuale() : colourFromDouble(ColoreSfondoFinestra));
    if (Control *contenitore = control(QStringLiteral("PictureBox1"))) contenitore->setBackColor(BackColor());

    const bool maiuscolo = TipoCarattere == QLatin1String("maiuscolo");
    for (int riga = 0; riga < int(righe_.size()); ++riga)
        for (int k = 0; k < kOpzioni; ++k) {
            Control *o = Opzione(riga, k);
            o->setBackColor(BackColor());
            o->setCaption(maiuscolo ? o->Caption().toUpper() : o->Caption().toLower());
        }

    Control *modello = Opzione(0, 0);
    for (int riga = 0; riga < int(righe_.size()); ++riga) {
        std::vector<Control *> tutti;
        for (int k = 0; k < kOpzioni; ++k) tutti.push_back(Opzione(riga, k));
        for (int k = 0; k < 6; ++k) tutti.push_back(control(QLatin1String(righe_[riga].scatole), k));
        for (Control *c : tutti) {
            if (!DisabilitaMousePersonalizzato) {
                c->setMouseIcon(modello->MouseIcon());
                c->setMousePointer(vbCustom);
            } else {
                c->setMousePointer(vbDefault);
            }
        }
    }
    CommandConferma->setMouseIcon(modello->MouseIcon());
    CommandConferma->setMousePointer(modello->MousePointer());

    for (const Riga &r : righe_)
        for (int k = 0; k < 6; ++k) {
            Control *scatola = control(QLatin1String(r.scatole), k);
            for (const char *nome : {r.etichette, r.immagini})
                control(QLatin1String(nome), k)->Move(0, 0, scatola->Width(), scatola->Height());
        }

    AdattaCarattere(LabelDimensionaFont, CommandConferma->Caption(), 2, CommandConferma, ProvaAdattamento::AltezzaELarghezza,
                    {CommandConferma});
    CommandConferma->setBackColor(colourFromDouble(ColoreBottoni));

    // One size for every option: the first longest caption of the first row, with seven
    // blanks, fitted to the first option.
    QString piuLunga = modello->Caption();
    for (int k = 0; k < kOpzioni; ++k)
        if (Opzione(0, k)->Caption().size() > piuLunga.size()) piuLunga = Opzione(0, k)->Caption();
    std::vector<Control *> tutte;
    for (int riga = 0; riga < int(righe_.size()); ++riga)
        for (int k = 0; k < kOpzioni; ++k) tutte.push_back(Opzione(riga, k));
    AdattaCarattere(LabelDimensionaFont, piuLunga, 7, modello, ProvaAdattamento::AltezzaELarghezza, tutte);

    ImpostaDisegni();
}

void SceltaDidattica::ImpostaDisegni()
{
    for (int riga = 0; riga < int(righe_.size()); ++riga) DisegnaCampioniNove(slot(riga), LabelDimensionaFont);
}

void SceltaDidattica::ImpostaColori()
{
    for (int riga = 0; riga < int(righe_.size()); ++riga) {
        const Riga &r = righe_[riga];
        ImpostaColoriCampioni(slot(riga), *r.impostazione, *r.sfondo, *r.disegno);
    }
}

void SceltaDidattica::ImpostaScelta(int riga, int Index)
{
    if (Index < 0 || Index >= kOpzioni) return; // a setting no option stands for stays unmarked
    Opzione(riga, Index)->setValue(1);
}

void SceltaDidattica::colora(Control *c, int32_t colore)
{
    if (c->BackColor() != colore) c->setBackColor(colore);
}

void SceltaDidattica::OptionDis_Click(int riga, int Index)
{
    if (TipoScansione != 0) return;
    *righe_[riga].impostazione = Index;
    for (int k = 0; k < kOpzioni; ++k) colora(Opzione(riga, k), BackColor());
    colora(Opzione(riga, Index), kRosso);
    ImpostaColori();
}

void SceltaDidattica::spegniAltre(int riga)
{
    if (riga >= int(righe_.size())) return;
    const int scelta = *righe_[riga].impostazione;
    for (int k = 0; k < kOpzioni; ++k)
        if (k != scelta) colora(Opzione(riga, k), BackColor());
}

void SceltaDidattica::accendiScelta(int riga)
{
    if (riga >= int(righe_.size())) return;
    const int scelta = *righe_[riga].impostazione;
    if (scelta >= 0 && scelta < kOpzioni) colora(Opzione(riga, scelta), kRosso);
}

void SceltaDidattica::evidenziaSopra(int riga, int Index)
{
    if (Index != *righe_[riga].impostazione) colora(Opzione(riga, Index), kArancio);
}

void SceltaDidattica::confermaGrigio() { colora(CommandConferma, kGrigioChiaro); }

void SceltaDidattica::Campione_MouseMove(int riga, int Index)
{
    spegniAltre(riga);
    accendiScelta(riga);
    evidenziaSopra(riga, Index);
    confermaGrigio();
}

void SceltaDidattica::Opzione_MouseMove(int riga, int Index)
{
    spegniAltre(0);
    accendiScelta(0);
    spegniAltre(1);
    evidenziaSopra(riga, Index);
    confermaGrigio();
}

void SceltaDidattica::Form_MouseMove(int, int, double, double)
{
    if (!isLoaded()) return;
    spegniAltre(0);
    spegniAltre(1);
    confermaGrigio();
    accendiScelta(0);
    accendiScelta(1);
}

void SceltaDidattica::CommandConferma_MouseMove() { colora(CommandConferma, kArancio); }

bool SceltaDidattica::Seleziona(int posizione)
{
    const int ultima = int(righe_.size()) * kOpzioni;
    if (posizione == ultima) {
        Conferma();
        return false; // the screen is gone
    }
    const int riga = posizione / kOpzioni, Index = posizione % kOpzioni;
    *righe_[riga].impostazione = Index;
    ImpostaScelta(riga, Index);
    // No other option of the row keeps the red mark of the choice it had before.
    spegniAltre(riga);
    ImpostaColori();
    return true;
}
