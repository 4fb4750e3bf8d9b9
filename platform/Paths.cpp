#include "Paths.h"
#include "Files.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {

namespace {
QString g_root;
QString g_program;
}

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
    const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
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
    const QDir dir(localPath(folder));
    if (!dir.exists()) return false;
    QString rx = QRegularExpression::wildcardToRegularExpression(pattern);
    const QRegularExpression re(rx, QRegularExpression::CaseInsensitiveOption);
    QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    if (!filesOnly) filters |= QDir::Dirs;
    names.clear();
    for (const QString &e : dir.entryList(filters, QDir::Name | QDir::IgnoreCase)) {
        if (!re.match(e).hasMatch()) continue;
        // Pipes, sockets, devices and dangling links (also behind a link) are never listed:
        // opening one would wait for ever or read without end.
        const FileState::Kind k = fileState(dir.filePath(e)).kind;
        if (k == FileState::Ordinary || (!filesOnly && k == FileState::Folder)) names << e;
    }
    return true;
}

} // namespace platform
