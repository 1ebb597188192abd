// Hand-built blocks for each block format.

#include "dds/BlockDecoders.h"
#include "dds/BptcTables.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

using namespace tarvix::dds;

namespace {

// Writes fields from the lowest bit of a 128-bit block upwards.
class BitWriter {
public:
    void Put(uint32_t value, int bits) {
        for (int i = 0; i < bits; ++i, ++pos_)
            if (i < 32 && ((value >> i) & 1u)) block_[pos_ / 8] |= uint8_t(1u << (pos_ % 8));
    }
    int Position() const { return pos_; }
    const uint8_t* Data() const { return block_.data(); }

private:
    std::array<uint8_t, 16> block_{};
    int pos_ = 0;
};

int Expand(int value, int bits) {
    value <<= 8 - bits;
    return value | (value >> bits);
}

std::array<uint8_t, 8> Bc1Block(uint16_t c0, uint16_t c1, uint32_t indices) {
    return {uint8_t(c0),
            uint8_t(c0 >> 8),
            uint8_t(c1),
            uint8_t(c1 >> 8),
            uint8_t(indices),
            uint8_t(indices >> 8),
            uint8_t(indices >> 16),
            uint8_t(indices >> 24)};
}

// Indices 0, 1, 2, 3 for the four pixels of each row.
constexpr uint32_t kRamp = 0xE4E4E4E4u;

// A channel block whose pixels 0 to 7 show the eight levels in code order.
std::array<uint8_t, 8> ChannelBlock(uint8_t v0, uint8_t v1) {
    std::array<uint8_t, 8> block{v0, v1};
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= uint64_t(i) << (3 * i);
    for (int i = 0; i < 6; ++i)
        block[2 + i] = uint8_t(bits >> (8 * i));
    return block;
}

} // namespace

TEST(Dxt, FourColourBlock) {
    uint8_t rgba[64];
    // Red 31 and red 0: 255, 0, 170, 85.
    const auto block = Bc1Block(0xF800, 0x0000, kRamp);
    DecodeBc1(block.data(), rgba, true);
    EXPECT_EQ(rgba[0], 255);
    EXPECT_EQ(rgba[4], 0);
    EXPECT_EQ(rgba[8], 170);
    EXPECT_EQ(rgba[12], 85);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(rgba[4 * i + 3], 255);
}

TEST(Dxt, ThreeColourRuleOnlyForDxt1) {
    uint8_t rgba[64];
    // c0 <= c1: DXT1 holds c0, c1, their mean and transparent black.
    const auto block = Bc1Block(0x0000, 0xF800, kRamp);
    DecodeBc1(block.data(), rgba, true);
    EXPECT_EQ(rgba[0], 0);
    EXPECT_EQ(rgba[4], 255);
    EXPECT_EQ(rgba[8], 127);
    EXPECT_EQ(rgba[12 + 0], 0);
    EXPECT_EQ(rgba[12 + 3], 0); // transparent
    // The same colour block inside DXT3/DXT5 always holds four colours.
    uint8_t dxt5[16] = {255, 255, 0, 0, 0, 0, 0, 0};
    std::memcpy(dxt5 + 8, block.data(), 8);
    DecodeBc3(dxt5, rgba);
    EXPECT_EQ(rgba[8], 85);   // (2 * 0 + 255) / 3
    EXPECT_EQ(rgba[12], 170); // not black
    EXPECT_EQ(rgba[12 + 3], 255);
    uint8_t dxt3[16];
    std::memset(dxt3, 0xFF, 8);
    std::memcpy(dxt3 + 8, block.data(), 8);
    DecodeBc2(dxt3, rgba);
    EXPECT_EQ(rgba[12], 170);
}

