#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#ifndef TARVIX_INSTALL_DATADIR
#define TARVIX_INSTALL_DATADIR "/usr/local/share/tarvix"
#endif
#ifndef TARVIX_DATA_RELATIVE
#define TARVIX_DATA_RELATIVE "../share/tarvix"
#endif

namespace tarvix {
namespace {

QString WithSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

QString EnvFolder(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? QFile::decodeName(value) : QString();
}

} // namespace

QByteArray NativePath(const QString& path) {
    return QFile::encodeName(path);
}

QString ProgramFolder() {
    static const QString folder = [] {
        char buffer[4096];
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
        if (n <= 0) return QDir::currentPath() + QLatin1Char('/');
        return FolderOf(QFile::decodeName(QByteArray(buffer, int(n))));
    }();
    return folder;
}

QString ConfigPath() {
    QString base = EnvFolder("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = EnvFolder("HOME") + QStringLiteral("/.config");
    const QString folder = WithSlash(base) + QStringLiteral("Orvella/tarvix/");
    QDir().mkpath(folder); // a failure shows later as a config that cannot be saved
    return folder + QStringLiteral("config.ini");
}

QString DataFolder() {
    // An explicit folder first: tests, and a program run from an unusual place.
    const QString given = EnvFolder("TARVIX_DATA_DIR");
    if (!given.isEmpty()) return WithSlash(given);
    const QString program = ProgramFolder();
    if (IsFolder(program + QStringLiteral("gfx"))) return program;
    const QString installed = QDir::cleanPath(program + QStringLiteral(TARVIX_DATA_RELATIVE));
    if (IsFolder(installed)) return WithSlash(installed);
    return WithSlash(QStringLiteral(TARVIX_INSTALL_DATADIR));
}

QString RuntimeFolder() {
    const QString runtime = EnvFolder("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? QStringLiteral("/tmp") : runtime;
}

bool FileExists(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(NativePath(path).constData(), &st) == 0;
}

bool SameFile(const QString& a, const QString& b) {
    struct stat sa {
    }, sb{};
    return !a.isEmpty() && !b.isEmpty() && ::stat(NativePath(a).constData(), &sa) == 0 &&
           ::stat(NativePath(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool IsFolder(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(NativePath(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

qint64 FileSize(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(NativePath(path).constData(), &st) != 0) return -1;
    return static_cast<qint64>(st.st_size);
}

QString FromCurrentFolder(const QString& path) {
    if (path.isEmpty() || path.startsWith(QLatin1Char('/'))) return path;
    return QDir::currentPath() + QLatin1Char('/') + path;
}

bool IsControlCharacter(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

bool HasControlCharacter(QStringView text) {
    return std::any_of(text.begin(), text.end(), IsControlCharacter);
}

QString FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString FileNameOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace tarvix

namespace tarvix {

int MakeFolders(const QString& path) {
    const QByteArray native = NativePath(path);
    // Every file of a folder run asks for its folder: one stat answers all but
    // the first of them.
    struct stat existing {};
    if (::stat(native.constData(), &existing) == 0 && S_ISDIR(existing.st_mode)) return 0;
    // Each component in turn; one that exists (made meanwhile by another job of
    // the same run, too) is fine as long as it is a folder.
    for (qsizetype i = 1; i <= native.size(); ++i) {
        if (i < native.size() && native[i] != '/') continue;
        const QByteArray part = native.left(i);
        if (part.endsWith('/')) continue;
        if (::mkdir(part.constData(), 0777) == 0) continue;
        const int error = errno;
        struct stat st {};
        if (error == EEXIST && ::stat(part.constData(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
        return error == EEXIST ? ENOTDIR : error;
    }
    return 0;
}

} // namespace tarvix
