#include "SingleInstance.h"
#include <QDir>
#include <QLockFile>

namespace platform {

SingleInstance::SingleInstance(const QString &name)
    : lock_(std::make_unique<QLockFile>(QDir::tempPath() + QLatin1Char('/') + name + QStringLiteral(".lock")))
{
    // A lock whose owner process is gone is taken over at once.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() { return lock_->isLocked() || lock_->tryLock(0); }

} // namespace platform
