#pragma once
// PNG decoding with libpng's own reader, which reports errors to its caller
// instead of printing them.

#include <QByteArray>
#include <QImage>

namespace tarvix {

// A null image when the bytes do not decode, or when a side exceeds maxSide
// (when given), checked before any pixel is decoded.
QImage DecodePng(const QByteArray& bytes, int maxSide = 0);

} // namespace tarvix
