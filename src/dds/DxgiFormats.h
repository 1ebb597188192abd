#pragma once
// The DXGI formats a DX10 header names, each described once: its number, its
// name and how its pixels are read.

#include "dds/DdsHeader.h"

#include <QString>
#include <cstdint>

namespace tarvix::dds {

// Sets info for a DXGI format this reader decodes; false for any other.
bool FromDxgi(Info& info, uint32_t dxgi);
// "R16G16B16A16_FLOAT" for 10; empty for a number DXGI never used.
QString DxgiName(uint32_t dxgi);
// Sets info for a layout an older writer names by a numeric or video FourCC (36
// for A16B16G16R16, 'YUY2', and 'UYVY', which DXGI lacks); false otherwise.
bool FromLegacyCode(Info& info, uint32_t fourCC, const QString& name);

} // namespace tarvix::dds
