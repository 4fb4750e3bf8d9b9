#include "Disegno.h"
#include "AdattaCarattere.h"
#include "FormArchivio.h"
#include "ModuloPerIni.h"
#include "Modulo1.h"
#include "forms/Form.h"
#include "platform/Random.h"
#include <cmath>

using namespace forms;

namespace {

int intero(double v) { return int(std::nearbyint(v)); }

// The domino's pip places, in units: face left, then the right face 10 units on.
constexpr int kDominoA[10] = {4, 6, 2, 2, 6, 14, 16, 12, 12, 16};
constexpr int kDominoB[10] = {5, 2, 8, 2, 8, 5, 2, 8, 2, 8};

// The solid pips of the domino for 0..10: one bit per shape.
constexpr unsigned kDominoPieni[11] = {
    0x000, 0x001, 0x006, 0x007, 0x01E, 0x01F, 0x03F, 0x0DF, 0x0FF, 0x3DF, 0x3FF};

void nascondiForme(const SlotFigura &s)
{
    for (Control *f : s.forme) f->setVisible(false);
}

void disegnaDomino(const SlotFigura &s, int n, Griglia g)
{
    s.etichetta->setVisible(false);
    s.immagine->setVisible(false);
    const int x = intero(s.contenitore->Width()) / 2;
    s.linea->Move(x, 0, x, s.contenitore->Height());
    s.linea->setVisible(true);
    for (int j = 0; j < 10; ++j) {
        Control *f = s.forme[j];
        f->setShape(vbShapeCircle);
        f->Move(kDominoA[j] * g.ux, int16_t(kDominoB[j] * g.uy), 2 * g.ux, 2 * g.ux);
        f->setFillStyle((kDominoPieni[n] >> j) & 1 ? vbFSSolid : vbFSTransparent);
        f->setVisible(true);
    }
}

void disegnaPallini(const SlotFigura &s, int n, Griglia g, const Control *misure)
{
    s.etichetta->setVisible(false);
    s.immagine->setVisible(false);
    const int16_t y = int16_t(6 * g.uy);
    s.linea->Move(0, y, misure->Width(), y);
    s.linea->setVisible(true);
    const int sinistra = int(std::floor(g.ux / 2.0));
    const int sopra = int(std::floor(1.5 * g.uy)), sotto = int(std::floor(7.5 * g.uy));
    for (int i = 0; i < 5; ++i) {
        for (int riga = 0; riga < 2; ++riga) {
            Control *f = s.forme[i + 5 * riga];
            f->setShape(vbShapeCircle);
            f->Move(sinistra + 4 * i * g.ux, riga ? sotto : sopra, 3 * g.ux, 3 * g.ux);
        }
    }
    for (int j = 0; j < 10; ++j) {
        s.forme[j]->setFillStyle(j < n ? vbFSSolid : vbFSTransparent);
        s.forme[j]->setVisible(true);
    }
}

void disegnaBarre(const SlotFigura &s, int n, Griglia g, const Control *misure)
{
    s.etichetta->setVisible(false);
    s.immagine->setVisible(false);
    const int x = intero(s.contenitore->Width()) / 2;
    s.linea->Move(x, 0, x, s.contenitore->Height());
    s.linea->setVisible(true);
    const int meta = intero(misure->Width()) / 2;
    for (int i = 0; i < 5; ++i) {
        for (int gruppo = 0; gruppo < 2; ++gruppo) {
            Control *f = s.forme[i + 5 * gruppo];
            f->setShape(vbShapeRectangle);
            f->Move((gruppo ? meta : 0) + g.ux / 2 + 2 * i * g.ux, int16_t(2 * g.uy), g.ux, int16_t(8 * g.uy));
        }
    }
    for (int j = 0; j < 10; ++j) {
        s.forme[j]->setFillStyle(j < n ? vbFSSolid : vbFSTransparent);
        s.forme[j]->setVisible(true);
    }
}

void mostraTesto(const SlotFigura &s, const QString &testo)
{
    nascondiForme(s);
    s.immagine->setVisible(false);
    s.linea->setVisible(false);
    s.etichetta->setCaption(testo);
    s.etichetta->setVisible(true);
}

} // namespace

SlotFigura Slot(const Form *f, const char *contenitore, int i, const char *etichetta, const char *forme,
                const char *linea, const char *immagine)
{
    SlotFigura s;
    s.contenitore = f->control(QLatin1String(contenitore), i);
    s.etichetta = f->control(QLatin1String(etichetta), i);
    s.linea = f->control(QLatin1String(linea), i);
    s.immagine = f->control(QLatin1String(immagine), i);
    const int base = i < 0 ? 0 : 10 * i;
    for (int j = 0; j < 10; ++j) s.forme[j] = f->control(QLatin1String(forme), base + j);
    return s;
}

Griglia CalcolaGriglia(const Control *box)
{
    return {intero(box->Width()) / 20, int(int16_t(intero(box->Height()) / 12))};
}

int ScegliRappresentazione(int impostazione)
{
    if (impostazione >= kDita && impostazione <= kParole) return impostazione;
    if (impostazione == kCasualeSenzaParole) return int(std::floor(platform::rnd() * 5));
    if (impostazione == kCasualeTutte) return int(std::floor(platform::rnd() * 6));
    return -1;
}

QString ParolaNumero(int n)
{
    if (n < 0 || n > 10) return {};
    return TipoCarattere == QLatin1String("maiuscolo") ? NumeriInLettere[n].toUpper() : NumeriInLettere[n].toLower();
}

void ImpostaImmagineMani(Control *immagine, int k)
{
    if (k < 0 || k > 11) return;
    immagine->setPicture(Default<FormArchivio>().ImageArchivio[k]->picture());
}

