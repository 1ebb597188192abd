#include "platform/InstanceSignal.h"

#include "core/AppInfo.h"
#include "platform/Paths.h"

#include <QDir>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarvix {

QString InstanceSocketPath(QString* problem) {
    QString ignored;
    if (!problem) problem = &ignored;
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return RuntimeFolder() + QLatin1Char('/') + AppTitle() + QStringLiteral(".socket");
    // A shared temporary folder: anybody may have made the name first, so the
    // folder is used only when it is a real folder of ours that only we can
    // enter; then nobody else can put a socket in it.
    const QString folder =
        QDir::tempPath() + QLatin1Char('/') + AppTitle() + QStringLiteral("-%1").arg(::geteuid());
    const QByteArray native = NativePath(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        *problem = QStringLiteral("%1 cannot be made: %2")
                       .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return QString();
    }
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & 077) != 0) {
        *problem = QStringLiteral("%1 is not a private folder of this user").arg(folder);
        return QString();
    }
    return folder + QStringLiteral("/instance.socket");
}

bool IsOwnSocketOrAbsent(const QString& path, QString* problem) {
    if (path.isEmpty()) return false;
    struct stat st {};
    if (::lstat(NativePath(path).constData(), &st) != 0) return errno == ENOENT;
    if (S_ISSOCK(st.st_mode) && st.st_uid == ::geteuid()) return true;
    if (problem) *problem = QStringLiteral("%1 is not a socket of this user").arg(path);
    return false;
}

bool SignalRunningInstance(const QString& file) {
    const QByteArray message =
        file.isEmpty() ? QByteArray("raise\n") : "open " + file.toUtf8() + "\n";
    const QString socket = InstanceSocketPath();
    // Never knock at a door that is not ours: the file name would go to
    // whoever listens there.
    if (socket.isEmpty() || !IsOwnSocketOrAbsent(socket)) return false;
    const QByteArray path = NativePath(socket);
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
