#pragma once
// Reading and writing the program's own small files so that nothing of a pupil is lost:
// a file is replaced whole or left exactly as it was, and a file is read only when it is
// an ordinary file of a bounded size (a pipe, a device or a huge file is never waited on
// nor swallowed).
#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Puts `bytes` in place of the file at `path` (a path of this system), or leaves the file
// as it was and returns false. The bytes go to a new file in the same folder, are written
// and forced to the disk with every result checked, and only then does the new file take
// the old one's name; a full disk, a quota or a size limit therefore never leaves a short
// or empty file behind. A link is followed to the file it names; anything that is not an
// ordinary file (a folder, a pipe, a device, a dangling link) is not replaced.
bool writeFileWhole(const QString &path, const QByteArray &bytes);

// The content of the ordinary file at `path`; no value when it is missing, is not an
// ordinary file, holds more than `maxBytes` bytes or cannot be read. Opening never waits
// (a pipe with no writer is refused at once).
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes);

// True when `path` exists and, with every link resolved, lies inside `folder` (with its own
// links resolved).
bool liesInside(const QString &path, const QString &folder);

} // namespace platform