void DisegnaFigura(const SlotFigura &s, int k, int n, Griglia g, const Control *misure)
{
    if (n < 0 || n > 10 || k < kDita || k > kParole) return;
    if (!misure) misure = s.contenitore;
    switch (k) {
    case kDita:
        s.etichetta->setVisible(false);
        nascondiForme(s);
        s.linea->setVisible(false);
        s.immagine->setVisible(true);
        ImpostaImmagineMani(s.immagine, n);
        break;
    case kDomino: disegnaDomino(s, n, g); break;
    case kPallini: disegnaPallini(s, n, g, misure); break;
    case kBarre: disegnaBarre(s, n, g, misure); break;
    case kCifre: mostraTesto(s, QString::number(n)); break;
    case kParole: mostraTesto(s, ParolaNumero(n)); break;
    }
}

void DisegnaRiga(const std::vector<SlotFigura> &riga, int k, const std::vector<int> &numeri, Control *sonda, int spazi)
{
    if (riga.empty() || k < kDita || k > kParole) return;
    const Griglia g = CalcolaGriglia(riga.front().contenitore);
    for (size_t i = 0; i < riga.size() && i < numeri.size(); ++i) DisegnaFigura(riga[i], k, numeri[i], g);
    if (k != kCifre && k != kParole) return;

    QString misura;
    if (k == kCifre) {
        misura = riga.front().etichetta->Caption();
    } else {
        for (const SlotFigura &s : riga)
            if (s.etichetta->Caption().size() > misura.size()) misura = s.etichetta->Caption();
    }
    std::vector<Control *> etichette;
    for (const SlotFigura &s : riga) etichette.push_back(s.etichetta);
    AdattaCarattere(sonda, misura, spazi, riga.front().etichetta, ProvaAdattamento::AltezzaELarghezza, etichette);
}

void DisegnaCampioniNove(const std::vector<SlotFigura> &riga, Control *sonda)
{
    for (int k = 0; k < int(riga.size()) && k <= kParole; ++k) {
        const SlotFigura &s = riga[k];
        switch (k) {
        case kDita:
            // The fingers sample starts grey; the colouring gives it colour when chosen.
            s.etichetta->setVisible(false);
            s.linea->setVisible(false);
            nascondiForme(s);
            s.immagine->setVisible(true);
            ImpostaImmagineMani(s.immagine, 11);
            break;
        case kCifre:
            mostraTesto(s, QStringLiteral("9"));
            AdattaCarattere(sonda, QStringLiteral("9"), 0, s.etichetta, ProvaAdattamento::Altezza, {s.etichetta});
            break;
        case kParole:
            mostraTesto(s, ParolaNumero(9));
            AdattaCarattere(sonda, s.etichetta->Caption(), 0, s.etichetta, ProvaAdattamento::AltezzaELarghezza, {s.etichetta});
            break;
        default:
            // Nine: a domino of five and four, dots and bars with the tenth one empty.
            DisegnaFigura(s, k, 9, CalcolaGriglia(s.contenitore));
            break;
        }
    }
}

void ImpostaColoriCampioni(const std::vector<SlotFigura> &riga, int scelta, double sfondo, double disegno)
{
    constexpr int32_t grigio = 0x808080, grigioChiaro = 0xE0E0E0;
    const int32_t B = colourFromDouble(sfondo), D = colourFromDouble(disegno);
    for (const SlotFigura &s : riga)
        for (Control *f : s.forme) f->setFillColor(grigio);
    for (const SlotFigura &s : riga) {
        s.etichetta->setForeColor(grigio);
        s.contenitore->setBackColor(grigioChiaro);
    }
    if (riga.empty()) return;
    ImpostaImmagineMani(riga[0].immagine, 11);

    auto colora = [&](int k) {
        if (k < 0 || k >= int(riga.size())) return;
        const SlotFigura &s = riga[k];
        s.contenitore->setBackColor(B);
        if (k == kDita) ImpostaImmagineMani(s.immagine, 9);
        else if (k == kCifre || k == kParole) s.etichetta->setForeColor(D);
        else for (Control *f : s.forme) f->setFillColor(D);
    };
    if (scelta >= kDita && scelta <= kParole) colora(scelta);
    else if (scelta == kCasualeSenzaParole || scelta == kCasualeTutte) {
        const int ultimo = scelta == kCasualeSenzaParole ? kCifre : kParole;
        for (int k = kDita; k <= ultimo; ++k) colora(k);
        // The groups colour every label of the group and the shapes of the first four boxes.
        for (int k = kDita; k <= ultimo && k < int(riga.size()); ++k) riga[k].etichetta->setForeColor(D);
        for (int k = kDita; k <= kBarre && k < int(riga.size()); ++k)
            for (Control *f : riga[k].forme) f->setFillColor(D);
    }
}

void DisegnaAnteprimaNove(const SlotFigura &s, int k, Griglia g, const Control *primaCornice, const QString &parola,
                          Control *sonda)
{
    switch (k) {
    case kDita:
        s.immagine->setVisible(true);
        ImpostaImmagineMani(s.immagine, 9);
        break;
    case kDomino:
    case kPallini:
    case kBarre:
        DisegnaFigura(s, k, 9, g, primaCornice);
        break;
    case kCifre:
    case kParole:
        s.etichetta->setCaption(k == kCifre ? QStringLiteral("9") : parola);
        AdattaCarattere(sonda, s.etichetta->Caption(), 0, s.etichetta, ProvaAdattamento::AltezzaELarghezza, {s.etichetta});
        s.etichetta->setVisible(true);
        break;
    default:
        break; // the random representations have no preview
    }
}
