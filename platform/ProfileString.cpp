#include "ProfileString.h"
#include "Files.h"
#include "Paths.h"
#include "Text8.h"
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <optional>

namespace platform {

namespace {

// What tells one state of a file from another: a file rewritten in place changes its size,
// its modification or its change time; one put in place of another is another file.
struct Stamp {
    qint64 size = -1, device = 0, inode = 0, modified = 0, changed = 0; // times in nanoseconds
    bool operator==(const Stamp &) const = default;
};

std::optional<Stamp> stampOf(const QString &path)
{
    const FileState s = fileState(path);
    if (s.kind != FileState::Ordinary) return std::nullopt;
    return Stamp{s.size, s.device, s.inode, s.modified, s.changed};
}

// The largest file read; a language file is far smaller.
constexpr qint64 kFileMax = 16 * 1024 * 1024;

struct Parsed {
    Stamp stamp;
    QHash<QString, QHash<QString, QString>> sections; // lower-case names
};

// Parsed files, checked against the file on disk at every lookup: a file is read again
// only when it has changed, whatever its times say about the clock.
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
    const auto stamp = stampOf(path);
    if (!stamp) { g_cache.remove(path); return nullptr; }
    auto it = g_cache.find(path);
    if (it != g_cache.end() && it->stamp == *stamp) return &*it;
    const auto bytes = readRegularFile(path, kFileMax);
    if (!bytes) { g_cache.remove(path); return nullptr; }
    Parsed p;
    p.stamp = *stamp;
    const QString text = decode8bit(*bytes);
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

QString ProfileSection::value(const QString &key) const
{
    return entries_.value(key.trimmed().toLower()).left(kProfileValueMax);
}

std::optional<ProfileSection> readProfileSection(const QString &file, const QString &section)
{
    const Parsed *p = parsed(localPath(file));
    if (!p) return std::nullopt;
    ProfileSection s;
    s.entries_ = p->sections.value(section.trimmed().toLower());
    return s;
}

bool readProfileString(const QString &file, const QString &section, const QString &key, QString &value)
{
    const auto s = readProfileSection(file, section);
    value = s ? s->value(key) : QString();
    return s.has_value();
}

bool writeProfileString(const QString &file, const QString &section, const QString &key, const QString &value)
{
    const QString path = localPath(file);
    QStringList lines;
    bool utf8 = false;
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        const auto bytes = readRegularFile(path, kFileMax);
        if (!bytes) return false;
        const QString text = decode8bit(*bytes);
        utf8 = text.toUtf8() == *bytes && bytes->size() != text.size();
        lines = text.split(QLatin1Char('\n'));
        for (QString &l : lines)
            if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
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
    // Windows-1252 unless the text holds characters it cannot (a language named in
    // another script), or the file was UTF-8 already.
    const QByteArray cp = encodeCp1252(text);
    const bool entra = decode8bit(cp) == text;
    if (!writeFileWhole(path, utf8 || !entra ? text.toUtf8() : cp)) return false;
    g_cache.remove(path);
    return true;
}

} // namespace platform
