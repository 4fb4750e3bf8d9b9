#include "AdattaCarattere.h"
#include "forms/Control.h"
#include <QHash>
#include <algorithm>
#include <map>
#include <cmath>

namespace {
// A window fits the same texts to boxes of the same size every time it opens, and often
// several times in one opening (a row of equal boxes): a fitting, which loads a font at
// every size it tries, is remembered for the run. The probe's size depends only on its
// font and text, and the outcome only on that and the reference's size.
QHash<QString, double> &fatti()
{
    static QHash<QString, double> h;
    return h;
}

QString chiave(const forms::Control *sonda, const RegolaAdattamento &r, const QString &misurato)
{
    const forms::FontSpec &f = sonda->Font();
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(f.name)
        .arg(int(f.bold) * 2 + int(f.italic))
        .arg(r.dimensioneIniziale, 0, 'g', 17)
        .arg(int(r.prova))
        .arg(r.riferimento->Width(), 0, 'g', 17)
        .arg(r.riferimento->Height(), 0, 'g', 17)
        .arg(misurato);
}

// The search itself, with the probe showing the measured text; returns the size found.
double cerca(forms::Control *sonda, const RegolaAdattamento &r, const QString &misurato)
{
    sonda->setFontSize(r.dimensioneIniziale);
    sonda->setCaption(misurato);

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
    // proportion, so the start size's measures tell roughly where that step lies; measured
    // there, where the text is large and its measures keep closer to the proportion, the
    // probe tells it again, seldom a point off. The step is then confirmed around that
    // guess, widening the search only when the guess misses. Every size tried loads a font
    // of its own, which is what the fitting costs: three or four sizes instead of one per
    // point, or a dozen by halving.
    const double start = r.dimensioneIniziale;
    const int limite = std::max(0, int(kDimensioneMassimaCarattere - start));
    int passi = 0; // the first step count known to stop, or limite
    if (limite > 0 && cresce(start)) {
        // A step stops when the probe reaches the reference, or at the limit; each step is
        // measured once.
        std::map<int, bool> misurati;
        auto ferma = [&](int p) {
            if (p >= limite) return true;
            const auto it = misurati.find(p);
            if (it != misurati.end()) return it->second;
            return misurati[p] = !cresce(start + p);
        };
        // Where the probe, as it measures at step p, would reach the reference if it grew
        // in proportion with its size.
        auto stimaDa = [&](int p) {
            const double size = start + p;
            double rapporto = limite;
            const double w0 = sonda->Width(), h0 = sonda->Height();
            if (r.prova != ProvaAdattamento::Larghezza && h0 > 0) rapporto = std::min(rapporto, r.riferimento->Height() / h0);
            if (r.prova != ProvaAdattamento::Altezza && w0 > 0) rapporto = std::min(rapporto, r.riferimento->Width() / w0);
            return int(std::clamp(std::ceil(size * rapporto - start), 1.0, double(std::max(1, limite))));
        };
        int stima = stimaDa(0);
        if (stima < limite) {
            ferma(stima);
            stima = stimaDa(stima);
        }
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
    return start + passi;
}
} // namespace

double AdattaCarattere(forms::Control *sonda, const RegolaAdattamento &r)
{
    const QString blanks(r.spazi, QLatin1Char(' '));
    const QString misurato = r.spaziPrima ? blanks + r.testo : r.testo + blanks;
    const bool ricordabile = r.riferimento && sonda->kind() == forms::Kind::Label && sonda->AutoSize();
    const QString k = ricordabile ? chiave(sonda, r, misurato) : QString();
    double risultato;
    if (const auto it = fatti().constFind(k); ricordabile && it != fatti().constEnd()) {
        sonda->setCaption(misurato);
        risultato = *it;
    } else {
        risultato = cerca(sonda, r, misurato);
        if (ricordabile) {
            if (fatti().size() >= 4096) fatti().clear();
            fatti().insert(k, risultato);
        }
    }
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