TEST(Dxt, ExplicitAndInterpolatedAlpha) {
    uint8_t rgba[64];
    uint8_t dxt3[16] = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE};
    const auto colour = Bc1Block(0xFFFF, 0, 0);
    std::memcpy(dxt3 + 8, colour.data(), 8);
    DecodeBc2(dxt3, rgba);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(rgba[4 * i + 3], i * 17);

    // Eight-value mode: a0 = 200 > a1 = 60; indices 0..7 then 7..0.
    uint8_t dxt5[16] = {200, 60};
    uint64_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= uint64_t(i < 8 ? i : 15 - i) << (3 * i);
    for (int i = 0; i < 6; ++i)
        dxt5[2 + i] = uint8_t(bits >> (8 * i));
    std::memcpy(dxt5 + 8, colour.data(), 8);
    DecodeBc3(dxt5, rgba);
    const int expect8[8] = {200, 60, 180, 160, 140, 120, 100, 80};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(rgba[4 * i + 3], expect8[i]) << i;
    // Six-value mode: a0 = 60 <= a1 = 200, with 0 and 255 as codes 6 and 7.
    dxt5[0] = 60, dxt5[1] = 200;
    DecodeBc3(dxt5, rgba);
    const int expect6[8] = {60, 200, 88, 116, 144, 172, 0, 255};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(rgba[4 * i + 3], expect6[i]) << i;
}

// End points whose in-between levels fall between whole numbers: DXT5 alpha
// rounds them to the nearest level, BC4 truncates them.
TEST(Dxt, InterpolatedAlphaRoundsToTheNearestLevel) {
    struct Case {
        uint8_t a0, a1;
        int expect[8];
    };
    const Case cases[] = {
        {255, 0, {255, 0, 219, 182, 146, 109, 73, 36}},
        {254, 1, {254, 1, 218, 182, 146, 109, 73, 37}},
        {1, 254, {1, 254, 52, 102, 153, 203, 0, 255}},
        {0, 254, {0, 254, 51, 102, 152, 203, 0, 255}},
    };
    const auto colour = Bc1Block(0xFFFF, 0, 0);
    for (const Case& c : cases) {
        uint8_t dxt5[16];
        const auto alpha = ChannelBlock(c.a0, c.a1);
        std::memcpy(dxt5, alpha.data(), 8);
        std::memcpy(dxt5 + 8, colour.data(), 8);
        uint8_t rgba[64];
        DecodeBc3(dxt5, rgba);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(rgba[4 * i + 3], c.expect[i])
                << int(c.a0) << "/" << int(c.a1) << " code " << i;
    }
}

TEST(Bc4Bc5, InterpolatedLevelsTruncate) {
    struct Case {
        uint8_t v0, v1;
        int expect[8];
    };
    const Case cases[] = {
        {254, 1, {254, 1, 217, 181, 145, 109, 73, 37}},
        {1, 254, {1, 254, 51, 102, 152, 203, 0, 255}},
        {0, 254, {0, 254, 50, 101, 152, 203, 0, 255}},
    };
    for (const Case& c : cases) {
        const auto block = ChannelBlock(c.v0, c.v1);
        uint8_t out[16];
        DecodeBc4(block.data(), out, false);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(out[i], c.expect[i]) << int(c.v0) << "/" << int(c.v1) << " code " << i;
        // The same levels in both channels of BC5.
        uint8_t bc5[16], rgba[64];
        std::memcpy(bc5, block.data(), 8);
        std::memcpy(bc5 + 8, block.data(), 8);
        DecodeBc5(bc5, rgba, false);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(rgba[4 * i], c.expect[i]) << i;
            EXPECT_EQ(rgba[4 * i + 1], c.expect[i]) << i;
        }
    }
}

