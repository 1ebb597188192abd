// Writes the application icon as SVG, from the same drawing as its PNG sizes,
// for the icon theme's scalable folder.
//
//   tarvix_make_app_svg OUTPUT.svg

#include "Artwork.h"

#include <QGuiApplication>
#include <QSvgGenerator>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.svg\n", argv[0]);
        return 2;
    }
    QSvgGenerator svg;
    svg.setFileName(QString::fromLocal8Bit(argv[1]));
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    svg.setTitle(QStringLiteral("Orvella DDS to JPG"));
    QPainter p;
    if (!p.begin(&svg)) return 1;
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(16, 16);
    artwork::UsePalette(artwork::BuiltinPalette());
    artwork::DrawConvertButton(p);
    return p.end() ? 0 : 1;
}
