#include "Paths.h"
#include "Files.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <tuple>
#include <utility>
#include <vector>

namespace platform {

namespace {
QString g_root;
QString g_program;

// Entries found under another letter case than asked, by folder and case-folded name. The
// default profile, asked for as "_predefinito.ini" and written as "_predefinito.INI", is
// then found again with one look instead of a pass over thousands of profiles.
QHash<QString, QString> g_found;
constexpr int kFoundMax = 1024;

// A folder's entries as last read, in name order (without regard to letter case), kept
// while the folder stays as it was: the menu and the configuration window go over the users
// folder at every turn, and a folder of thousands of profiles takes long to read. While no
// entry comes or goes, the folder keeps its times; but a folder changed within the last
// tick of the file system's clock may change again without its times moving, so a reading
// taken then is used once only.
struct Reading {
    struct Stamp {
        qint64 device = 0, inode = 0, modified = 0, changed = 0; // times in nanoseconds
        bool operator==(const Stamp &) const = default;
    } stamp;
    bool lasting = false;
    std::vector<std::pair<QString, unsigned char>> entries; // name and type (DT_REG, DT_DIR, DT_LNK...)
    // The last list drawn from these entries, kept with them: the menu asks the same of the
    // users folder at every turn.
    struct Listing {
        QString pattern;
        int kinds = -1;
        QStringList names;
    };
    mutable Listing listed;
};
QHash<QString, Reading> g_readings;
constexpr int kReadingsMax = 8;
constexpr qint64 kClockTick = 2'000'000'000; // the coarsest file times kept (FAT: 2 s)

qint64 nanoseconds(const timespec &t) { return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

qint64 systemClock()
{
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}
qint64 (*g_clock)() = systemClock;

// The folder's entries but "." and ".."; none when it cannot be read. A new reading is kept
// unless `keep` is false.
const Reading *readFolder(QString folder, bool keep = true)
{
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1); // one folder, one reading
    const QByteArray nativo = QFile::encodeName(folder);
    struct stat st;
    if (::stat(nativo.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) return nullptr;
    Reading r;
    r.stamp = {qint64(st.st_dev), qint64(st.st_ino), nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
    const auto kept = g_readings.constFind(folder);
    if (kept != g_readings.cend() && kept->lasting && kept->stamp == r.stamp) return &*kept;

    r.lasting = std::max(r.stamp.modified, r.stamp.changed) < g_clock() - kClockTick;
    DIR *d = ::opendir(nativo.constData());
    if (!d) return nullptr;
    std::vector<std::tuple<QString, QString, unsigned char>> byName;
    while (const dirent *e = ::readdir(d)) {
        if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0))) continue;
        const QString name = QFile::decodeName(e->d_name);
        byName.emplace_back(name.toLower(), name, e->d_type);
    }
    ::closedir(d);
    // Names alike but for their letter case in a fixed order.
    std::sort(byName.begin(), byName.end());
    r.entries.reserve(byName.size());
    for (auto &[lower, name, type] : byName) r.entries.emplace_back(std::move(name), type);
    if (!keep) {
        static Reading once;
        return &(once = std::move(r));
    }
    if (g_readings.size() >= kReadingsMax && !g_readings.contains(folder)) g_readings.clear();
    return &(g_readings[folder] = std::move(r));
}
} // namespace

QString settingsRoot()
{
    if (!g_root.isEmpty()) return g_root;
#ifdef Q_OS_WIN
    return QStringLiteral("C:/ImpostazioniProgrammiTesmo");
#else
    return QDir::homePath() + QStringLiteral("/ImpostazioniProgrammiTesmo");
#endif
}

void setSettingsRoot(const QString &folder) { g_root = QDir::cleanPath(folder); if (folder.isEmpty()) g_root.clear(); }

QString programFolder()
{
    if (!g_program.isEmpty()) return g_program;
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString &folder) { g_program = folder.isEmpty() ? QString() : QDir::cleanPath(folder); }

static QString findEntry(const QString &dir, const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return name;
    if (QFileInfo::exists(dir + QLatin1Char('/') + name)) return name;
    const QString key = dir + QLatin1Char('/') + name.toCaseFolded();
    const auto known = g_found.constFind(key);
    if (known != g_found.cend() && QFileInfo::exists(dir + QLatin1Char('/') + *known)) return *known;
    // Of several spellings of the name, the first in name order.
    if (const Reading *r = readFolder(dir))
        for (const auto &[e, type] : r->entries)
            if (e.compare(name, Qt::CaseInsensitive) == 0) {
                if (g_found.size() >= kFoundMax) g_found.clear();
                g_found.insert(key, e);
                return e;
            }
    g_found.remove(key);
    return name;
}

