#include "Files.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

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
        // A short name of its own, whatever the length of the name it will take.
        for (int tentativo = 0; tentativo < 64; ++tentativo) {
            const QByteArray p = QFile::encodeName(folder + QStringLiteral("/.brivo-%1.tmp")
                                                                .arg(QRandomGenerator::global()->generate64(), 16, 16,
                                                                     QLatin1Char('0')));
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
        if (::rename(path_.constData(), target.constData()) != 0) return false;
        path_.clear();
        return true;
    }

private:
    int fd_ = -1;
    QByteArray path_;
};

} // namespace

bool writeFileWhole(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty()) return false;
    QString target = QFileInfo(path).absoluteFilePath();
    if (QFileInfo(target).isSymLink()) {
        target = QFileInfo(target).canonicalFilePath();
        if (target.isEmpty()) return false; // a dangling link is left alone
    }
    const QByteArray nativo = QFile::encodeName(target);
    struct stat st;
    const bool esiste = ::stat(nativo.constData(), &st) == 0;
    if (!esiste && errno != ENOENT) return false;
    if (esiste && !S_ISREG(st.st_mode)) return false;

    const QString cartella = QFileInfo(target).absolutePath();
    NuovoFile nuovo;
    if (!nuovo.create(cartella)) return false;
    // The replacement keeps the permissions the file had.
    if (esiste && ::fchmod(nuovo.fd(), st.st_mode & 07777) != 0) return false;
    if (!nuovo.write(bytes) || ::fsync(nuovo.fd()) != 0 || !nuovo.close()) return false;
    if (!nuovo.renameTo(nativo)) return false;
    // The new name reaches the disk with the folder.
    const int dir = ::open(QFile::encodeName(cartella).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
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
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes) return std::nullopt;
    // Reads on while there is more, up to one byte beyond the bound: a file that grew
    // meanwhile is refused as well.
    QByteArray out;
    out.resize(qsizetype(st.st_size) + 1);
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

} // namespace platform
