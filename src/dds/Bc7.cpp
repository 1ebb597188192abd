// BC7: eight modes of one to three subsets with 4- to 8-bit end points.

#include "dds/BlockDecoders.h"
#include "dds/BptcTables.h"

#include <cstring>
#include <utility>

namespace tarvix::dds {
namespace {

struct Mode {
    int subsets, partitionBits, rotationBits, indexSelectionBits, colorBits, alphaBits;
    int endpointPBits, sharedPBits, indexBits, secondaryIndexBits;
};

constexpr Mode kModes[8] = {
    {3, 4, 0, 0, 4, 0, 1, 0, 3, 0}, {2, 6, 0, 0, 6, 0, 0, 1, 3, 0}, {3, 6, 0, 0, 5, 0, 0, 0, 2, 0},
    {2, 6, 0, 0, 7, 0, 1, 0, 2, 0}, {1, 0, 2, 1, 5, 6, 0, 0, 2, 3}, {1, 0, 2, 0, 7, 8, 0, 0, 2, 2},
    {1, 0, 0, 0, 7, 7, 1, 0, 4, 0}, {2, 6, 0, 0, 5, 5, 1, 0, 2, 0},
};

// The top bits of a value of n bits replicated into the low bits of a byte.
int Expand(int value, int bits) {
    value <<= 8 - bits;
    return value | (value >> bits);
}

const uint8_t* Weights(int bits) {
    return bits == 2 ? kWeights2 : bits == 3 ? kWeights3 : kWeights4;
}

int Interpolate(int e0, int e1, int weight) {
    return ((64 - weight) * e0 + weight * e1 + 32) >> 6;
}

} // namespace

void DecodeBc7(const uint8_t* block, uint8_t* rgba) {
    int modeIndex = 0;
    while (modeIndex < 8 && !(block[0] & (1 << modeIndex)))
        ++modeIndex;
    if (modeIndex == 8) { // reserved: transparent black
        std::memset(rgba, 0, 64);
        return;
    }
    const Mode& m = kModes[modeIndex];
    BlockBits bits(block);
    bits.Take(modeIndex + 1);
    const int partition = int(bits.Take(m.partitionBits));
    const int rotation = int(bits.Take(m.rotationBits));
    const int indexSelection = int(bits.Take(m.indexSelectionBits));

    // endpoints[subset][end][channel]
    int endpoints[3][2][4] = {};
    for (int c = 0; c < 3; ++c)
        for (int s = 0; s < m.subsets; ++s)
            for (int e = 0; e < 2; ++e)
                endpoints[s][e][c] = int(bits.Take(m.colorBits));
    if (m.alphaBits)
        for (int s = 0; s < m.subsets; ++s)
            for (int e = 0; e < 2; ++e)
                endpoints[s][e][3] = int(bits.Take(m.alphaBits));

    int pbits[3][2] = {};
    if (m.endpointPBits) {
        for (int s = 0; s < m.subsets; ++s)
            for (int e = 0; e < 2; ++e)
                pbits[s][e] = int(bits.Take(1));
    } else if (m.sharedPBits) {
        for (int s = 0; s < m.subsets; ++s)
            pbits[s][0] = pbits[s][1] = int(bits.Take(1));
    }
    const bool hasPBit = m.endpointPBits || m.sharedPBits;
    for (int s = 0; s < m.subsets; ++s)
        for (int e = 0; e < 2; ++e) {
            for (int c = 0; c < 3; ++c) {
                int v = endpoints[s][e][c];
                int n = m.colorBits;
                if (hasPBit) v = (v << 1) | pbits[s][e], ++n;
                endpoints[s][e][c] = Expand(v, n);
            }
            if (m.alphaBits) {
                int v = endpoints[s][e][3];
                int n = m.alphaBits;
                if (hasPBit) v = (v << 1) | pbits[s][e], ++n;
                endpoints[s][e][3] = Expand(v, n);
            } else {
                endpoints[s][e][3] = 255;
            }
        }

    const uint8_t* subsetOf = m.subsets == 2   ? kPartitions2[partition]
                              : m.subsets == 3 ? kPartitions3[partition]
                                               : nullptr;
    auto isAnchor = [&](int i) {
        if (i == 0) return true;
        if (m.subsets == 2) return i == kAnchor2[partition];
        if (m.subsets == 3) return i == kAnchor3a[partition] || i == kAnchor3b[partition];
        return false;
    };
    int primary[16], secondary[16] = {};
    for (int i = 0; i < 16; ++i)
        primary[i] = int(bits.Take(m.indexBits - (isAnchor(i) ? 1 : 0)));
    if (m.secondaryIndexBits)
        for (int i = 0; i < 16; ++i)
            secondary[i] = int(bits.Take(m.secondaryIndexBits - (i == 0 ? 1 : 0)));

    const bool swapIndices = m.indexSelectionBits && indexSelection;
    const int colorIndexBits = swapIndices ? m.secondaryIndexBits : m.indexBits;
    const int alphaIndexBits =
        (m.secondaryIndexBits && !swapIndices) ? m.secondaryIndexBits : m.indexBits;
    const uint8_t* colorWeights = Weights(colorIndexBits);
    const uint8_t* alphaWeights = Weights(alphaIndexBits);

    for (int i = 0; i < 16; ++i) {
        const int s = subsetOf ? subsetOf[i] : 0;
        const int colorIndex = swapIndices ? secondary[i] : primary[i];
        const int alphaIndex = (m.secondaryIndexBits && !swapIndices) ? secondary[i] : primary[i];
        int px[4];
        for (int c = 0; c < 3; ++c)
            px[c] = Interpolate(endpoints[s][0][c], endpoints[s][1][c], colorWeights[colorIndex]);
        px[3] = Interpolate(endpoints[s][0][3], endpoints[s][1][3], alphaWeights[alphaIndex]);
        if (rotation) std::swap(px[3], px[rotation - 1]);
        for (int c = 0; c < 4; ++c)
            rgba[4 * i + c] = uint8_t(px[c]);
    }
}

} // namespace tarvix::dds
