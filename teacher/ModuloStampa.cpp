#include "ModuloStampa.h"
#include "forms/Control.h"
#include "modLanguageSupport.h"
#include "platform/MessageBox.h"
#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr double kTwipsPerPollice = 1440;

int32_t arrotonda(double v)
{
    if (!std::isfinite(v)) return 0;
    return int32_t(std::clamp(std::nearbyint(v), double(std::numeric_limits<int32_t>::min()),
                              double(std::numeric_limits<int32_t>::max())));
}

// A line of the laid-out text: the page it falls on and its first character.
struct Riga {
    int pagina;
    int primo;
};

} // namespace

RettangoloStampa CalcolaRettangoloStampa(const QPrinter &stampante, int32_t margineSinistro, double margineSuperiore,
                                         double margineDestro, double margineInferiore)
{
    const double dpiX = stampante.logicalDpiX(), dpiY = stampante.logicalDpiY();
    const QRectF foglio = stampante.paperRect(QPrinter::DevicePixel);
    const QRectF stampabile = stampante.pageRect(QPrinter::DevicePixel);
    // The part of the sheet the printer cannot reach, converted to twips.
    const int32_t scostamentoX = arrotonda((stampabile.left() - foglio.left()) * kTwipsPerPollice / dpiX);
    const int32_t scostamentoY = arrotonda((stampabile.top() - foglio.top()) * kTwipsPerPollice / dpiY);
    const double larghezzaFoglio = foglio.width() * kTwipsPerPollice / dpiX;
    const double altezzaFoglio = foglio.height() * kTwipsPerPollice / dpiY;
    RettangoloStampa r;
    r.sinistra = arrotonda(double(margineSinistro) - scostamentoX);
    r.alto = arrotonda(margineSuperiore - scostamentoY);
    r.destra = arrotonda(larghezzaFoglio - margineDestro - scostamentoX);
    r.basso = arrotonda(altezzaFoglio - margineInferiore - scostamentoY);
    return r;
}

std::vector<int> StampaPagine(const QTextDocument &testo, QPrinter &stampante, int32_t margineSinistro,
                              double margineSuperiore, double margineDestro, double margineInferiore)
{
    std::vector<int> pagine;
    const RettangoloStampa r = CalcolaRettangoloStampa(stampante, margineSinistro, margineSuperiore, margineDestro,
                                                      margineInferiore);
    QPainter pittore;
    if (!pittore.begin(&stampante)) return pagine;

    // The painter starts at the printable area's corner, in printer pixels.
    const double pxX = stampante.logicalDpiX() / kTwipsPerPollice, pxY = stampante.logicalDpiY() / kTwipsPerPollice;
    const QRectF area(r.sinistra * pxX, r.alto * pxY, (double(r.destra) - r.sinistra) * pxX,
                      (double(r.basso) - r.alto) * pxY);

    // A copy laid out for the printer: its fonts at the printer's resolution, its lines
    // in the width of the area and broken into pages of the area's height. A line that
    // would cross the foot of a page starts the next one.
    std::unique_ptr<QTextDocument> doc(testo.clone());
    doc->documentLayout()->setPaintDevice(&stampante);
    doc->setDocumentMargin(0);
    const bool ciStaQualcosa = area.width() >= 1 && area.height() >= 1;
    if (ciStaQualcosa) doc->setPageSize(area.size());
    doc->pageCount(); // lays the whole text out

    const int lunghezza = doc->characterCount() - 1; // the plain text, without the closing mark
    std::vector<Riga> righe;
    if (ciStaQualcosa) {
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            const QTextLayout *tl = b.layout();
            if (!tl) continue;
            const double cima = doc->documentLayout()->blockBoundingRect(b).top();
            for (int i = 0; i < tl->lineCount(); ++i) {
                const QTextLine riga = tl->lineAt(i);
                const int pagina = int(std::floor((cima + riga.y() + 0.5) / area.height()));
                righe.push_back({pagina, b.position() + riga.textStart()});
            }
        }
    }

    // Each page shows what fits from its first character on; the next page starts at the
    // first character that did not fit. A page on which nothing fits would start the same
    // character again: the printing ends there instead.
    int primo = 0, pagina = 0;
    for (;;) {
        pagine.push_back(primo);
        if (ciStaQualcosa) {
            pittore.save();
            pittore.translate(area.left(), area.top() - pagina * area.height());
            doc->drawContents(&pittore, QRectF(0, pagina * area.height(), area.width(), area.height()));
            pittore.restore();
        }
        int successivo = lunghezza, paginaSuccessiva = pagina;
        for (const Riga &riga : righe)
            if (riga.pagina > pagina) {
                successivo = riga.primo;
                paginaSuccessiva = riga.pagina;
                break;
            }
        if (successivo >= lunghezza || successivo <= primo) break;
        primo = successivo;
        pagina = paginaSuccessiva;
        stampante.newPage();
    }
    pittore.end();
    return pagine;
}

void StampaTestoFormattato(forms::Control *controllo, int32_t margineSinistro, double margineSuperiore,
                           double margineDestro, double margineInferiore)
{
    auto *editor = controllo ? qobject_cast<QTextEdit *>(controllo->widget()) : nullptr;
    if (!editor) return;
    // Without a printer Qt would quietly write a PDF file somewhere instead: say so.
    const QPrinterInfo predefinita = QPrinterInfo::defaultPrinter();
    if (predefinita.isNull()) {
        platform::MsgBox(MLSGetStringOr(QStringLiteral("0048"), QStringLiteral("Non c'è una stampante predefinita: il testo non è stato stampato.")),
                         platform::vbExclamation, QStringLiteral("Brivomarte"));
        return;
    }
    QPrinter stampante(predefinita, QPrinter::HighResolution);
    stampante.setDocName(QStringLiteral("Brivomarte"));
    if (StampaPagine(*editor->document(), stampante, margineSinistro, margineSuperiore, margineDestro, margineInferiore)
            .empty())
        platform::MsgBox(MLSGetStringOr(QStringLiteral("0049"), QStringLiteral("La stampante non ha risposto: il testo non è stato stampato.")),
                         platform::vbExclamation, QStringLiteral("Brivomarte"));
}
