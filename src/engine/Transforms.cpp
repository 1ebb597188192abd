// Rotation, resize and flips.

#include "engine/PixelStore.h"
#include "engine/Steps.h"
#include "settings/Settings.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
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
// Output rows a band aims at: its bitmaps (the library's intermediate and
// result) stay a few MiB, so that after the first band they come from memory
// already in use instead of fresh pages the system must clear first.
constexpr int kBandRows = 128;

// The joined picture, made like the first band's result (depth, palette,
// resolution, metadata); null when it cannot be had.
FIBITMAP* JoinedLike(FIBITMAP* band, int width, int height, PixelStore* store) {
    const unsigned bpp = FreeImage_GetBPP(band);
    const bool plain =
        FreeImage_GetImageType(band) == FIT_BITMAP && (bpp == 8 || bpp == 24 || bpp == 32);
    FIBITMAP* out =
        store && plain
            ? store->Allocate(width, height, int(bpp))
            : FreeImage_AllocateT(FreeImage_GetImageType(band), width, height, int(bpp),
                                  FreeImage_GetRedMask(band), FreeImage_GetGreenMask(band),
                                  FreeImage_GetBlueMask(band));
    if (!out) return nullptr;
    if (FreeImage_GetColorsUsed(band) > 0)
        std::memcpy(FreeImage_GetPalette(out), FreeImage_GetPalette(band),
                    FreeImage_GetColorsUsed(band) * sizeof(RGBQUAD));
    FreeImage_SetDotsPerMeterX(out, FreeImage_GetDotsPerMeterX(band));
    FreeImage_SetDotsPerMeterY(out, FreeImage_GetDotsPerMeterY(band));
    FreeImage_CloneMetadata(out, band);
    return out;
}

} // namespace

FIBITMAP* RescaleOnCores(FIBITMAP* image, int dstWidth, int dstHeight, FREE_IMAGE_FILTER filter,
                         PixelStore* store) {
    const int srcWidth = int(FreeImage_GetWidth(image)),
              srcHeight = int(FreeImage_GetHeight(image));
    auto whole = [&] { return FreeImage_Rescale(image, dstWidth, dstHeight, filter); };
    if (std::thread::hardware_concurrency() < 2 ||
        uint64_t(dstWidth) * uint64_t(dstHeight) < kBandedMinPixels)
        return whole();
    // Bands of output rows, taken in turn by two threads. Each starts on a whole
    // period of the scale (so its rows sit exactly where the whole rescale puts
    // them) and reads whole periods beyond its edges, at least as far as the
    // filter reaches, which it then drops: every pixel is the whole rescale's,
    // to the library's rounding (one level at most: its weights are summed from
    // another origin).
    const int common = std::gcd(srcHeight, dstHeight);
    const int dstPeriod = dstHeight / common, srcPeriod = srcHeight / common;
    // An enlargement keeps two bands: the fewer seams the better its rounding
    // matches, and its intermediates are no larger than its result.
    const int aim = dstHeight <= srcHeight ? kBandRows : (dstHeight + 1) / 2;
    const int bandRows = std::max(1, aim / dstPeriod) * dstPeriod;
    const int bands = (dstHeight + bandRows - 1) / bandRows;
    if (bands < 2) return whole();
    const double reach =
        FilterReach(filter) * std::max(1.0, double(srcHeight) / double(dstHeight)) + 2.0;
    const int srcMargin = int(std::ceil(reach / double(srcPeriod))) * srcPeriod;

    std::mutex mutex;
    FIBITMAP* out = nullptr;
    bool failed = false;
    std::atomic<int> next{0};
    auto work = [&] {
        for (int k = next++; k < bands; k = next++) {
            const int first = k * bandRows, rows = std::min(bandRows, dstHeight - first);
            const int srcFirst = first / dstPeriod * srcPeriod;
            const int srcRows = (first + rows) / dstPeriod * srcPeriod - srcFirst;
            const int top = std::max(0, srcFirst - srcMargin);
            const int bottom = std::min(srcHeight, srcFirst + srcRows + srcMargin);
            const int skip = first - top / srcPeriod * dstPeriod;
            FIBITMAP* band = FreeImage_RescaleRect(
                image, dstWidth, int(int64_t(bottom - top) * dstHeight / srcHeight), 0, top,
                srcWidth, bottom, filter, FI_RESCALE_DEFAULT);
            FIBITMAP* target = nullptr;
            {
                std::lock_guard lock(mutex);
                if (band && !out && !failed) {
                    out = JoinedLike(band, dstWidth, dstHeight, store);
                    failed = !out;
                }
                if (!band || failed || FreeImage_GetBPP(band) != FreeImage_GetBPP(out) ||
                    FreeImage_GetImageType(band) != FreeImage_GetImageType(out))
                    failed = true;
                else
                    target = out;
            }
            if (target) {
                // Rows counted from the top; the library keeps the bottom row first.
                const size_t bytes = FreeImage_GetLine(target);
                const int bandHeight = int(FreeImage_GetHeight(band));
                for (int r = 0; r < rows; ++r)
                    std::memcpy(FreeImage_GetScanLine(target, dstHeight - 1 - (first + r)),
                                FreeImage_GetScanLine(band, bandHeight - 1 - (skip + r)), bytes);
            }
            if (band) FreeImage_Unload(band);
            if (!target) return;
        }
    };
    std::thread second;
    try {
        second = std::thread(work);
    } catch (const std::system_error&) {
        return whole();
    }
    work();
    second.join();
    if (!failed && out) return out;
    if (out) FreeImage_Unload(out);
    return whole();
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
