#pragma once
// The single-instance rule: an exclusive flock on "<AppTitle>.lock" in the runtime
// folder, held until the process ends (the kernel drops it if the process dies).

#include <QString>

namespace tarvix {

class InstanceLock {
public:
    // NotOurs: the file belongs to another user (only possible in the shared
    // /tmp fallback); the run goes on without the lock.
    enum class Result { Acquired, HeldByOther, Unavailable, NotOurs };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    Result Acquire(const QString& path);
    void Release();
    // "<AppTitle>.lock" in $XDG_RUNTIME_DIR; without it, a per-user file in /tmp:
    // "/tmp/<AppTitle>-<uid>.lock".
    static QString DefaultPath();

private:
    int fd_ = -1;
};

} // namespace tarvix
