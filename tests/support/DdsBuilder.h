#pragma once
// Builds DDS files in memory for tests and benchmarks: uncompressed layouts and a
// simple block encoder for DXT1/DXT3/DXT5 and the DX10 header.

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <vector>

namespace tarvix::test {

struct DdsPixelFormat {
    uint32_t flags = 0;
    uint32_t fourCC = 0;
    uint32_t bitCount = 0;
    uint32_t rMask = 0, gMask = 0, bMask = 0, aMask = 0;
};

constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

// The 128-byte header (magic included) for the given size and pixel format.
QByteArray DdsHeader(uint32_t width, uint32_t height, const DdsPixelFormat& pf,
                     uint32_t pitchOrLinearSize = 0, uint32_t mipCount = 0);
// The 20-byte DX10 extension.
QByteArray Dx10Header(uint32_t dxgiFormat, uint32_t arraySize = 1);

// Uncompressed files from an image (alpha kept for 32-bit layouts).
QByteArray DdsUncompressed(const QImage& image, int bitCount, uint32_t r, uint32_t g, uint32_t b,
                           uint32_t a);
QByteArray DdsRgb24(const QImage& image);
QByteArray DdsBgra32(const QImage& image);

// Block-compressed files; the encoder picks end points from each block's
// luminance extremes, good enough for tests that compare with a decode.
QByteArray DdsDxt1(const QImage& image);
QByteArray DdsDxt3(const QImage& image);
QByteArray DdsDxt5(const QImage& image);
// The compressed blocks alone, rows of blocks top-down.
QByteArray EncodeDxt(const QImage& image, int version);

// A colourful test picture with a gradient, shapes and an alpha ramp.
QImage TestPicture(int width, int height);

} // namespace tarvix::test
