#include "platform/InstanceLock.h"

#include "core/AppInfo.h"
#include "platform/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tarvix {

InstanceLock::~InstanceLock() {
    Release();
}

QString InstanceLock::DefaultPath() {
    return RuntimeFolder() + QLatin1Char('/') + AppTitle() + QStringLiteral(".lock");
}

InstanceLock::Result InstanceLock::Acquire(const QString& path) {
    Release();
    const int fd = ::open(NativePath(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return Result::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? Result::HeldByOther : Result::Unavailable;
    }
    fd_ = fd;
    return Result::Acquired;
}

void InstanceLock::Release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace tarvix
