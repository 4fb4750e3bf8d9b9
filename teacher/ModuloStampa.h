#pragma once
// Printing a formatted text page by page on the default printer, within margins given in
// twips from the edges of the sheet.
#include <cstdint>
#include <vector>

class QPrinter;
class QTextDocument;
namespace forms { class Control; }

// Prints the content of a rich-text control. With no default printer, a stopped printer,
// a printer that does not start or a job that the printer or its spooler refuses, the user
// is told.
void StampaTestoFormattato(forms::Control *controllo, int32_t margineSinistro, double margineSuperiore,
                           double margineDestro, double margineInferiore);

// Where the text goes, in twips from the corner of the printer's printable area: the
// margins are measured from the sheet's edges, whatever border the printer cannot reach.
struct RettangoloStampa {
    int32_t sinistra = 0, alto = 0, destra = 0, basso = 0;
};
RettangoloStampa CalcolaRettangoloStampa(const QPrinter &stampante, int32_t margineSinistro, double margineSuperiore,
                                         double margineDestro, double margineInferiore);

// The page loop on a given printer (the tests print to a PDF file). Returns the index of
// the first character of each page printed; empty when the printer did not start or did
// not finish the job.
std::vector<int> StampaPagine(const QTextDocument &testo, QPrinter &stampante, int32_t margineSinistro,
                              double margineSuperiore, double margineDestro, double margineInferiore);
