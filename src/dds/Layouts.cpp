#include "dds/Layouts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace tarvix::dds {
namespace {

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

} // namespace

void SetLayout(Info& info, const Layout& layout, uint32_t chromaRows) {
    const Layout& e = layout;
    info.format = Format::Layout;
    info.blockCompressed = false;
    info.layout = layout;
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
        info.chromaRows = chromaRows;
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
