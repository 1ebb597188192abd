#pragma once
// The conversions that need the whole picture in the image library's bitmaps
// (every editing step, every format but the streamed JPEG). Built into a
// library of its own, which the engine loads only for them.

#include "engine/Pipeline.h"

#include <QByteArray>

namespace tarvix {

FileResult ConvertWholePicture(const ConversionRequest& request, const FileJob& job);

// An encoded picture of any format the image library reads, as 32-bit pixels
// (the byte order of QImage::Format_ARGB32, top row first); a JPEG beyond
// maxSide (0: no limit) at the decoder's own reduced size. False when it cannot
// be read.
bool DecodePicture(const QByteArray& encoded, int maxSide, int* width, int* height,
                   QByteArray* pixels);

} // namespace tarvix
