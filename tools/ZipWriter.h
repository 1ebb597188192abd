#pragma once
// Writes ZIP archives (libarchive): the delivered themes, and the archives the
// tests build.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace artwork {

// Entries in the given order; names as given (duplicates allowed). Every entry
// carries the same fixed time, so equal content gives equal archives.
bool WriteZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries,
              bool compress = true);

} // namespace artwork
