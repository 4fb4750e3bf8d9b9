#pragma once
// One running copy per settings root: a lock that the end of its owner releases, however it
// ends.
//
// The lock is the kernel's advisory lock (flock), held on open descriptors for the life of
// the process: the kernel lets it go when the process ends, a crash or a kill included. It
// is taken on two things, and a copy is refused when another copy holds either:
// - the settings root folder itself. Every copy takes it first: it can be had whatever lies
//   at the lock file's name (a folder, a pipe, a link, a file no one may open, no file in a
//   folder made read-only) and whatever became of that file while another copy ran (removed,
//   replaced), so two copies always meet there.
// - the file `<name>-<user id>.lock` in that folder, where it can be used: copies meet on it
//   when the folder cannot be opened for reading. Its content (the owner's process id and
//   host) is only for a person who looks; it is never read, and the file is never removed.
// A copy starts without a lock only when it can take neither. The file is opened neither
// through a link (it would lead out of the settings root) nor when it is not a plain file,
// and never waits (a pipe put in its place).
//
// The settings root lies in the home folder: every copy of one account finds it however it
// was started (from the desktop, over ssh, through su), whatever its runtime folder. Copies
// started with another settings root (another home folder) do not see it; accounts that
// share one exclude each other, as they would share its profiles (and an account that may
// read another's settings root could keep that one from starting).
#include <QString>
#include <sys/types.h>

namespace platform {

class SingleInstance {
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;
    // True when this copy is the only one on its settings root; the lock is held until
    // destruction. A lock that cannot be taken at all (no folder or file to hold it, the
    // kernel has no locks there) does not stop the program.
    bool acquire();
    QString path() const { return path_; }

private:
    QString folder_, path_;
    int folderFd_ = -1; // the open settings root while its lock is held
    int fd_ = -1;       // the open lock file while its lock is held
};

// For tests: the system calls that open the lock file and lock, to stand in for what this
// machine cannot make (a kernel without locks, a file the superuser may not write). Null
// restores the system's own.
struct LockCalls {
    int (*open)(const char *path, int flags, mode_t mode) = nullptr;
    int (*flock)(int fd, int operation) = nullptr;
};
void setLockCallsForTest(const LockCalls &calls);

} // namespace platform
