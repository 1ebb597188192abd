#pragma once
// The program's artwork, drawn with anti-aliased vector shapes on a 16-unit
// grid and rendered at whatever size is asked for: the built-in icons, the
// pictures of the delivered themes, the About banner and the application icon.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>
#include <functional>
#include <map>

namespace artwork {

struct Palette {
    QColor ink, paper, lines, blue, green, orange, red, folder, folderDark;
    QColor glyph;   // strokes and letters inside discs
    QColor discRim; // disc outline (invalid: a darker shade of the disc)
    QColor sky, sun;
    QColor discFill; // disc fill instead of the disc's own colour (invalid: its own)
    QColor gear;
    bool gradients;
    double outline; // stroke width factor
};

const Palette& BuiltinPalette();
const Palette& HandDrawnPalette();
const Palette& TilePalette();
// The palette every drawing uses from now on.
void UsePalette(const Palette& palette);

using Drawing = std::function<void(QPainter&)>;
// One drawing per icon key.
std::map<QString, Drawing> MenuIcons();

QImage Render(const Drawing& draw, int size);
// With a fainter second pass beside the first, like a pencil line.
QImage RenderSketched(const Drawing& draw, int size);
// The drawing in white on a rounded tile of the colour.
QImage RenderTile(const Drawing& draw, int size, const QColor& tile);
QImage ConvertButton(int size);
// The same picture on any device, in 16 units a side (the application icon).
void DrawConvertButton(QPainter& p);
QImage Banner();

} // namespace artwork
