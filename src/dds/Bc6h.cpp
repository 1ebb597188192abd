// BC6H: high-dynamic-range RGB in fourteen modes, unsigned or signed halves.

#include "dds/BlockDecoders.h"
#include "dds/BptcTables.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace tarvix::dds {
namespace {

struct ModeSpec {
    int number;
    bool transformed;
    int partitionBits;
    int endpointBits;
    int deltaBits[3];
    // Where each bit of the block goes, from the lowest bit: "v[a:b]" fields.
    const char* layout;
};

const ModeSpec kModeSpecs[14] = {
    {0,
     true,
     5,
     10,
     {5, 5, 5},
     "m[1:0],g2[4],b2[4],b3[4],r0[9:0],g0[9:0],b0[9:0],r1[4:0],g3[4],g2[3:0],g1[4:0],b3[0],"
     "g3[3:0],b1[4:0],b3[1],b2[3:0],r2[4:0],b3[2],r3[4:0],b3[3]"},
    {1,
     true,
     5,
     7,
     {6, 6, 6},
     "m[1:0],g2[5],g3[4],g3[5],r0[6:0],b3[0],b3[1],b2[4],g0[6:0],b2[5],b3[2],g2[4],b0[6:0],"
     "b3[3],b3[5],b3[4],r1[5:0],g2[3:0],g1[5:0],g3[3:0],b1[5:0],b2[3:0],r2[5:0],r3[5:0]"},
    {2,
     true,
     5,
     11,
     {5, 4, 4},
     "m[4:0],r0[9:0],g0[9:0],b0[9:0],r1[4:0],r0[10],g2[3:0],g1[3:0],g0[10],b3[0],g3[3:0],"
     "b1[3:0],b0[10],b3[1],b2[3:0],r2[4:0],b3[2],r3[4:0],b3[3]"},
    {6,
     true,
     5,
     11,
     {4, 5, 4},
     "m[4:0],r0[9:0],g0[9:0],b0[9:0],r1[3:0],r0[10],g3[4],g2[3:0],g1[4:0],g0[10],g3[3:0],"
     "b1[3:0],b0[10],b3[1],b2[3:0],r2[3:0],b3[0],b3[2],r3[3:0],g2[4],b3[3]"},
    {10,
     true,
     5,
     11,
     {4, 4, 5},
     "m[4:0],r0[9:0],g0[9:0],b0[9:0],r1[3:0],r0[10],b2[4],g2[3:0],g1[3:0],g0[10],b3[0],"
     "g3[3:0],b1[4:0],b0[10],b2[3:0],r2[3:0],b3[1],b3[2],r3[3:0],b3[4],b3[3]"},
    {14,
     true,
     5,
     9,
     {5, 5, 5},
     "m[4:0],r0[8:0],b2[4],g0[8:0],g2[4],b0[8:0],b3[4],r1[4:0],g3[4],g2[3:0],g1[4:0],b3[0],"
     "g3[3:0],b1[4:0],b3[1],b2[3:0],r2[4:0],b3[2],r3[4:0],b3[3]"},
    {18,
     true,
     5,
     8,
     {6, 5, 5},
     "m[4:0],r0[7:0],g3[4],b2[4],g0[7:0],b3[2],g2[4],b0[7:0],b3[3],b3[4],r1[5:0],g2[3:0],"
     "g1[4:0],b3[0],g3[3:0],b1[4:0],b3[1],b2[3:0],r2[5:0],r3[5:0]"},
    {22,
     true,
     5,
     8,
     {5, 6, 5},
     "m[4:0],r0[7:0],b3[0],b2[4],g0[7:0],g2[5],g2[4],b0[7:0],g3[5],b3[4],r1[4:0],g3[4],"
     "g2[3:0],g1[5:0],g3[3:0],b1[4:0],b3[1],b2[3:0],r2[4:0],b3[2],r3[4:0],b3[3]"},
    {26,
     true,
     5,
     8,
     {5, 5, 6},
     "m[4:0],r0[7:0],b3[1],b2[4],g0[7:0],b2[5],g2[4],b0[7:0],b3[5],b3[4],r1[4:0],g3[4],"
     "g2[3:0],g1[4:0],b3[0],g3[3:0],b1[5:0],b2[3:0],r2[4:0],b3[2],r3[4:0],b3[3]"},
    {30,
     false,
     5,
     6,
     {6, 6, 6},
     "m[4:0],r0[5:0],g3[4],b3[0],b3[1],b2[4],g0[5:0],g2[5],b2[5],b3[2],g2[4],b0[5:0],g3[5],"
     "b3[3],b3[5],b3[4],r1[5:0],g2[3:0],g1[5:0],g3[3:0],b1[5:0],b2[3:0],r2[5:0],r3[5:0]"},
    {3, false, 0, 10, {10, 10, 10}, "m[4:0],r0[9:0],g0[9:0],b0[9:0],r1[9:0],g1[9:0],b1[9:0]"},
    {7,
     true,
     0,
     11,
     {9, 9, 9},
     "m[4:0],r0[9:0],g0[9:0],b0[9:0],r1[8:0],r0[10],g1[8:0],g0[10],b1[8:0],b0[10]"},
    {11,
     true,
     0,
     12,
     {8, 8, 8},
     "m[4:0],r0[9:0],g0[9:0],b0[9:0],r1[7:0],r0[10:11],g1[7:0],g0[10:11],b1[7:0],b0[10:11]"},
    {15,
     true,
     0,
     16,
     {4, 4, 4},
     "m[4:0],r0[9:0],g0[9:0],b0[9:0],r1[3:0],r0[10:15],g1[3:0],g0[10:15],b1[3:0],b0[10:15]"},
};

// One bit of the block: which end-point value (channel * 4 + end point, or -1
// for the mode bits) and which of its bits.
struct BitTarget {
    int8_t value;
    int8_t bit;
};

struct Mode {
    const ModeSpec* spec = nullptr;
    std::vector<BitTarget> bits;
};

// Expands a layout such as "m[1:0],g2[4],r0[10:11]" into one target per block
// bit. In "v[a:b]" the first bit read goes to bit b and the last to bit a.
std::vector<BitTarget> ParseLayout(const char* layout) {
    std::vector<BitTarget> bits;
    const char* p = layout;
    while (*p) {
        const char name = *p++;
        int value = -1;
        if (name != 'm') {
            const int channel = name == 'r' ? 0 : name == 'g' ? 1 : 2;
            value = channel * 4 + (*p++ - '0');
        }
        ++p; // '['
        int a = 0;
        while (*p >= '0' && *p <= '9')
            a = a * 10 + (*p++ - '0');
        int b = a;
        if (*p == ':') {
            ++p;
            b = 0;
            while (*p >= '0' && *p <= '9')
                b = b * 10 + (*p++ - '0');
        }
        ++p; // ']'
        if (*p == ',') ++p;
        const int step = a >= b ? 1 : -1;
        for (int bit = b;; bit += step) {
            bits.push_back({int8_t(value), int8_t(bit)});
            if (bit == a) break;
        }
    }
    return bits;
}

// Modes by their 5-bit number (2-bit numbers 0 and 1 are stored at 0 and 1).
const std::array<Mode, 32>& Modes() {
    static const std::array<Mode, 32> modes = [] {
        std::array<Mode, 32> table{};
        for (const ModeSpec& spec : kModeSpecs) {
            table[spec.number].spec = &spec;
            table[spec.number].bits = ParseLayout(spec.layout);
        }
        return table;
    }();
    return modes;
}

int SignExtend(int value, int bits) {
    const int shift = 32 - bits;
    return int(uint32_t(value) << shift) >> shift;
}

int Unquantize(int x, int bits, bool isSigned) {
    if (!isSigned) {
        if (bits >= 15) return x;
        if (x == 0) return 0;
        if (x == (1 << bits) - 1) return 0xFFFF;
        return ((x << 15) + 0x4000) >> (bits - 1);
    }
    if (bits >= 16) return x;
    bool negative = false;
    if (x < 0) negative = true, x = -x;
    int unq;
    if (x == 0)
        unq = 0;
    else if (x >= (1 << (bits - 1)) - 1)
        unq = 0x7FFF;
    else
        unq = ((x << 15) + 0x4000) >> (bits - 1);
    return negative ? -unq : unq;
}

uint16_t FinishHalf(int value, bool isSigned) {
    if (!isSigned) return uint16_t((value * 31) >> 6);
    if (value < 0) return uint16_t(0x8000 | (((-value) * 31) >> 5));
    return uint16_t((value * 31) >> 5);
}

} // namespace

