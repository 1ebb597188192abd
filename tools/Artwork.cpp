#include "Artwork.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace artwork {
namespace {

const Palette* gPalette = &BuiltinPalette();
const Palette& P() {
    return *gPalette;
}

// A gradient from lighter to c, or c alone for the flat looks.
QBrush Shade(const QColor& c, double y0, double y1, int lighter = 115) {
    if (!P().gradients) return c;
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, c.lighter(lighter));
    g.setColorAt(1, c);
    return g;
}

QPen Pen(const QColor& c, double w = 1.0) {
    QPen p(c, w * P().outline);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    return p;
}

void Page(QPainter& p, double x = 3.5, double y = 1.5, double w = 9, double h = 13) {
    QPainterPath page;
    page.moveTo(x, y);
    page.lineTo(x + w - 3, y);
    page.lineTo(x + w, y + 3);
    page.lineTo(x + w, y + h);
    page.lineTo(x, y + h);
    page.closeSubpath();
    p.setPen(Pen(P().ink));
    p.setBrush(P().paper);
    p.drawPath(page);
    p.drawLine(QPointF(x + w - 3, y), QPointF(x + w - 3, y + 3));
    p.drawLine(QPointF(x + w - 3, y + 3), QPointF(x + w, y + 3));
}

void Lines(QPainter& p, double x, double y, int n, double w = 5) {
    p.setPen(Pen(P().lines));
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(x, y + 2 * i), QPointF(x + w, y + 2 * i));
}

void Folder(QPainter& p, double x = 1, double y = 3, double w = 14, double h = 11) {
    p.setPen(Pen(P().folderDark));
    p.setBrush(P().folderDark);
    p.drawRoundedRect(QRectF(x + 0.5, y + 0.5, w * 0.45, 3), 1, 1);
    p.setBrush(Shade(P().folder, y, y + h));
    p.drawRoundedRect(QRectF(x + 0.5, y + 2.5, w - 1, h - 3), 1.2, 1.2);
}

void Disc(QPainter& p, const QColor& c, double inset = 1.5) {
    p.setPen(Pen(P().discRim.isValid() ? P().discRim : c.darker(130)));
    p.setBrush(P().discFill.isValid() ? QBrush(P().discFill) : Shade(c, inset, 16 - inset, 125));
    p.drawEllipse(QRectF(inset, inset, 16 - 2 * inset, 16 - 2 * inset));
}

void Glyph(QPainter& p, const QString& text, double size = 10.5, QColor c = QColor()) {
    if (!c.isValid()) c = P().glyph;
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(int(size));
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRectF(0, 0.5, 16, 16), Qt::AlignCenter, text);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double w = 2.0) {
    p.setPen(Pen(c, w));
    p.drawLine(from, to);
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double head = 3.2;
    QPolygonF tip;
    tip << to << QPointF(to.x() - head * std::cos(a - 0.6), to.y() - head * std::sin(a - 0.6))
        << QPointF(to.x() - head * std::cos(a + 0.6), to.y() - head * std::sin(a + 0.6));
    p.setPen(Pen(c, 1.0));
    p.setBrush(c);
    p.drawPolygon(tip);
}

void Gear(QPainter& p, const QColor& c) {
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const double r = (i % 2 == 0) ? 7.0 : 5.3;
        const double a1 = (i - 0.5) * M_PI / teeth, a2 = (i + 0.5) * M_PI / teeth;
        const QPointF p1(8 + r * std::cos(a1), 8 + r * std::sin(a1));
        const QPointF p2(8 + r * std::cos(a2), 8 + r * std::sin(a2));
        if (i == 0)
            gear.moveTo(p1);
        else
            gear.lineTo(p1);
        gear.lineTo(p2);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(8, 8), 2.2, 2.2);
    p.setPen(Pen(c.darker(140)));
    p.setBrush(c);
    p.drawPath(gear.subtracted(hole));
}

