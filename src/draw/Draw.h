#pragma once
// The frame and the watermark, drawn by the drawing library. Each takes the
// current picture and returns the one the pipeline continues with.

#include "request/Naming.h"
#include "settings/Settings.h"

#include <FreeImage.h>

class QFont;

namespace tarvix {

// What a frame or watermark is composited over: only the parts of the picture it
// covers (what a conversion does), or a canvas of the whole picture, the plain
// form the first must equal.
enum class DrawArea { Covered, WholePicture };

FIBITMAP* DrawFrame(FIBITMAP* image, int width, int height, const Settings& s,
                    DrawArea area = DrawArea::Covered);
// The text watermark's placeholders come from facts; font is the run's font for
// this thread (a text watermark without one draws nothing).
FIBITMAP* StampWatermark(FIBITMAP* image, int width, int height, const NameFacts& facts,
                         const QFont* font, const Settings& s, DrawArea area = DrawArea::Covered);

// The forms the drawing library's table offers.
FIBITMAP* ApplyFrame(FIBITMAP* image, int width, int height, const Settings& s);
FIBITMAP* ApplyWatermark(FIBITMAP* image, int width, int height, const NameFacts& facts,
                         const QFont* font, const Settings& s);

} // namespace tarvix
