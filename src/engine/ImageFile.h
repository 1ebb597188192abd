#pragma once
// Reading the input picture and writing the output file.

#include <FreeImage.h>
#include <QString>

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
                         PixelStore* store = nullptr, bool opaque = false);

// Encodes the image and writes it under a temporary name in the target folder,
// renaming it into place only after everything was written: a failed save never
// destroys an existing file of that name nor leaves a partial one. On failure
// says why in reason, when given ("cannot write PATH: " and the system's text
// for a failed write).
bool SaveImageFile(int format, FIBITMAP* image, const QString& path, int flags,
                   QString* reason = nullptr);

} // namespace tarvix
