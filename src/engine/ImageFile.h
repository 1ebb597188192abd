#pragma once
// Reading the input picture and writing the output file.

#include "dds/DdsHeader.h"
#include "settings/Settings.h"

#include <FreeImage.h>
#include <QByteArray>
#include <QString>
#include <cstddef>

namespace tarvix {
class PixelStore;
}

namespace tarvix {

// Loads the input as a DirectDraw Surface whatever its extension: the top level
// of its first surface. On failure returns null and, when reason is given, says
// why in plain words.
// With a store, large pictures are decoded into its memory; opaque asks for a
// picture without alpha (for outputs that cannot keep it).
FIBITMAP* LoadInputImage(const QString& path, QString* reason = nullptr,
                         PixelStore* store = nullptr, bool opaque = false,
                         const dds::Request& request = {});

// The picture of a texture the settings choose, and what becomes of its channels.
dds::Request TextureRequest(const Settings& settings);

// An output file written in its target folder without a name (or under a hidden
// one where the file system cannot do that) and given its final name only when
// complete and on the disk. Abandoned (nothing left behind) unless committed.
class PendingFile {
public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    // False, with the reason, when nothing can be created in path's folder.
    bool Open(const QString& path, QString* reason);
    // Writes into buffer instead (a preview): no file, no folder, nothing to
    // clean up; Commit only reports a failed write.
    void OpenInMemory(QByteArray* buffer);
    // The final name, for a file whose name is known only once it is written;
    // it must lie on the same file system as the folder it was opened in.
    void Rename(const QString& path) { path_ = path; }
    // Appends; false once any write failed (the failure is kept for Commit).
    bool Write(const void* data, size_t bytes);
    bool Failed() const { return error_ != 0; }
    // Where the next write goes, as lseek() moves and tells it; -1 on failure.
    long Seek(long offset, int origin);
    // For a file its reader takes straight away and could make again (a
    // thumbnail a file manager reads back into its cache): Commit still renames
    // it into place whole, but does not wait for the disk.
    void SkipSync() { sync_ = false; }
    // Flushes to the disk and takes the final name, replacing a file of that
    // name in one step; false with "cannot write PATH: " and the system's text.
    bool Commit(QString* reason);
    void Abandon();

private:
    QString CannotWrite(int error) const;

    QString path_, folder_;
    QByteArray temp_; // the hidden name, once it has one
    int fd_ = -1;
    int error_ = 0;
    int slot_ = -1; // in the table of temporaries the signal handlers remove
    bool unnamed_ = false;
    bool sync_ = true;
    QByteArray* memory_ = nullptr;
    qsizetype at_ = 0; // in memory_
};

// Encodes the image and writes it under a temporary name in the target folder,
// renaming it into place only after everything was written: a failed save never
// destroys an existing file of that name nor leaves a partial one. On failure
// says why in reason, when given ("cannot write PATH: " and the system's text
// for a failed write).
// With memory, the encoded file goes there and path only names it in messages.
bool SaveImageFile(int format, FIBITMAP* image, const QString& path, int flags,
                   QString* reason = nullptr, QByteArray* memory = nullptr);

// Removes the hidden temporaries of this user in folder that are a day old or
// more: what a run killed outright (SIGKILL, a power cut) on a file system
// without unnamed files left behind.
void SweepStaleTemporaries(const QString& folder);

} // namespace tarvix
