#include "AdattaCarattere.h"
#include "forms/Control.h"
#include <algorithm>
#include <cmath>

double AdattaCarattere(forms::Control *sonda, const RegolaAdattamento &r)
{
    const QString blanks(r.spazi, QLatin1Char(' '));
    sonda->setFontSize(r.dimensioneIniziale);
    sonda->setCaption(r.spaziPrima ? blanks + r.testo : r.testo + blanks);

    // Does the probe, at this size, still lie strictly inside the reference?
    auto cresce = [&](double size) {
        sonda->setFontSize(size);
        if (!r.riferimento) return false;
        const bool h = sonda->Height() < r.riferimento->Height();
        const bool w = sonda->Width() < r.riferimento->Width();
        switch (r.prova) {
        case ProvaAdattamento::Altezza: return h;
        case ProvaAdattamento::Larghezza: return w;
        default: return h && w;
        }
    };

    // The result is the first size, counting up from the start one point at a time, at
    // which the probe reaches the reference. Text grows with its size, nearly in
    // proportion, so the start size's measures tell where that step lies; the step is then
    // confirmed around that guess, widening the search only when the guess misses. Every
    // size tried loads a font of its own, which is what the fitting costs: two or three
    // sizes instead of one per point, or a dozen by halving.
    const double start = r.dimensioneIniziale;
    const int limite = std::max(0, int(kDimensioneMassimaCarattere - start));
    int passi = 0; // the first step count known to stop, or limite
    if (limite > 0 && cresce(start)) {
        // A step stops when the probe reaches the reference, or at the limit.
        auto ferma = [&](int p) { return p >= limite || !cresce(start + p); };
        double k = limite;
        const double w0 = sonda->Width(), h0 = sonda->Height();
        if (r.prova != ProvaAdattamento::Larghezza && h0 > 0) k = std::min(k, r.riferimento->Height() / h0);
        if (r.prova != ProvaAdattamento::Altezza && w0 > 0) k = std::min(k, r.riferimento->Width() / w0);
        const int stima = int(std::clamp(std::ceil(start * k - start), 1.0, double(std::max(1, limite))));
        // The first stopping step lies in (buono, passi]: step 0 grows.
        int buono = 0;
        passi = limite;
        if (ferma(stima)) {
            passi = stima;
            for (int salto = 1; stima - salto > buono; salto *= 2) {
                if (!ferma(stima - salto)) { buono = stima - salto; break; }
                passi = stima - salto;
            }
        } else {
            buono = stima;
            for (int salto = 1; stima + salto < limite; salto *= 2) {
                if (ferma(stima + salto)) { passi = stima + salto; break; }
                buono = stima + salto;
            }
        }
        while (passi - buono > 1) {
            const int mid = buono + (passi - buono) / 2;
            if (ferma(mid)) passi = mid;
            else buono = mid;
        }
    }
    const double risultato = start + passi;
    sonda->setFontSize(risultato);
    for (forms::Control *t : r.bersagli) t->setFontSize(risultato);
    return risultato;
}

double AdattaCarattere(forms::Control *sonda, const QString &testo, int spazi, forms::Control *riferimento,
                       ProvaAdattamento prova, std::vector<forms::Control *> bersagli)
{
    RegolaAdattamento r;
    r.testo = testo;
    r.spazi = spazi;
    r.riferimento = riferimento;
    r.prova = prova;
    r.bersagli = std::move(bersagli);
    return AdattaCarattere(sonda, r);
}
