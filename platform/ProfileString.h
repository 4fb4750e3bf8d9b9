#pragma once
// Our reader and writer of sections-and-keys text files ("[Section]" lines and
// "Key=Value" entries), with the rules the language files rely on: sections count,
// section and key names match whatever their letter case, blanks round the equals sign
// are dropped, a value in enclosing quotes loses them, and a value is cut at 511
// characters. The first section and the first entry of a name win.
#include <QHash>
#include <QString>
#include <optional>

namespace platform {

constexpr int kProfileValueMax = 511;

// False when the file cannot be read: missing, not an ordinary file, or above 16 MiB. A
// missing section or key gives an empty value. A file is parsed again only when it has
// changed on disk.
bool readProfileString(const QString &file, const QString &section, const QString &key, QString &value);

// One section of a file, found and read once for many lookups by the same rules (a
// window's translation asks one section for hundreds of entries); nullopt when the file
// cannot be read.
class ProfileSection {
public:
    QString value(const QString &key) const; // empty when missing
private:
    friend std::optional<ProfileSection> readProfileSection(const QString &, const QString &);
    QHash<QString, QString> entries_;
};
std::optional<ProfileSection> readProfileSection(const QString &file, const QString &section);

// Writes (or replaces) one entry, making the file and the section when they are missing.
// The file is replaced whole; false, with the file as it was, when it cannot be written.
bool writeProfileString(const QString &file, const QString &section, const QString &key, const QString &value);

} // namespace platform
