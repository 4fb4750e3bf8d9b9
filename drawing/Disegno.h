#pragma once
// Drawing a number from 0 to 10 in one of six representations into a picture slot (a
// label, ten shapes, a line and an image inside a container), and rows of such slots.
// Every window that shows quantities names its slots and calls these procedures; the
// windows' differences are the parameters. The drawing sets no colour except in
// ImpostaColoriCampioni: the windows colour their slots beforehand.
#include <array>
#include <vector>
#include <QString>

namespace forms { class Control; class Form; }

// Representation indexes.
enum Rappresentazione : int { kDita = 0, kDomino = 1, kPallini = 2, kBarre = 3, kCifre = 4, kParole = 5,
                              kCasualeSenzaParole = 6, kCasualeTutte = 7 };

struct SlotFigura {
    forms::Control *contenitore = nullptr;
    forms::Control *etichetta = nullptr;
    std::array<forms::Control *, 10> forme{};
    forms::Control *linea = nullptr;
    forms::Control *immagine = nullptr;
};

// The slot of item i: the container and label, line and image arrays at i (or single
// controls when the index is -1), and shapes 10*i to 10*i+9 of the shape array.
SlotFigura Slot(const forms::Form *f, const char *contenitore, int i, const char *etichetta, const char *forme,
                const char *linea, const char *immagine);

// The unit grid of a box: ux its width (whole twips) / 20, uy its height / 12.
struct Griglia { int ux = 0; int uy = 0; };
Griglia CalcolaGriglia(const forms::Control *box);

// 0..5 stay; 6 draws one of 0..4 and 7 one of 0..5 at random; anything else gives -1.
int ScegliRappresentazione(int impostazione);

// The number word of n in the user's letter case.
QString ParolaNumero(int n);

// Draws n in representation k (0..5) into the slot with the grid g. The line of the
// domino and the bars is placed from the slot's own container; the dots' line length and
// the offset of the right group of bars from `misure` (the slot's own container when
// null). Representation 4 and 5 set the label's caption only; fitting it is the caller's.
// A representation outside 0..5 or a number outside 0..10 draws nothing.
void DisegnaFigura(const SlotFigura &s, int k, int n, Griglia g, const forms::Control *misure = nullptr);

// Draws numeri[i] into slot i, all in representation k (0..5), with one grid from the
// first slot's container; a row of texts then gets one font size: the probe measures the
// first label's caption (digits) or the first longest caption (words) with `spazi` blanks
// after it, against the first label's height and width.
void DisegnaRiga(const std::vector<SlotFigura> &riga, int k, const std::vector<int> &numeri,
                 forms::Control *sonda, int spazi);

// The samples of nine of the choice screens: box k shows representation k (k = 0..5).
void DisegnaCampioniNove(const std::vector<SlotFigura> &riga, forms::Control *sonda);
// Greys every sample, then colours the chosen one (or group, for 6 and 7).
void ImpostaColoriCampioni(const std::vector<SlotFigura> &riga, int scelta, double sfondo, double disegno);

// The configuration window's preview of nine in one slot: 6 and 7 show nothing. The grid
// and the measures come from the first preview frame.
void DisegnaAnteprimaNove(const SlotFigura &s, int k, Griglia g, const forms::Control *primaCornice,
                          const QString &parola, forms::Control *sonda);

// The archive picture k (0..11) of the hands.
void ImpostaImmagineMani(forms::Control *immagine, int k);
