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
#include <dlfcn.h>
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

// Whether the print spooler refused the job just handed to it. Qt hands the job to CUPS
// when the painter ends but keeps CUPS's answer to itself (a queue that rejects jobs still
// leaves the printer "idle"); CUPS keeps it as the last status of the thread that asked.
// It is read from the CUPS library that Qt's printing has already loaded: nothing is
// loaded here, and without that library there is no answer to read.
bool spoolerRefusedTheJob()
{
    void *cups = dlopen("libcups.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!cups) return false;
    using LastStatus = int (*)();
    const auto lastStatus = reinterpret_cast<LastStatus>(dlsym(cups, "cupsLastError"));
    // Statuses from 0x0400 on are the client's and the server's errors.
    const bool refused = lastStatus && lastStatus() >= 0x0400;
    dlclose(cups);
    return refused;
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
    // A job that could not be finished or that the printer aborted has printed nothing.
    if (!pittore.end() || stampante.printerState() == QPrinter::Error || stampante.printerState() == QPrinter::Aborted)
        pagine.clear();
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
    auto nonStampato = [] {
        platform::MsgBox(MLSGetStringOr(QStringLiteral("0049"), QStringLiteral("La stampante non ha risposto: il testo non è stato stampato.")),
                         platform::vbExclamation, QStringLiteral("Brivomarte"));
    };
    // A stopped queue would keep the job without printing it.
    if (predefinita.state() == QPrinter::Error) {
        nonStampato();
        return;
    }
    QPrinter stampante(predefinita, QPrinter::HighResolution);
    stampante.setDocName(QStringLiteral("Brivomarte"));
    if (StampaPagine(*editor->document(), stampante, margineSinistro, margineSuperiore, margineDestro, margineInferiore)
            .empty()
        || spoolerRefusedTheJob())
        nonStampato();
}
