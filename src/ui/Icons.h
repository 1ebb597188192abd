#pragma once
// Icon pictures by image number, and the command names that refer to them.

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QString>

#include "draw/Png.h"
#include "settings/Settings.h"
#include "theme/Themes.h"

namespace tarvix {

// Command name -> image number, as the menus, toolbars and buttons look them up.
const QHash<QString, int>& ButtonIds();
const QHash<QString, int>& MenuIds();
const QHash<QString, int>& ToolbarIds();

// Decodes every built-in picture into its image number: image 0 (the About
// banner), the buttons, and the menu and toolbar icons.
void LoadBuiltinIcons();
// Replaces the pictures of the chosen sets from the theme "UI Theme" names.
// When that archive is missing and themes exist, the last of them is loaded
// and becomes the setting. What the theme lacks, or holds damaged or too
// large, keeps its picture.
void LoadTheme(Settings& settings, const QList<ThemeEntry>& themes, bool buttons, bool menu,
               bool toolbar);
// The largest picture a theme may hold, a side.
constexpr int kMaxThemePictureSide = 512;

// The program's own icon, from 16 to 256 pixels: every window carries it.
QIcon ApplicationIcon();

// The picture of an image number (null when it has none).
QImage IconImage(int number);
// An icon for a command, shown at size pixels; small pictures are enlarged by
// whole steps so their edges stay crisp.
QIcon CommandIcon(const QHash<QString, int>& map, const QString& name, int size = 16);

// 1 -> 24, 2 -> 32, 3 -> 48, 4 -> 64, anything else 16.
int IconSizeForUiSize(int code);

} // namespace tarvix
