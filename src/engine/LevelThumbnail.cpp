// Thumbnails of textures that hold a level of the size asked for (what a file
// manager usually meets: a mip chain and a power-of-two size). That level is
// decoded by the DDS reader and written by libpng, and the image library with
// the twenty libraries behind it is never loaded; any other texture is handed
// to the image library, which shrinks it.

#include "core/PluginApi.h"
#include "dds/DdsReader.h"
#include "engine/ImageFile.h"
#include "engine/StreamJpeg.h"
#include "engine/Thumbnail.h"
#include "platform/Plugins.h"

#include <csetjmp>
#include <vector>

#include <png.h>

namespace tarvix {
namespace {

// Gathered and written in one piece: libpng hands over a few bytes at a time.
void WritePngData(png_structp png, png_bytep data, png_size_t length) {
    auto* encoded = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    encoded->insert(encoded->end(), data, data + length);
}

void FlushPng(png_structp) {}

[[noreturn]] void PngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// The rows (top first, pitch bytes apart, the reader's byte order) as PNG: the
// colour type, compression level and resolution the image library writes a
// thumbnail with, so the two paths give the same file to a reader.
bool EncodePng(std::vector<uint8_t>& encoded, const std::vector<uint8_t>& pixels, size_t pitch,
               uint32_t w, uint32_t h, int bpp) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &PngError, &PngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &encoded, &WritePngData, &FlushPng);
    png_set_compression_level(png, 1);
    // A picture whose alpha is opaque throughout is written without it, as
    // the image library writes it.
    bool opaque = bpp == 32;
    for (uint32_t y = 0; y < h && opaque; ++y)
        for (uint32_t x = 0; x < w && opaque; ++x)
            opaque = pixels[pitch * y + 4 * x + 3] == 0xFF;
    const int type = bpp == 32 && !opaque ? PNG_COLOR_TYPE_RGB_ALPHA
                     : bpp == 8           ? PNG_COLOR_TYPE_GRAY
                                          : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, w, h, 8, type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    const auto dpm = png_uint_32(kImageLibraryDotsPerMeter);
    png_set_pHYs(png, info, dpm, dpm, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    if (bpp > 8) png_set_bgr(png);
    if (opaque) png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (uint32_t y = 0; y < h; ++y)
        png_write_row(png, pixels.data() + pitch * y);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// True when the texture's level for size needs no scaling and was written;
// false leaves the work (and any reason) to the image library.
bool WriteLevel(const QString& input, const QString& output, int size, QString* reason,
                bool* written) {
    QString ignored;
    const std::optional<dds::Info> info = dds::Inspect(input, &ignored);
    if (!info) return false;
    dds::Request request;
    request.selection.mip = ThumbnailLevel(*info, size);
    std::unique_ptr<dds::StripReader> reader =
        dds::StripReader::Open(input, &ignored, false, request);
    if (!reader || reader->Width() > uint32_t(size) || reader->Height() > uint32_t(size))
        return false;
    const uint32_t w = reader->Width(), h = reader->Height();
    const int bpp = reader->Bpp();
    const size_t pitch = size_t(w) * size_t(bpp / 8);
    std::vector<uint8_t> pixels(pitch * h);
    if (!reader->Decode(0, h, pixels.data(), pitch)) return false;
    std::vector<uint8_t> encoded;
    encoded.reserve(pixels.size() / 2);
    if (!EncodePng(encoded, pixels, pitch, w, h, bpp)) {
        if (reason) *reason = QStringLiteral("the thumbnail could not be encoded");
        *written = false;
        return true;
    }
    PendingFile file;
    if (!file.Open(output, reason)) {
        *written = false;
        return true;
    }
    file.SkipSync();
    file.Write(encoded.data(), encoded.size());
    *written = file.Commit(reason);
    return true;
}

bool WriteThumbnailOfLevel(const QString& input, const QString& output, int size, QString* reason) {
    if (!ThumbnailArgumentsUsable(input, output, size, reason)) return false;
    bool written = false;
    if (WriteLevel(input, output, size, reason, &written)) return written;
    QString error;
    const ImageApi* image = Imaging(&error);
    if (!image) {
        if (reason) *reason = QStringLiteral("the image library could not be loaded: ") + error;
        return false;
    }
    return image->writeThumbnail(input, output, size, reason);
}

} // namespace
} // namespace tarvix

extern "C" const tarvix::ThumbnailApi* tarvix_thumbnail_api() {
    static const tarvix::ThumbnailApi api{&tarvix::WriteThumbnailOfLevel};
    return &api;
}
