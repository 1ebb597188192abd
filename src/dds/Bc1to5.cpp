// The S3TC family: DXT1 to DXT5 (BC1 to BC3) and the one- and two-channel
// BC4 and BC5.

#include "dds/BlockDecoders.h"

#include <cstring>

namespace tarvix::dds {
namespace {

struct Rgb {
    int r, g, b;
};

Rgb Expand565(uint16_t v) {
    const int r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
    return {(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

void Put(uint8_t* p, int r, int g, int b, int a) {
    p[0] = uint8_t(r), p[1] = uint8_t(g), p[2] = uint8_t(b), p[3] = uint8_t(a);
}

// The eight values of a BC3 alpha / BC4 channel block. DXT5 alpha is rounded to
// the nearest level, exactly as the image library decodes it; BC4 and BC5 keep
// the truncating form their reference decodes use.
void InterpolatedValues(int v0, int v1, int out[8], bool rounded) {
    const int r7 = rounded ? 3 : 0, r5 = rounded ? 2 : 0;
    out[0] = v0;
    out[1] = v1;
    if (v0 > v1) {
        for (int k = 1; k <= 6; ++k)
            out[k + 1] = ((7 - k) * v0 + k * v1 + r7) / 7;
    } else {
        for (int k = 1; k <= 4; ++k)
            out[k + 1] = ((5 - k) * v0 + k * v1 + r5) / 5;
        out[6] = 0;
        out[7] = 255;
    }
}

// Decodes an 8-byte channel block into 16 values written with a stride.
void DecodeChannel(const uint8_t* block, uint8_t* out, int stride, bool isSigned, bool rounded) {
    int v0 = block[0], v1 = block[1];
    if (isSigned) {
        v0 = int(int8_t(block[0])) + 128;
        v1 = int(int8_t(block[1])) + 128;
    }
    int values[8];
    InterpolatedValues(v0, v1, values, rounded);
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i)
        bits |= uint64_t(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i)
        out[i * stride] = uint8_t(values[(bits >> (3 * i)) & 7]);
}

} // namespace

void DecodeBc1(const uint8_t* block, uint8_t* rgba, bool threeColourRule) {
    const uint16_t c0 = uint16_t(block[0] | block[1] << 8);
    const uint16_t c1 = uint16_t(block[2] | block[3] << 8);
    const Rgb a = Expand565(c0), b = Expand565(c1);
    uint8_t palette[4][4];
    Put(palette[0], a.r, a.g, a.b, 255);
    Put(palette[1], b.r, b.g, b.b, 255);
    if (c0 > c1 || !threeColourRule) {
        Put(palette[2], (2 * a.r + b.r) / 3, (2 * a.g + b.g) / 3, (2 * a.b + b.b) / 3, 255);
        Put(palette[3], (a.r + 2 * b.r) / 3, (a.g + 2 * b.g) / 3, (a.b + 2 * b.b) / 3, 255);
    } else {
        Put(palette[2], (a.r + b.r) / 2, (a.g + b.g) / 2, (a.b + b.b) / 2, 255);
        Put(palette[3], 0, 0, 0, 0);
    }
    const uint32_t indices = uint32_t(block[4]) | uint32_t(block[5]) << 8 |
                             uint32_t(block[6]) << 16 | uint32_t(block[7]) << 24;
    for (int i = 0; i < 16; ++i)
        std::memcpy(rgba + 4 * i, palette[(indices >> (2 * i)) & 3], 4);
}

void DecodeBc2(const uint8_t* block, uint8_t* rgba) {
    DecodeBc1(block + 8, rgba, false);
    for (int i = 0; i < 16; ++i) {
        const int nibble = (block[i / 2] >> (4 * (i & 1))) & 0xF;
        rgba[4 * i + 3] = uint8_t(nibble * 17);
    }
}

void DecodeBc3(const uint8_t* block, uint8_t* rgba) {
    DecodeBc1(block + 8, rgba, false);
    DecodeChannel(block, rgba + 3, 4, false, true);
}

void DecodeBc4(const uint8_t* block, uint8_t* out, bool isSigned) {
    DecodeChannel(block, out, 1, isSigned, false);
}

void DecodeBc5(const uint8_t* block, uint8_t* rgba, bool isSigned) {
    DecodeChannel(block, rgba, 4, isSigned, false);
    DecodeChannel(block + 8, rgba + 1, 4, isSigned, false);
    // Blue is zero: 0 for unsigned blocks, and the shifted signed zero, 128, for
    // signed ones.
    const uint8_t blue = isSigned ? 128 : 0;
    for (int i = 0; i < 16; ++i) {
        rgba[4 * i + 2] = blue;
        rgba[4 * i + 3] = 255;
    }
}

} // namespace tarvix::dds
