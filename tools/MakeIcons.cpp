// Draws the built-in pictures of the windowed mode: one 16 x 16 PNG per icon
// key, the Convert (64 x 64), InFiles and InFolder (48 x 48) buttons, the
// 360 x 40 About banner, and the application icon from 16 to 256 pixels. The
// pictures are committed under src/ui/icons/; run this again after changing a
// drawing.
//
//   tarvix_make_icons OUTPUT-FOLDER

#include "Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

using namespace artwork;

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    UsePalette(BuiltinPalette());
    bool ok = true;
    for (const auto& [key, draw] : MenuIcons())
        ok &= Render(draw, 16).save(folder + "/" + key.toLower() + "_16.png");
    ok &= ConvertButton(64).save(folder + "/button_convert_64.png");
    ok &= Render(MenuIcons()["InFiles"], 48).save(folder + "/button_infiles_48.png");
    ok &= Render(MenuIcons()["InFolder"], 48).save(folder + "/button_infolder_48.png");
    ok &= Banner().save(folder + "/banner.png");
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok &= ConvertButton(size).save(QStringLiteral("%1/app_%2.png").arg(folder).arg(size));
    return ok ? 0 : 1;
}
