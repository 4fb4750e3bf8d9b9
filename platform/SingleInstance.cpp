#include "SingleInstance.h"
#include "Paths.h"
#include <QDir>
#include <QLockFile>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

QString lockFolder()
{
#ifdef Q_OS_UNIX
    // The runtime folder counts only when it is truly the user's own: a shared or foreign
    // folder would let another account hold or plant the lock.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!runtime.isEmpty() && ::stat(runtime.constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && st.st_uid == ::getuid() && (st.st_mode & 07777) == 0700)
        return QFile::decodeName(runtime);
#endif
    return settingsRoot();
}

QString userId()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return QString();
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString &name)
{
    const QString folder = lockFolder();
    QDir().mkpath(folder);
    path_ = folder + QLatin1Char('/') + name + QLatin1Char('-') + userId() + QStringLiteral(".lock");
    lock_ = std::make_unique<QLockFile>(path_);
    // A lock whose owner process is gone is taken over at once.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    return lock_->isLocked() || lock_->tryLock(0) || lock_->error() != QLockFile::LockFailedError;
}

} // namespace platform
