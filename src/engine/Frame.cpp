// A solid frame of four mitred bands drawn inside the picture.

#include "engine/Steps.h"
#include "platform/Canvas.h"

namespace tarvix {

FIBITMAP* ApplyFrame(FIBITMAP* image, int w, int h, const Settings& s) {
    if (!image) return nullptr;
    if (s.doFrame == 0) return image;
    if (FreeImage_GetBPP(image) != 24) {
        image = ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
        if (!image) return nullptr;
    }
    if (s.doFrame != 1) return image;

    QImage bands = CreateCanvas(w, h);
    if (bands.isNull()) return image;
    // Bands far wider than any picture look the same as bands of a few million
    // pixels; the rasterizer's fixed-point coordinates end not much further.
    auto clampBand = [](int v) { return qBound(-(1 << 22), v, 1 << 22); };
    const int L = clampBand(s.solidLeft), R = clampBand(s.solidRight);
    const int T = clampBand(s.solidTop), B = clampBand(s.solidBottom);
    const QColor top = ToColor(ColorText(s.solidTopColor)),
                 right = ToColor(ColorText(s.solidRightColor));
    const QColor bottom = ToColor(ColorText(s.solidBottomColor)),
                 left = ToColor(ColorText(s.solidLeftColor));
    // Corner squares first; the bands' diagonal seams split them.
    FillRect(bands, QRect(0, 0, L, T), top);
    FillRect(bands, QRect(w - R, 0, R, T), right);
    FillRect(bands, QRect(w - R, h - B, R, B), bottom);
    FillRect(bands, QRect(0, h - B, L, B), left);
    FillPolygon(bands, QPolygon({QPoint(0, 0), QPoint(w, 0), QPoint(w - R, T), QPoint(L, T)}), top);
    FillPolygon(bands,
                QPolygon({QPoint(w, 0), QPoint(w, h), QPoint(w - R, h - B), QPoint(w - R, T)}),
                right);
    FillPolygon(bands,
                QPolygon({QPoint(w, h), QPoint(0, h), QPoint(L, h - B), QPoint(w - R, h - B)}),
                bottom);
    FillPolygon(bands, QPolygon({QPoint(0, h), QPoint(0, 0), QPoint(L, T), QPoint(L, h - B)}),
                left);

    // The bands are opaque or transparent, so drawing them with a constant alpha
    // is scaling their alpha; done on straight pixels it keeps colours exact.
    QImage faded = bands.convertToFormat(QImage::Format_ARGB32);
    bands = QImage();
    if (faded.isNull()) return image;
    ScaleAlpha(faded, s.solidOpacity);

    FIBITMAP* frame = CanvasToBitmap(faded);
    if (frame) {
        image = ReplaceImage(image, FreeImage_Composite(frame, FALSE, nullptr, image));
        FreeImage_Unload(frame);
    }
    return image;
}

} // namespace tarvix
