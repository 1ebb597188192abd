#pragma once
// Icon pictures by image number, and the command names that refer to them.

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QString>

namespace tarvix {

// Command name -> image number, as the menus, toolbars and buttons look them up.
const QHash<QString, int>& ButtonIds();
const QHash<QString, int>& MenuIds();
const QHash<QString, int>& ToolbarIds();

// Decodes a PNG (libpng) into a picture; a null image when it does not decode.
QImage DecodePng(const QByteArray& bytes);

// Decodes every built-in picture into its image number: image 0 (the About
// banner), the buttons, and the menu and toolbar icons.
void LoadBuiltinIcons();
// The picture of an image number (null when it has none).
QImage IconImage(int number);
// An icon for a command, shown at size pixels; small pictures are enlarged by
// whole steps so their edges stay crisp.
QIcon CommandIcon(const QHash<QString, int>& map, const QString& name, int size = 16);

// 1 -> 24, 2 -> 32, 3 -> 48, 4 -> 64, anything else 16.
int IconSizeForUiSize(int code);

} // namespace tarvix
