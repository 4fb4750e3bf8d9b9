#pragma once
// One running copy per user: a lock file that a crashed copy does not leave held.
//
// The lock belongs to the user by numeric id and lies in the settings root, beside the
// profiles it protects: every copy of one account finds it there however it was started
// (from the desktop, over ssh, through su), whatever its runtime folder. Copies started
// by other accounts do not see it.
#include <QString>
#include <memory>

class QLockFile;

namespace platform {

class SingleInstance {
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();
    // True when this copy is the only one of this user; the lock is held until destruction.
    // A lock that cannot be made at all (no folder can hold it) does not stop the program.
    bool acquire();
    QString path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace platform
