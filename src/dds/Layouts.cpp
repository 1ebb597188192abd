#include "dds/Layouts.h"

#include "dds/DxgiFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace tarvix::dds {
namespace {

const std::pair<uint32_t, const char*> kNames[] = {
    {0, "UNKNOWN"},
    {1, "R32G32B32A32_TYPELESS"},
    {2, "R32G32B32A32_FLOAT"},
    {3, "R32G32B32A32_UINT"},
    {4, "R32G32B32A32_SINT"},
    {5, "R32G32B32_TYPELESS"},
    {6, "R32G32B32_FLOAT"},
    {7, "R32G32B32_UINT"},
    {8, "R32G32B32_SINT"},
    {9, "R16G16B16A16_TYPELESS"},
    {10, "R16G16B16A16_FLOAT"},
    {11, "R16G16B16A16_UNORM"},
    {12, "R16G16B16A16_UINT"},
    {13, "R16G16B16A16_SNORM"},
    {14, "R16G16B16A16_SINT"},
    {15, "R32G32_TYPELESS"},
    {16, "R32G32_FLOAT"},
    {17, "R32G32_UINT"},
    {18, "R32G32_SINT"},
    {19, "R32G8X24_TYPELESS"},
    {20, "D32_FLOAT_S8X24_UINT"},
    {21, "R32_FLOAT_X8X24_TYPELESS"},
    {22, "X32_TYPELESS_G8X24_UINT"},
    {23, "R10G10B10A2_TYPELESS"},
    {24, "R10G10B10A2_UNORM"},
    {25, "R10G10B10A2_UINT"},
    {26, "R11G11B10_FLOAT"},
    {27, "R8G8B8A8_TYPELESS"},
    {28, "R8G8B8A8_UNORM"},
    {29, "R8G8B8A8_UNORM_SRGB"},
    {30, "R8G8B8A8_UINT"},
    {31, "R8G8B8A8_SNORM"},
    {32, "R8G8B8A8_SINT"},
    {33, "R16G16_TYPELESS"},
    {34, "R16G16_FLOAT"},
    {35, "R16G16_UNORM"},
    {36, "R16G16_UINT"},
    {37, "R16G16_SNORM"},
    {38, "R16G16_SINT"},
    {39, "R32_TYPELESS"},
    {40, "D32_FLOAT"},
    {41, "R32_FLOAT"},
    {42, "R32_UINT"},
    {43, "R32_SINT"},
    {44, "R24G8_TYPELESS"},
    {45, "D24_UNORM_S8_UINT"},
    {46, "R24_UNORM_X8_TYPELESS"},
    {47, "X24_TYPELESS_G8_UINT"},
    {48, "R8G8_TYPELESS"},
    {49, "R8G8_UNORM"},
    {50, "R8G8_UINT"},
    {51, "R8G8_SNORM"},
    {52, "R8G8_SINT"},
    {53, "R16_TYPELESS"},
    {54, "R16_FLOAT"},
    {55, "D16_UNORM"},
    {56, "R16_UNORM"},
    {57, "R16_UINT"},
    {58, "R16_SNORM"},
    {59, "R16_SINT"},
    {60, "R8_TYPELESS"},
    {61, "R8_UNORM"},
    {62, "R8_UINT"},
    {63, "R8_SNORM"},
    {64, "R8_SINT"},
    {65, "A8_UNORM"},
    {66, "R1_UNORM"},
    {67, "R9G9B9E5_SHAREDEXP"},
    {68, "R8G8_B8G8_UNORM"},
    {69, "G8R8_G8B8_UNORM"},
    {70, "BC1_TYPELESS"},
    {71, "BC1_UNORM"},
    {72, "BC1_UNORM_SRGB"},
    {73, "BC2_TYPELESS"},
    {74, "BC2_UNORM"},
    {75, "BC2_UNORM_SRGB"},
    {76, "BC3_TYPELESS"},
    {77, "BC3_UNORM"},
    {78, "BC3_UNORM_SRGB"},
    {79, "BC4_TYPELESS"},
    {80, "BC4_UNORM"},
    {81, "BC4_SNORM"},
    {82, "BC5_TYPELESS"},
    {83, "BC5_UNORM"},
    {84, "BC5_SNORM"},
    {85, "B5G6R5_UNORM"},
    {86, "B5G5R5A1_UNORM"},
    {87, "B8G8R8A8_UNORM"},
    {88, "B8G8R8X8_UNORM"},
    {89, "R10G10B10_XR_BIAS_A2_UNORM"},
    {90, "B8G8R8A8_TYPELESS"},
    {91, "B8G8R8A8_UNORM_SRGB"},
    {92, "B8G8R8X8_TYPELESS"},
    {93, "B8G8R8X8_UNORM_SRGB"},
    {94, "BC6H_TYPELESS"},
    {95, "BC6H_UF16"},
    {96, "BC6H_SF16"},
    {97, "BC7_TYPELESS"},
    {98, "BC7_UNORM"},
    {99, "BC7_UNORM_SRGB"},
    {100, "AYUV"},
    {101, "Y410"},
    {102, "Y416"},
    {103, "NV12"},
    {104, "P010"},
    {105, "P016"},
    {106, "420_OPAQUE"},
    {107, "YUY2"},
    {108, "Y210"},
    {109, "Y216"},
    {110, "NV11"},
    {111, "AI44"},
    {112, "IA44"},
    {113, "P8"},
    {114, "A8P8"},
    {115, "B4G4R4A4_UNORM"},
    {130, "P208"},
    {131, "V208"},
    {132, "V408"},
    {189, "SAMPLER_FEEDBACK_MIN_MIP_OPAQUE"},
    {190, "SAMPLER_FEEDBACK_MIP_REGION_USED_OPAQUE"},
    {191, "A4B4G4R4_UNORM"},
};

// The value rules, written once.
inline uint8_t Unorm(uint32_t v, int bits) {
    if (bits == 8) return uint8_t(v);
    const uint64_t max = (uint64_t(1) << bits) - 1;
    return uint8_t((uint64_t(v) * 255 + max / 2) / max);
}

inline uint8_t Snorm(uint32_t v, int bits) {
    // Two's complement shifted by half the range: the lowest value reads 0, zero
    // 128 (for 8 bits exactly the signed block formats' mapping).
    return Unorm(v ^ (uint32_t(1) << (bits - 1)), bits);
}

inline uint8_t FromFloat(float f) {
    if (!(f > 0.0f)) return 0; // NaN and everything below zero
    if (f >= 1.0f) return 255;
    return uint8_t(f * 255.0f + 0.5f);
}

// A small float of the given exponent and mantissa widths (bias 15, no sign):
// the half floats' layout without their sign bit.
inline float SmallFloat(uint32_t exponent, uint32_t mantissa, int mantissaBits) {
    if (exponent == 31) return mantissa ? NAN : INFINITY;
    const float m = float(mantissa) / float(1u << mantissaBits);
    if (exponent == 0) return std::ldexp(m, -14);
    return std::ldexp(1.0f + m, int(exponent) - 15);
}

inline float Half(uint16_t h) {
    const float magnitude = SmallFloat((h >> 10) & 0x1F, h & 0x3FF, 10);
    return (h & 0x8000) ? -magnitude : magnitude;
}

// Every 16-bit code to its byte, and the 11- and 10-bit floats, built once: a
// lookup is many times faster than the arithmetic (halves through ldexp, UNORM
// through a division).
struct Tables16 {
    uint8_t unorm[65536];
    uint8_t half[65536];
    uint8_t small11[2048]; // 6 mantissa bits below a 5-bit exponent
    uint8_t small10[1024]; // 5 mantissa bits
    Tables16() {
        for (uint32_t v = 0; v < 65536; ++v) {
            unorm[v] = uint8_t((v * 255 + 32767) / 65535);
            half[v] = FromFloat(Half(uint16_t(v)));
        }
        for (uint32_t v = 0; v < 2048; ++v)
            small11[v] = FromFloat(SmallFloat(v >> 6, v & 0x3F, 6));
        for (uint32_t v = 0; v < 1024; ++v)
            small10[v] = FromFloat(SmallFloat(v >> 5, v & 0x1F, 5));
    }
};

const Tables16& Tables() {
    static const Tables16 tables;
    return tables;
}

inline float Float32(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

inline uint32_t Read16(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

// Where a pixel goes: one byte of grey, or R, G, B (and A unless the caller
// asked for an opaque picture) in the bitmap's byte order.
struct Writer {
    BYTE* dst;
    Output output;
    int step;
    Writer(BYTE* d, Output o)
        : dst(d), output(o), step(o == Output::Grey8   ? 1
                                  : o == Output::Rgb24 ? 3
                                                       : 4) {}
    void Put(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        if (output == Output::Grey8) {
            *dst = r;
        } else {
            dst[FI_RGBA_RED] = r;
            dst[FI_RGBA_GREEN] = g;
            dst[FI_RGBA_BLUE] = b;
            if (output == Output::Rgba32) dst[FI_RGBA_ALPHA] = a;
        }
        dst += step;
    }
};

// BT.601 limited range to RGB; k is the code scale (1 for 8-bit codes, 4 for
// 10-bit, 256 for 16-bit).
inline void PutYuv(Writer& out, float y, float u, float v, float k, uint8_t a) {
    // Multiplications by constants the compiler folds at each (inlined) call.
    const float luma = (y - 16.0f * k) * (1.0f / (219.0f * k));
    const float pb = (u - 128.0f * k) * (1.0f / (224.0f * k));
    const float pr = (v - 128.0f * k) * (1.0f / (224.0f * k));
    out.Put(FromFloat(luma + 1.402f * pr), FromFloat(luma - 0.344136f * pb - 0.714136f * pr),
            FromFloat(luma + 1.772f * pb), a);
}

template <typename Read>
void DecodeComponents(const Info& info, const uint8_t* src, Writer& out, Read read) {
    const Layout& l = info.layout;
    const uint32_t bytes = l.bits / 8;
    const uint8_t blue = l.kind == ValueKind::Snorm ? 128 : 0;
    for (uint32_t x = 0; x < info.width; ++x) {
        uint8_t c[4] = {0, 0, blue, 255};
        for (int i = 0; i < l.components; ++i, src += bytes)
            c[i] = read(src);
        if (l.components == 1) c[1] = c[2] = c[0];
        out.Put(c[0], c[1], c[2], c[3]);
    }
}

struct LayoutEntry {
    uint32_t dxgi;
    Packing packing;
    ValueKind kind;
    uint8_t components, bits;
};

constexpr ValueKind U = ValueKind::Unorm, S = ValueKind::Snorm, F = ValueKind::Float;
constexpr Packing C = Packing::Components;

const LayoutEntry kLayouts[] = {
    // Typeless 32-bit components are floats in practice; narrower ones UNORM.
    {kDxgiR32G32B32A32Typeless, C, F, 4, 32},
    {kDxgiR32G32B32A32Float, C, F, 4, 32},
    {kDxgiR32G32B32A32Uint, C, U, 4, 32},
    {kDxgiR32G32B32A32Sint, C, S, 4, 32},
    {kDxgiR32G32B32Typeless, C, F, 3, 32},
    {kDxgiR32G32B32Float, C, F, 3, 32},
    {kDxgiR32G32B32Uint, C, U, 3, 32},
    {kDxgiR32G32B32Sint, C, S, 3, 32},
    {kDxgiR16G16B16A16Typeless, C, U, 4, 16},
    {kDxgiR16G16B16A16Float, C, F, 4, 16},
    {kDxgiR16G16B16A16Unorm, C, U, 4, 16},
    {kDxgiR16G16B16A16Uint, C, U, 4, 16},
    {kDxgiR16G16B16A16Snorm, C, S, 4, 16},
    {kDxgiR16G16B16A16Sint, C, S, 4, 16},
    {kDxgiR32G32Typeless, C, F, 2, 32},
    {kDxgiR32G32Float, C, F, 2, 32},
    {kDxgiR32G32Uint, C, U, 2, 32},
    {kDxgiR32G32Sint, C, S, 2, 32},
    {kDxgiR10G10B10A2Typeless, Packing::Rgb10A2, U, 4, 0},
    {kDxgiR10G10B10A2Unorm, Packing::Rgb10A2, U, 4, 0},
    {kDxgiR10G10B10A2Uint, Packing::Rgb10A2, U, 4, 0},
    {kDxgiR11G11B10Float, Packing::Rg11B10F, F, 3, 0},
    {kDxgiR8G8B8A8Uint, C, U, 4, 8},
    {kDxgiR8G8B8A8Snorm, C, S, 4, 8},
    {kDxgiR8G8B8A8Sint, C, S, 4, 8},
    {kDxgiR16G16Typeless, C, U, 2, 16},
    {kDxgiR16G16Float, C, F, 2, 16},
    {kDxgiR16G16Unorm, C, U, 2, 16},
    {kDxgiR16G16Uint, C, U, 2, 16},
    {kDxgiR16G16Snorm, C, S, 2, 16},
    {kDxgiR16G16Sint, C, S, 2, 16},
    {kDxgiR32Typeless, C, F, 1, 32},
    {kDxgiD32Float, C, F, 1, 32},
    {kDxgiR32Float, C, F, 1, 32},
    {kDxgiR32Uint, C, U, 1, 32},
    {kDxgiR32Sint, C, S, 1, 32},
    {kDxgiR8G8Typeless, C, U, 2, 8},
    {kDxgiR8G8Unorm, C, U, 2, 8},
    {kDxgiR8G8Uint, C, U, 2, 8},
    {kDxgiR8G8Snorm, C, S, 2, 8},
    {kDxgiR8G8Sint, C, S, 2, 8},
    {kDxgiR16Typeless, C, U, 1, 16},
    {kDxgiR16Float, C, F, 1, 16},
    {kDxgiD16Unorm, C, U, 1, 16},
    {kDxgiR16Unorm, C, U, 1, 16},
    {kDxgiR16Uint, C, U, 1, 16},
    {kDxgiR16Snorm, C, S, 1, 16},
    {kDxgiR16Sint, C, S, 1, 16},
    {kDxgiR8Typeless, C, U, 1, 8},
    {kDxgiR8Uint, C, U, 1, 8},
    {kDxgiR8Snorm, C, S, 1, 8},
    {kDxgiR8Sint, C, S, 1, 8},
    {kDxgiR1Unorm, Packing::Bits1, U, 1, 1},
    {kDxgiR9G9B9E5SharedExp, Packing::Rgb9E5, F, 3, 0},
    {kDxgiR8G8B8G8Unorm, Packing::RgbgPairs, U, 3, 8},
    {kDxgiG8R8G8B8Unorm, Packing::GrgbPairs, U, 3, 8},
    {kDxgiR10G10B10XrBiasA2Unorm, Packing::XrBias, F, 4, 0},
    {kDxgiAyuv, Packing::Ayuv, U, 4, 8},
    {kDxgiY410, Packing::Y410, U, 4, 10},
    {kDxgiY416, Packing::Y416, U, 4, 16},
    {kDxgiYuy2, Packing::Yuy2, U, 3, 8},
    {kDxgiY210, Packing::Y2xx, U, 3, 16},
    {kDxgiY216, Packing::Y2xx, U, 3, 16},
    {kDxgiNv12, Packing::Nv12, U, 3, 8},
    {kDxgiP010, Packing::P01x, U, 3, 16},
    {kDxgiP016, Packing::P01x, U, 3, 16},
    {kDxgiP208, Packing::Nv12, U, 3, 8},
};

} // namespace

QString DxgiName(uint32_t dxgi) {
    for (const auto& [number, name] : kNames)
        if (number == dxgi) return QString::fromLatin1(name);
    return QString();
}

bool FromDxgiLayout(Info& info, uint32_t dxgi) {
    const QString name = QStringLiteral("DXGI %1").arg(dxgi);
    for (const LayoutEntry& e : kLayouts) {
        if (e.dxgi != dxgi) continue;
        info.format = Format::Layout;
        info.blockCompressed = false;
        info.layout = {e.packing, e.kind, e.components, e.bits};
        info.name = name;
        info.groupPixels = 1;
        switch (e.packing) {
        case Packing::Components:
            info.bytesPerPixel = uint32_t(e.components) * e.bits / 8;
            info.output = e.components == 1   ? Output::Grey8
                          : e.components == 4 ? Output::Rgba32
                                              : Output::Rgb24;
            break;
        case Packing::Bits1:
            info.bytesPerPixel = 1;
            info.groupPixels = 8;
            info.output = Output::Grey8;
            break;
        case Packing::RgbgPairs:
        case Packing::GrgbPairs:
        case Packing::Yuy2:
        case Packing::Uyvy:
            info.bytesPerPixel = 4;
            info.groupPixels = 2;
            info.output = Output::Rgb24;
            break;
        case Packing::Y2xx:
            info.bytesPerPixel = 8;
            info.groupPixels = 2;
            info.output = Output::Rgb24;
            break;
        case Packing::Nv12:
        case Packing::P01x:
            // Rows of luma padded to an even width; then the chroma plane, rows
            // of the same length, one for every two rows of luma (every row
            // for the 4:2:2 P208).
            info.bytesPerPixel = e.packing == Packing::P01x ? 4 : 2;
            info.groupPixels = 2;
            info.chromaRows = dxgi == kDxgiP208 ? 1 : 2;
            info.output = Output::Rgb24;
            break;
        case Packing::Y416:
            info.bytesPerPixel = 8;
            info.output = Output::Rgba32;
            break;
        case Packing::Rgb10A2:
        case Packing::XrBias:
        case Packing::Ayuv:
        case Packing::Y410:
            info.bytesPerPixel = 4;
            info.output = Output::Rgba32;
            break;
        case Packing::Rg11B10F:
        case Packing::Rgb9E5:
            info.bytesPerPixel = 4;
            info.output = Output::Rgb24;
            break;
        }
        return true;
    }
    return false;
}

namespace {

// The DXGI format an older writer names by a numeric or video FourCC (36 for
// A16B16G16R16, 'YUY2', ...); 0 when there is none.
uint32_t DxgiOfLegacyCode(uint32_t code) {
    switch (code) {
    case 34: // G16R16
        return kDxgiR16G16Unorm;
    case 36: // A16B16G16R16
        return kDxgiR16G16B16A16Unorm;
    case 60: // V8U8
        return kDxgiR8G8Snorm;
    case 63: // Q8W8V8U8
        return kDxgiR8G8B8A8Snorm;
    case 64: // V16U16
        return kDxgiR16G16Snorm;
    case 110: // Q16W16V16U16
        return kDxgiR16G16B16A16Snorm;
    case 111: // R16F
        return kDxgiR16Float;
    case 112: // G16R16F
        return kDxgiR16G16Float;
    case 113: // A16B16G16R16F
        return kDxgiR16G16B16A16Float;
    case 114: // R32F
        return kDxgiR32Float;
    case 115: // G32R32F
        return kDxgiR32G32Float;
    case 116: // A32B32G32R32F
        return kDxgiR32G32B32A32Float;
    default:
        break;
    }
    if (code == FourCC("YUY2")) return kDxgiYuy2;
    if (code == FourCC("RGBG")) return kDxgiR8G8B8G8Unorm;
    if (code == FourCC("GRGB")) return kDxgiG8R8G8B8Unorm;
    return 0;
}

} // namespace

bool FromLegacyCode(Info& info, uint32_t code, const QString& name) {
    if (code == FourCC("UYVY")) {
        FromDxgiLayout(info, kDxgiYuy2);
        info.layout.packing = Packing::Uyvy;
    } else {
        const uint32_t dxgi = DxgiOfLegacyCode(code);
        if (dxgi == 0 || !FromDxgiLayout(info, dxgi)) return false;
    }
    info.name = name;
    return true;
}

void DecodeLayoutRow(const Info& info, const uint8_t* src, BYTE* dst, const uint8_t* chroma) {
    Writer out(dst, info.output);
    const Layout& l = info.layout;
    const uint32_t w = info.width;
    switch (l.packing) {
    case Packing::Components:
        if (l.kind == ValueKind::Float && l.bits == 32)
            DecodeComponents(info, src, out,
                             [](const uint8_t* p) { return FromFloat(Float32(Read32(p))); });
        else if (l.kind == ValueKind::Float)
            DecodeComponents(info, src, out,
                             [&t = Tables()](const uint8_t* p) { return t.half[Read16(p)]; });
        else if (l.bits == 8)
            DecodeComponents(info, src, out, [s = l.kind == ValueKind::Snorm](const uint8_t* p) {
                return s ? uint8_t(*p ^ 0x80) : *p;
            });
        else if (l.bits == 16)
            DecodeComponents(info, src, out,
                             [&t = Tables(), flip = l.kind == ValueKind::Snorm ? 0x8000u : 0u](
                                 const uint8_t* p) { return t.unorm[Read16(p) ^ flip]; });
        else
            DecodeComponents(info, src, out, [s = l.kind == ValueKind::Snorm](const uint8_t* p) {
                return s ? Snorm(Read32(p), 32) : Unorm(Read32(p), 32);
            });
        return;
    case Packing::Rgb10A2:
        for (uint32_t x = 0; x < w; ++x, src += 4) {
            const uint32_t v = Read32(src);
            out.Put(Unorm(v & 0x3FF, 10), Unorm((v >> 10) & 0x3FF, 10),
                    Unorm((v >> 20) & 0x3FF, 10), Unorm(v >> 30, 2));
        }
        return;
    case Packing::XrBias:
        // The extended-range codes: 384 is 0.0 and 894 is 1.0.
        for (uint32_t x = 0; x < w; ++x, src += 4) {
            const uint32_t v = Read32(src);
            auto xr = [](uint32_t c) { return FromFloat((float(c) - 384.0f) / 510.0f); };
            out.Put(xr(v & 0x3FF), xr((v >> 10) & 0x3FF), xr((v >> 20) & 0x3FF), Unorm(v >> 30, 2));
        }
        return;
    case Packing::Rg11B10F: {
        const Tables16& t = Tables();
        for (uint32_t x = 0; x < w; ++x, src += 4) {
            const uint32_t v = Read32(src);
            out.Put(t.small11[v & 0x7FF], t.small11[(v >> 11) & 0x7FF], t.small10[v >> 22], 255);
        }
        return;
    }
    case Packing::Rgb9E5:
        for (uint32_t x = 0; x < w; ++x, src += 4) {
            const uint32_t v = Read32(src);
            const float scale = std::ldexp(1.0f, int(v >> 27) - 15 - 9);
            auto channel = [&](uint32_t m) { return FromFloat(float(m) * scale); };
            out.Put(channel(v & 0x1FF), channel((v >> 9) & 0x1FF), channel((v >> 18) & 0x1FF), 255);
        }
        return;
    case Packing::Bits1:
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t grey = (src[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
            out.Put(grey, grey, grey, 255);
        }
        return;
    case Packing::RgbgPairs:
    case Packing::GrgbPairs: {
        const bool rgbg = l.packing == Packing::RgbgPairs;
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t* pair = src + 4 * (x / 2);
            const uint8_t r = rgbg ? pair[0] : pair[1], b = rgbg ? pair[2] : pair[3];
            const uint8_t g = rgbg ? pair[1 + 2 * (x % 2)] : pair[2 * (x % 2)];
            out.Put(r, g, b, 255);
        }
        return;
    }
    case Packing::Yuy2:
    case Packing::Uyvy: {
        const bool yuy2 = l.packing == Packing::Yuy2;
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t* pair = src + 4 * (x / 2);
            const uint8_t y = yuy2 ? pair[2 * (x % 2)] : pair[1 + 2 * (x % 2)];
            const uint8_t u = yuy2 ? pair[1] : pair[0], v = yuy2 ? pair[3] : pair[2];
            PutYuv(out, y, u, v, 1.0f, 255);
        }
        return;
    }
    case Packing::Y2xx:
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t* pair = src + 8 * (x / 2);
            PutYuv(out, float(Read16(pair + 4 * (x % 2))), float(Read16(pair + 2)),
                   float(Read16(pair + 6)), 256.0f, 255);
        }
        return;
    case Packing::Ayuv:
        for (uint32_t x = 0; x < w; ++x, src += 4)
            PutYuv(out, src[2], src[1], src[0], 1.0f, src[3]);
        return;
    case Packing::Y410:
        for (uint32_t x = 0; x < w; ++x, src += 4) {
            const uint32_t v = Read32(src);
            PutYuv(out, float((v >> 10) & 0x3FF), float(v & 0x3FF), float((v >> 20) & 0x3FF), 4.0f,
                   Unorm(v >> 30, 2));
        }
        return;
    case Packing::Nv12:
    case Packing::P01x: {
        // Luma samples, then U and V interleaved at half the width.
        const bool wide = l.packing == Packing::P01x;
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t pair = x / 2;
            if (wide)
                PutYuv(out, float(Read16(src + 2 * x)), float(Read16(chroma + 4 * pair)),
                       float(Read16(chroma + 4 * pair + 2)), 256.0f, 255);
            else
                PutYuv(out, src[x], chroma[2 * pair], chroma[2 * pair + 1], 1.0f, 255);
        }
        return;
    }
    case Packing::Y416:
        for (uint32_t x = 0; x < w; ++x, src += 8)
            PutYuv(out, float(Read16(src + 2)), float(Read16(src)), float(Read16(src + 4)), 256.0f,
                   Unorm(Read16(src + 6), 16));
        return;
    }
}

} // namespace tarvix::dds
