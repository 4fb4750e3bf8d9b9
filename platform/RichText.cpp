#include "RichText.h"
#include "Files.h"
#include "Text8.h"
#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <cmath>

namespace platform {

namespace {

void appendText(QByteArray &out, QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator) {
            out += "\\line ";
        } else if (u == QChar::Nbsp) {
            out += "\\~";
        } else if (u == QChar::SoftHyphen) {
            out += "\\-";
        } else if (u >= 0x20 && u < 0x7F) {
            out += char(u);
        } else if (u < 0x20 || u == 0x7F || u == QChar::ObjectReplacementCharacter || u == QChar::ParagraphSeparator
                   || u == 0xFDD0 || u == 0xFDD1) {
            // Control characters and the document's own markers (objects, frames) carry no text.
        } else if (const QByteArray cp = encodeCp1252(QString(c)); cp != "?") {
            // The file's own code page, which every reader knows.
            out += "\\'" + cp.toHex();
        } else {
            // A signed 16-bit code unit, then the one-character stand-in for readers that
            // do not know it; characters beyond 16 bits go as their two surrogates.
            out += "\\u" + QByteArray::number(int(int16_t(u))) + '?';
        }
    }
}

QByteArray alignment(const QTextBlockFormat &f)
{
    const Qt::Alignment a = f.alignment();
    if (a & Qt::AlignHCenter) return "\\qc";
    if (a & Qt::AlignJustify) return "\\qj";
    if (a & Qt::AlignRight) return "\\qr";
    return "\\ql";
}

// Half points, the unit of \fs; a size given in pixels is taken at 96 pixels to the inch.
int halfPoints(const QFont &f)
{
    double pt = f.pointSizeF();
    if (pt <= 0 && f.pixelSize() > 0) pt = f.pixelSize() * 72.0 / 96.0;
    if (pt <= 0) pt = 12;
    return std::max(1, int(std::lround(pt * 2)));
}

} // namespace

QByteArray rtfFromDocument(const QTextDocument &document)
{
    const QFont base = document.defaultFont();
    QStringList families{base.family()};
    auto familyIndex = [&families](const QString &family) {
        qsizetype i = families.indexOf(family);
        if (i < 0) {
            families << family;
            i = families.size() - 1;
        }
        return int(i);
    };
    auto characterFormat = [&](const QTextCharFormat &format) {
        const QFont f = format.font().resolve(base);
        QByteArray c = "\\plain\\f" + QByteArray::number(familyIndex(f.family())) + "\\fs" + QByteArray::number(halfPoints(f));
        if (f.bold()) c += "\\b";
        if (f.italic()) c += "\\i";
        if (f.underline()) c += "\\ul";
        return c + ' ';
    };

    QByteArray body;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        if (b != document.begin()) body += "\\par\r\n";
        body += "\\pard" + alignment(b.blockFormat());
        // An empty paragraph still has the height of its own font.
        if (b.length() <= 1) body += characterFormat(b.charFormat());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            body += characterFormat(fragment.charFormat());
            appendText(body, fragment.text());
        }
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
    for (int i = 0; i < families.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        appendText(out, families[i]);
        out += ";}";
    }
    out += "}\r\n\\viewkind4\r\n" + body + "\r\n}\r\n";
    return out;
}

bool saveRtf(const QTextDocument &document, const QString &path)
{
    return writeFileWhole(path, rtfFromDocument(document));
}

} // namespace platform
