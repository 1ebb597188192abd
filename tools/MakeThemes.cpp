// Builds the theme archives delivered with the program, drawn for it:
// "handdrawn" (pencil lines on cream, the default) and "tiles" (white glyphs on
// coloured tiles). Every icon key is drawn at each toolbar size the settings
// can ask for, so no size is an enlargement of another.
//
//   tarvix_make_themes OUTPUT-FOLDER      (writes handdrawn.zip and tiles.zip)

#include "Artwork.h"
#include "ZipWriter.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

using namespace artwork;

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64};

// The keys in the order theme.cfg lists them (no key begins another's line).
const char* const kKeys[] = {
    "Convert",   "InFiles",     "InFolder",        "New",  "Add",   "OutFolder", "OutFormat",
    "FavFolder", "ImportFiles", "ExportFiles",     "Exit", "Copy",  "Delete",    "SelectAll",
    "Error",     "Preferences", "CustomConverter", "Help", "Email", "Web",       "Updates",
    "About",     "Preview"};

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QColor TileColour(const QString& key) {
    static const std::map<QString, QColor> colours = {
        {"Convert", QColor(236, 112, 20)},   {"New", QColor(58, 120, 216)},
        {"Add", QColor(40, 160, 90)},        {"OutFolder", QColor(214, 150, 30)},
        {"InFolder", QColor(214, 150, 30)},  {"FavFolder", QColor(214, 150, 30)},
        {"OutFormat", QColor(130, 86, 206)}, {"Preferences", QColor(96, 112, 134)},
        {"Help", QColor(22, 150, 160)},      {"Preview", QColor(22, 150, 160)},
        {"Email", QColor(70, 80, 190)},      {"Web", QColor(30, 130, 210)},
        {"Updates", QColor(40, 160, 90)},    {"About", QColor(58, 120, 216)},
        {"Exit", QColor(208, 64, 60)},       {"Error", QColor(208, 64, 60)},
        {"Delete", QColor(208, 64, 60)},     {"CustomConverter", QColor(130, 86, 206)}};
    auto it = colours.find(key);
    return it == colours.end() ? QColor(84, 100, 124) : it->second;
}

QByteArray Config(const QString& name) {
    QStringList lines = {"[Theme]",
                         "Name=" + name,
                         "[Buttons]",
                         "Convert=button_convert.png",
                         "InFiles=button_infiles.png",
                         "InFolder=button_infolder.png",
                         "[Icons]"};
    for (const char* key : kKeys)
        lines << QString::fromLatin1(key) + "=" + QString::fromLatin1(key).toLower();
    return (lines.join("\r\n") + "\r\n").toUtf8();
}

bool HandDrawn(const QString& path) {
    UsePalette(HandDrawnPalette());
    const auto icons = MenuIcons();
    QList<QPair<QString, QByteArray>> entries = {{"theme.cfg", Config("Hand Drawn")}};
    for (const char* key : kKeys)
        for (int size : kSizes)
            entries.append(
                {QStringLiteral("%1_%2.png").arg(QString::fromLatin1(key).toLower()).arg(size),
                 Png(RenderSketched(icons.at(key), size))});
    QImage button(64, 64, QImage::Format_ARGB32);
    button.fill(Qt::transparent);
    {
        QPainter p(&button);
        p.setOpacity(0.35);
        p.drawImage(QPointF(1.8, -1.1), ConvertButton(64));
        p.setOpacity(1);
        p.drawImage(QPointF(0, 0), ConvertButton(64));
    }
    entries.append({"button_convert.png", Png(button)});
    entries.append({"button_infiles.png", Png(RenderSketched(icons.at("InFiles"), 48))});
    entries.append({"button_infolder.png", Png(RenderSketched(icons.at("InFolder"), 48))});
    return WriteZip(path, entries);
}

bool Tiles(const QString& path) {
    UsePalette(TilePalette());
    const auto icons = MenuIcons();
    QList<QPair<QString, QByteArray>> entries = {{"theme.cfg", Config("Tiles")}};
    for (const char* key : kKeys)
        for (int size : kSizes)
            entries.append(
                {QStringLiteral("%1_%2.png").arg(QString::fromLatin1(key).toLower()).arg(size),
                 Png(RenderTile(icons.at(key), size, TileColour(key)))});
    QImage button(64, 64, QImage::Format_ARGB32);
    button.fill(Qt::transparent);
    {
        QPainter p(&button);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(TileColour("Convert"));
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 13, 13);
        p.drawImage(QPointF(8, 8), ConvertButton(48));
    }
    entries.append({"button_convert.png", Png(button)});
    entries.append(
        {"button_infiles.png", Png(RenderTile(icons.at("InFiles"), 48, TileColour("New")))});
    entries.append(
        {"button_infolder.png", Png(RenderTile(icons.at("InFolder"), 48, TileColour("InFolder")))});
    return WriteZip(path, entries);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const bool ok = HandDrawn(folder + "/handdrawn.zip") && Tiles(folder + "/tiles.zip");
    if (!ok) std::fprintf(stderr, "could not write the themes into %s\n", argv[1]);
    return ok ? 0 : 1;
}
