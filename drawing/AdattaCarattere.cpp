#include "AdattaCarattere.h"
#include "forms/Control.h"

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
    // which the probe reaches the reference. Text grows with its size, so the first such
    // step is found by doubling the stride and then halving it, with a few measurements
    // instead of one per point.
    const double start = r.dimensioneIniziale;
    const int limite = std::max(0, int(kDimensioneMassimaCarattere - start));
    int passi = 0; // the first step count known to stop, or limite
    if (cresce(start)) {
        int buono = 0, stride = 1;
        passi = limite;
        while (buono + stride <= limite) {
            if (!cresce(start + buono + stride)) { passi = buono + stride; break; }
            buono += stride;
            stride *= 2;
        }
        // The first stopping step lies in (buono, passi].
        int lo = buono, hi = passi;
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            if (cresce(start + mid)) lo = mid;
            else hi = mid;
        }
        passi = hi;
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
