// A solid frame of four mitred bands drawn inside the picture.

#include "draw/Draw.h"

#include "draw/Canvas.h"
#include "engine/Steps.h"
#include "settings/Vocabulary.h"

#include <vector>

namespace tarvix {
namespace {

struct Bands {
    int w, h, L, R, T, B;
    QColor top, right, bottom, left;
};

// Draws the bands into a canvas that covers the picture's rectangle area,
// placed at area.topLeft(): whole-pixel shifts leave every covered pixel as it
// is on a canvas of the whole picture.
QImage DrawBands(const Bands& b, const QRect& area, int opacity) {
    QImage canvas = CreateCanvas(area.width(), area.height());
    if (canvas.isNull()) return canvas;
    const QPoint o = area.topLeft();
    auto rect = [&](int x, int y, int rw, int rh) { return QRect(x, y, rw, rh).translated(-o); };
    auto poly = [&](std::initializer_list<QPoint> points) {
        return QPolygon(points).translated(-o);
    };
    const int w = b.w, h = b.h, L = b.L, R = b.R, T = b.T, B = b.B;
    // Corner squares first; the bands' diagonal seams split them.
    FillRect(canvas, rect(0, 0, L, T), b.top);
    FillRect(canvas, rect(w - R, 0, R, T), b.right);
    FillRect(canvas, rect(w - R, h - B, R, B), b.bottom);
    FillRect(canvas, rect(0, h - B, L, B), b.left);
    FillPolygon(canvas, poly({{0, 0}, {w, 0}, {w - R, T}, {L, T}}), b.top);
    FillPolygon(canvas, poly({{w, 0}, {w, h}, {w - R, h - B}, {w - R, T}}), b.right);
    FillPolygon(canvas, poly({{w, h}, {0, h}, {L, h - B}, {w - R, h - B}}), b.bottom);
    FillPolygon(canvas, poly({{0, h}, {0, 0}, {L, T}, {L, h - B}}), b.left);
    // The bands are opaque or transparent, so drawing them with a constant alpha
    // is scaling their alpha; done on straight pixels it keeps colours exact.
    QImage faded = canvas.convertToFormat(QImage::Format_ARGB32);
    if (!faded.isNull()) ScaleAlpha(faded, opacity);
    return faded;
}

// Composites the canvas over the picture's area. Returns the picture the
// pipeline continues with (the same one when only a part was drawn on).
FIBITMAP* Composite(FIBITMAP* image, const QImage& canvas, const QRect& area, bool whole) {
    FIBITMAP* overlay = CanvasToBitmap(canvas);
    if (!overlay) return image;
    if (whole) {
        image = ReplaceImage(image, FreeImage_Composite(overlay, FALSE, nullptr, image));
    } else {
        CompositeOnto(image, overlay, area.left(), area.top());
    }
    FreeImage_Unload(overlay);
    return image;
}

} // namespace

FIBITMAP* DrawFrame(FIBITMAP* image, int w, int h, const Settings& s, DrawArea area) {
    const bool wholeCanvas = area == DrawArea::WholePicture;
    if (!image) return nullptr;
    if (s.doFrame == kFrameNone) return image;
    if (FreeImage_GetBPP(image) != 24) {
        image = ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
        if (!image) return nullptr;
    }
    if (s.doFrame != kFrameSolid || w <= 0 || h <= 0) return image;

    // Bands far wider than any picture look the same as bands of a few million
    // pixels; the rasterizer's fixed-point coordinates end not much further.
    auto clampBand = [](int v) { return qBound(-(1 << 22), v, 1 << 22); };
    const Bands b{w,
                  h,
                  clampBand(s.solidLeft),
                  clampBand(s.solidRight),
                  clampBand(s.solidTop),
                  clampBand(s.solidBottom),
                  ToColor(ColorText(s.solidTopColor)),
                  ToColor(ColorText(s.solidRightColor)),
                  ToColor(ColorText(s.solidBottomColor)),
                  ToColor(ColorText(s.solidLeftColor))};

    // Ordinary bands lie in four strips along the edges; only those are drawn
    // and composited. Overlapping or negative bands take the whole picture.
    const bool strips = !wholeCanvas && b.L >= 0 && b.R >= 0 && b.T >= 0 && b.B >= 0 &&
                        b.L + b.R <= w && b.T + b.B <= h;
    std::vector<QRect> areas;
    if (strips) {
        for (const QRect& r :
             {QRect(0, 0, w, b.T), QRect(0, h - b.B, w, b.B), QRect(0, b.T, b.L, h - b.T - b.B),
              QRect(w - b.R, b.T, b.R, h - b.T - b.B)})
            if (!r.isEmpty()) areas.push_back(r);
    } else {
        areas.push_back(QRect(0, 0, w, h));
    }
    for (const QRect& area : areas) {
        const QImage canvas = DrawBands(b, area, s.solidOpacity);
        if (canvas.isNull()) continue;
        image = Composite(image, canvas, area, !strips);
        if (!image) return nullptr;
    }
    return image;
}

FIBITMAP* ApplyFrame(FIBITMAP* image, int w, int h, const Settings& s) {
    return DrawFrame(image, w, h, s);
}

} // namespace tarvix