TEST(Bc4Bc5, UnsignedAndSignedEndPoints) {
    uint8_t out[16];
    uint8_t block[8] = {255, 0};
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= uint64_t(i) << (3 * i);
    for (int i = 0; i < 6; ++i)
        block[2 + i] = uint8_t(bits >> (8 * i));
    DecodeBc4(block, out, false);
    const int unsignedValues[8] = {255, 0, 218, 182, 145, 109, 72, 36};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(out[i], unsignedValues[i]) << i;

    // Signed end points 127 and -128 shift to 255 and 0.
    block[0] = 127, block[1] = uint8_t(-128);
    DecodeBc4(block, out, true);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 218);
    // Signed 0 is the middle grey.
    block[0] = 0, block[1] = 0;
    DecodeBc4(block, out, true);
    EXPECT_EQ(out[0], 128);
    // Signed -1 < 5 picks the six-value mode on the shifted values.
    block[0] = uint8_t(-1), block[1] = 5;
    bits = uint64_t(6) | uint64_t(7) << 3;
    std::memset(block + 2, 0, 6);
    for (int i = 0; i < 6; ++i)
        block[2 + i] = uint8_t(bits >> (8 * i));
    DecodeBc4(block, out, true);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 255);

    uint8_t bc5[16] = {200, 200, 0, 0, 0, 0, 0, 0, 10, 10, 0, 0, 0, 0, 0, 0};
    uint8_t rgba[64];
    DecodeBc5(bc5, rgba, false);
    EXPECT_EQ(rgba[0], 200);
    EXPECT_EQ(rgba[1], 10);
    EXPECT_EQ(rgba[2], 0);
    EXPECT_EQ(rgba[3], 255);
    DecodeBc5(bc5, rgba, true);
    EXPECT_EQ(rgba[0], 72);  // -56 + 128
    EXPECT_EQ(rgba[1], 138); // 10 + 128
    EXPECT_EQ(rgba[2], 128);
}

namespace {

struct Bc7Spec {
    int mode, subsets, partitionBits, rotationBits, indexSelBits, colorBits, alphaBits, epb, spb,
        ib, ib2;
};
constexpr Bc7Spec kBc7[8] = {
    {0, 3, 4, 0, 0, 4, 0, 1, 0, 3, 0}, {1, 2, 6, 0, 0, 6, 0, 0, 1, 3, 0},
    {2, 3, 6, 0, 0, 5, 0, 0, 0, 2, 0}, {3, 2, 6, 0, 0, 7, 0, 1, 0, 2, 0},
    {4, 1, 0, 2, 1, 5, 6, 0, 0, 2, 3}, {5, 1, 0, 2, 0, 7, 8, 0, 0, 2, 2},
    {6, 1, 0, 0, 0, 7, 7, 1, 0, 4, 0}, {7, 2, 6, 0, 0, 5, 5, 1, 0, 2, 0},
};

int Anchor(const Bc7Spec& m, int partition, int subset) {
    if (subset == 0) return 0;
    if (m.subsets == 2) return kAnchor2[partition];
    return subset == 1 ? kAnchor3a[partition] : kAnchor3b[partition];
}

int SubsetOf(const Bc7Spec& m, int partition, int pixel) {
    if (m.subsets == 2) return kPartitions2[partition][pixel];
    if (m.subsets == 3) return kPartitions3[partition][pixel];
    return 0;
}

// A block whose end point e of subset s has channel value base + 3s + e (masked to
// the field), p-bits 1 for end point 1, every index 0 except the anchors at their
// largest value; decodes to e0 of the subset, or e1 at anchors of non-zero subsets.
void CheckBc7Mode(const Bc7Spec& m, int partition) {
    BitWriter w;
    w.Put(1u << m.mode, m.mode + 1);
    w.Put(uint32_t(partition), m.partitionBits);
    w.Put(0, m.rotationBits);
    w.Put(0, m.indexSelBits);
    int raw[3][2][4] = {};
    for (int c = 0; c < 4; ++c) {
        const int bits = c < 3 ? m.colorBits : m.alphaBits;
        if (bits == 0) continue;
        for (int s = 0; s < m.subsets; ++s)
            for (int e = 0; e < 2; ++e) {
                raw[s][e][c] = (5 + 7 * c + 3 * s + 11 * e) & ((1 << bits) - 1);
                w.Put(uint32_t(raw[s][e][c]), bits);
            }
    }
    int pbit[3][2] = {};
    if (m.epb)
        for (int s = 0; s < m.subsets; ++s)
            for (int e = 0; e < 2; ++e)
                w.Put(uint32_t(pbit[s][e] = e), 1);
    if (m.spb)
        for (int s = 0; s < m.subsets; ++s) {
            pbit[s][0] = pbit[s][1] = s & 1;
            w.Put(uint32_t(s & 1), 1);
        }
    // Primary indices: 0, except every non-zero subset's anchor at its largest
    // (top bit implicit 0), which selects weight of index 2^(n-1) - 1.
    int index[16] = {};
    for (int i = 0; i < 16; ++i) {
        bool anchor = false;
        for (int s = 0; s < m.subsets; ++s)
            anchor |= Anchor(m, partition, s) == i;
        const int bits = m.ib - (anchor ? 1 : 0);
        if (anchor && i != 0) index[i] = (1 << bits) - 1;
        w.Put(uint32_t(index[i]), bits);
    }
    if (m.ib2)
        for (int i = 0; i < 16; ++i)
            w.Put(0, m.ib2 - (i == 0 ? 1 : 0));
    ASSERT_EQ(w.Position(), 128) << "mode " << m.mode;

    uint8_t rgba[64];
    DecodeBc7(w.Data(), rgba);
    const uint8_t* weights = m.ib == 2 ? kWeights2 : m.ib == 3 ? kWeights3 : kWeights4;
    for (int i = 0; i < 16; ++i) {
        const int s = SubsetOf(m, partition, i);
        for (int c = 0; c < 4; ++c) {
            const int bits = c < 3 ? m.colorBits : m.alphaBits;
            int e[2];
            for (int k = 0; k < 2; ++k) {
                if (bits == 0) {
                    e[k] = 255;
                    continue;
                }
                const bool p = m.epb || m.spb;
                const int v = p ? (raw[s][k][c] << 1) | pbit[s][k] : raw[s][k][c];
                e[k] = Expand(v, p ? bits + 1 : bits);
            }
            // Alpha of modes 4 and 5 comes from the secondary indices (all 0).
            const int wgt = (c == 3 && m.ib2) ? 0 : weights[index[i]];
            const int expected = ((64 - wgt) * e[0] + wgt * e[1] + 32) >> 6;
            EXPECT_EQ(rgba[4 * i + c], expected) << "mode " << m.mode << " partition " << partition
                                                 << " pixel " << i << " channel " << c;
        }
    }
}

} // namespace

