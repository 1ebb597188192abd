// Bringing the image to the output format's bits per pixel.

#include "engine/Steps.h"

namespace tarvix {

FIBITMAP* ApplyOutputDepth(FIBITMAP* image, int32_t target, const QString& ext) {
    if (!image) return nullptr;
    const unsigned bpp = FreeImage_GetBPP(image);
    if (static_cast<int32_t>(bpp) == target) return image;
    switch (target) {
    case 96:
        return ReplaceImage(image, FreeImage_ConvertToRGBF(image));
    case 48:
        return ReplaceImage(image, FreeImage_ConvertToRGB16(image));
    case 32:
        return ReplaceImage(image, FreeImage_ConvertTo32Bits(image));
    case 24:
        return ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
    case 16: {
        if (bpp > 32) {
            image = ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
            if (!image) return nullptr;
        }
        const bool five55 = ext == QLatin1String("ico") || ext == QLatin1String("tga");
        return ReplaceImage(image, five55 ? FreeImage_ConvertTo16Bits555(image)
                                          : FreeImage_ConvertTo16Bits565(image));
    }
    case 8: {
        if (ext == QLatin1String("j2k") || ext == QLatin1String("jp2") ||
            ext == QLatin1String("jpg") || ext == QLatin1String("jxr"))
            return ReplaceImage(image, FreeImage_ConvertTo8Bits(image));
        if (FreeImage_GetBPP(image) != 24) {
            image = ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
            if (!image) return nullptr;
        }
        return ReplaceImage(image, FreeImage_ColorQuantizeEx(image, FIQ_WUQUANT, 256, 0, nullptr));
    }
    case 4:
        return ReplaceImage(image, FreeImage_ConvertTo4Bits(image));
    case 1:
        return ReplaceImage(image, FreeImage_Dither(image, FID_FS));
    default:
        FreeImage_Unload(image);
        return nullptr;
    }
}

} // namespace tarvix
