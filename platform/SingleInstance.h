#pragma once
// One running copy per user: a lock file that a crashed copy does not leave held.
//
// The lock belongs to the user by numeric id and lies in a folder only that user can write:
// the user's runtime folder (XDG_RUNTIME_DIR) when it is set, owned by the user and closed
// to others, else the settings root. Copies started by other accounts do not see it.
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
