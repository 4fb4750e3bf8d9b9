#include "ProfileString.h"
#include "Paths.h"
#include "Text8.h"
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringList>

namespace platform {

namespace {

struct Parsed {
    qint64 size = -1;
    QDateTime modified;
    QHash<QString, QHash<QString, QString>> sections; // lower-case names
};

// Parsed files, checked against the file's size and time at every lookup so that a
// lookup always sees the file as it is on disk.
QHash<QString, Parsed> g_cache;

QString unquote(QString v)
{
    if (v.size() >= 2 && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
                          || (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
        v = v.mid(1, v.size() - 2);
    return v;
}

bool sectionName(const QString &trimmed, QString &name)
{
    if (!trimmed.startsWith(QLatin1Char('['))) return false;
    const int end = trimmed.indexOf(QLatin1Char(']'));
    name = (end < 0 ? trimmed.mid(1) : trimmed.mid(1, end - 1)).trimmed();
    return true;
}

const Parsed *parsed(const QString &path)
{
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile()) { g_cache.remove(path); return nullptr; }
    // A file changed within the last moments may have been rewritten at the same size and
    // within the resolution of its time: only an older file is taken from the cache.
    auto it = g_cache.find(path);
    const bool recente = fi.lastModified().msecsTo(QDateTime::currentDateTime()) < 2000;
    if (it != g_cache.end() && !recente && it->size == fi.size() && it->modified == fi.lastModified()) return &*it;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return nullptr;
    Parsed p;
    p.size = fi.size();
    p.modified = fi.lastModified();
    const QString text = decode8bit(f.readAll());
    QHash<QString, QString> *current = nullptr;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString t = line.trimmed();
        QString name;
        if (sectionName(t, name)) {
            const QString lower = name.toLower();
            // A section that appears again adds nothing: lookups stop at the first.
            current = p.sections.contains(lower) ? nullptr : &p.sections[lower];
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!current || eq < 0) continue;
        const QString key = line.left(eq).trimmed().toLower();
        if (key.isEmpty() || current->contains(key)) continue;
        current->insert(key, unquote(line.mid(eq + 1).trimmed()));
    }
    return &*g_cache.insert(path, std::move(p));
}

} // namespace

bool readProfileString(const QString &file, const QString &section, const QString &key, QString &value)
{
    value.clear();
    const Parsed *p = parsed(localPath(file));
    if (!p) return false;
    const auto s = p->sections.constFind(section.trimmed().toLower());
    if (s == p->sections.constEnd()) return true;
    value = s->value(key.trimmed().toLower()).left(kProfileValueMax);
    return true;
}

bool writeProfileString(const QString &file, const QString &section, const QString &key, const QString &value)
{
    const QString path = localPath(file);
    QStringList lines;
    bool utf8 = false;
    {
        QFile f(path);
        if (f.exists()) {
            if (!f.open(QIODevice::ReadOnly)) return false;
            const QByteArray bytes = f.readAll();
            const QString text = decode8bit(bytes);
            utf8 = text.toUtf8() == bytes && bytes.size() != text.size();
            lines = text.split(QLatin1Char('\n'));
            for (QString &l : lines)
                if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
            if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        }
    }
    const QString entry = key + QLatin1Char('=') + value;
    int sectionAt = -1, lastEntry = -1, keyAt = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString t = lines[i].trimmed();
        QString name;
        if (sectionName(t, name)) {
            if (sectionAt >= 0) break;
            if (name.compare(section.trimmed(), Qt::CaseInsensitive) == 0) { sectionAt = i; lastEntry = i; }
            continue;
        }
        if (sectionAt < 0) continue;
        if (!t.isEmpty()) lastEntry = i;
        const int eq = lines[i].indexOf(QLatin1Char('='));
        if (eq >= 0 && lines[i].left(eq).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) == 0) { keyAt = i; break; }
    }
    if (keyAt >= 0) lines[keyAt] = entry;
    else if (sectionAt >= 0) lines.insert(lastEntry + 1, entry);
    else lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;

    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    // Windows-1252 unless the text holds characters it cannot (a language named in
    // another script), or the file was UTF-8 already.
    const QByteArray cp = encodeCp1252(text);
    const bool entra = decode8bit(cp) == text;
    out.write(utf8 || !entra ? text.toUtf8() : cp);
    if (!out.commit()) return false;
    g_cache.remove(path);
    return true;
}

} // namespace platform