void Landscape(QPainter& p, QRectF r) {
    p.setPen(Pen(P().ink));
    if (P().gradients) {
        QLinearGradient sky(r.topLeft(), r.bottomLeft());
        sky.setColorAt(0, QColor(120, 180, 250));
        sky.setColorAt(1, QColor(200, 230, 255));
        p.setBrush(sky);
    } else {
        p.setBrush(P().sky);
    }
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(P().sun);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.28, r.top() + r.height() * 0.3),
                  r.width() * 0.12, r.width() * 0.12);
    QPainterPath hill;
    hill.moveTo(r.left(), r.bottom());
    hill.cubicTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.45,
                 r.left() + r.width() * 0.6, r.bottom() - r.height() * 0.05, r.right(),
                 r.top() + r.height() * 0.6);
    hill.lineTo(r.right(), r.bottom());
    hill.closeSubpath();
    p.setBrush(P().green);
    p.drawPath(hill);
}

} // namespace

const Palette& BuiltinPalette() {
    static const Palette palette{QColor(52, 62, 78),
                                 QColor(252, 252, 250),
                                 QColor(150, 160, 175),
                                 QColor(45, 108, 223),
                                 QColor(38, 150, 88),
                                 QColor(240, 140, 26),
                                 QColor(214, 69, 65),
                                 QColor(242, 182, 50),
                                 QColor(203, 140, 22),
                                 Qt::white,
                                 QColor(),
                                 QColor(200, 230, 255),
                                 QColor(250, 210, 50),
                                 QColor(),
                                 QColor(120, 132, 150),
                                 true,
                                 1.0};
    return palette;
}

const Palette& HandDrawnPalette() {
    // Pencil on cream paper: a brown-grey ink, soft watercolour fills, no
    // gradients; the sketched double line comes from RenderSketched.
    static const Palette palette{QColor(74, 58, 48),
                                 QColor(255, 250, 236),
                                 QColor(170, 150, 130),
                                 QColor(92, 140, 200),
                                 QColor(106, 168, 96),
                                 QColor(232, 150, 70),
                                 QColor(208, 96, 84),
                                 QColor(236, 196, 110),
                                 QColor(190, 146, 70),
                                 QColor(255, 250, 236),
                                 QColor(74, 58, 48),
                                 QColor(196, 222, 240),
                                 QColor(244, 206, 96),
                                 QColor(),
                                 QColor(150, 140, 130),
                                 false,
                                 1.25};
    return palette;
}

const Palette& TilePalette() {
    // White glyphs for coloured tiles.
    static const Palette palette{Qt::white,
                                 QColor(255, 255, 255, 60),
                                 QColor(255, 255, 255, 170),
                                 QColor(255, 255, 255, 235),
                                 QColor(255, 255, 255, 235),
                                 QColor(255, 255, 255, 235),
                                 QColor(255, 255, 255, 235),
                                 QColor(255, 255, 255, 90),
                                 Qt::white,
                                 Qt::white,
                                 Qt::white,
                                 QColor(255, 255, 255, 60),
                                 Qt::white,
                                 QColor(255, 255, 255, 0),
                                 QColor(255, 255, 255, 235),
                                 false,
                                 1.1};
    return palette;
}

void UsePalette(const Palette& palette) {
    gPalette = &palette;
}

