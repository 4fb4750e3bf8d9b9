#pragma once
// 8-bit text files (language files, profiles): read as UTF-8 when the bytes are valid
// UTF-8, else as Windows-1252.
#include <QByteArray>
#include <QString>

namespace platform {

QString decode8bit(const QByteArray &bytes);
QByteArray encodeCp1252(const QString &text); // characters it cannot hold become '?'

} // namespace platform
