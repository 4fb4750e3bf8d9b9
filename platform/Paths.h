#pragma once
// Where the program keeps its files, and how the paths the windows build are found on disk.
//
// The windows build paths as the Windows program does ("C:\ImpostazioniProgrammiTesmo\...",
// the program folder followed by "\suoni\si.wav"). localPath() turns such a path into one of
// this system: backslashes become separators, the settings root is mapped to settingsRoot(),
// and every existing part of the path is found whatever its letter case, so that
// "brivomarte\utenti\_predefinito.INI" and "BrivoMarte\utenti\_predefinito.ini" name one file.
// A part that does not exist yet keeps the spelling given.
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace platform {

// The settings root as the program writes it.
inline const QString kSettingsRoot = QStringLiteral("C:\\ImpostazioniProgrammiTesmo\\");

// The real folder behind kSettingsRoot: that path on Windows, else ImpostazioniProgrammiTesmo
// in the home folder. Tests point it elsewhere.
QString settingsRoot();
void setSettingsRoot(const QString &folder); // empty: back to the default

// The folder of the program's executable, without a closing separator.
QString programFolder();
void setProgramFolder(const QString &folder); // empty: back to the default

QString localPath(const QString &path);
// The same, but the path's last name is kept as spelt: the entry of that very name, which
// may be missing while one alike but for letter case is there (a new folder that must not
// be taken for another's).
QString localPathAsSpelt(const QString &path);

// Folder listing by a "*.ext" pattern without regard to letter case, in name order: ordinary
// files (and folders unless filesOnly), never pipes, sockets, devices or dangling links.
// Returns false when the folder cannot be listed.
bool listFolder(const QString &folder, const QString &pattern, bool filesOnly, QStringList &names);
// The files and folders of that listing that are the folder's own: a link is listed only
// when what it leads to, every link on the way followed, lies inside the folder. For a
// folder whose files are written through their entries (the users' profiles).
bool listFolderInside(const QString &folder, const QString &pattern, QStringList &names);
// The same listing with every entry, of whatever kind: what a new file of a name would find
// in its place.
bool listEveryEntry(const QString &folder, const QString &pattern, QStringList &names);

// For tests: the clock that tells whether a folder's listing may be kept, in nanoseconds
// since the epoch as the file times are. Null restores the system's own.
void setListingClockForTest(qint64 (*now)());

// Every entry of a folder (a path of this system) but "." and "..", each with its type as
// the folder gives it (DT_REG, DT_DIR, DT_LNK, DT_UNKNOWN...): the listing kept for the
// folder when it is still good, else a new reading that is not kept. False when the folder
// cannot be read.
bool folderEntries(const QString &folder, std::vector<std::pair<QString, unsigned char>> &entries);

} // namespace platform