QString localPath(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString base;
    const QString rootSlash = QStringLiteral("C:/ImpostazioniProgrammiTesmo");
    if (p.startsWith(rootSlash, Qt::CaseInsensitive)
        && (p.size() == rootSlash.size() || p.at(rootSlash.size()) == QLatin1Char('/'))) {
        base = settingsRoot();
        p = p.mid(rootSlash.size());
    } else if (p.startsWith(QLatin1Char('/'))) {
        base = QStringLiteral("/");
    } else if (p.size() >= 2 && p.at(1) == QLatin1Char(':')) {
        base = p.left(2) + QLatin1Char('/');
        p = p.mid(2);
    } else {
        base = QDir::currentPath();
    }
    const bool trailing = p.endsWith(QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    auto join = [](const QString &dir, const QString &name) {
        return dir.endsWith(QLatin1Char('/')) ? dir + name : dir + QLatin1Char('/') + name;
    };
    // A path that exists as it is spelt is its own spelling at every step: one look at the
    // disk instead of one per step (a window's texts alone are hundreds of lookups).
    QString out = base;
    for (const QString &part : parts) out = join(out, part);
    if (!parts.isEmpty() && QFileInfo::exists(out)) {
        if (trailing && !out.endsWith(QLatin1Char('/'))) out += QLatin1Char('/');
        return out;
    }
    out = base;
    for (const QString &part : parts) out = join(out, findEntry(out, part));
    if (trailing && !out.endsWith(QLatin1Char('/'))) out += QLatin1Char('/');
    return out;
}

QString localPathAsSpelt(const QString &path)
{
    QString out = localPath(path);
    QString spelt = path;
    spelt.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool trailing = out.endsWith(QLatin1Char('/'));
    if (trailing) out.chop(1);
    while (spelt.endsWith(QLatin1Char('/'))) spelt.chop(1);
    const QString name = spelt.section(QLatin1Char('/'), -1);
    // Only the last name found whatever its letter case takes the spelling given back; the
    // settings root stays the folder it is mapped to.
    const qsizetype at = out.size() - name.size();
    if (!name.isEmpty() && at > 0 && out.at(at - 1) == QLatin1Char('/') && out.endsWith(name, Qt::CaseInsensitive)
        && out != settingsRoot())
        out.replace(at, name.size(), name);
    if (trailing) out += QLatin1Char('/');
    return out;
}

void setListingClockForTest(qint64 (*now)()) { g_clock = now ? now : systemClock; }

namespace {
enum class Kinds { Files, FilesAndFolders, FilesAndFoldersInside, All };

bool listEntries(const QString &folder, const QString &pattern, Kinds kinds, QStringList &names)
{
    const QString dir = localPath(folder);
    const QString extension = pattern.mid(1); // "*.ext"
    const Reading *r = readFolder(dir);
    names.clear();
    if (!r) return false;
    if (r->listed.kinds == int(kinds) && r->listed.pattern == pattern) {
        names = r->listed.names;
        return true;
    }
    bool guardato = false; // an entry was looked at through a link: it may change unseen
    for (auto [e, type] : r->entries) {
        if (!e.endsWith(extension, Qt::CaseInsensitive)) continue;
        if (kinds == Kinds::All) {
            names << e;
            continue;
        }
        // Pipes, sockets, devices and dangling links (also behind a link) are never listed:
        // opening one would wait for ever or read without end. The type the folder gives
        // spares a look at each of thousands of files; a link is followed, each time.
        if (type == DT_LNK || type == DT_UNKNOWN) {
            guardato = true;
            const QString path = dir + QLatin1Char('/') + e;
            const FileState::Kind k = fileState(path).kind;
            type = k == FileState::Ordinary ? DT_REG : k == FileState::Folder ? DT_DIR : DT_UNKNOWN;
            // A file reached through a link from elsewhere is not the folder's own.
            if (kinds == Kinds::FilesAndFoldersInside && type != DT_UNKNOWN && !liesInside(path, dir)) type = DT_UNKNOWN;
        }
        if (type == DT_REG || (kinds != Kinds::Files && type == DT_DIR)) names << e;
    }
    if (!guardato) r->listed = {pattern, int(kinds), names};
    return true;
}
} // namespace

bool listFolder(const QString &folder, const QString &pattern, bool filesOnly, QStringList &names)
{
    return listEntries(folder, pattern, filesOnly ? Kinds::Files : Kinds::FilesAndFolders, names);
}

bool listFolderInside(const QString &folder, const QString &pattern, QStringList &names)
{
    return listEntries(folder, pattern, Kinds::FilesAndFoldersInside, names);
}

bool listEveryEntry(const QString &folder, const QString &pattern, QStringList &names)
{
    return listEntries(folder, pattern, Kinds::All, names);
}

bool folderEntries(const QString &folder, std::vector<std::pair<QString, unsigned char>> &entries)
{
    const Reading *r = readFolder(folder, false);
    if (!r) return false;
    entries = r->entries;
    return true;
}

} // namespace platform
