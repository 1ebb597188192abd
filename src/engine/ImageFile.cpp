#include "engine/ImageFile.h"

#include "core/FormatRegistry.h"
#include "dds/DdsReader.h"
#include "engine/PixelStore.h"
#include "platform/Paths.h"
#include "platform/TerminationSignals.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
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

// The hidden temporaries in the output folders at this moment, for the signal
// handlers: where the file system has no unnamed files, SIGINT, SIGTERM and
// SIGHUP must not leave a half-written picture behind.
constexpr int kTemporarySlots = 512;
std::atomic<const char*> gTemporaries[kTemporarySlots];

void RemoveTemporaries() {
    for (std::atomic<const char*>& slot : gTemporaries)
        if (const char* path = slot.load()) ::unlink(path);
}

int RegisterTemporary(const char* path) {
    RunOnTerminationSignals(RemoveTemporaries);
    for (int i = 0; i < kTemporarySlots; ++i) {
        const char* empty = nullptr;
        if (gTemporaries[i].compare_exchange_strong(empty, path)) return i;
    }
    return -1; // more files at once than slots: that one is swept later instead
}

void UnregisterTemporary(int& slot) {
    if (slot >= 0) gTemporaries[slot].store(nullptr);
    slot = -1;
}

} // namespace

void SweepStaleTemporaries(const QString& folder) {
    DIR* dir = ::opendir(NativePath(folder).constData());
    if (!dir) return;
    const std::time_t dayAgo = std::time(nullptr) - 24 * 60 * 60;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, ".tarvix-", 8) != 0) continue;
        struct stat st {};
        // Only this user's own, left by a run that was killed a day ago or more.
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_mtime < dayAgo)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

dds::Request TextureRequest(const Settings& s) {
    dds::Request request;
    request.selection.mip = uint32_t(std::max(0, s.ddsMipLevel));
    request.selection.layer = uint32_t(std::max(0, s.ddsLayer));
    request.selection.cube = s.ddsCubeLayout == 1   ? dds::CubeLayout::Cross
                             : s.ddsCubeLayout == 2 ? dds::CubeLayout::Strip
                                                    : dds::CubeLayout::First;
    request.normals = s.ddsNormalMap == 1   ? dds::NormalMapMode::Raw
                      : s.ddsNormalMap == 2 ? dds::NormalMapMode::Rebuild
                                            : dds::NormalMapMode::Auto;
    if (s.ddsAlpha == kDdsAlphaBackground) {
        const Rgb c = ColorText(s.ddsBackground);
        request.background = uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | uint32_t(c.blue);
    }
    return request;
}

PendingFile::~PendingFile() {
    Abandon();
}

QString PendingFile::CannotWrite(int error) const {
    return QStringLiteral("cannot write %1: %2")
        .arg(path_, QString::fromLocal8Bit(::strerror(error)));
}

void PendingFile::OpenInMemory(QByteArray* buffer) {
    Abandon();
    memory_ = buffer;
    memory_->clear();
    at_ = 0;
    error_ = 0;
}

long PendingFile::Seek(long offset, int origin) {
    if (!memory_) return long(::lseek(fd_, off_t(offset), origin));
    const qsizetype base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? at_ : memory_->size();
    if (base + offset < 0) return -1;
    at_ = base + offset;
    return long(at_);
}

bool PendingFile::Open(const QString& path, QString* reason) {
    Abandon();
    memory_ = nullptr;
    path_ = path;
    error_ = 0;
    auto fail = [&](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return fail(QStringLiteral("the output file name is empty"));
    folder_ = FolderOf(path).isEmpty() ? QStringLiteral("./") : FolderOf(path);
    // An unnamed file in the target folder: whatever ends the process before
    // the picture is complete, even SIGKILL, leaves nothing behind. Where the
    // file system has no unnamed files, a hidden temporary name stands in.
    fd_ = ::open(NativePath(folder_).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666 & ~kUmask);
    unnamed_ = fd_ >= 0;
    if (!unnamed_) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return fail(CannotWrite(errno));
        temp_ = NativePath(folder_ + QStringLiteral(".tarvix-XXXXXX"));
        fd_ = ::mkstemp(temp_.data());
        if (fd_ < 0) {
            const int error = errno;
            temp_.clear();
            return fail(CannotWrite(error));
        }
        slot_ = RegisterTemporary(temp_.constData());
        (void)::fchmod(fd_, 0666 & ~kUmask); // mkstemp's 0600 would hide the picture
    }
    return true;
}

bool PendingFile::Write(const void* data, size_t bytes) {
    const char* at = static_cast<const char*>(data);
    if (memory_) {
        if (at_ > memory_->size()) memory_->resize(at_, '\0');
        const qsizetype overlap = std::min(qsizetype(bytes), memory_->size() - at_);
        memory_->replace(at_, overlap, at, qsizetype(bytes));
        at_ += qsizetype(bytes);
        return true;
    }
    while (bytes > 0 && error_ == 0 && fd_ >= 0) {
        const ssize_t n = ::write(fd_, at, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // Remembered, so a full disk never passes for a saved picture.
            error_ = n < 0 ? errno : ENOSPC;
            break;
        }
        at += n;
        bytes -= size_t(n);
    }
    return error_ == 0 && fd_ >= 0;
}

bool PendingFile::Commit(QString* reason) {
    if (memory_) return true;
    int error = error_;
    // On the disk before it takes the final name: a power cut leaves the old
    // file or the new one, never an empty one.
    if (error == 0 && sync_ && ::fsync(fd_) != 0) error = errno;
    if (error == 0 && unnamed_) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
        // A name nothing holds yet is taken in one step: no moment exists in
        // which a killed process would leave a hidden name behind.
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, NativePath(path_).constData(),
                     AT_SYMLINK_FOLLOW) == 0) {
            if (::close(fd_) != 0) error = errno;
            fd_ = -1;
            if (error == 0) return true;
            ::unlink(NativePath(path_).constData());
            if (reason) *reason = CannotWrite(error);
            return false;
        }
        // Else under a fresh hidden name first: linking cannot replace a file,
        // renaming can, in one step.
        std::random_device random;
        for (int attempt = 0; attempt < 16 && temp_.isEmpty(); ++attempt) {
            const QByteArray name = NativePath(
                folder_ + QStringLiteral(".tarvix-%1").arg(random(), 8, 16, QLatin1Char('0')));
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                         AT_SYMLINK_FOLLOW) == 0) {
                temp_ = name;
                slot_ = RegisterTemporary(temp_.constData());
            } else if (errno != EEXIST) {
                error = errno;
                break;
            }
        }
        if (temp_.isEmpty() && error == 0) error = EEXIST;
    }
    if (::close(fd_) != 0 && error == 0) error = errno;
    fd_ = -1;
    if (error == 0 && ::rename(temp_.constData(), NativePath(path_).constData()) != 0)
        error = errno;
    if (error == 0) {
        UnregisterTemporary(slot_);
        temp_.clear();
        return true;
    }
    Abandon();
    if (reason) *reason = CannotWrite(error);
    return false;
}

void PendingFile::Abandon() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    UnregisterTemporary(slot_);
    if (!temp_.isEmpty()) ::unlink(temp_.constData());
    temp_.clear();
}

} // namespace tarvix
