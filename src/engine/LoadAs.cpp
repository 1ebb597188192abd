#include "engine/LoadAs.h"

#include <cstdint>
#include <new>
#include <vector>

namespace tarvix {

FIBITMAP* ApplyLoadAs(FIBITMAP* image, int loadAs) {
    if (!image || loadAs != 2) return image;
    if (FreeImage_GetBPP(image) != 32) {
        FIBITMAP* converted = FreeImage_ConvertTo32Bits(image);
        FreeImage_Unload(image);
        image = converted;
        if (!image) return nullptr;
    }
    const unsigned width = FreeImage_GetWidth(image);
    const unsigned height = FreeImage_GetHeight(image);
    const unsigned bpp = 32;
    const size_t pitch = size_t(width) * (bpp / 8);
    std::vector<uint8_t> buffer;
    try {
        buffer.assign(pitch * height, 0);
    } catch (const std::bad_alloc&) {
        return image;
    }
    FreeImage_ConvertToRawBits(buffer.data(), image, int(pitch), bpp, FI_RGBA_RED_MASK,
                               FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    for (size_t i = 0; i + 3 < buffer.size(); i += 4)
        std::swap(buffer[i], buffer[i + 2]);
    FIBITMAP* swapped = FreeImage_ConvertFromRawBits(buffer.data(), int(width), int(height),
                                                     int(pitch), bpp, FI_RGBA_RED_MASK,
                                                     FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    FreeImage_Unload(image);
    return swapped;
}

} // namespace tarvix
