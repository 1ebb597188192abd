#include "draw/Canvas.h"

#include <QPainter>
#include <cstring>

namespace tarvix {

QColor ToColor(const Rgb& rgb, int alpha) {
    return QColor(rgb.red, rgb.green, rgb.blue, qBound(0, alpha, 255));
}

QImage CreateCanvas(int width, int height) {
    if (width <= 0 || height <= 0) return QImage();
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull()) return canvas;
    canvas.fill(Qt::transparent);
    return canvas;
}

FIBITMAP* CanvasToBitmap(const QImage& canvas) {
    if (canvas.isNull()) return nullptr;
    const QImage straight = canvas.format() == QImage::Format_ARGB32
                                ? canvas
                                : canvas.convertToFormat(QImage::Format_ARGB32);
    if (straight.isNull()) return nullptr;
    const int w = straight.width(), h = straight.height();
    FIBITMAP* bitmap =
        FreeImage_Allocate(w, h, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
    if (!bitmap) return nullptr;
    // 0xAARRGGBB words are B, G, R, A bytes in memory: the library's own order.
    static_assert(FI_RGBA_BLUE == 0 && FI_RGBA_ALPHA == 3, "little-endian pixel layout");
    for (int y = 0; y < h; ++y)
        std::memcpy(FreeImage_GetScanLine(bitmap, h - 1 - y), straight.constScanLine(y),
                    size_t(w) * 4);
    return bitmap;
}

QImage BitmapToCanvas(FIBITMAP* bitmap) {
    if (!bitmap) return QImage();
    FIBITMAP* rgba = FreeImage_GetBPP(bitmap) == 32 ? bitmap : FreeImage_ConvertTo32Bits(bitmap);
    if (!rgba) return QImage();
    const int w = int(FreeImage_GetWidth(rgba)), h = int(FreeImage_GetHeight(rgba));
    QImage image(w, h, QImage::Format_ARGB32);
    if (!image.isNull())
        for (int y = 0; y < h; ++y)
            std::memcpy(image.scanLine(y), FreeImage_GetScanLine(rgba, h - 1 - y), size_t(w) * 4);
    if (rgba != bitmap) FreeImage_Unload(rgba);
    return image;
}

void CompositeOnto(FIBITMAP* image, FIBITMAP* overlay, int x, int y) {
    const int w = int(FreeImage_GetWidth(overlay)), h = int(FreeImage_GetHeight(overlay));
    FIBITMAP* part = FreeImage_Copy(image, x, y, x + w, y + h);
    if (!part) return;
    if (FIBITMAP* blended = FreeImage_Composite(overlay, FALSE, nullptr, part)) {
        FreeImage_Paste(image, blended, x, y, 256);
        FreeImage_Unload(blended);
    }
    FreeImage_Unload(part);
}

void FillRect(QImage& canvas, const QRect& rect, const QColor& color) {
    if (rect.isEmpty()) return;
    QPainter p(&canvas);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect, color);
}

void FillPolygon(QImage& canvas, const QPolygon& polygon, const QColor& color) {
    QPainter p(&canvas);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(polygon);
}

void ScaleAlpha(QImage& canvas, int alpha) {
    alpha = qBound(0, alpha, 255);
    if (alpha == 255) return;
    for (int y = 0; y < canvas.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb c = line[x];
            line[x] = qRgba(qRed(c), qGreen(c), qBlue(c), (qAlpha(c) * alpha + 127) / 255);
        }
    }
}

void DrawCanvas(QImage& target, const QImage& source, int alpha) {
    QPainter p(&target);
    p.setOpacity(qBound(0, alpha, 255) / 255.0);
    p.drawImage(0, 0, source);
}

} // namespace tarvix
