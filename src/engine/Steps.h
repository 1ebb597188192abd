#pragma once
// The optional steps of the pipeline, in their order. Each takes the current
// image and returns the image the pipeline continues with: the same one when it
// works in place or is off, a new one (the old released) otherwise, or null when
// the image library could not produce one.

#include "settings/Settings.h"

#include <FreeImage.h>
#include <QString>

namespace tarvix {

class PixelStore;

// Largest picture a step may produce; a request beyond it fails the file cleanly
// instead of asking the system for gigabytes.
constexpr uint64_t kMaxStepSide = 65535;
constexpr uint64_t kMaxStepPixels = uint64_t(1) << 28;
bool WithinStepLimits(double width, double height);

FIBITMAP* ApplyRotation(FIBITMAP* image, const Settings& s);
// The image library's rescale, done on two cores for large pictures; the pixels
// are those of one core's rescale within one level.
// With a store, the joined picture takes its memory (fresh pages cost more than
// the rescale).
FIBITMAP* RescaleOnCores(FIBITMAP* image, int width, int height, FREE_IMAGE_FILTER filter,
                         PixelStore* store = nullptr);
FIBITMAP* ApplyResize(FIBITMAP* image, int width, int height, const Settings& s,
                      PixelStore* store = nullptr);
void ApplyFlips(FIBITMAP* image, const Settings& s);
int ScaleByUnit(int value, int unit, int current);
FREE_IMAGE_FILTER ResizeFilter(int code);

FIBITMAP* ApplyColorAdjustment(FIBITMAP* image, const Settings& s);
FIBITMAP* ApplyGreyscale(FIBITMAP* image, const Settings& s);
FIBITMAP* ApplyThreshold(FIBITMAP* image, const Settings& s);

// Converts to target bits per pixel as the output format (extension) wants it;
// the old image is released when a new one is made. An unsupported target gives
// no image.
FIBITMAP* ApplyOutputDepth(FIBITMAP* image, int32_t target, const QString& extension);

// Replaces image by converted, releasing image when a different bitmap came back.
FIBITMAP* ReplaceImage(FIBITMAP* image, FIBITMAP* converted);

} // namespace tarvix
