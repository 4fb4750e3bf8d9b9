#include "SingleInstance.h"
#include "Paths.h"
#include <QDir>
#include <QLockFile>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

namespace {

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
    const QString folder = settingsRoot();
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