TEST(Bc7, EveryModeWithItsPartitions) {
    for (const Bc7Spec& m : kBc7) {
        const int partitions = 1 << m.partitionBits;
        for (int p = 0; p<partitions; p += partitions> 1 ? 7 : 1)
            CheckBc7Mode(m, p);
        if (partitions > 1) CheckBc7Mode(m, partitions - 1);
    }
}

TEST(Bc7, RotationAndIndexSelection) {
    // Mode 5, rotation 1 (alpha and red exchanged): colour end points 0 and
    // alpha 255 everywhere show as red 255, alpha 0.
    BitWriter w;
    w.Put(1u << 5, 6);
    w.Put(1, 2); // rotation
    for (int i = 0; i < 6; ++i)
        w.Put(0, 7);
    w.Put(255, 8);
    w.Put(255, 8);
    w.Put(0, 31);
    w.Put(0, 31);
    ASSERT_EQ(w.Position(), 128);
    uint8_t rgba[64];
    DecodeBc7(w.Data(), rgba);
    EXPECT_EQ(rgba[0], 255);
    EXPECT_EQ(rgba[3], 0);

    // Mode 4 with the index selection bit: colour takes the 3-bit indices.
    BitWriter v;
    v.Put(1u << 4, 5);
    v.Put(0, 2);
    v.Put(1, 1); // index selection
    for (int c = 0; c < 3; ++c)
        v.Put(0, 5), v.Put(31, 5); // 0 .. 255
    v.Put(63, 6), v.Put(63, 6);    // opaque
    for (int i = 0; i < 16; ++i)
        v.Put(0, i == 0 ? 1 : 2); // 2-bit indices: alpha
    for (int i = 0; i < 16; ++i)
        v.Put(i == 0 ? 0 : 4, i == 0 ? 2 : 3); // 3-bit: colour
    ASSERT_EQ(v.Position(), 128);
    DecodeBc7(v.Data(), rgba);
    EXPECT_EQ(rgba[0], 0);
    EXPECT_EQ(rgba[4], ((64 - 37) * 0 + 37 * 255 + 32) >> 6);
    EXPECT_EQ(rgba[7], 255);
}

