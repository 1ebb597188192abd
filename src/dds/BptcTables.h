#pragma once
// Partition and anchor tables shared by BC6H and BC7.

#include <cstdint>

namespace tarvix::dds {

// Subset of each pixel for the 64 two-subset and 64 three-subset partitions.
extern const uint8_t kPartitions2[64][16];
extern const uint8_t kPartitions3[64][16];
// Anchor pixel of the second subset (two subsets), and of the second and third
// subsets (three subsets).
extern const uint8_t kAnchor2[64];
extern const uint8_t kAnchor3a[64];
extern const uint8_t kAnchor3b[64];
// Interpolation weights for 2-, 3- and 4-bit indices.
extern const uint8_t kWeights2[4];
extern const uint8_t kWeights3[8];
extern const uint8_t kWeights4[16];

// The 128 bits of a block, read from the lowest bit upwards.
class BlockBits {
public:
    explicit BlockBits(const uint8_t* block);
    uint32_t Take(int count);
    int Position() const { return pos_; }

private:
    uint64_t lo_ = 0, hi_ = 0;
    int pos_ = 0;
};

} // namespace tarvix::dds
