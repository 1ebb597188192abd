#include "platform/Display.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <cstdlib>

namespace tarvix {
namespace {

QByteArray Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? QByteArray(value) : QByteArray();
}

bool X11Reachable() {
    const QByteArray display = Env("DISPLAY");
    if (display.isEmpty()) return false;
    // ":N" and ":N.S" are served through a socket in /tmp/.X11-unix; a display on
    // another host cannot be checked without speaking its protocol.
    if (!display.startsWith(':')) return true;
    QByteArray number = display.mid(1);
    const qsizetype dot = number.indexOf('.');
    if (dot >= 0) number.truncate(dot);
    return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + QString::fromLatin1(number));
}

bool WaylandReachable() {
    QByteArray socket = Env("WAYLAND_DISPLAY");
    if (socket.isEmpty()) return false;
    if (socket.startsWith('/')) return QFileInfo::exists(QString::fromLocal8Bit(socket));
    const QByteArray runtime = Env("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) return false;
    return QFileInfo::exists(QString::fromLocal8Bit(runtime + '/' + socket));
}

} // namespace

bool GraphicalSessionAvailable() {
    const QByteArray platform = Env("QT_QPA_PLATFORM");
    if (platform.isEmpty()) return X11Reachable() || WaylandReachable();
    // The toolkit tries each of a ";"-separated list in turn.
    for (const QByteArray& entry : platform.split(';')) {
        const qsizetype colon = entry.indexOf(':');
        const QByteArray name = colon < 0 ? entry : entry.left(colon);
        if (name == "xcb" && X11Reachable()) return true;
        if (name.startsWith("wayland") && WaylandReachable()) return true;
        if (name != "xcb" && !name.startsWith("wayland") && !name.isEmpty()) return true;
    }
    return false;
}

} // namespace tarvix