TEST(Bc7, ReservedModeIsTransparentBlack) {
    uint8_t block[16] = {};
    block[5] = 0xFF;
    uint8_t rgba[64];
    std::memset(rgba, 0x55, sizeof rgba);
    DecodeBc7(block, rgba);
    for (uint8_t v : rgba)
        EXPECT_EQ(v, 0);
}

namespace {

// Mode number in 5 bits followed by the layout fields, as the block stores them.
uint16_t DecodeFirstHalf(const BitWriter& w, bool isSigned, int pixel = 0, int channel = 0) {
    uint16_t halves[48];
    DecodeBc6hHalf(w.Data(), halves, isSigned);
    return halves[3 * pixel + channel];
}

} // namespace

TEST(Bc6h, SingleSubsetUntransformed) {
    // Mode 3: 10-bit end points, 4-bit indices. Red 0 .. 1023, index 0 and 15.
    BitWriter w;
    w.Put(3, 5);
    w.Put(0, 10), w.Put(512, 10), w.Put(1023, 10); // r0 g0 b0
    w.Put(1023, 10), w.Put(512, 10), w.Put(0, 10); // r1 g1 b1
    w.Put(0, 3);                                   // pixel 0 (anchor): index 0
    w.Put(15, 4);                                  // pixel 1: index 15
    for (int i = 2; i < 16; ++i)
        w.Put(8, 4);
    ASSERT_EQ(w.Position(), 128);
    // Unquantized 0 -> 0; 1023 -> 0xFFFF; 512 -> ((512 << 15) + 0x4000) >> 9 = 32800.
    EXPECT_EQ(DecodeFirstHalf(w, false, 0, 0), 0);
    EXPECT_EQ(DecodeFirstHalf(w, false, 0, 1), (32800 * 31) >> 6);
    EXPECT_EQ(DecodeFirstHalf(w, false, 0, 2), (0xFFFF * 31) >> 6);
    EXPECT_EQ(DecodeFirstHalf(w, false, 1, 0), (0xFFFF * 31) >> 6);
    // Weight 34 between 0 and 0xFFFF.
    EXPECT_EQ(DecodeFirstHalf(w, false, 2, 0), (((34 * 0xFFFF + 32) >> 6) * 31) >> 6);
}

TEST(Bc6h, TransformedEndPointsAndReversedBits) {
    // Mode 15: 16-bit base, 4-bit deltas; r0[10:15] is stored with its bits
    // reversed, the first stored bit being bit 15.
    BitWriter w;
    w.Put(15, 5);
    w.Put(0x155, 10), w.Put(0, 10), w.Put(0, 10); // r0 g0 b0 low bits
    w.Put(3, 4);                                  // r1 delta +3
    w.Put(0b000001, 6);                           // r0 bits 15..10 = 1,0,0,0,0,0
    w.Put(0, 4), w.Put(0, 6), w.Put(0, 4), w.Put(0, 6);
    w.Put(0, 3);
    w.Put(15, 4);
    for (int i = 2; i < 16; ++i)
        w.Put(0, 4);
    ASSERT_EQ(w.Position(), 128);
    const int r0 = 0x8000 | 0x155;
    EXPECT_EQ(DecodeFirstHalf(w, false, 0, 0), (r0 * 31) >> 6);
    EXPECT_EQ(DecodeFirstHalf(w, false, 1, 0), ((r0 + 3) * 31) >> 6);

    // Mode 11 carries r0[10:11] reversed as well: stored bits 0,1 set bit 10.
    BitWriter v;
    v.Put(11, 5);
    v.Put(0, 10), v.Put(0, 10), v.Put(0, 10);
    v.Put(0, 8), v.Put(0b10, 2); // r1 delta 0, then r0 bit 11 = 0, bit 10 = 1
    v.Put(0, 8), v.Put(0, 2), v.Put(0, 8), v.Put(0, 2);
    v.Put(0, 63);
    ASSERT_EQ(v.Position(), 128);
    // 12-bit end point 0x400 unquantized: ((0x400 << 15) + 0x4000) >> 11.
    EXPECT_EQ(DecodeFirstHalf(v, false, 0, 0), ((((0x400 << 15) + 0x4000) >> 11) * 31) >> 6);
}

