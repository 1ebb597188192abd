#include "ZipWriter.h"

#include <QFile>
#include <archive.h>
#include <archive_entry.h>

namespace artwork {

bool WriteZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries,
              bool compress) {
    archive* a = archive_write_new();
    if (!a) return false;
    bool ok = archive_write_set_format_zip(a) == ARCHIVE_OK;
    if (ok && !compress) ok = archive_write_set_options(a, "zip:compression=store") == ARCHIVE_OK;
    ok = ok && archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    for (const auto& [name, data] : entries) {
        if (!ok) break;
        archive_entry* e = archive_entry_new();
        const QByteArray utf8 = name.toUtf8();
        archive_entry_set_pathname(e, utf8.constData());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, data.size());
        archive_entry_set_mtime(e, 1767225600, 0); // 2026-01-01
        ok = archive_write_header(a, e) == ARCHIVE_OK &&
             (data.isEmpty() || archive_write_data(a, data.constData(), size_t(data.size())) ==
                                    la_ssize_t(data.size()));
        archive_entry_free(e);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

} // namespace artwork
