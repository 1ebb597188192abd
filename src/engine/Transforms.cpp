// Rotation, resize and flips.

#include "engine/Steps.h"
#include "settings/Settings.h"
#include "settings/Vocabulary.h"

#include <cmath>

namespace tarvix {

bool WithinStepLimits(double width, double height) {
    return width >= 1 && height >= 1 && width <= double(kMaxStepSide) &&
           height <= double(kMaxStepSide) && width * height <= double(kMaxStepPixels);
}

FIBITMAP* ReplaceImage(FIBITMAP* image, FIBITMAP* converted) {
    if (image && converted != image) FreeImage_Unload(image);
    return converted;
}

FIBITMAP* ApplyRotation(FIBITMAP* image, const Settings& s) {
    if (!image) return nullptr;
    if (!s.doImageRotation) return image;
    const int angle = s.imageRotation;
    if (angle < 1 || angle > 359) return image;
    const double width = FreeImage_GetWidth(image), height = FreeImage_GetHeight(image);
    const unsigned bpp = FreeImage_GetBPP(image);
    if (bpp <= 16 || bpp > 32) {
        image = ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
        if (!image) return nullptr;
    }
    if (s.imageRotationType == kRotationSimple) {
        // The whole rotated picture: its bounding box must stay within reach.
        const double radians = angle * M_PI / 180.0;
        const double c = std::fabs(std::cos(radians)), sn = std::fabs(std::sin(radians));
        if (!WithinStepLimits(width * c + height * sn + 2, width * sn + height * c + 2))
            return ReplaceImage(image, nullptr);
        const Rgb back = ColorText(s.imageRotationBackColor);
        RGBQUAD color{BYTE(back.blue), BYTE(back.green), BYTE(back.red), 0};
        return ReplaceImage(image, FreeImage_Rotate(image, double(angle), &color));
    }
    if (s.imageRotationType == kRotationAdvanced)
        return ReplaceImage(image, FreeImage_RotateEx(image, double(angle), 0.0, 0.0, width / 2.0,
                                                      height / 2.0, FALSE));
    return image;
}

int ScaleByUnit(int value, int unit, int current) {
    if (unit == 0) return value;
    if (unit == 1) {
        const double scaled = std::nearbyint(value / 100.0 * current); // ties to even
        if (scaled > 2147483647.0 || scaled < -2147483648.0) return 0;
        return int(scaled);
    }
    return 0;
}

FREE_IMAGE_FILTER ResizeFilter(int code) {
    switch (code) {
    case 0:
        return FILTER_BOX;
    case 1:
        return FILTER_BILINEAR;
    case 2:
        return FILTER_BSPLINE;
    case 3:
        return FILTER_BICUBIC;
    case 4:
        return FILTER_CATMULLROM;
    case 5:
        return FILTER_LANCZOS3;
    default:
        return FILTER_BICUBIC;
    }
}

FIBITMAP* ApplyResize(FIBITMAP* image, int width, int height, const Settings& s) {
    if (!image) return nullptr;
    if (!s.doImageResize) return image;
    const int targetWidth = ScaleByUnit(s.imageWidth, s.imageWidthUnit, width);
    const int targetHeight = ScaleByUnit(s.imageHeight, s.imageHeightUnit, height);
    if (targetWidth <= 0 || targetHeight <= 0) return image;
    if (width == targetWidth && height == targetHeight) return image;
    if (s.imageResizeType == 1 && width < targetWidth && height < targetHeight) return image;
    long newWidth = targetWidth, newHeight = targetHeight;
    if (s.keepAspectRatio) {
        if (width >= height) {
            const float ratio = float(width) / float(height);
            newHeight = std::lround(float(targetWidth) / ratio);
        } else {
            const float ratio = float(height) / float(width);
            newWidth = std::lround(float(targetHeight) / ratio);
        }
    }
    // A size the library cannot produce (0, or far beyond memory) fails the file.
    if (!WithinStepLimits(double(newWidth), double(newHeight))) return ReplaceImage(image, nullptr);
    return ReplaceImage(image, FreeImage_Rescale(image, int(newWidth), int(newHeight),
                                                 ResizeFilter(s.imageResizeAlgorithm)));
}

void ApplyFlips(FIBITMAP* image, const Settings& s) {
    if (!image) return;
    if (s.doImageFlipHorizontal) FreeImage_FlipHorizontal(image);
    if (s.doImageFlipVertical) FreeImage_FlipVertical(image);
}

} // namespace tarvix