std::map<QString, Drawing> MenuIcons() {
    std::map<QString, Drawing> icons;
    icons["New"] = [](QPainter& p) {
        Page(p);
        Lines(p, 5.5, 7, 3);
    };
    icons["Add"] = [](QPainter& p) {
        Disc(p, P().green);
        p.setPen(Pen(P().glyph, 2.2));
        p.drawLine(QPointF(8, 4.5), QPointF(8, 11.5));
        p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
    };
    icons["InFiles"] = [](QPainter& p) {
        Page(p, 5.5, 1.5, 8, 11);
        Page(p, 2.5, 3.5, 8, 11);
        Lines(p, 4.5, 8, 3, 4);
    };
    icons["InFolder"] = [](QPainter& p) { Folder(p); };
    icons["OutFolder"] = [](QPainter& p) {
        Folder(p);
        Arrow(p, QPointF(5, 10), QPointF(12.5, 10), P().blue);
    };
    icons["OutFormat"] = [](QPainter& p) {
        for (int i = 0; i < 3; ++i) {
            const double y = 3.5 + 4.5 * i;
            p.setPen(Pen(P().ink, 1.4));
            p.drawLine(QPointF(2, y), QPointF(14, y));
            p.setPen(Pen(P().blue.darker(130)));
            p.setBrush(P().blue);
            const double x = i == 1 ? 10 : (i == 0 ? 5 : 7.5);
            p.drawEllipse(QPointF(x, y), 2, 2);
        }
    };
    icons["FavFolder"] = [](QPainter& p) {
        Folder(p);
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 ? 1.6 : 3.8, a = -M_PI / 2 + i * M_PI / 5;
            star << QPointF(8 + r * std::cos(a), 9.7 + r * std::sin(a));
        }
        p.setPen(Pen(QColor(180, 60, 20), 0.8));
        p.setBrush(QColor(255, 245, 200));
        p.drawPolygon(star);
    };
    icons["ImportFiles"] = [](QPainter& p) {
        Page(p, 5.5);
        Arrow(p, QPointF(1, 9), QPointF(9, 9), P().green);
    };
    icons["ExportFiles"] = [](QPainter& p) {
        Page(p, 1.5);
        Arrow(p, QPointF(7, 9), QPointF(15, 9), P().blue);
    };
    icons["Exit"] = [](QPainter& p) {
        Disc(p, P().red);
        p.setPen(Pen(P().glyph, 1.8));
        p.drawArc(QRectF(4.3, 4.8, 7.4, 7.4), 125 * 16, 290 * 16);
        p.drawLine(QPointF(8, 3.5), QPointF(8, 8));
    };
    icons["Copy"] = [](QPainter& p) {
        Page(p, 5.5, 1.5, 8, 10);
        Page(p, 2.5, 4.5, 8, 10);
    };
    icons["Delete"] = [](QPainter& p) {
        p.setPen(Pen(P().red.darker(120), 2.6));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    };
    icons["SelectAll"] = [](QPainter& p) {
        QPen pen = Pen(P().ink, 1.2);
        pen.setDashPattern({1.5, 1.5});
        p.setPen(pen);
        p.setBrush(QColor(45, 108, 223, 50));
        p.drawRect(QRectF(2.5, 2.5, 11, 11));
    };
    icons["Error"] = [](QPainter& p) {
        Disc(p, P().red);
        Glyph(p, "!", 11);
    };
    icons["Preferences"] = [](QPainter& p) { Gear(p, P().gear); };
    icons["CustomConverter"] = [](QPainter& p) {
        p.setPen(Pen(P().ink, 1.6));
        p.setBrush(QColor(220, 236, 255));
        p.drawEllipse(QPointF(6.5, 6.5), 4.3, 4.3);
        p.setPen(Pen(P().ink, 2.6));
        p.drawLine(QPointF(9.8, 9.8), QPointF(14, 14));
    };
    icons["Preview"] = [](QPainter& p) {
        // A picture under a magnifying glass.
        p.setPen(Pen(P().ink));
        p.setBrush(P().paper);
        p.drawRect(QRectF(1.5, 1.5, 10, 9));
        p.setPen(Pen(P().green, 1.2));
        p.drawLine(QPointF(2.5, 9), QPointF(5.5, 5.5));
        p.drawLine(QPointF(5.5, 5.5), QPointF(8, 8));
        p.setPen(Pen(P().blue.darker(130), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(7, 7, 5.5, 5.5));
        p.drawLine(QPointF(11.8, 11.8), QPointF(14.5, 14.5));
    };
    icons["Help"] = [](QPainter& p) {
        Disc(p, P().blue);
        Glyph(p, "?", 11);
    };
    icons["Email"] = [](QPainter& p) {
        p.setPen(Pen(P().ink));
        p.setBrush(P().paper);
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.drawLine(QPointF(1.5, 3.5), QPointF(8, 8.5));
        p.drawLine(QPointF(14.5, 3.5), QPointF(8, 8.5));
    };
    icons["Web"] = [](QPainter& p) {
        Disc(p, P().blue);
        p.setPen(Pen(P().glyph, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 1.8, 6, 12.4));
        p.drawLine(QPointF(2, 8), QPointF(14, 8));
        p.drawLine(QPointF(8, 1.8), QPointF(8, 14.2));
    };
    icons["Updates"] = [](QPainter& p) {
        p.setPen(Pen(P().green, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 150 * 16);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 210 * 16, 150 * 16);
        p.setPen(Pen(P().green, 1));
        p.setBrush(P().green);
        p.drawPolygon(QPolygonF({QPointF(13.8, 1.5), QPointF(14.2, 6.2), QPointF(9.8, 5.2)}));
        p.drawPolygon(QPolygonF({QPointF(2.2, 14.5), QPointF(1.8, 9.8), QPointF(6.2, 10.8)}));
    };
    icons["About"] = [](QPainter& p) {
        Disc(p, P().blue);
        Glyph(p, "i", 11);
    };
    icons["Convert"] = [](QPainter& p) {
        // A block arrow: reads as "convert" even at 16 pixels.
        p.setPen(Pen(P().orange.darker(130), 0.8));
        p.setBrush(P().orange);
        p.drawPolygon(
            QPolygonF({QPointF(1.5, 5.8), QPointF(8.6, 5.8), QPointF(8.6, 2.6), QPointF(14.6, 8),
                       QPointF(8.6, 13.4), QPointF(8.6, 10.2), QPointF(1.5, 10.2)}));
    };
    return icons;
}

