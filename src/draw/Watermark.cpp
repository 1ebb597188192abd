// A text or picture watermark: built as a canvas, rotated, cut to fit, placed by
// one of nine positions and composited over the picture.

#include "draw/Draw.h"

#include "draw/Canvas.h"
#include "draw/Png.h"
#include "engine/Steps.h"
#include "request/Naming.h"
#include "settings/Vocabulary.h"

#include <QFile>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <climits>
#include <cmath>
#include <cstdint>

namespace tarvix {
namespace {

struct TextLayout {
    QStringList lines;
    int maxWidth = 0;
    int maxHeight = 0;
    // 64-bit: the leading comes from the user unchecked.
    int64_t lineStep = 0;
    int64_t textHeight = 0;
};

TextLayout LayOut(const QString& text, const QFont& font, int leading) {
    TextLayout layout;
    const QFontMetrics metrics(font);
    const int breaks = int(text.toLower().count(QLatin1String("%eol%")));
    if (breaks > 0) {
        QString normalised = text;
        normalised.replace(QLatin1String("%eol%"), QLatin1String("%eol%"), Qt::CaseInsensitive);
        layout.lines = normalised.split(QLatin1String("%eol%"));
        layout.maxWidth = layout.maxHeight = 10;
        for (const QString& line : layout.lines) {
            layout.maxWidth = std::max(layout.maxWidth, metrics.horizontalAdvance(line));
            layout.maxHeight = std::max(layout.maxHeight, metrics.height());
        }
        layout.lineStep = int64_t(layout.maxHeight) + leading;
        layout.textHeight = layout.maxHeight + layout.lineStep * breaks;
    } else {
        layout.lines = QStringList{text};
        layout.maxWidth = metrics.horizontalAdvance(text);
        layout.maxHeight = metrics.height();
        layout.textHeight = layout.maxHeight;
    }
    return layout;
}

int LineX(int alignment, int blockWidth, int lineWidth, int padding, bool single) {
    if (single) return padding;
    switch (alignment) {
    case 0:
        return padding;
    case 1:
        return int(std::lround((blockWidth - lineWidth) / 2.0));
    case 2:
        return blockWidth - lineWidth - padding;
    default:
        return 0;
    }
}

QColor WithAlpha(const QString& text, int alpha) {
    return ToColor(ColorText(text), alpha);
}

// Plain drawing writes every channel: background pixels take the background
// colour and opacity, glyph pixels the text colour and opacity, exactly.
QImage PlainText(const TextLayout& layout, const QFont& font, int blockWidth, int blockHeight,
                 const Settings& s) {
    QImage canvas(blockWidth, blockHeight, QImage::Format_ARGB32);
    if (canvas.isNull()) return canvas;
    const QColor back = WithAlpha(s.backColor, s.backOpacity);
    const QColor fore = WithAlpha(s.fontColor, s.textOpacity);
    canvas.fill(back.rgba());

    // The glyphs as a mask, drawn without smoothing.
    QImage mask(blockWidth, blockHeight, QImage::Format_ARGB32_Premultiplied);
    if (mask.isNull()) return QImage();
    mask.fill(Qt::transparent);
    QFont plain = font;
    plain.setStyleStrategy(QFont::NoAntialias);
    {
        QPainter p(&mask);
        p.setFont(plain);
        p.setPen(Qt::white);
        const QFontMetrics metrics(plain);
        const bool single = layout.lines.size() == 1;
        for (int i = 0; i < layout.lines.size(); ++i) {
            const int width = metrics.horizontalAdvance(layout.lines[i]);
            const int x = LineX(s.textAlignment, blockWidth, width, s.textPadding, single);
            const int y = int(std::clamp<int64_t>(int64_t(s.textPadding) + i * layout.lineStep,
                                                  INT_MIN / 2, INT_MAX / 2));
            p.drawText(x, y + metrics.ascent(), layout.lines[i]);
        }
    }
    const QRgb foreground = fore.rgba();
    for (int y = 0; y < blockHeight; ++y) {
        const QRgb* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < blockWidth; ++x)
            if (qAlpha(m[x]) >= 128) line[x] = foreground;
    }
    return canvas;
}

// Anti-aliased vector text over an opaque background, each then laid on a
// transparent canvas with its own opacity.
QImage VectorText(const TextLayout& layout, const QFont& font, int blockWidth, int blockHeight,
                  const Settings& s) {
    QImage background = CreateCanvas(blockWidth, blockHeight);
    QImage drawing = CreateCanvas(blockWidth, blockHeight);
    QImage text = CreateCanvas(blockWidth, blockHeight);
    if (background.isNull() || drawing.isNull() || text.isNull()) return QImage();
    background.fill(WithAlpha(s.backColor, 255));
    {
        QPainter p(&drawing);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(s.fontColor, 255));
        const QFontMetricsF metrics(font);
        const bool single = layout.lines.size() == 1;
        for (int i = 0; i < layout.lines.size(); ++i) {
            const int width = int(std::lround(metrics.horizontalAdvance(layout.lines[i])));
            const int x = LineX(s.textAlignment, blockWidth, width, s.textPadding, single);
            const int y = int(std::clamp<int64_t>(int64_t(s.textPadding) + i * layout.lineStep,
                                                  INT_MIN / 2, INT_MAX / 2));
            QPainterPath path;
            path.addText(QPointF(x, y + metrics.ascent()), font, layout.lines[i]);
            p.drawPath(path);
        }
    }
    DrawCanvas(text, background, s.backOpacity);
    DrawCanvas(text, drawing, s.textOpacity);
    return text;
}

