#pragma once
// Reading and writing the program's own small files so that nothing of a pupil is lost:
// a file is replaced whole or left exactly as it was, and a file is read only when it is
// an ordinary file of a bounded size (a pipe, a device or a huge file is never waited on
// nor swallowed).
#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// What a path names, links followed. This is the one test of "an ordinary file" that the
// program makes.
struct FileState {
    enum Kind {
        Missing,  // nothing there (a dangling link included)
        Ordinary, // an ordinary file
        Folder,
        Other,    // a pipe, a socket, a device, or a path that cannot be looked at
    } kind = Missing;
    qint64 size = 0, device = 0, inode = 0;
    qint64 modified = 0, changed = 0; // nanoseconds
    unsigned permissions = 0;
};
FileState fileState(const QString &path);
inline bool isOrdinaryFile(const QString &path) { return fileState(path).kind == FileState::Ordinary; }

// Puts `bytes` in place of the file at `path` (a path of this system), or leaves the file
// as it was and returns false. The bytes go to a new file in the same folder, are written
// and forced to the disk with every result checked, and only then does the new file take
// the old one's name, which is forced to the disk with the folder; a full disk, a quota or
// a size limit therefore never leaves a short or empty file behind. The replacement keeps
// the old file's permissions. A link is followed only to a file inside the link's own
// folder, in it or in a folder below it (the file the link leads to is replaced, the link
// stays): a link that leads out of it, a dangling link, and anything that is not an
// ordinary file (a folder, a pipe, a device) are not replaced. False also when the folder could not be
// forced to the disk: the new bytes may then be in place, but a crash could undo it.
bool writeFileWhole(const QString &path, const QByteArray &bytes);

// The content of the ordinary file at `path`; no value when it is missing, is not an
// ordinary file, holds more than `maxBytes` bytes or cannot be read. Opening never waits
// (a pipe with no writer is refused at once).
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes);

// True when `path` exists and, with every link resolved, lies inside `folder` (with its own
// links resolved).
bool liesInside(const QString &path, const QString &folder);

// Removes what writes cut short by the end of a run left behind: the writer's own new
// files that never took their name, in `folder` and in the folders below it down to
// `depth` levels (links to folders are not followed). Only ordinary files of this user,
// untouched for ten minutes, are removed, so that a write going on in another copy (a
// program folder shared by several accounts) keeps its file.
void removeInterruptedWrites(const QString &folder, int depth);

// What stands in the way of a name becoming the base name of one of the program's files
// (a pupil's profile, a language file) on every system they may be kept on, without
// leading out of their folder. The one check of such names.
enum class EsitoNome {
    Valido,
    Vuoto,         // nothing that shows: blanks, invisible signs (zero-width, writing direction...)
    SegniVietati,  // a sign no file name can hold, a control character, or two dots in a row
    TroppoLungo,   // more than kNomeMassimo characters, or too long a file name
    Riservato,     // a device name of Windows (alone or before a dot), a leading dot, or a final dot or blank
};
// The longest name, in characters as the teacher sees them (a letter with its accents, an
// emoji made of several code points: one each).
constexpr int kNomeMassimo = 64;
// A file name's limit on the file systems the files may be kept on: 255 bytes in UTF-8
// (ext4), 255 UTF-16 units (NTFS), which UTF-8 never takes fewer bytes than. A name is
// refused as too long when, with an extension of three letters and its dot (".ini",
// ".lng"), it would pass it: a few characters can take that much (a letter with dozens of
// accents piled on it is one character).
constexpr int kByteMassimiFile = 255;
EsitoNome controllaNome(const QString &nome);
// How a name looks in the program's lists, which show names in capitals: two names with the
// same key cannot be told apart there, whatever their letter case, the way their accents
// are composed, the invisible signs in them or the kind and number of blanks between their
// words ("Zoë Straße" and "ZOË  STRASSE"); a blank is never dropped ("Anna Maria" and
// "AnnaMaria" are two names). The key also drops the dot of "İ", which in small letters is
// the dot an i has anyway: "İpek", which the lists show as "İPEK", is one name with "ipek"
// and "IPEK".
QString chiaveNome(const QString &nome);

// For tests: the system calls that force a file to the disk and give it its name, to make
// them fail on purpose. Null restores the system's own.
struct FileCalls {
    int (*fsync)(int fd) = nullptr;
    int (*rename)(const char *from, const char *to) = nullptr;
};
void setFileCallsForTest(const FileCalls &calls);

} // namespace platform
