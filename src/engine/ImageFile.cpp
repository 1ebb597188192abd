#include "engine/ImageFile.h"

#include "core/FormatRegistry.h"
#include "dds/DdsReader.h"
#include "engine/PixelStore.h"
#include "platform/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvix {

// The format table names the image library's codes without the library.
static_assert(int(kFormatBmp) == int(FIF_BMP));
static_assert(int(kFormatExr) == int(FIF_EXR));
static_assert(int(kFormatGif) == int(FIF_GIF));
static_assert(int(kFormatHdr) == int(FIF_HDR));
static_assert(int(kFormatIco) == int(FIF_ICO));
static_assert(int(kFormatJ2k) == int(FIF_J2K));
static_assert(int(kFormatJng) == int(FIF_JNG));
static_assert(int(kFormatJp2) == int(FIF_JP2));
static_assert(int(kFormatJpeg) == int(FIF_JPEG));
static_assert(int(kFormatJxr) == int(FIF_JXR));
static_assert(int(kFormatPbm) == int(FIF_PBM));
static_assert(int(kFormatPfm) == int(FIF_PFM));
static_assert(int(kFormatPgm) == int(FIF_PGM));
static_assert(int(kFormatPng) == int(FIF_PNG));
static_assert(int(kFormatPpm) == int(FIF_PPM));
static_assert(int(kFormatTarga) == int(FIF_TARGA));
static_assert(int(kFormatTiff) == int(FIF_TIFF));
static_assert(int(kFormatWbmp) == int(FIF_WBMP));
static_assert(int(kFormatWebp) == int(FIF_WEBP));
static_assert(int(kFormatXpm) == int(FIF_XPM));

namespace {

// Files are created with the permissions an ordinary open() would give them.
// Read once at start-up, on the main thread, before any worker exists.
const mode_t kUmask = [] {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}();

// The encoder writes straight into the temporary file; a write that fails is
// remembered, so a full disk never passes for a saved picture.
struct FileSink {
    int fd = -1;
    bool failed = false;
    int error = 0; // errno of the failed write
};

unsigned DLL_CALLCONV SinkWrite(void* buffer, unsigned size, unsigned count, fi_handle handle) {
    FileSink* sink = static_cast<FileSink*>(handle);
    const char* data = static_cast<const char*>(buffer);
    size_t left = size_t(size) * count;
    while (left > 0 && !sink->failed) {
        const ssize_t n = ::write(sink->fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            sink->failed = true;
            sink->error = n < 0 ? errno : ENOSPC;
            break;
        }
        data += n;
        left -= size_t(n);
    }
    return sink->failed ? 0 : count;
}

unsigned DLL_CALLCONV SinkRead(void*, unsigned, unsigned, fi_handle) {
    return 0;
}

int DLL_CALLCONV SinkSeek(fi_handle handle, long offset, int origin) {
    FileSink* sink = static_cast<FileSink*>(handle);
    return ::lseek(sink->fd, off_t(offset), origin) < 0 ? -1 : 0;
}

long DLL_CALLCONV SinkTell(fi_handle handle) {
    return long(::lseek(static_cast<FileSink*>(handle)->fd, 0, SEEK_CUR));
}

} // namespace

FIBITMAP* LoadInputImage(const QString& path, QString* reason, PixelStore* store, bool opaque) {
    // The program's own reader replaces the image library's DDS loader, which
    // trusts the header and misreads several block formats.
    dds::Options options;
    options.opaque = opaque;
    if (store)
        options.allocate = [store](int w, int h, int bpp) { return store->Allocate(w, h, bpp); };
    return dds::LoadFile(path, reason, options);
}

bool SaveImageFile(int format, FIBITMAP* image, const QString& path, int flags, QString* reason) {
    auto fail = [&](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    auto cannotWrite = [&](int error) {
        return fail(QStringLiteral("cannot write %1: %2")
                        .arg(path, QString::fromLocal8Bit(::strerror(error))));
    };
    if (!image) return fail(QStringLiteral("the picture could not be processed"));
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return fail(QStringLiteral("the output file name is empty"));
    const QString folder = FolderOf(path).isEmpty() ? QStringLiteral("./") : FolderOf(path);
    // An unnamed file in the target folder: whatever ends the process before
    // the picture is complete, even SIGKILL, leaves nothing behind. Where the
    // file system has no unnamed files, a hidden temporary name stands in.
    FileSink sink;
    QByteArray temp;
    sink.fd =
        ::open(NativePath(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666 & ~kUmask);
    const bool unnamed = sink.fd >= 0;
    if (!unnamed) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return cannotWrite(errno);
        temp = NativePath(folder + QStringLiteral(".tarvix-XXXXXX"));
        sink.fd = ::mkstemp(temp.data());
        if (sink.fd < 0) return cannotWrite(errno);
        (void)::fchmod(sink.fd, 0666 & ~kUmask); // mkstemp's 0600 would hide the picture
    }
    FreeImageIO io{SinkRead, SinkWrite, SinkSeek, SinkTell};
    const bool encoded =
        FreeImage_SaveToHandle(static_cast<FREE_IMAGE_FORMAT>(format), image, &io, &sink, flags);
    int error = sink.failed ? sink.error : 0;
    // On the disk before it takes the final name: a power cut leaves the old
    // file or the new one, never an empty one.
    if (encoded && error == 0 && ::fsync(sink.fd) != 0) error = errno;
    if (encoded && error == 0 && unnamed) {
        // Named under a fresh hidden name first: linking cannot replace a file,
        // renaming can, in one step.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(sink.fd);
        std::random_device random;
        for (int attempt = 0; attempt < 16 && temp.isEmpty(); ++attempt) {
            const QByteArray name = NativePath(
                folder + QStringLiteral(".tarvix-%1").arg(random(), 8, 16, QLatin1Char('0')));
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                         AT_SYMLINK_FOLLOW) == 0)
                temp = name;
            else if (errno != EEXIST) {
                error = errno;
                break;
            }
        }
        if (temp.isEmpty() && error == 0) error = EEXIST;
    }
    if (::close(sink.fd) != 0 && error == 0) error = errno;
    if (encoded && error == 0 && ::rename(temp.constData(), NativePath(path).constData()) != 0)
        error = errno;
    if (encoded && error == 0) return true;
    if (!temp.isEmpty()) ::unlink(temp.constData());
    if (error != 0) return cannotWrite(error);
    return fail(QStringLiteral("the image library could not encode %1").arg(path));
}

} // namespace tarvix
