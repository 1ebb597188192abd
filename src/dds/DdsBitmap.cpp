// The reader's whole-picture decode into the image library's bitmaps: kept
// apart from the reader itself, so that the default conversion, which streams,
// never loads the image library.

#include "dds/DdsReader.h"

namespace tarvix::dds {
namespace {

FIBITMAP* DecodeBitmap(const std::function<bool(const Allocator&)>& decode,
                       const Options& options) {
    FIBITMAP* dib = nullptr;
    const Allocator allocate = [&](int w, int h, int bpp) -> std::optional<Pixels> {
        dib = options.allocate ? options.allocate(w, h, bpp)
                               : FreeImage_Allocate(w, h, bpp, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                                    FI_RGBA_BLUE_MASK);
        if (!dib) return std::nullopt;
        return Pixels{FreeImage_GetBits(dib), FreeImage_GetPitch(dib),
                      reinterpret_cast<uint8_t*>(FreeImage_GetPalette(dib))};
    };
    if (decode(allocate)) return dib;
    if (dib) FreeImage_Unload(dib);
    return nullptr;
}

} // namespace

FIBITMAP* Decode(const Source& source, QString* error, const Options& options) {
    return DecodeBitmap(
        [&](const Allocator& allocate) { return DecodeInto(source, error, options, allocate); },
        options);
}

FIBITMAP* DecodeMemory(const uint8_t* data, size_t size, QString* error, int threads) {
    Options options;
    options.threads = threads;
    return Decode(MemorySource(data, size), error, options);
}

FIBITMAP* LoadFile(const QString& path, QString* error, const Options& options) {
    return DecodeBitmap(
        [&](const Allocator& allocate) { return LoadFileInto(path, error, options, allocate); },
        options);
}

} // namespace tarvix::dds
