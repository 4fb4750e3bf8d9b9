#pragma once
// One running copy per user: a lock that the end of its owner releases, however it ends.
//
// The lock is the kernel's advisory lock (flock) on the file `<name>-<user id>.lock`, held
// on an open descriptor for the life of the process: the kernel lets it go when the process
// ends, a crash or a kill included, whatever the file then holds. The file's content (the
// owner's process id and host) is only for a person who looks; it is never read, and the
// file is never removed, so that every copy locks one and the same file.
//
// The file belongs to the user by numeric id and lies in the settings root, beside the
// profiles it protects: every copy of one account finds it there however it was started
// (from the desktop, over ssh, through su), whatever its runtime folder. Copies started
// by other accounts, or with another settings root (another home folder), do not see it.
#include <QString>

namespace platform {

class SingleInstance {
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;
    // True when this copy is the only one of this user; the lock is held until destruction.
    // A lock that cannot be made at all (no folder can hold it, the kernel has no locks
    // there) does not stop the program.
    bool acquire();
    QString path() const { return path_; }

private:
    QString path_;
    int fd_ = -1; // the open lock file while the lock is held
};

} // namespace platform
