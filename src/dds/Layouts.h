#pragma once
// The DXGI formats stored as rows of whole pixels beyond the plain byte orders:
// components of 8, 16 or 32 bits (UNORM, SNORM, UINT, SINT, FLOAT), the packed
// 10:10:10:2, 11:11:10 float, shared-exponent and 1-bit layouts, packed 4:2:2
// RGB and the packed video formats, and the legacy numeric codes that name the
// same layouts.
//
// One rule per kind of value: UNORM scales to 0..255 with rounding; SNORM maps
// -1..1 to 0..255 (the shifted zero is 128, as for signed BC4 and BC5); floats
// clamp to 0..1, NaN reads as 0, and scale with rounding; UINT and SINT read as
// UNORM and SNORM of their width. One component is grey; two fill red and green
// with blue at the zero of their kind (as BC5 does). Video formats are BT.601
// limited range.

#include "dds/DdsHeader.h"

#include <FreeImage.h>
#include <QString>
#include <cstdint>

namespace tarvix::dds {

// Sets info for rows of this layout: the bytes and pixels of a group and the
// bitmap it decodes to. chromaRows: for the planar layouts, rows of luma per
// row of chroma.
void SetLayout(Info& info, const Layout& layout, uint32_t chromaRows = 0);

// One row of file pixels into one scan line of the bitmap (see Info::output).
// Planar formats take the row of their chroma plane too.
void DecodeLayoutRow(const Info& info, const uint8_t* src, BYTE* dst,
                     const uint8_t* chroma = nullptr);

} // namespace tarvix::dds
