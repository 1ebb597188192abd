#include "dds/Uncompressed.h"

#include <cstring>

namespace tarvix::dds {
namespace {

struct Channel {
    uint32_t mask;
    int shift;
    int bits;
    explicit Channel(uint32_t m) : mask(m), shift(0), bits(0) {
        if (!m) return;
        while (!((m >> shift) & 1u))
            ++shift;
        uint32_t v = m >> shift;
        while (v & 1u)
            ++bits, v >>= 1;
    }
    uint8_t Get(uint32_t pixel) const { return ScaleToByte((pixel & mask) >> shift, bits); }
};

uint32_t ReadPixel(const uint8_t* p, uint32_t bytes) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < bytes; ++i)
        v |= uint32_t(p[i]) << (8 * i);
    return v;
}

} // namespace

void DecodePixelRow(const Info& info, const uint8_t* palette, const uint8_t* src, BYTE* dst) {
    const uint32_t w = info.width;
    switch (info.format) {
    case Format::Masked: {
        const Channel r(info.masks.r), g(info.masks.g), b(info.masks.b), a(info.masks.a);
        const uint32_t bpp = info.bytesPerPixel;
        const bool alpha = info.output == Output::Rgba32;
        const int step = alpha ? 4 : 3;
        for (uint32_t x = 0; x < w; ++x, src += bpp, dst += step) {
            const uint32_t v = ReadPixel(src, bpp);
            dst[FI_RGBA_RED] = r.Get(v);
            dst[FI_RGBA_GREEN] = g.Get(v);
            dst[FI_RGBA_BLUE] = b.Get(v);
            if (alpha) dst[FI_RGBA_ALPHA] = a.Get(v);
        }
        return;
    }
    case Format::Rgba8:
        for (uint32_t x = 0; x < w; ++x, src += 4, dst += 4) {
            dst[FI_RGBA_RED] = src[0];
            dst[FI_RGBA_GREEN] = src[1];
            dst[FI_RGBA_BLUE] = src[2];
            dst[FI_RGBA_ALPHA] = src[3];
        }
        return;
    case Format::Bgra8:
        for (uint32_t x = 0; x < w; ++x, src += 4, dst += 4) {
            dst[FI_RGBA_BLUE] = src[0];
            dst[FI_RGBA_GREEN] = src[1];
            dst[FI_RGBA_RED] = src[2];
            dst[FI_RGBA_ALPHA] = src[3];
        }
        return;
    case Format::Luminance8:
    case Format::Alpha8:
        std::memcpy(dst, src, w);
        return;
    case Format::Luminance16:
        for (uint32_t x = 0; x < w; ++x, src += 2)
            dst[x] = uint8_t((uint32_t(src[0] | src[1] << 8) + 128) / 257);
        return;
    case Format::LuminanceAlpha8: {
        const Channel l(info.masks.r), a(info.masks.a);
        for (uint32_t x = 0; x < w; ++x, src += 2, dst += 4) {
            const uint32_t v = uint32_t(src[0] | src[1] << 8);
            dst[FI_RGBA_RED] = dst[FI_RGBA_GREEN] = dst[FI_RGBA_BLUE] = l.Get(v);
            dst[FI_RGBA_ALPHA] = a.Get(v);
        }
        return;
    }
    case Format::Palette8:
        for (uint32_t x = 0; x < w; ++x, dst += 4) {
            const uint8_t* entry = palette + 4 * src[x];
            dst[FI_RGBA_RED] = entry[0];
            dst[FI_RGBA_GREEN] = entry[1];
            dst[FI_RGBA_BLUE] = entry[2];
            dst[FI_RGBA_ALPHA] = entry[3];
        }
        return;
    default:
        return;
    }
}

} // namespace tarvix::dds