QImage Render(const Drawing& draw, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    return image;
}

void DrawConvertButton(QPainter& p) {
    // A texture page turning into a picture.
    p.setPen(Pen(P().ink, 0.35));
    p.setBrush(P().paper);
    p.drawRoundedRect(QRectF(0.8, 1.5, 7.5, 9.5), 0.6, 0.6);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(3);
    p.setFont(f);
    p.setPen(P().blue.darker(120));
    p.drawText(QRectF(0.8, 3.0, 7.5, 4), Qt::AlignCenter, QStringLiteral("DDS"));
    for (int i = 0; i < 4; ++i) {
        p.setPen(Pen(P().lines, 0.4));
        p.drawLine(QPointF(2, 7.6 + 0.8 * i), QPointF(7, 7.6 + 0.8 * i));
    }
    Landscape(p, QRectF(7.5, 5.5, 7.8, 9.5));
    p.setPen(Pen(P().orange.darker(130), 0.35));
    p.setBrush(P().orange);
    QPolygonF arrow{QPointF(5.2, 11.2), QPointF(9.2, 11.2), QPointF(9.2, 9.6), QPointF(12.2, 12.6),
                    QPointF(9.2, 15.6), QPointF(9.2, 14.0), QPointF(5.2, 14.0)};
    p.drawPolygon(arrow);
}

QImage ConvertButton(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    DrawConvertButton(p);
    return image;
}

QImage Banner() {
    QImage image(360, 40, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 360, 0);
    g.setColorAt(0, QColor(28, 52, 96));
    g.setColorAt(1, QColor(45, 108, 223));
    p.fillRect(image.rect(), g);
    p.drawImage(QRectF(6, 4, 32, 32), ConvertButton(64));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(18);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(46, 0, 300, 40), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Orvella DDS to JPG"));
    return image;
}

QImage RenderSketched(const Drawing& draw, int size) {
    const QImage clean = Render(draw, size);
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    // A second, fainter pass a little off the first, as a pencil goes over
    // its own line.
    const double shift = std::max(0.6, size / 28.0);
    p.setOpacity(0.35);
    p.drawImage(QPointF(shift, -shift * 0.6), clean);
    p.setOpacity(1.0);
    p.drawImage(QPointF(0, 0), clean);
    return image;
}

QImage RenderTile(const Drawing& draw, int size, const QColor& tile) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double inset = size / 32.0;
    const double radius = size / 5.0;
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset), radius, radius);
    // The glyph a little smaller than the tile, centred.
    const double glyph = size * 0.72;
    const QImage mark = Render(draw, int(std::lround(glyph)));
    p.drawImage(QPointF((size - mark.width()) / 2.0, (size - mark.height()) / 2.0), mark);
    return image;
}

} // namespace artwork
