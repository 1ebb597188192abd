#pragma once
// The installed themes: archives named <id>.zip in the data folder's "gfx/".

#include <QList>
#include <QString>

namespace tarvix {

struct ThemeEntry {
    QString id;
    QString name; // from the archive's theme.cfg; empty when it has none
};

// The folder the theme archives live in, with a trailing "/".
QString ThemeFolder();
QString ThemeArchivePath(const QString& id);

// Every "*.zip" file of the theme folder, in name order.
QList<ThemeEntry> ListThemes();
// "Name" of section "Theme" within the first 255 bytes of the archive's
// theme.cfg; the id itself when the archive cannot be read.
QString ThemeDisplayName(const QString& id);

} // namespace tarvix
