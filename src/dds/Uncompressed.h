#pragma once
// Rows of the uncompressed layouts: bit-mask RGB(A), the DX10 byte orders,
// luminance, luminance with alpha, alpha alone and 8-bit palettes.

#include "dds/DdsHeader.h"

#include <FreeImage.h>
#include <cstdint>

namespace tarvix::dds {

// Converts one row of file pixels into one scan line of the bitmap the format
// decodes to (see Info::output). palette holds 256 entries of R, G, B, A.
// Planar formats also take the row of their chroma plane.
void DecodePixelRow(const Info& info, const uint8_t* palette, const uint8_t* src, BYTE* dst,
                    const uint8_t* chroma = nullptr);

// A channel of n bits brought to 8 bits. Narrow channels scale by 255 / max,
// truncating, as the image library's own conversions do; wider ones keep their
// top 8 bits.
inline uint8_t ScaleToByte(uint32_t value, int bits) {
    if (bits == 8) return uint8_t(value);
    if (bits <= 0) return 0;
    if (bits > 8) return uint8_t(value >> (bits - 8));
    const uint32_t max = (uint32_t(1) << bits) - 1;
    return uint8_t(value * 255 / max);
}

} // namespace tarvix::dds
