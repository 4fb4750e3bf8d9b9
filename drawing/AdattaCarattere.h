#pragma once
// Fitting a text to its box: a hidden self-sizing label (the probe) is given the text at a
// start size and its font grows one point at a time while it stays strictly smaller than
// a reference control in the tested dimensions; the first size that reaches the reference
// goes to the targets.
#include <QString>
#include <vector>

namespace forms { class Control; }

enum class ProvaAdattamento { Altezza, Larghezza, AltezzaELarghezza };

struct RegolaAdattamento {
    double dimensioneIniziale = 14;
    QString testo;
    int spazi = 0;              // blanks joined to the text, measured only
    bool spaziPrima = false;    // before the text instead of after it
    forms::Control *riferimento = nullptr;
    ProvaAdattamento prova = ProvaAdattamento::AltezzaELarghezza;
    std::vector<forms::Control *> bersagli;
};

// The growth never goes past this size, whatever the reference (an empty text or a
// reference of no size would otherwise grow for ever).
constexpr double kDimensioneMassimaCarattere = 1000;

// Applies the rule with the given probe; returns the size given to the targets.
double AdattaCarattere(forms::Control *sonda, const RegolaAdattamento &regola);

// The common case: the text with `spazi` blanks after it, from 14 points.
double AdattaCarattere(forms::Control *sonda, const QString &testo, int spazi, forms::Control *riferimento,
                       ProvaAdattamento prova, std::vector<forms::Control *> bersagli);
