#include "engine/PixelStore.h"

#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace tarvix {
namespace {

constexpr size_t kHugePage = size_t(2) << 20;
// Below this, ordinary pages are cheap enough: above it their faults (one per
// 4 KiB) cost more than the system clearing a huge page or two.
constexpr size_t kWorthIt = size_t(1) << 20;

} // namespace

PixelStore::~PixelStore() {
    for (const Block& b : blocks_)
        std::free(b.pixels);
}

FIBITMAP* PixelStore::Allocate(int width, int height, int bpp) {
    const unsigned red = bpp >= 24 ? FI_RGBA_RED_MASK : 0;
    const unsigned green = bpp >= 24 ? FI_RGBA_GREEN_MASK : 0;
    const unsigned blue = bpp >= 24 ? FI_RGBA_BLUE_MASK : 0;
    // The library's own row alignment: whole 32-bit words.
    const size_t line = (size_t(width) * size_t(bpp) + 7) / 8;
    const size_t pitch = (line + 3) & ~size_t(3);
    const size_t bytes = pitch * size_t(height);
    if (bytes < kWorthIt) return FreeImage_Allocate(width, height, bpp, red, green, blue);

    void* pixels = nullptr;
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    if (posix_memalign(&pixels, kHugePage, rounded) != 0) return nullptr;
    ::madvise(pixels, rounded, MADV_HUGEPAGE); // advice only; ordinary pages work too
    if (pitch != line)
        for (int y = 0; y < height; ++y)
            std::memset(static_cast<BYTE*>(pixels) + pitch * size_t(y) + line, 0, pitch - line);
    FIBITMAP* bitmap =
        FreeImage_ConvertFromRawBitsEx(FALSE, static_cast<BYTE*>(pixels), FIT_BITMAP, width, height,
                                       int(pitch), unsigned(bpp), red, green, blue, FALSE);
    if (!bitmap) {
        std::free(pixels);
        return nullptr;
    }
    blocks_.push_back({bitmap, pixels});
    return bitmap;
}

void PixelStore::Release(const FIBITMAP* current) {
    for (auto it = blocks_.begin(); it != blocks_.end();) {
        if (it->bitmap != current) {
            std::free(it->pixels);
            it = blocks_.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace tarvix
