// Rotation, resize and flips.

#include "engine/PixelStore.h"
#include "engine/Steps.h"
#include "settings/Settings.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <system_error>
#include <thread>

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

namespace {

// How far each filter reaches, in its own units (the image library's widths).
double FilterReach(FREE_IMAGE_FILTER filter) {
    switch (filter) {
    case FILTER_BOX:
        return 0.5;
    case FILTER_BILINEAR:
        return 1.0;
    case FILTER_LANCZOS3:
        return 3.0;
    default:
        return 2.0;
    }
}

// Pictures smaller than this are rescaled on one core: a second thread costs
// more than it saves.
constexpr uint64_t kBandedMinPixels = 512 * 512;

} // namespace

FIBITMAP* RescaleOnCores(FIBITMAP* image, int dstWidth, int dstHeight, FREE_IMAGE_FILTER filter,
                         PixelStore* store) {
    const int srcWidth = int(FreeImage_GetWidth(image)),
              srcHeight = int(FreeImage_GetHeight(image));
    auto whole = [&] { return FreeImage_Rescale(image, dstWidth, dstHeight, filter); };
    if (std::thread::hardware_concurrency() < 2 ||
        uint64_t(dstWidth) * uint64_t(dstHeight) < kBandedMinPixels)
        return whole();
    // Two bands of output rows. Each starts on a whole period of the scale (so
    // its rows sit exactly where the whole rescale puts them) and reads whole
    // periods beyond its edge, at least as far as the filter reaches, which it
    // then drops: every pixel is the whole rescale's, to the library's rounding
    // (one level at most: its weights are summed from another origin).
    const int common = std::gcd(srcHeight, dstHeight);
    const int dstPeriod = dstHeight / common, srcPeriod = srcHeight / common;
    const int split = (dstHeight / 2) / dstPeriod * dstPeriod;
    if (split <= 0 || split >= dstHeight) return whole();
    const double reach =
        FilterReach(filter) * std::max(1.0, double(srcHeight) / double(dstHeight)) + 2.0;
    const int periods = int(std::ceil(reach / double(srcPeriod)));
    const int srcSplit = split / dstPeriod * srcPeriod;
    const int srcMargin = periods * srcPeriod;
    struct Band {
        int top, bottom; // source rows
        int skip;        // output rows dropped at its top
        FIBITMAP* out = nullptr;
    };
    Band bands[2] = {{0, std::min(srcHeight, srcSplit + srcMargin), 0},
                     {std::max(0, srcSplit - srcMargin), srcHeight,
                      split - std::max(0, srcSplit - srcMargin) / srcPeriod * dstPeriod}};
    auto rescale = [&](Band& b) {
        const int rows = int(int64_t(b.bottom - b.top) * dstHeight / srcHeight);
        b.out = FreeImage_RescaleRect(image, dstWidth, rows, 0, b.top, srcWidth, b.bottom, filter,
                                      FI_RESCALE_DEFAULT);
    };
    std::thread second;
    try {
        second = std::thread([&] { rescale(bands[1]); });
    } catch (const std::system_error&) {
        return whole();
    }
    rescale(bands[0]);
    second.join();
    FIBITMAP* out = nullptr;
    if (bands[0].out && bands[1].out &&
        FreeImage_GetBPP(bands[0].out) == FreeImage_GetBPP(bands[1].out)) {
        FIBITMAP* first = bands[0].out;
        const unsigned bpp = FreeImage_GetBPP(first);
        const bool plain =
            FreeImage_GetImageType(first) == FIT_BITMAP && (bpp == 8 || bpp == 24 || bpp == 32);
        out = store && plain ? store->Allocate(dstWidth, dstHeight, int(bpp))
                             : FreeImage_AllocateT(FreeImage_GetImageType(first), dstWidth,
                                                   dstHeight, int(bpp), FreeImage_GetRedMask(first),
                                                   FreeImage_GetGreenMask(first),
                                                   FreeImage_GetBlueMask(first));
    }
    if (out) {
        FIBITMAP* first = bands[0].out;
        if (FreeImage_GetColorsUsed(first) > 0)
            std::memcpy(FreeImage_GetPalette(out), FreeImage_GetPalette(first),
                        FreeImage_GetColorsUsed(first) * sizeof(RGBQUAD));
        FreeImage_SetDotsPerMeterX(out, FreeImage_GetDotsPerMeterX(first));
        FreeImage_SetDotsPerMeterY(out, FreeImage_GetDotsPerMeterY(first));
        FreeImage_CloneMetadata(out, first);
        // Rows counted from the top; the library keeps the bottom row first.
        const size_t bytes = FreeImage_GetLine(out);
        for (int y = 0; y < dstHeight; ++y) {
            const Band& b = y < split ? bands[0] : bands[1];
            const int row = y < split ? y : y - split + b.skip;
            std::memcpy(FreeImage_GetScanLine(out, dstHeight - 1 - y),
                        FreeImage_GetScanLine(b.out, int(FreeImage_GetHeight(b.out)) - 1 - row),
                        bytes);
        }
    }
    for (Band& b : bands)
        if (b.out) FreeImage_Unload(b.out);
    return out ? out : whole();
}

FIBITMAP* ApplyResize(FIBITMAP* image, int width, int height, const Settings& s,
                      PixelStore* store) {
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
    return ReplaceImage(image, RescaleOnCores(image, int(newWidth), int(newHeight),
                                              ResizeFilter(s.imageResizeAlgorithm), store));
}

void ApplyFlips(FIBITMAP* image, const Settings& s) {
    if (!image) return;
    if (s.doImageFlipHorizontal) FreeImage_FlipHorizontal(image);
    if (s.doImageFlipVertical) FreeImage_FlipVertical(image);
}

} // namespace tarvix
