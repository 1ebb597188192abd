#include "theme/Themes.h"

#include "platform/Paths.h"
#include "theme/ThemeArchive.h"
#include "theme/ThemeConfig.h"

#include <QDir>

namespace tarvix {

QString ThemeFolder() {
    return DataFolder() + QStringLiteral("gfx/");
}

QString ThemeArchivePath(const QString& id) {
    // A theme is a file of the theme folder, whatever the setting says.
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || id.startsWith(QLatin1Char('.')))
        return QString();
    return ThemeFolder() + id + QStringLiteral(".zip");
}

QList<ThemeEntry> ListThemes() {
    QList<ThemeEntry> themes;
    const QDir folder(ThemeFolder());
    const QFileInfoList files =
        folder.entryInfoList({QStringLiteral("*.zip")}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        const QString id = file.completeBaseName();
        themes.append({id, ThemeDisplayName(id)});
    }
    return themes;
}

QString ThemeDisplayName(const QString& id) {
    ThemeArchive archive;
    if (!archive.Open(ThemeArchivePath(id))) return id;
    const QString text = DecodeThemeText(archive.ReadPrefix(QStringLiteral("theme.cfg"), 255));
    return ThemeValue(text, QStringLiteral("Theme"), QStringLiteral("Name"));
}

} // namespace tarvix
