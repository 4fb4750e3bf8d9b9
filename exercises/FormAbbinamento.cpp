#include "FormAbbinamento.h"
#include "ModuloPerIni.h"
#include "platform/Random.h"
#include <algorithm>
#include <cmath>

using namespace forms;

FormAbbinamento::FormAbbinamento(const QString &nome, const char *uscita, int coppie, const char *caselle,
                                 const char *immagini, const char *etichette, const char *figure)
    : FormEsercizio(nome, uscita), Numeri(coppie), ErroriImmagine(coppie), coppie_(coppie), nomiCaselle_(caselle),
      nomiImmagini_(immagini), nomiEtichette_(etichette), nomiFigure_(figure)
{
}

void FormAbbinamento::Form_Load()
{
    FormEsercizio::Form_Load();
    for (int i = 0; i < coppie_; ++i) {
        caselle_.push_back(control(QLatin1String(nomiCaselle_), i));
        immagini_.push_back(control(QLatin1String(nomiImmagini_), i));
        // A picture and what is drawn in it are dragged as one.
        for (const char *nome : {nomiEtichette_, nomiFigure_}) control(QLatin1String(nome), i)->actsWith(immagini_[i]);
        caselle_[i]->DragDrop = [this, i](Control *sorgente, double, double) { Casella_DragDrop(i, sorgente); };
    }
    scansione.numeroElementi = [this] { return coppie_; };
    scansione.successivo = [this](int p) { return Successivo(p); };
    scansione.evidenzia = [this](int, bool acceso) {
        if (acceso) SistemaRiquadro();
    };
    // The highlight moves on after every selection, also when nothing was chosen.
    scansione.seleziona = [this](int p) { return Seleziona(p); };
    scansione.inAttesaAvanti = [this] { return FaseScansione == 3; };
    scansione.collega();
}

void FormAbbinamento::Trascinabile(int k, bool si)
{
    for (const char *nome : {nomiImmagini_, nomiEtichette_, nomiFigure_}) control(QLatin1String(nome), k)->setDragMode(si ? 1 : 0);
}

void FormAbbinamento::ImpostaScansioneAbbinamento()
{
    TopRigaBassa = int(std::nearbyint(immagini_[0]->Top()));
    scansione.imposta(TipoScansione, VelocitaScansione, false, 0);
    if (TipoScansione == 0) {
        ShapeRiquadro->setVisible(false);
    } else {
        // The highlight is always the frame here.
        MostraRiquadro();
        for (int i = 0; i < coppie_; ++i) {
            Trascinabile(i, false);
            immagini_[i]->setMousePointer(vbDefault);
        }
        BottoneAvanti->setMousePointer(vbDefault);
    }
    BottoneAvanti->setBackColor(colourFromDouble(ColoreBottoni));
}

void FormAbbinamento::IniziaAbbinamento(int32_t coloreCaselle)
{
    // A picture still travelling belongs to the round that ends here: it stops where it is.
    ++turno_;
    inMovimento_ = false;
    // A new round waits on no "avanti", whatever ended the one before.
    BottoneAvanti->setEnabled(false);
    std::fill(ErroriImmagine.begin(), ErroriImmagine.end(), 0);
    IniziaTurno();
    for (int i = 0; i < coppie_; ++i) {
        caselle_[i]->setVisible(true);
        immagini_[i]->setTop(TopRigaBassa);
        if (TipoScansione == 0) {
            Trascinabile(i, true);
            immagini_[i]->setMousePointer(DisabilitaMousePersonalizzato ? vbDefault : vbCustom);
        } else {
            caselle_[i]->setBackColor(coloreCaselle); // no box chosen yet
        }
    }
    Sistemati = 0;
}

void FormAbbinamento::EstraiNumeri()
{
    // Different numbers; with fewer numbers in use than pictures they come from 0 up to the
    // count of pictures, so that the draws always end.
    const int massimo = std::max(std::clamp(NumeroMassimo, 0, 10), coppie_ - 1);
    for (int i = 0; i < coppie_; ++i) {
        int n;
        do n = platform::randomInt(0, massimo);
        while (std::find(Numeri.begin(), Numeri.begin() + i, n) != Numeri.begin() + i);
        Numeri[i] = n;
    }
    RegistraNumeri({});
    for (int n : Numeri) RigaLog += ConSpazio(n) + QStringLiteral("  ");
}

void FormAbbinamento::FinisciAbbinamento()
{
    ScombiccheraPosti();
    if (TipoScansione != 0) {
        scansione.posizione = 0;
        FaseScansione = 1;
        SistemaRiquadro();
    }
}

void FormAbbinamento::ScombiccheraPosti()
{
    for (Control *p : immagini_) p->setTag(QString());
    for (int s = 0; s < coppie_; ++s) {
        int j;
        do j = platform::randomInt(0, coppie_ - 1);
        while (!immagini_[j]->Tag().isEmpty());
        immagini_[j]->setLeft(caselle_[s]->Left());
        immagini_[j]->setTag(QString::number(s));
    }
}

