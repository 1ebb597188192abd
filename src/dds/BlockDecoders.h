#pragma once
// Decoders of one 4 x 4 block each. Colour blocks write 16 pixels of R, G, B, A
// bytes in row-major order; single-channel blocks write 16 bytes.

#include <cstdint>

namespace tarvix::dds {

// The DXT1 colour block. threeColourRule: a block whose first colour is not
// greater than its second holds three colours and transparent black (DXT1);
// blocks of DXT3 and DXT5 always hold four colours.
void DecodeBc1(const uint8_t* block, uint8_t* rgba, bool threeColourRule = true);
void DecodeBc2(const uint8_t* block, uint8_t* rgba);
void DecodeBc3(const uint8_t* block, uint8_t* rgba);
// One channel of 8 interpolated values; a signed block is shifted to 0..255 the
// way the signed end points are stored (value + 128).
void DecodeBc4(const uint8_t* block, uint8_t* out, bool isSigned);
// Red and green from two BC4 blocks, blue zero (128 once a signed block is
// shifted), alpha 255.
void DecodeBc5(const uint8_t* block, uint8_t* rgba, bool isSigned);
// Sixteen half-float triples (R, G, B).
void DecodeBc6hHalf(const uint8_t* block, uint16_t* rgb, bool isSigned);
// The same brought to 8 bits: each half is clamped to 0..1 and scaled by 255.
void DecodeBc6h(const uint8_t* block, uint8_t* rgba, bool isSigned);
void DecodeBc7(const uint8_t* block, uint8_t* rgba);

// An IEEE half float as a float.
float HalfToFloat(uint16_t half);

} // namespace tarvix::dds
