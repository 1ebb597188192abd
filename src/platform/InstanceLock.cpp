#include "platform/InstanceLock.h"

#include "core/AppInfo.h"
#include "platform/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvix {

InstanceLock::~InstanceLock() {
    Release();
}

QString InstanceLock::DefaultPath() {
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return QStringLiteral("/tmp/") + AppTitle() + QStringLiteral("-%1.lock").arg(::geteuid());
    return RuntimeFolder() + QLatin1Char('/') + AppTitle() + QStringLiteral(".lock");
}

InstanceLock::Result InstanceLock::Acquire(const QString& path) {
    Release();
    // Never through a symbolic link, and never a file of another user: in a
    // shared folder another user could otherwise hold every run of ours.
    const int fd =
        ::open(NativePath(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return errno == ELOOP ? Result::NotOurs : Result::Unavailable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid()) {
        ::close(fd);
        return Result::NotOurs;
    }
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
