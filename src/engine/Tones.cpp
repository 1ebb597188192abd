// Brightness, contrast, gamma and inversion; greyscale; threshold.

#include "engine/Steps.h"

namespace tarvix {

FIBITMAP* ApplyColorAdjustment(FIBITMAP* image, const Settings& s) {
    if (!image) return nullptr;
    if (!s.doImageColorCorrection) return image;
    const unsigned bpp = FreeImage_GetBPP(image);
    if (bpp < 8 || bpp > 32) {
        image = ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
        if (!image) return nullptr;
    }
    FreeImage_AdjustColors(image, double(s.imageBrightness), double(s.imageContrast),
                           double(s.imageGamma), s.imageInvert ? TRUE : FALSE);
    return image;
}

FIBITMAP* ApplyGreyscale(FIBITMAP* image, const Settings& s) {
    if (!image) return nullptr;
    if (!s.doImageGreyscale) return image;
    if (FreeImage_GetBPP(image) > 32) {
        image = ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
        if (!image) return nullptr;
    }
    return ReplaceImage(image, FreeImage_ConvertToGreyscale(image));
}

FIBITMAP* ApplyThreshold(FIBITMAP* image, const Settings& s) {
    if (!image) return nullptr;
    if (!s.doImageThreshold) return image;
    if (FreeImage_GetBPP(image) > 32) {
        image = ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
        if (!image) return nullptr;
    }
    return ReplaceImage(image, FreeImage_Threshold(image, BYTE(s.imageThreshold & 0xFF)));
}

} // namespace tarvix
