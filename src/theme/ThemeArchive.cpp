#include "theme/ThemeArchive.h"

#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace tarvix {
namespace {

struct ArchiveCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};
using Reader = std::unique_ptr<archive, ArchiveCloser>;

Reader OpenZip(const QString& path, const QByteArray& bytes) {
    Reader reader(archive_read_new());
    if (!reader) return reader;
    archive_read_support_format_zip(reader.get());
    const int status =
        path.isEmpty()
            ? archive_read_open_memory(reader.get(), bytes.constData(), size_t(bytes.size()))
            : archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), 16384);
    if (status != ARCHIVE_OK) reader.reset();
    return reader;
}

QString EntryName(archive_entry* entry) {
    const char* utf8 = archive_entry_pathname_utf8(entry);
    if (utf8) return QString::fromUtf8(utf8);
    const char* raw = archive_entry_pathname(entry);
    return raw ? QString::fromLatin1(raw) : QString();
}

// Reads the entry's data, stopping past limit: a result longer than limit (or
// than the size the entry states) means the entry is not to be trusted.
bool ReadData(archive* a, qint64 limit, QByteArray* out) {
    char buffer[16384];
    for (;;) {
        const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
        if (n < 0) return false;
        if (n == 0) return true;
        if (out->size() + n > limit) return false;
        out->append(buffer, qsizetype(n));
    }
}

} // namespace

bool ThemeArchive::Open(const QString& path) {
    path_.clear();
    bytes_.clear();
    open_ = false;
    entries_.clear();
    if (path.isEmpty() || QFileInfo(path).size() <= 0) return false;
    path_ = path;
    return ReadDirectory();
}

bool ThemeArchive::OpenBytes(const QByteArray& bytes) {
    path_.clear();
    bytes_ = bytes;
    open_ = false;
    entries_.clear();
    if (bytes_.isEmpty()) return false;
    return ReadDirectory();
}

bool ThemeArchive::ReadDirectory() {
    Reader reader = OpenZip(path_, bytes_);
    if (!reader) return false;
    archive_entry* entry = nullptr;
    int seen = 0, status = ARCHIVE_OK;
    while (seen < kMaxEntries &&
           (status = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
        ++seen;
        const QString name = EntryName(entry);
        const qint64 size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
        if (name.isEmpty() || name.size() > kMaxNameLength || size <= 0) continue;
        if (!entries_.contains(name)) entries_.insert(name, size);
    }
    // A damaged archive still gives what was read before the damage; one that
    // gave nothing at all is no archive.
    if (seen == 0 && status != ARCHIVE_EOF) return false;
    open_ = true;
    return true;
}

QHash<QString, QByteArray> ThemeArchive::Read(const QSet<QString>& names, qint64 limit) const {
    QHash<QString, QByteArray> found;
    QSet<QString> wanted;
    for (const QString& name : names) {
        const qint64 size = entries_.value(name, 0);
        if (size > 0 && size <= limit) wanted.insert(name);
    }
    if (wanted.isEmpty() || !open_) return found;
    Reader reader = OpenZip(path_, bytes_);
    if (!reader) return found;
    archive_entry* entry = nullptr;
    for (int seen = 0; seen < kMaxEntries && !wanted.isEmpty() &&
                       archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK;
         ++seen) {
        const QString name = EntryName(entry);
        if (!wanted.contains(name)) continue;
        wanted.remove(name); // the first of equal names, as in the table
        const qint64 stated = entries_.value(name);
        QByteArray data;
        data.reserve(qsizetype(stated));
        if (ReadData(reader.get(), stated, &data) && data.size() == stated)
            found.insert(name, data);
    }
    return found;
}

QByteArray ThemeArchive::ReadPrefix(const QString& name, qint64 bytes) const {
    if (!open_ || !entries_.contains(name)) return QByteArray();
    Reader reader = OpenZip(path_, bytes_);
    if (!reader) return QByteArray();
    archive_entry* entry = nullptr;
    for (int seen = 0;
         seen < kMaxEntries && archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK;
         ++seen) {
        if (EntryName(entry) != name) continue;
        QByteArray data(qsizetype(bytes), '\0');
        qint64 filled = 0;
        while (filled < bytes) {
            const la_ssize_t n =
                archive_read_data(reader.get(), data.data() + filled, size_t(bytes - filled));
            if (n <= 0) break;
            filled += n;
        }
        data.truncate(qsizetype(filled));
        return data;
    }
    return QByteArray();
}

} // namespace tarvix
