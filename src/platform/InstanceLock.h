#pragma once
// The single-instance rule: an exclusive flock on "<AppTitle>.lock" in the runtime
// folder, held until the process ends (the kernel drops it if the process dies).

#include <QString>

namespace tarvix {

class InstanceLock {
public:
    enum class Result { Acquired, HeldByOther, Unavailable };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    Result Acquire(const QString& path);
    void Release();
    static QString DefaultPath();

private:
    int fd_ = -1;
};

} // namespace tarvix
