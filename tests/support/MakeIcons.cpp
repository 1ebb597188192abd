// Draws the built-in icon set of the windowed mode: one 16 x 16 PNG per menu
// key, the Convert (64 x 64), InFiles and InFolder (48 x 48) buttons, and the
// 360 x 40 About banner. The pictures are committed under src/ui/icons/; run
// this again after changing a drawing.
//
//   tarvix_make_icons OUTPUT-FOLDER

#include <QApplication>
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

namespace {

// Every icon is drawn on a 16-unit grid and scaled to its size.
using Drawing = std::function<void(QPainter&)>;

const QColor kInk(52, 62, 78);
const QColor kPaper(252, 252, 250);
const QColor kBlue(45, 108, 223);
const QColor kGreen(38, 150, 88);
const QColor kOrange(240, 140, 26);
const QColor kRed(214, 69, 65);
const QColor kFolder(242, 182, 50);
const QColor kFolderDark(203, 140, 22);

QPen Pen(const QColor& c, double w = 1.0) {
    QPen p(c, w);
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
    p.setPen(Pen(kInk));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.drawLine(QPointF(x + w - 3, y), QPointF(x + w - 3, y + 3));
    p.drawLine(QPointF(x + w - 3, y + 3), QPointF(x + w, y + 3));
}

void Lines(QPainter& p, double x, double y, int n, double w = 5) {
    p.setPen(Pen(QColor(150, 160, 175)));
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(x, y + 2 * i), QPointF(x + w, y + 2 * i));
}

void Folder(QPainter& p, double x = 1, double y = 3, double w = 14, double h = 11) {
    p.setPen(Pen(kFolderDark));
    p.setBrush(kFolderDark);
    p.drawRoundedRect(QRectF(x + 0.5, y + 0.5, w * 0.45, 3), 1, 1);
    QLinearGradient g(0, y, 0, y + h);
    g.setColorAt(0, kFolder.lighter(115));
    g.setColorAt(1, kFolder);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(x + 0.5, y + 2.5, w - 1, h - 3), 1.2, 1.2);
}

void Disc(QPainter& p, const QColor& c, double inset = 1.5) {
    QLinearGradient g(0, inset, 0, 16 - inset);
    g.setColorAt(0, c.lighter(125));
    g.setColorAt(1, c);
    p.setPen(Pen(c.darker(130)));
    p.setBrush(g);
    p.drawEllipse(QRectF(inset, inset, 16 - 2 * inset, 16 - 2 * inset));
}

void Glyph(QPainter& p, const QString& text, double size = 10.5, const QColor& c = Qt::white) {
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
    p.setPen(Pen(kInk));
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(120, 180, 250));
    sky.setColorAt(1, QColor(200, 230, 255));
    p.setBrush(sky);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 210, 50));
    p.drawEllipse(QPointF(r.right() - r.width() * 0.28, r.top() + r.height() * 0.3),
                  r.width() * 0.12, r.width() * 0.12);
    QPainterPath hill;
    hill.moveTo(r.left(), r.bottom());
    hill.cubicTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.45,
                 r.left() + r.width() * 0.6, r.bottom() - r.height() * 0.05, r.right(),
                 r.top() + r.height() * 0.6);
    hill.lineTo(r.right(), r.bottom());
    hill.closeSubpath();
    p.setBrush(kGreen);
    p.drawPath(hill);
}

