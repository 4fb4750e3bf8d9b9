#include "Files.h"
#include "Paths.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

FileCalls g_calls{::fsync, ::rename};

FileState stateOf(const struct stat &st)
{
    FileState s;
    s.kind = S_ISREG(st.st_mode) ? FileState::Ordinary : S_ISDIR(st.st_mode) ? FileState::Folder : FileState::Other;
    auto ns = [](const timespec &t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    s.size = qint64(st.st_size);
    s.device = qint64(st.st_dev);
    s.inode = qint64(st.st_ino);
    s.modified = ns(st.st_mtim);
    s.changed = ns(st.st_ctim);
    s.permissions = unsigned(st.st_mode & 07777);
    return s;
}

// The writer's new files are named so: short, whatever the length of the name they take.
const QString kNuovoPrefisso = QStringLiteral(".brivo-");
const QString kNuovoSuffisso = QStringLiteral(".tmp");

// Closes the descriptor and removes the file it was writing whatever the way out.
class NuovoFile {
public:
    ~NuovoFile()
    {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.isEmpty()) ::unlink(path_.constData());
    }
    bool create(const QString &folder)
    {
        for (int tentativo = 0; tentativo < 64; ++tentativo) {
            const QByteArray p = QFile::encodeName(folder + QLatin1Char('/') + kNuovoPrefisso
                                                   + QStringLiteral("%1").arg(QRandomGenerator::global()->generate64(), 16, 16,
                                                                              QLatin1Char('0'))
                                                   + kNuovoSuffisso);
            fd_ = ::open(p.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                path_ = p;
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }
    bool write(const QByteArray &bytes)
    {
        qint64 fatto = 0;
        while (fatto < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.constData() + fatto, size_t(bytes.size() - fatto));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            fatto += n;
        }
        return true;
    }
    int fd() const { return fd_; }
    // Closes the file; false when the system reports that its content may not be whole.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    bool renameTo(const QByteArray &target)
    {
        if (g_calls.rename(path_.constData(), target.constData()) != 0) return false;
        path_.clear();
        return true;
    }

private:
    int fd_ = -1;
    QByteArray path_;
};

} // namespace

FileState fileState(const QString &path)
{
    struct stat st;
    if (path.isEmpty()) return {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) return stateOf(st);
    FileState s;
    s.kind = errno == ENOENT || errno == ENOTDIR ? FileState::Missing : FileState::Other;
    return s;
}

void setFileCallsForTest(const FileCalls &calls)
{
    g_calls.fsync = calls.fsync ? calls.fsync : ::fsync;
    g_calls.rename = calls.rename ? calls.rename : ::rename;
}

bool writeFileWhole(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty()) return false;
    const QString given = QFileInfo(path).absoluteFilePath();
    QString target = given;
    if (QFileInfo(given).isSymLink()) {
        // A dangling link, or one leading out of its folder, is left alone.
        if (!liesInside(given, QFileInfo(given).absolutePath())) return false;
        target = QFileInfo(given).canonicalFilePath();
    }
    const FileState prima = fileState(target);
    if (prima.kind != FileState::Missing && prima.kind != FileState::Ordinary) return false;

    const QString cartella = QFileInfo(target).absolutePath();
    NuovoFile nuovo;
    if (!nuovo.create(cartella)) return false;
    if (prima.kind == FileState::Ordinary && ::fchmod(nuovo.fd(), prima.permissions) != 0) return false;
    if (!nuovo.write(bytes) || g_calls.fsync(nuovo.fd()) != 0 || !nuovo.close()) return false;
    if (!nuovo.renameTo(QFile::encodeName(target))) return false;
    // The new name reaches the disk with the folder; a file system that cannot force a
    // folder says so, and has nothing more to do.
    const int dir = ::open(QFile::encodeName(cartella).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return false;
    const int esito = g_calls.fsync(dir);
    const int errore = errno;
    ::close(dir);
    return esito == 0 || errore == EINVAL || errore == ENOTSUP;
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes)
{
    if (path.isEmpty()) return std::nullopt;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct Chiudi {
        int fd;
        ~Chiudi() { ::close(fd); }
    } chiudi{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) return std::nullopt;
    const FileState stato = stateOf(st);
    if (stato.kind != FileState::Ordinary || stato.size > maxBytes) return std::nullopt;
    // Reads on while there is more, up to one byte beyond the bound: a file that grew
    // meanwhile is refused as well.
    QByteArray out;
    out.resize(qsizetype(stato.size) + 1);
    qint64 letti = 0;
    for (;;) {
        if (letti == out.size()) {
            if (letti > maxBytes) return std::nullopt;
            out.resize(qsizetype(std::min<qint64>(2 * letti, maxBytes + 1)));
        }
        const ssize_t n = ::read(fd, out.data() + letti, size_t(out.size() - letti));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        letti += n;
    }
    if (letti > maxBytes) return std::nullopt;
    out.truncate(qsizetype(letti));
    return out;
}

bool liesInside(const QString &path, const QString &folder)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    const QString dir = QFileInfo(folder).canonicalFilePath();
    if (file.isEmpty() || dir.isEmpty()) return false;
    return file.startsWith(dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/'));
}

