#include "engine/ImageFile.h"

#include "dds/DdsReader.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvix {
namespace {

// Files are created with the permissions an ordinary open() would give them.
// Read once at start-up, on the main thread, before any worker exists.
const mode_t kUmask = [] {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}();

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

struct MemoryStream {
    FIMEMORY* memory = FreeImage_OpenMemory(nullptr, 0);
    ~MemoryStream() {
        if (memory) FreeImage_CloseMemory(memory);
    }
};

} // namespace

FIBITMAP* LoadInputImage(const QString& path, QString* reason) {
    // The program's own reader replaces the image library's DDS loader, which
    // trusts the header and misreads several block formats.
    return dds::LoadFile(path, reason);
}

bool SaveImageFile(int format, FIBITMAP* image, const QString& path, int flags) {
    if (!image || path.isEmpty() || path.endsWith(QLatin1Char('/'))) return false;
    MemoryStream stream;
    if (!stream.memory) return false;
    if (!FreeImage_SaveToMemory(static_cast<FREE_IMAGE_FORMAT>(format), image, stream.memory,
                                flags))
        return false;
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!FreeImage_AcquireMemory(stream.memory, &data, &size)) return false;

    QByteArray temp = NativePath(FolderOf(path) + QStringLiteral(".tarvix-XXXXXX"));
    if (FolderOf(path).isEmpty()) temp = QByteArray(".tarvix-XXXXXX");
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    (void)::fchmod(fd, 0666 & ~kUmask); // mkstemp's 0600 would hide the picture from others
    bool ok = WriteAll(fd, data, size);
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(temp.constData(), NativePath(path).constData()) == 0;
    if (!ok) ::unlink(temp.constData());
    return ok;
}

} // namespace tarvix
