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

SingleInstance::SingleInstance(const QString &name)
{
    const QString folder = settingsRoot();
    QDir().mkpath(folder);
    path_ = folder + QLatin1Char('/') + name + QLatin1Char('-') + QString::number(::getuid()) + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
    // Closing the descriptor releases the lock; the file stays for the next copy to lock.
    if (fd_ >= 0) ::close(fd_);
}

bool SingleInstance::acquire()
{
    if (fd_ >= 0) return true;
    // Not through a link, never waiting (a pipe put in its place), and not passed on to the
    // programs this one starts (a viewer still open would keep the lock after the program).
    const QByteArray nativo = QFile::encodeName(path_);
    constexpr int modo = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(nativo.constData(), O_RDWR | O_CREAT | modo, 0600);
    if (fd < 0 && errno == EACCES) fd = ::open(nativo.constData(), O_RDONLY | modo); // made read-only: it still locks
    if (fd < 0) return true;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return true;
    }
    int r;
    while ((r = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {}
    if (r != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    fd_ = fd;
    // Who holds it, for a person who looks: nothing reads it, so it is neither checked nor
    // forced to the disk.
    const QByteArray who = QByteArray::number(qint64(::getpid())) + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(fd_, 0) == 0) (void)!::pwrite(fd_, who.constData(), size_t(who.size()), 0);
    return true;
}

} // namespace platform
