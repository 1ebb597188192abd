#pragma once
// Reading a theme archive (ZIP). Archives are files users download and drop in
// a folder, so every read is bounded before it happens: the number of entries
// looked at, and the bytes taken from any one entry.

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

namespace tarvix {

class ThemeArchive {
public:
    static constexpr int kMaxEntries = 4096;             // further entries count as missing
    static constexpr qint64 kMaxConfigBytes = 64 * 1024; // a larger theme.cfg counts as missing
    static constexpr qint64 kMaxPictureBytes = 4 << 20;  // likewise a larger picture
    static constexpr qsizetype kMaxNameLength = 1024;

    // Reads the directory into a name -> uncompressed size table (entries of
    // size 0 left out; the first of equal names kept). False when the file is
    // empty or is no readable ZIP archive.
    bool Open(const QString& path);
    // The same for an archive held in memory.
    bool OpenBytes(const QByteArray& bytes);
    const QHash<QString, qint64>& Entries() const { return entries_; }

    // The named entries whose stated size is at most limit, read in one pass.
    // An entry that is missing, larger, damaged or longer than its stated size
    // is absent from the result.
    QHash<QString, QByteArray> Read(const QSet<QString>& names, qint64 limit) const;
    // At most the first bytes of one entry, whatever its size.
    QByteArray ReadPrefix(const QString& name, qint64 bytes) const;

private:
    QString path_;
    QByteArray bytes_;
    bool open_ = false;

    bool ReadDirectory();
    QHash<QString, qint64> entries_;
};

} // namespace tarvix
