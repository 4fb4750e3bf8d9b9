#include "Text8.h"
#include <QStringDecoder>

namespace platform {

namespace {
// Windows-1252 at 0x80..0x9F; the rest of the upper half is Latin-1.
const char16_t kHigh[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
}

QString decode8bit(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (s.startsWith(QChar(0xFEFF))) s.remove(0, 1);
        return s;
    }
    s.clear();
    s.reserve(bytes.size());
    for (const char b : bytes) {
        const unsigned char u = static_cast<unsigned char>(b);
        s.append(u >= 0x80 && u < 0xA0 ? QChar(kHigh[u - 0x80]) : QChar(u));
    }
    return s;
}

QByteArray encodeCp1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) { out.append(char(u)); continue; }
        char v = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] == u && u != 0xFFFD) { v = char(0x80 + i); break; }
        out.append(v);
    }
    return out;
}

} // namespace platform
