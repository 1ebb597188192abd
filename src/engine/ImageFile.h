#pragma once
// Reading the input picture and writing the output file.

#include <FreeImage.h>
#include <QString>

namespace tarvix {

// Loads the input as a DirectDraw Surface whatever its extension: the top level
// of its first surface. On failure returns null and, when reason is given, says
// why in plain words.
FIBITMAP* LoadInputImage(const QString& path, QString* reason = nullptr);

// Encodes the image and writes it under a temporary name in the target folder,
// renaming it into place only after everything was written: a failed save never
// destroys an existing file of that name nor leaves a partial one.
bool SaveImageFile(int format, FIBITMAP* image, const QString& path, int flags);

} // namespace tarvix
