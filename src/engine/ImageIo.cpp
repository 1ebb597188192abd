// Reading the input into an image library bitmap and encoding a bitmap into the
// output file: the whole-picture path's ends, in its own library.

#include "engine/ImageFile.h"

#include "dds/DdsReader.h"
#include "engine/PixelStore.h"

namespace tarvix {
namespace {

unsigned DLL_CALLCONV SinkWrite(void* buffer, unsigned size, unsigned count, fi_handle handle) {
    return static_cast<PendingFile*>(handle)->Write(buffer, size_t(size) * count) ? count : 0;
}

unsigned DLL_CALLCONV SinkRead(void*, unsigned, unsigned, fi_handle) {
    return 0;
}

int DLL_CALLCONV SinkSeek(fi_handle handle, long offset, int origin) {
    return static_cast<PendingFile*>(handle)->Seek(offset, origin) < 0 ? -1 : 0;
}

long DLL_CALLCONV SinkTell(fi_handle handle) {
    return static_cast<PendingFile*>(handle)->Seek(0, SEEK_CUR);
}

} // namespace

FIBITMAP* LoadInputImage(const QString& path, QString* reason, PixelStore* store, bool opaque,
                         const dds::Request& request) {
    // The program's own reader replaces the image library's DDS loader, which
    // trusts the header and misreads several block formats.
    dds::Options options;
    options.opaque = opaque;
    options.request = request;
    if (store)
        options.allocate = [store](int w, int h, int bpp) { return store->Allocate(w, h, bpp); };
    return dds::LoadFile(path, reason, options);
}

bool SaveImageFile(int format, FIBITMAP* image, const QString& path, int flags, QString* reason,
                   QByteArray* memory) {
    if (!image) {
        if (reason) *reason = QStringLiteral("the picture could not be processed");
        return false;
    }
    PendingFile file;
    if (memory)
        file.OpenInMemory(memory);
    else if (!file.Open(path, reason))
        return false;
    FreeImageIO io{SinkRead, SinkWrite, SinkSeek, SinkTell};
    const bool encoded =
        FreeImage_SaveToHandle(static_cast<FREE_IMAGE_FORMAT>(format), image, &io, &file, flags);
    if (!file.Failed() && !encoded) {
        file.Abandon();
        if (reason) *reason = QStringLiteral("the image library could not encode %1").arg(path);
        return false;
    }
    return file.Commit(reason);
}

} // namespace tarvix
