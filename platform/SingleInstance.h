#pragma once
// One running copy per user: a lock file that a crashed copy does not leave held.
#include <QString>
#include <memory>

class QLockFile;

namespace platform {

class SingleInstance {
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();
    // True when this copy is the only one; the lock is held until destruction.
    bool acquire();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace platform
