#include "settings/OutputHistory.h"

#include <QStringList>
#include <zlib.h>

namespace tarvix {

uint32_t FolderFingerprint(const QString& folder) {
    const QByteArray bytes = folder.toUpper().toUtf8();
    return uint32_t(crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.constData()),
                          uInt(bytes.size())));
}

QString RecentOutputFolder(const Settings& settings, int i) {
    const QStringList fields = settings.recentOutFolders.split(QLatin1Char('\t'));
    return i >= 0 && i < fields.size() ? fields[i].trimmed() : QString();
}

void AddRecentOutputFolder(Settings& settings, const QString& folder) {
    if (folder.isEmpty()) return;
    const int limit = settings.outFoldersNumber;
    const uint32_t key = FolderFingerprint(folder);
    QString history = folder;
    int count = 1;
    for (int i = 0; i < limit; ++i) {
        const QString entry = RecentOutputFolder(settings, i);
        if (!entry.isEmpty() && count <= limit - 1 && FolderFingerprint(entry) != key) {
            history += QLatin1Char('\t') + entry;
            ++count;
        }
    }
    settings.recentOutFolders = history;
}

} // namespace tarvix