TEST(Bc6h, TwoSubsetsAndSignedValues) {
    // Mode 30 (two subsets, 6-bit end points, untransformed), partition 0:
    // pixels 2, 3, 6, 7... belong to subset 1.
    BitWriter w;
    w.Put(30, 5);
    // Fields in layout order; only r0 = 10, r2 = 63 (the second subset) set.
    const char* fields[] = {"r0:6", "g3:1", "b3:1", "b3:1", "b2:1", "g0:6", "g2:1", "b2:1",
                            "b3:1", "g2:1", "b0:6", "g3:1", "b3:1", "b3:1", "b3:1", "r1:6",
                            "g2:4", "g1:6", "g3:4", "b1:6", "b2:4", "r2:6", "r3:6"};
    for (const char* f : fields) {
        const int bits = std::atoi(std::strchr(f, ':') + 1);
        uint32_t value = 0;
        if (std::strncmp(f, "r0", 2) == 0) value = 10;
        if (std::strncmp(f, "r2", 2) == 0) value = 63;
        w.Put(value, bits);
    }
    w.Put(0, 5); // partition 0
    ASSERT_EQ(w.Position(), 82);
    EXPECT_EQ(kPartitions2[0][2], 1);
    EXPECT_EQ(DecodeFirstHalf(w, false, 0, 0), ((((10 << 15) + 0x4000) >> 5) * 31) >> 6);
    EXPECT_EQ(DecodeFirstHalf(w, false, 2, 0), (0xFFFF * 31) >> 6);

    // Signed mode 3: r0 = -1 (all ten bits set) gives a negative half.
    BitWriter s;
    s.Put(3, 5);
    s.Put(0x3FF, 10), s.Put(0, 10), s.Put(0, 10);
    s.Put(0, 30);
    s.Put(0, 63);
    const uint16_t negative = DecodeFirstHalf(s, true, 0, 0);
    EXPECT_NE(negative & 0x8000, 0);
    uint8_t rgba[64];
    DecodeBc6h(s.Data(), rgba, true);
    EXPECT_EQ(rgba[0], 0); // negative values clamp to black
}

TEST(Bc6h, ReservedModesAreBlack) {
    for (int mode : {19, 23, 27, 31}) {
        uint8_t block[16];
        std::memset(block, 0xFF, sizeof block);
        block[0] = uint8_t(mode | 0xE0);
        uint8_t rgba[64];
        DecodeBc6h(block, rgba, false);
        EXPECT_EQ(rgba[0], 0) << mode;
        EXPECT_EQ(rgba[3], 255) << mode;
    }
}

TEST(Bc6h, HalfToFloat) {
    EXPECT_EQ(HalfToFloat(0x3C00), 1.0f);
    EXPECT_EQ(HalfToFloat(0xC000), -2.0f);
    EXPECT_EQ(HalfToFloat(0x0001), std::ldexp(1.0f, -24));
    EXPECT_EQ(HalfToFloat(0x7BFF), 65504.0f);
    EXPECT_TRUE(std::isinf(HalfToFloat(0x7C00)));
    EXPECT_TRUE(std::isnan(HalfToFloat(0x7E00)));
}