// Null with failed unset when there is nothing to draw; failed when the block
// would be too large to allocate.
FIBITMAP* TextWatermark(const NameFacts& facts, const QFont* watermarkFont, const Settings& s,
                        bool* failed) {
    if (!watermarkFont) return nullptr;
    const QFont& font = *watermarkFont;
    const TextLayout layout = LayOut(WatermarkText(facts, s), font, s.fontLeading);
    const double blockWidth = double(layout.maxWidth) + 2.0 * s.textPadding;
    const double blockHeight = double(layout.textHeight) + 2.0 * s.textPadding;
    if (blockWidth < 1 || blockHeight < 1) return nullptr; // an empty text draws nothing
    if (!WithinStepLimits(blockWidth, blockHeight)) {
        *failed = true;
        return nullptr;
    }
    const QImage canvas = s.textAntialiasing
                              ? VectorText(layout, font, int(blockWidth), int(blockHeight), s)
                              : PlainText(layout, font, int(blockWidth), int(blockHeight), s);
    return CanvasToBitmap(canvas);
}

FIBITMAP* PictureWatermark(const Settings& s) {
    QImageReader reader(s.image);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg" && format != "bmp") return nullptr;
    const QSize size = reader.size();
    if (size.isValid() && !WithinStepLimits(size.width(), size.height())) return nullptr;
    // PNG through libpng's own reader: the toolkit's prints libpng's errors.
    QImage picture;
    if (format == "png") {
        QFile file(s.image);
        if (!file.open(QIODevice::ReadOnly)) return nullptr;
        picture = DecodePng(file.readAll(), int(kMaxStepSide));
        if (!picture.isNull() && !WithinStepLimits(picture.width(), picture.height()))
            return nullptr;
    } else {
        picture = reader.read();
    }
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull()) return nullptr;
    // Drawing the picture while writing all four channels replaces the canvas,
    // transparent or black alike: each pixel keeps its colour and its alpha is
    // scaled by the opacity.
    QImage canvas(picture.size(), QImage::Format_ARGB32);
    if (canvas.isNull()) return nullptr;
    const int opacity = qBound(0, s.imageOpacity, 255);
    for (int y = 0; y < picture.height(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            int r = qRed(src[x]), g = qGreen(src[x]), b = qBlue(src[x]);
            if (s.imageGreyscale) r = g = b = (77 * r + 150 * g + 29 * b) >> 8;
            dst[x] = qRgba(r, g, b, (qAlpha(src[x]) * opacity + 127) / 255);
        }
    }
    return CanvasToBitmap(canvas);
}

} // namespace

