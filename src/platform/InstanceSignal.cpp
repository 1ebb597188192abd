#include "platform/InstanceSignal.h"

#include "core/AppInfo.h"
#include "platform/Paths.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarvix {

QString InstanceSocketPath() {
    return RuntimeFolder() + QLatin1Char('/') + AppTitle() + QStringLiteral(".socket");
}

bool SignalRunningInstance() {
    const QByteArray path = NativePath(InstanceSocketPath());
    sockaddr_un address{};
    if (size_t(path.size()) >= sizeof(address.sun_path)) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                    ::send(fd, "raise\n", 6, MSG_NOSIGNAL) == 6; // the listener may hang up first
    ::close(fd);
    return ok;
}

} // namespace tarvix