namespace {

// A sign that shows nothing by itself: a blank of any width, a line or paragraph separator,
// a control character, a format character (zero-width spaces and joiners, marks of writing
// direction), and the fillers and variation selectors that fonts draw as nothing.
bool invisibile(char32_t u)
{
    switch (QChar::category(u)) {
    case QChar::Separator_Space: case QChar::Separator_Line: case QChar::Separator_Paragraph:
    case QChar::Other_Control: case QChar::Other_Format:
        return true;
    default:
        return u == 0x034F || u == 0x115F || u == 0x1160 || u == 0x17B4 || u == 0x17B5 || (u >= 0x180B && u <= 0x180F)
               || u == 0x2800 || u == 0x3164 || (u >= 0xFE00 && u <= 0xFE0F) || u == 0xFFA0 || (u >= 0xE0100 && u <= 0xE01EF);
    }
}

qsizetype caratteri(const QString &nome)
{
    QTextBoundaryFinder confini(QTextBoundaryFinder::Grapheme, nome);
    qsizetype n = 0;
    while (confini.toNextBoundary() > 0) ++n;
    return n;
}

} // namespace

EsitoNome controllaNome(const QString &nome)
{
    // A name of signs that do not show would be a blank entry of a list.
    const QList<uint> segni = nome.toUcs4();
    if (std::all_of(segni.begin(), segni.end(), invisibile)) return EsitoNome::Vuoto;
    if (nome.contains(QLatin1String(".."))) return EsitoNome::SegniVietati;
    for (const uint u : segni) {
        switch (u) {
        case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
            return EsitoNome::SegniVietati;
        default:
            // A tab, a line break, NUL, DEL and their kind: pasted, they would hide in the name.
            if (QChar::category(u) == QChar::Other_Control) return EsitoNome::SegniVietati;
        }
    }
    if (nome.toUtf8().size() + 4 > kByteMassimiFile || caratteri(nome) > kNomeMassimo)
        return EsitoNome::TroppoLungo;
    // A leading dot hides the file on this system, and lists leave hidden files out.
    // Windows drops a final dot or blank from a file name, and takes a device name (with
    // any extension after it) for the device: the file would silently go astray.
    if (nome.startsWith(QLatin1Char('.')) || nome.endsWith(QLatin1Char('.')) || nome.back().isSpace())
        return EsitoNome::Riservato;
    qsizetype fine = nome.indexOf(QLatin1Char('.'));
    if (fine < 0) fine = nome.size();
    while (fine > 0 && nome.at(fine - 1).isSpace()) --fine;
    if (fine > 7) return EsitoNome::Valido; // longer than every device name
    const QString base = nome.left(fine).toUpper();
    static const QStringList dispositivi = {
        QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL"),
        QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (dispositivi.contains(base)) return EsitoNome::Riservato;
    if (base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT")))) {
        const QChar n = base.at(3);
        if ((n >= QLatin1Char('0') && n <= QLatin1Char('9')) || n == QChar(0x00B9) || n == QChar(0x00B2) || n == QChar(0x00B3))
            return EsitoNome::Riservato;
    }
    return EsitoNome::Valido;
}

QString chiaveNome(const QString &nome)
{
    // Accents are taken apart first, so that "ë" typed whole or as "e" and a diaeresis is one
    // letter, and "İ" an I with a dot. Then capitals, as the lists show names, then small
    // letters: what Qt's case folding leaves out of the full one comes out of the capitals
    // ("ß" is "SS", the ligature "ﬀ" is "FF"), but for the capital sharp s, which folds to "ß".
    const QString piegato =
        nome.normalized(QString::NormalizationForm_D).toUpper().toCaseFolded().normalized(QString::NormalizationForm_D);
    QString chiave;
    chiave.reserve(piegato.size());
    for (const uint u : piegato.toUcs4()) {
        if (u == 0x00DF) {
            chiave += QStringLiteral("ss");
        } else if (u == 0x0307 && (chiave.endsWith(QLatin1Char('i')) || chiave.endsWith(QLatin1Char('j')))) {
            // The dot of "İ", over a small i, is the dot the i has: "İpek" (listed as "İPEK")
            // typed in small letters is "ipek", so its key is the key of "IPEK".
        } else if (QChar::category(u) == QChar::Separator_Space) {
            // A list shows two blanks in a row much as one.
            if (!chiave.endsWith(QLatin1Char(' '))) chiave += QLatin1Char(' ');
        } else if (!invisibile(u)) {
            chiave += QStringView(QChar::fromUcs4(u));
        }
    }
    return chiave;
}

void removeInterruptedWrites(const QString &folder, int depth)
{
    static const QRegularExpression nome(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(kNuovoPrefisso) + QStringLiteral("[0-9a-f]{16}") + QRegularExpression::escape(kNuovoSuffisso)));
    // One look at each folder, the users folder's kept listing when it is still good.
    std::vector<std::pair<QString, unsigned char>> voci;
    if (!folderEntries(folder, voci)) return;
    const QString cartella = folder.size() > 1 && folder.endsWith(QLatin1Char('/')) ? folder.chopped(1) : folder;
    const qint64 limite = (QDateTime::currentMSecsSinceEpoch() - 10 * 60 * 1000) * 1000000;
    for (const auto &[e, tipo] : voci) {
        const bool forse = e.startsWith(kNuovoPrefisso) && (tipo == DT_REG || tipo == DT_UNKNOWN);
        if (!forse && !(depth > 0 && (tipo == DT_DIR || tipo == DT_UNKNOWN))) continue;
        const QString percorso = cartella + QLatin1Char('/') + e;
        const QByteArray p = QFile::encodeName(percorso);
        struct stat st;
        if (::lstat(p.constData(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            // Links to folders are not followed.
            if (depth > 0) removeInterruptedWrites(percorso, depth - 1);
            continue;
        }
        if (!forse || !nome.match(e).hasMatch() || st.st_uid != ::getuid()) continue;
        const FileState s = stateOf(st);
        if (s.kind == FileState::Ordinary && s.modified < limite) ::unlink(p.constData());
    }
}

} // namespace platform
