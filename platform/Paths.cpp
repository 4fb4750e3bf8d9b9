#include "Paths.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
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

// Calls `entry(name, type)` for every entry of the folder but "." and "..", in the order
// the file system keeps them, with the type it gives (DT_REG, DT_DIR, DT_LNK, DT_UNKNOWN...).
// False when the folder cannot be read.
template <class F>
bool forEachEntry(const QString &folder, F entry)
{
    DIR *d = ::opendir(QFile::encodeName(folder).constData());
    if (!d) return false;
    while (const dirent *e = ::readdir(d)) {
        if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0))) continue;
        entry(QFile::decodeName(e->d_name), e->d_type);
    }
    ::closedir(d);
    return true;
}

// Name order without regard to letter case; names alike but for it in a fixed order.
std::pair<QString, QString> nameOrder(const QString &name) { return {name.toLower(), name}; }
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
    QString found;
    forEachEntry(dir, [&](const QString &e, unsigned char) {
        if (e.compare(name, Qt::CaseInsensitive) == 0 && (found.isEmpty() || nameOrder(e) < nameOrder(found))) found = e;
    });
    if (found.isEmpty()) {
        g_found.remove(key);
        return name;
    }
    if (g_found.size() >= kFoundMax) g_found.clear();
    g_found.insert(key, found);
    return found;
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
    QString out = base;
    for (const QString &part : p.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QString found = findEntry(out, part);
        out = out.endsWith(QLatin1Char('/')) ? out + found : out + QLatin1Char('/') + found;
    }
    if (trailing && !out.endsWith(QLatin1Char('/'))) out += QLatin1Char('/');
    return out;
}

bool listFolder(const QString &folder, const QString &pattern, bool filesOnly, QStringList &names)
{
    const QString dir = localPath(folder);
    const QString extension = pattern.mid(1); // "*.ext"
    std::vector<std::pair<QString, QString>> found;
    const bool listed = forEachEntry(dir, [&](const QString &e, unsigned char type) {
        if (!e.endsWith(extension, Qt::CaseInsensitive)) return;
        // Pipes, sockets, devices and dangling links (also behind a link) are never listed:
        // opening one would wait for ever or read without end. The type the folder gives
        // spares a look at each of thousands of files; a link is followed.
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat st;
            if (::stat(QFile::encodeName(dir + QLatin1Char('/') + e).constData(), &st) != 0) return;
            type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
        }
        if (type == DT_REG || (!filesOnly && type == DT_DIR)) found.push_back(nameOrder(e));
    });
    names.clear();
    if (!listed) return false;
    std::sort(found.begin(), found.end());
    names.reserve(qsizetype(found.size()));
    for (auto &f : found) names << std::move(f.second);
    return true;
}

} // namespace platform