std::map<QString, Drawing> MenuIcons() {
    std::map<QString, Drawing> icons;
    icons["New"] = [](QPainter& p) {
        Page(p);
        Lines(p, 5.5, 7, 3);
    };
    icons["Add"] = [](QPainter& p) {
        Disc(p, kGreen);
        p.setPen(Pen(Qt::white, 2.2));
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
        Arrow(p, QPointF(5, 10), QPointF(12.5, 10), kBlue);
    };
    icons["OutFormat"] = [](QPainter& p) {
        for (int i = 0; i < 3; ++i) {
            const double y = 3.5 + 4.5 * i;
            p.setPen(Pen(kInk, 1.4));
            p.drawLine(QPointF(2, y), QPointF(14, y));
            p.setPen(Pen(kBlue.darker(130)));
            p.setBrush(kBlue);
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
        Arrow(p, QPointF(1, 9), QPointF(9, 9), kGreen);
    };
    icons["ExportFiles"] = [](QPainter& p) {
        Page(p, 1.5);
        Arrow(p, QPointF(7, 9), QPointF(15, 9), kBlue);
    };
    icons["Exit"] = [](QPainter& p) {
        Disc(p, kRed);
        p.setPen(Pen(Qt::white, 1.8));
        p.drawArc(QRectF(4.3, 4.8, 7.4, 7.4), 125 * 16, 290 * 16);
        p.drawLine(QPointF(8, 3.5), QPointF(8, 8));
    };
    icons["Copy"] = [](QPainter& p) {
        Page(p, 5.5, 1.5, 8, 10);
        Page(p, 2.5, 4.5, 8, 10);
    };
    icons["Delete"] = [](QPainter& p) {
        p.setPen(Pen(kRed.darker(120), 2.6));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    };
    icons["SelectAll"] = [](QPainter& p) {
        QPen pen = Pen(kInk, 1.2);
        pen.setDashPattern({1.5, 1.5});
        p.setPen(pen);
        p.setBrush(QColor(45, 108, 223, 50));
        p.drawRect(QRectF(2.5, 2.5, 11, 11));
    };
    icons["Error"] = [](QPainter& p) {
        Disc(p, kRed);
        Glyph(p, "!", 11);
    };
    icons["Preferences"] = [](QPainter& p) { Gear(p, QColor(120, 132, 150)); };
    icons["CustomConverter"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 1.6));
        p.setBrush(QColor(220, 236, 255));
        p.drawEllipse(QPointF(6.5, 6.5), 4.3, 4.3);
        p.setPen(Pen(kInk, 2.6));
        p.drawLine(QPointF(9.8, 9.8), QPointF(14, 14));
    };
    icons["Help"] = [](QPainter& p) {
        Disc(p, kBlue);
        Glyph(p, "?", 11);
    };
    icons["Email"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.drawLine(QPointF(1.5, 3.5), QPointF(8, 8.5));
        p.drawLine(QPointF(14.5, 3.5), QPointF(8, 8.5));
    };
    icons["Web"] = [](QPainter& p) {
        Disc(p, kBlue);
        p.setPen(Pen(Qt::white, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 1.8, 6, 12.4));
        p.drawLine(QPointF(2, 8), QPointF(14, 8));
        p.drawLine(QPointF(8, 1.8), QPointF(8, 14.2));
    };
    icons["Updates"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 150 * 16);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 210 * 16, 150 * 16);
        p.setPen(Pen(kGreen, 1));
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({QPointF(13.8, 1.5), QPointF(14.2, 6.2), QPointF(9.8, 5.2)}));
        p.drawPolygon(QPolygonF({QPointF(2.2, 14.5), QPointF(1.8, 9.8), QPointF(6.2, 10.8)}));
    };
    icons["About"] = [](QPainter& p) {
        Disc(p, kBlue);
        Glyph(p, "i", 11);
    };
    icons["Convert"] = [](QPainter& p) { Arrow(p, QPointF(2, 8), QPointF(14, 8), kOrange, 3.0); };
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

QImage ConvertButton() {
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A texture page turning into a picture.
    p.scale(4, 4);
    p.setPen(Pen(kInk, 0.35));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(0.8, 1.5, 7.5, 9.5), 0.6, 0.6);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(3);
    p.setFont(f);
    p.setPen(kBlue.darker(120));
    p.drawText(QRectF(0.8, 3.0, 7.5, 4), Qt::AlignCenter, QStringLiteral("DDS"));
    for (int i = 0; i < 4; ++i) {
        p.setPen(Pen(QColor(150, 160, 175), 0.4));
        p.drawLine(QPointF(2, 7.6 + 0.8 * i), QPointF(7, 7.6 + 0.8 * i));
    }
    Landscape(p, QRectF(7.5, 5.5, 7.8, 9.5));
    p.setPen(Pen(kOrange.darker(130), 0.35));
    p.setBrush(kOrange);
    QPolygonF arrow{QPointF(5.2, 11.2), QPointF(9.2, 11.2), QPointF(9.2, 9.6), QPointF(12.2, 12.6),
                    QPointF(9.2, 15.6), QPointF(9.2, 14.0), QPointF(5.2, 14.0)};
    p.drawPolygon(arrow);
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
    p.drawImage(QRectF(6, 4, 32, 32), ConvertButton());
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(18);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(46, 0, 300, 40), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Orvella DDS to JPG"));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    bool ok = true;
    for (const auto& [key, draw] : MenuIcons())
        ok &= Render(draw, 16).save(folder + "/" + key.toLower() + "_16.png");
    ok &= ConvertButton().save(folder + "/button_convert_64.png");
    ok &= Render(MenuIcons()["InFiles"], 48).save(folder + "/button_infiles_48.png");
    ok &= Render(MenuIcons()["InFolder"], 48).save(folder + "/button_infolder_48.png");
    ok &= Banner().save(folder + "/banner.png");
    return ok ? 0 : 1;
}