bool FormAbbinamento::Sistemata(int k) const { return !caselle_[k]->Visible(); }

int FormAbbinamento::CartaInColonna(int colonna) const
{
    for (int i = 0; i < coppie_; ++i)
        if (immagini_[i]->Tag() == QString::number(colonna)) return i;
    return -1;
}

void FormAbbinamento::Piazza(int k)
{
    caselle_[k]->setVisible(false);
    immagini_[k]->setTop(caselle_[k]->Top());
    immagini_[k]->setLeft(caselle_[k]->Left());
}

void FormAbbinamento::Casella_DragDrop(int Index, Control *Source)
{
    const int k = Source && Source->form() == this ? Source->Index() : -1;
    // Only a picture still to be placed, dropped on a box still empty, in mouse mode; while
    // a picture travels by itself the boxes take nothing.
    if (TipoScansione != 0 || inMovimento_ || k < 0 || k >= coppie_ || Index < 0 || Index >= coppie_) return;
    if (Sistemata(k) || !caselle_[Index]->Visible()) return;
    if (k == Index) {
        Piazza(k);
        Trascinabile(k, false);
        immagini_[k]->setMousePointer(vbDefault);
        EsattoAbbinamento();
    } else {
        ++ErroriImmagine[k];
        Errato();
        if (ErroriImmagine[k] >= 2) PosizionaDaSolo(k, false);
    }
}

void FormAbbinamento::PosizionaDaSolo(int k, bool daScansione)
{
    caselle_[k]->setVisible(false);
    Trascinabile(k, false);
    immagini_[k]->setMousePointer(vbDefault);
    inMovimento_ = true;
    // Broken off when the pupil leaves, or when a new round begins: its pictures are not
    // this one's.
    const int turno = turno_;
    if (!Viaggia(immagini_[k], caselle_[k], [this, turno] { return turno_ == turno; })) return;
    inMovimento_ = false;
    ++Sistemati;
    Piazza(k);
    if (daScansione) RiprendiDalleCaselle();
}

void FormAbbinamento::EsattoAbbinamento()
{
    // Every picture the pupil places counts; the last one completes the round.
    ++Sistemati;
    const bool finito = Sistemati >= coppie_;
    Esatto(finito);
    if (TipoScansione == 0) {
        if (finito) {
            BottoneAvanti->setEnabled(true);
            BottoneAvanti->SetFocus();
        }
    } else if (!finito) {
        RiprendiDalleCaselle();
    } else {
        BottoneAvanti->setEnabled(true);
        SistemaRiquadro(BottoneAvanti);
        FaseScansione = 3;
    }
}

// Back to choosing a box: the highlight goes at once to the first empty box from the
// left, so that what the pupil selects next is always what the frame shows.
void FormAbbinamento::RiprendiDalleCaselle()
{
    FaseScansione = 1;
    scansione.posizione = Successivo(coppie_ - 1);
    SistemaRiquadro();
}

int FormAbbinamento::Successivo(int p) const
{
    p = ((p + 1) % coppie_ + coppie_) % coppie_;
    if (FaseScansione == 1)
        for (int giri = 0; giri < coppie_ && !caselle_[p]->Visible(); ++giri) p = (p + 1) % coppie_;
    return p; // in phase 2 the frame skips the placed pictures itself
}

void FormAbbinamento::SistemaRiquadro()
{
    if (FaseScansione == 1) {
        SistemaRiquadro(caselle_[std::clamp(scansione.posizione, 0, coppie_ - 1)]);
    } else if (FaseScansione == 2) {
        // The picture of the scanned column; the columns of placed pictures are passed over.
        for (int giri = 0; giri < coppie_; ++giri) {
            const int carta = CartaInColonna(scansione.posizione);
            if (carta >= 0 && !Sistemata(carta)) {
                ImmagineScelta = carta;
                SistemaRiquadro(immagini_[carta]);
                return;
            }
            scansione.posizione = (std::clamp(scansione.posizione, 0, coppie_ - 1) + 1) % coppie_;
        }
    }
}

bool FormAbbinamento::Seleziona(int p)
{
    if (inMovimento_) return true; // a picture is travelling: the choice is not taken
    if (FaseScansione == 1) {
        if (p < 0 || p >= coppie_ || !caselle_[p]->Visible()) return true;
        caselle_[p]->setBackColor(colourFromDouble(ColoreScansione));
        CasellaScelta = p;
        FaseScansione = 2;
        scansione.posizione = 0;
        SistemaRiquadro();
    } else if (FaseScansione == 2) {
        if (Sistemata(ImmagineScelta) || Sistemata(CasellaScelta)) return true;
        if (ImmagineScelta == CasellaScelta) {
            Piazza(CasellaScelta);
            EsattoAbbinamento();
        } else {
            ++ErroriImmagine[CasellaScelta];
            Errato();
            if (ErroriImmagine[CasellaScelta] >= 2) PosizionaDaSolo(CasellaScelta, true);
        }
    }
    return true;
}
