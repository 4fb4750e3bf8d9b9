#include "SingleInstance.h"
#include "Paths.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The system's calls, which a test may stand in for (::open, variadic, has no address of
// the seam's type).
int apri(const char *path, int flags, mode_t mode) { return ::open(path, flags, mode); }
LockCalls g_calls{apri, ::flock};

// The lock of an open descriptor, taken without waiting: the descriptor when it is held,
// else -1 (the descriptor closed), with `occupato` set when another holder has it.
int blocca(int fd, bool &occupato)
{
    if (fd < 0) return -1;
    int r;
    while ((r = g_calls.flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {}
    if (r == 0) return fd;
    occupato = errno == EWOULDBLOCK;
    ::close(fd);
    return -1;
}

// The settings root, to lock. Like the lock file's, this descriptor is not passed on to the
// programs this one starts: a document viewer still open would keep the lock after the
// program.
int apriCartella(const QString &folder)
{
    return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// The lock file when it is a plain file reached without a link; -1 otherwise.
int apriFile(const QString &path)
{
    const QByteArray nativo = QFile::encodeName(path);
    constexpr int modo = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = g_calls.open(nativo.constData(), O_RDWR | O_CREAT | modo, 0600);
    if (fd < 0 && errno == EACCES) fd = g_calls.open(nativo.constData(), O_RDONLY | modo, 0); // made read-only: it still locks
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    return fd;
}

} // namespace

void setLockCallsForTest(const LockCalls &calls)
{
    g_calls.open = calls.open ? calls.open : apri;
    g_calls.flock = calls.flock ? calls.flock : ::flock;
}

SingleInstance::SingleInstance(const QString &name)
{
    folder_ = settingsRoot();
    QDir().mkpath(folder_);
    path_ = folder_ + QLatin1Char('/') + name + QLatin1Char('-') + QString::number(::getuid()) + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
    // Closing the descriptors releases the lock; the file stays for the next copy to lock.
    if (fd_ >= 0) ::close(fd_);
    if (folderFd_ >= 0) ::close(folderFd_);
}

bool SingleInstance::acquire()
{
    if (folderFd_ >= 0 || fd_ >= 0) return true;
    bool occupato = false;
    const int cartella = blocca(apriCartella(folder_), occupato);
    const int file = occupato ? -1 : blocca(apriFile(path_), occupato);
    if (occupato) {
        if (cartella >= 0) ::close(cartella);
        return false;
    }
    folderFd_ = cartella;
    fd_ = file;
    // Who holds it, for a person who looks: nothing reads it, so it is neither checked nor
    // forced to the disk.
    if (fd_ < 0) return true;
    const QByteArray who = QByteArray::number(qint64(::getpid())) + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(fd_, 0) == 0) (void)!::pwrite(fd_, who.constData(), size_t(who.size()), 0);
    return true;
}

} // namespace platform
