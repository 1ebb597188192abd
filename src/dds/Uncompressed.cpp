#include "dds/Uncompressed.h"

#include "dds/Layouts.h"

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

// Rounded to the nearest byte: the rule of the signed layouts.
uint8_t UnormByte(uint32_t v, int bits) {
    if (bits == 8) return uint8_t(v);
    const uint64_t max = (uint64_t(1) << bits) - 1;
    return uint8_t((uint64_t(v) * 255 + max / 2) / max);
}

uint32_t ReadPixel(const uint8_t* p, uint32_t bytes) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < bytes; ++i)
        v |= uint32_t(p[i]) << (8 * i);
    return v;
}

} // namespace

void DecodePixelRow(const Info& info, const uint8_t* palette, const uint8_t* src, BYTE* dst,
                    const uint8_t* chroma) {
    const uint32_t w = info.width;
    // Colour formats write 4 bytes a pixel, or 3 when the caller asked for an
    // opaque picture; the alpha byte is then simply not written.
    const bool alpha = info.output == Output::Rgba32;
    const int step = alpha ? 4 : 3;
    auto put = [&](BYTE* p, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        p[FI_RGBA_RED] = r;
        p[FI_RGBA_GREEN] = g;
        p[FI_RGBA_BLUE] = b;
        if (alpha) p[FI_RGBA_ALPHA] = a;
    };
    switch (info.format) {
    case Format::Masked: {
        const Channel r(info.masks.r), g(info.masks.g), b(info.masks.b), a(info.masks.a);
        const uint32_t bpp = info.bytesPerPixel;
        for (uint32_t x = 0; x < w; ++x, src += bpp, dst += step) {
            const uint32_t v = ReadPixel(src, bpp);
            put(dst, r.Get(v), g.Get(v), b.Get(v), a.Get(v));
        }
        return;
    }
    case Format::Rgba8:
        for (uint32_t x = 0; x < w; ++x, src += 4, dst += step)
            put(dst, src[0], src[1], src[2], src[3]);
        return;
    case Format::Bgra8:
        if (alpha) {
            std::memcpy(dst, src, size_t(w) * 4);
            return;
        }
        for (uint32_t x = 0; x < w; ++x, src += 4, dst += 3)
            put(dst, src[2], src[1], src[0], 255);
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
        const uint32_t bpp = info.bytesPerPixel;
        for (uint32_t x = 0; x < w; ++x, src += bpp, dst += step) {
            const uint32_t v = ReadPixel(src, bpp);
            const uint8_t grey = l.Get(v);
            put(dst, grey, grey, grey, a.Get(v));
        }
        return;
    }
    case Format::Layout:
        DecodeLayoutRow(info, src, dst, chroma);
        return;
    case Format::Palette8:
        for (uint32_t x = 0; x < w; ++x, dst += step) {
            const uint8_t* entry = palette + 4 * src[x];
            put(dst, entry[0], entry[1], entry[2], entry[3]);
        }
        return;
    case Format::PaletteAlpha8:
        for (uint32_t x = 0; x < w; ++x, src += 2, dst += step) {
            const uint8_t* entry = palette + 4 * src[0];
            put(dst, entry[0], entry[1], entry[2], src[1]);
        }
        return;
    case Format::Bump: {
        // Signed channels are shifted by half their range (zero reads 128, as
        // the signed block formats do); a missing third channel is that zero.
        const Channel c[4] = {Channel(info.masks.r), Channel(info.masks.g), Channel(info.masks.b),
                              Channel(info.masks.a)};
        const uint32_t bpp = info.bytesPerPixel;
        for (uint32_t x = 0; x < w; ++x, src += bpp, dst += step) {
            const uint32_t v = ReadPixel(src, bpp);
            uint8_t out[4] = {0, 0, 128, 255};
            for (int i = 0; i < 4; ++i) {
                if (!c[i].mask) continue;
                uint32_t value = (v & c[i].mask) >> c[i].shift;
                if (info.signedMask & (1u << i)) value ^= uint32_t(1) << (c[i].bits - 1);
                out[i] = UnormByte(value, c[i].bits);
            }
            put(dst, out[0], out[1], out[2], out[3]);
        }
        return;
    }
    default:
        return;
    }
}

} // namespace tarvix::dds