float HalfToFloat(uint16_t half) {
    const int sign = half >> 15;
    const int exponent = (half >> 10) & 0x1F;
    const int mantissa = half & 0x3FF;
    float value;
    if (exponent == 0)
        value = std::ldexp(float(mantissa), -24);
    else if (exponent == 31)
        value = mantissa ? NAN : INFINITY;
    else
        value = std::ldexp(float(mantissa | 0x400), exponent - 25);
    return sign ? -value : value;
}

void DecodeBc6hHalf(const uint8_t* block, uint16_t* rgb, bool isSigned) {
    const int low2 = block[0] & 3;
    const int number = low2 < 2 ? low2 : block[0] & 0x1F;
    const Mode& mode = Modes()[number];
    if (!mode.spec) { // reserved: black
        std::memset(rgb, 0, 16 * 3 * sizeof(uint16_t));
        return;
    }
    const ModeSpec& spec = *mode.spec;
    BlockBits bits(block);
    int values[12] = {}; // channel * 4 + end point
    for (const BitTarget& t : mode.bits) {
        const uint32_t bit = bits.Take(1);
        if (t.value >= 0) values[t.value] |= int(bit) << t.bit;
    }
    const int subsets = spec.partitionBits ? 2 : 1;
    const int partition = int(bits.Take(spec.partitionBits));
    const int ends = subsets * 2;

    for (int c = 0; c < 3; ++c) {
        int* e = values + c * 4;
        if (isSigned) e[0] = SignExtend(e[0], spec.endpointBits);
        for (int k = 1; k < ends; ++k) {
            if (spec.transformed) {
                e[k] = SignExtend(e[k], spec.deltaBits[c]);
                e[k] = (e[0] + e[k]) & ((1 << spec.endpointBits) - 1);
                if (isSigned) e[k] = SignExtend(e[k], spec.endpointBits);
            } else if (isSigned) {
                e[k] = SignExtend(e[k], spec.endpointBits);
            }
        }
        for (int k = 0; k < ends; ++k)
            e[k] = Unquantize(e[k], spec.endpointBits, isSigned);
    }

    const int indexBits = subsets == 2 ? 3 : 4;
    const uint8_t* weights = subsets == 2 ? kWeights3 : kWeights4;
    for (int i = 0; i < 16; ++i) {
        const bool anchor = i == 0 || (subsets == 2 && i == kAnchor2[partition]);
        const int index = int(bits.Take(indexBits - (anchor ? 1 : 0)));
        const int s = subsets == 2 ? kPartitions2[partition][i] : 0;
        const int w = weights[index];
        for (int c = 0; c < 3; ++c) {
            const int e0 = values[c * 4 + 2 * s], e1 = values[c * 4 + 2 * s + 1];
            rgb[3 * i + c] = FinishHalf(((64 - w) * e0 + w * e1 + 32) >> 6, isSigned);
        }
    }
}

void DecodeBc6h(const uint8_t* block, uint8_t* rgba, bool isSigned) {
    // Every half maps to one byte: clamped to 0..1 and scaled by 255, truncating.
    static const std::array<uint8_t, 65536> toByte = [] {
        std::array<uint8_t, 65536> table{};
        for (uint32_t h = 0; h < 65536; ++h) {
            const float f = HalfToFloat(uint16_t(h));
            // NaN fails both tests and lands at 0.
            table[h] = f > 0.0f ? (f >= 1.0f ? 255 : uint8_t(f * 255.0f)) : 0;
        }
        return table;
    }();
    uint16_t halves[48];
    DecodeBc6hHalf(block, halves, isSigned);
    for (int i = 0; i < 16; ++i) {
        for (int c = 0; c < 3; ++c)
            rgba[4 * i + c] = toByte[halves[3 * i + c]];
        rgba[4 * i + 3] = 255;
    }
}

} // namespace tarvix::dds
