#pragma once
// Formatted text as a rich-text (RTF 1.x) file that word processors open: paragraphs with
// their alignment, and runs of text with their font, size, bold, italic and underline.
#include <QByteArray>
#include <QString>

class QTextDocument;

namespace platform {

// The document as RTF. Plain 7-bit text: braces and backslashes are escaped, characters of
// Windows-1252 are written as its byte (\'xx), every other one as a Unicode escape.
QByteArray rtfFromDocument(const QTextDocument &document);

// Writes the document as RTF to the file, whole or not at all. False when the file could
// not be written.
bool saveRtf(const QTextDocument &document, const QString &path);

} // namespace platform