FIBITMAP* StampWatermark(FIBITMAP* image, int w, int h, const NameFacts& facts, const QFont* font,
                         const Settings& s, DrawArea area) {
    if (!image) return nullptr;
    if (s.doWatermark == kWatermarkNone) return image;
    if (FreeImage_GetBPP(image) != 24) {
        image = ReplaceImage(image, FreeImage_ConvertTo24Bits(image));
        if (!image) return nullptr;
    }
    const bool text = s.doWatermark == kWatermarkText;
    // A watermark that was asked for but cannot be made fails the picture: a
    // JPEG without it would pass for one with it.
    auto fail = [&image] {
        FreeImage_Unload(image);
        return static_cast<FIBITMAP*>(nullptr);
    };
    bool failed = false;
    FIBITMAP* mark = nullptr;
    if (text) {
        mark = TextWatermark(facts, font, s, &failed);
    } else if (s.doWatermark == kWatermarkImage) {
        mark = PictureWatermark(s);
        failed = !mark;
    }
    if (!mark) return failed ? fail() : image;

    const int angle = text ? s.textRotation : s.watermarkImageRotation;
    if (angle >= 1 && angle <= 359) {
        // The turned watermark is held to the same limits as any picture.
        const double a = angle * M_PI / 180.0;
        const double mw = FreeImage_GetWidth(mark), mh = FreeImage_GetHeight(mark);
        if (!WithinStepLimits(std::abs(mw * std::cos(a)) + std::abs(mh * std::sin(a)),
                              std::abs(mw * std::sin(a)) + std::abs(mh * std::cos(a)))) {
            FreeImage_Unload(mark);
            return fail();
        }
        mark = ReplaceImage(mark, FreeImage_Rotate(mark, double(angle), nullptr));
        if (!mark) return fail();
    }
    int ww = int(FreeImage_GetWidth(mark)), wh = int(FreeImage_GetHeight(mark));

    const int ox = text ? s.textXOffset : s.imageXOffset;
    const int oy = text ? s.textYOffset : s.imageYOffset;
    const bool bound =
        s.doFrame != kFrameNone && (text ? s.textBoundary : s.imageBoundary) == kBoundFrame;
    // 64-bit arithmetic: offsets and frame widths come from the user unchecked.
    int64_t aw = w, ah = h;
    if (bound) {
        aw -= int64_t(s.solidLeft) + s.solidRight;
        ah -= int64_t(s.solidTop) + s.solidBottom;
    }
    int64_t cutW = ww, cutH = wh;
    if (cutW + ox > aw) cutW = aw - ox;
    if (cutH + oy > ah) cutH = ah - oy;
    if (cutW != ww || cutH != wh) {
        if (cutW <= 0 || cutH <= 0) { // nothing of the watermark remains
            FreeImage_Unload(mark);
            return image;
        }
        mark = ReplaceImage(mark, FreeImage_Copy(mark, 0, 0, int(cutW), int(cutH)));
        if (!mark) return image;
        ww = int(FreeImage_GetWidth(mark)), wh = int(FreeImage_GetHeight(mark));
    }

    const int position = text ? s.textPosition : s.imagePosition;
    int64_t x = 0, y = 0; // a position outside the nine anchors the top-left corner
    if (position >= 0 && position <= 8) {
        const int column = position % 3, row = position / 3;
        x = column == 0 ? ox : column == 1 ? (aw - ww) / 2 : aw - ww - ox;
        y = row == 0 ? oy : row == 1 ? (ah - wh) / 2 : ah - wh - oy;
    }
    if (bound) x += s.solidLeft, y += s.solidTop;

    // The library places the watermark only when it fits entirely.
    const bool fits = x >= 0 && y >= 0 && x + ww <= w && y + wh <= h;
    if (area == DrawArea::WholePicture) {
        FIBITMAP* canvas =
            FreeImage_AllocateT(FIT_BITMAP, w, h, int(FreeImage_GetBPP(mark)), 0, 0, 0);
        if (canvas) {
            if (fits) FreeImage_Paste(canvas, mark, int(x), int(y), 255);
            image = ReplaceImage(image, FreeImage_Composite(canvas, FALSE, nullptr, image));
            FreeImage_Unload(canvas);
        }
    } else if (fits && ww > 0 && wh > 0) {
        // Outside the watermark the canvas is transparent: only the covered
        // rectangle is worked on.
        if (FIBITMAP* canvas =
                FreeImage_AllocateT(FIT_BITMAP, ww, wh, int(FreeImage_GetBPP(mark)), 0, 0, 0)) {
            FreeImage_Paste(canvas, mark, 0, 0, 255);
            CompositeOnto(image, canvas, int(x), int(y));
            FreeImage_Unload(canvas);
        }
    }
    FreeImage_Unload(mark);
    return image;
}

FIBITMAP* ApplyWatermark(FIBITMAP* image, int w, int h, const NameFacts& facts, const QFont* font,
                         const Settings& s) {
    return StampWatermark(image, w, h, facts, font, s);
}

} // namespace tarvix
