#include "engine/Thumbnail.h"

#include "dds/DdsReader.h"
#include "engine/ImageFile.h"

#include <FreeImage.h>
#include <algorithm>
#include <cmath>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace tarvix {
namespace {

// Pictures up to this many pixels are decoded whole; larger ones a strip at a
// time, averaged down as the strips arrive, so that a file manager thumbnailing
// whatever lands in a folder never holds a huge picture.
constexpr uint64_t kWholeMaxPixels = uint64_t(4) << 20;
constexpr uint32_t kStripRows = 64;

// Adds k pixels of row into each of ow sums of their channels.
template <int Bytes> void AddRow(const uint8_t* row, uint32_t ow, uint32_t k, uint32_t* sums) {
    for (uint32_t ox = 0; ox < ow; ++ox, sums += Bytes) {
        uint32_t s[Bytes] = {};
        for (uint32_t j = 0; j < k; ++j, row += Bytes)
            for (int c = 0; c < Bytes; ++c)
                s[c] += row[c];
        for (int c = 0; c < Bytes; ++c)
            sums[c] += s[c];
    }
}

FIBITMAP* AllocateLike(int w, int h, int bpp) {
    FIBITMAP* dib =
        FreeImage_Allocate(w, h, bpp, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
    if (dib && bpp == 8) {
        RGBQUAD* palette = FreeImage_GetPalette(dib);
        for (int i = 0; i < 256; ++i)
            palette[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    }
    return dib;
}

// The picture of level (and its strips) averaged over k x k pixels into a
// bitmap of width / k by height / k. Two threads take the upper and the lower
// output rows, each decoding its own strips and summing them as they come.
FIBITMAP* DecodeShrunk(const QString& input, const dds::Request& request, int size,
                       QString* reason) {
    std::unique_ptr<dds::StripReader> reader =
        dds::StripReader::Open(input, reason, false, request);
    if (!reader) return nullptr;
    const uint32_t w = reader->Width(), h = reader->Height();
    const int bpp = reader->Bpp(), bytes = bpp / 8;
    // Shrunk to about twice the thumbnail; the last step is the library's.
    const uint32_t k = std::max(1u, std::max(w, h) / uint32_t(2 * size));
    const uint32_t ow = std::max(1u, w / k), oh = std::max(1u, h / k);
    FIBITMAP* out = AllocateLike(int(ow), int(oh), bpp);
    if (!out) {
        if (reason) *reason = QStringLiteral("not enough memory for the thumbnail");
        return nullptr;
    }
    const size_t pitch = size_t(w) * size_t(bytes);
    // The lower half starts on an output row whose source rows start where a
    // strip may (the reader's alignment).
    const uint32_t align = reader->RowAlignment();
    uint32_t split = oh / 2;
    while (split > 0 && (split * k) % align != 0)
        --split;
    struct Half {
        uint32_t firstOut, endOut;
        bool ok = true;
    };
    Half halves[2] = {{0, split}, {split, oh}};
    auto shrink = [&](Half& half) {
        if (half.firstOut >= half.endOut) return;
        std::vector<uint8_t> strip;
        std::vector<uint32_t> sums;
        try {
            strip.resize(pitch * kStripRows);
            sums.assign(size_t(ow) * size_t(bytes), 0);
        } catch (const std::bad_alloc&) {
            half.ok = false;
            return;
        }
        // Source rows up to the picture's end for the last half: a strip must
        // end on the alignment unless it ends the picture.
        const uint32_t top = half.firstOut * k;
        const uint32_t bottom = half.endOut == oh ? h : half.endOut * k;
        for (uint32_t first = top; first < bottom && half.ok; first += kStripRows) {
            const uint32_t count = std::min(kStripRows, bottom - first);
            if (!reader->Decode(first, count, strip.data(), pitch)) {
                half.ok = false;
                return;
            }
            for (uint32_t r = 0; r < count; ++r) {
                const uint32_t y = first + r;
                if (y / k >= half.endOut) break;
                const uint8_t* row = strip.data() + pitch * r;
                if (bytes == 4)
                    AddRow<4>(row, ow, k, sums.data());
                else if (bytes == 3)
                    AddRow<3>(row, ow, k, sums.data());
                else
                    AddRow<1>(row, ow, k, sums.data());
                if ((y + 1) % k == 0) {
                    // The bitmap's rows run bottom-up.
                    BYTE* line = FreeImage_GetScanLine(out, int(oh - 1 - y / k));
                    const uint32_t area = k * k;
                    for (size_t i = 0; i < sums.size(); ++i)
                        line[i] = BYTE((sums[i] + area / 2) / area);
                    std::fill(sums.begin(), sums.end(), 0u);
                }
            }
        }
    };
    std::thread lower;
    try {
        lower = std::thread([&] { shrink(halves[1]); });
    } catch (const std::system_error&) {
        shrink(halves[1]);
    }
    shrink(halves[0]);
    if (lower.joinable()) lower.join();
    if (!halves[0].ok || !halves[1].ok) {
        FreeImage_Unload(out);
        if (reason) *reason = QStringLiteral("the file could not be read");
        return nullptr;
    }
    return out;
}

} // namespace

bool WriteThumbnail(const QString& input, const QString& output, int size, QString* reason) {
    if (!ThumbnailArgumentsUsable(input, output, size, reason)) return false;
    QString error;
    const std::optional<dds::Info> info = dds::Inspect(input, &error);
    if (!info) {
        if (reason) *reason = error;
        return false;
    }
    // A level of about the size asked for, when the file has one; a chain cut
    // short falls back to the largest level it holds.
    dds::Request request;
    FIBITMAP* image = nullptr;
    for (int level = int(ThumbnailLevel(*info, size)); level >= 0 && !image; --level) {
        request.selection.mip = uint32_t(level);
        const uint64_t pixels =
            uint64_t(std::max(1u, info->width >> level)) * std::max(1u, info->height >> level);
        image = pixels <= kWholeMaxPixels ? LoadInputImage(input, reason, nullptr, false, request)
                                          : DecodeShrunk(input, request, size, reason);
    }
    if (!image) return false;
    const unsigned w = FreeImage_GetWidth(image), h = FreeImage_GetHeight(image);
    if (w > unsigned(size) || h > unsigned(size)) {
        // The shape of level 0, whatever level was decoded.
        const double scale = std::min(double(size) / info->width, double(size) / info->height);
        const int tw = std::max(1, int(std::lround(info->width * scale)));
        const int th = std::max(1, int(std::lround(info->height * scale)));
        FIBITMAP* small = FreeImage_Rescale(image, tw, th, FILTER_BILINEAR);
        FreeImage_Unload(image);
        image = small;
        if (!image) {
            if (reason) *reason = QStringLiteral("the picture could not be scaled");
            return false;
        }
    }
    const bool saved = SaveImageFile(FIF_PNG, image, output, PNG_Z_BEST_SPEED, reason);
    FreeImage_Unload(image);
    return saved;
}

} // namespace tarvix
