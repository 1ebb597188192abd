#include "platform/InstanceSignal.h"

#include "core/AppInfo.h"
#include "platform/Paths.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarvix {

QString InstanceSocketPath() {
    // Beside the lock, and like it per user when there is no runtime folder.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return QStringLiteral("/tmp/") + AppTitle() + QStringLiteral("-%1.socket").arg(::geteuid());
    return RuntimeFolder() + QLatin1Char('/') + AppTitle() + QStringLiteral(".socket");
}

bool SignalRunningInstance(const QString& file) {
    const QByteArray message =
        file.isEmpty() ? QByteArray("raise\n") : "open " + file.toUtf8() + "\n";
    const QByteArray path = NativePath(InstanceSocketPath());
    sockaddr_un address{};
    if (size_t(path.size()) >= sizeof(address.sun_path)) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // The listener may hang up first: no SIGPIPE.
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                    ::send(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL) ==
                        ssize_t(message.size());
    ::close(fd);
    return ok;
}

QString FileOfKnock(const QByteArray& message) {
    if (!message.startsWith("open ")) return QString();
    QByteArray path = message.mid(5);
    const qsizetype end = path.indexOf('\n');
    if (end < 0) return QString(); // cut short: not to be trusted
    path.truncate(end);
    return QString::fromUtf8(path);
}

} // namespace tarvix
