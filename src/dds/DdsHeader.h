#pragma once
// The DDS header: what the file claims, checked before anything is allocated or
// decoded. Every check names its reason in plain words.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tarvix::dds {

// Largest picture the reader accepts: 32768 pixels a side and 2^28 pixels in all
// (a 16384 x 16384 texture), so a decode never needs more than 1 GiB.
constexpr uint32_t kMaxDimension = 32768;
constexpr uint64_t kMaxPixels = uint64_t(1) << 28;

// The magic, the 124-byte header and the DX10 extension.
constexpr size_t kHeaderBytes = 128;
constexpr size_t kDx10Bytes = 20;
constexpr size_t kPaletteBytes = 1024;

enum class Format {
    Bc1,
    Bc2,
    Bc3,
    Bc4Unsigned,
    Bc4Signed,
    Bc5Unsigned,
    Bc5Signed,
    Bc6hUnsigned,
    Bc6hSigned,
    Bc7,
    Masked, // uncompressed, channels by bit masks (RGB, RGBA, 16-bit layouts)
    Rgba8,  // DX10 R8G8B8A8 byte order
    Bgra8,  // DX10 B8G8R8A8 byte order
    Luminance8,
    Luminance16,
    LuminanceAlpha8,
    Alpha8,
    Palette8,
    Layout, // the DXGI row layouts described by Info::layout
};

// How the values of a layout are read (UINT is read as UNORM of its width, SINT
// as SNORM).
enum class ValueKind : uint8_t { Unorm, Snorm, Float };

// The ways whole pixels are packed into the rows of a DXGI layout.
enum class Packing : uint8_t {
    Components, // 1 to 4 components of 8, 16 or 32 bits, R first
    Rgb10A2,    // 10:10:10:2 in 32 bits, R lowest
    XrBias,     // the same with the extended-range bias
    Rg11B10F,   // three small floats in 32 bits
    Rgb9E5,     // three mantissas and a shared exponent in 32 bits
    Bits1,      // one bit a pixel, eight pixels a byte, the first the highest bit
    RgbgPairs,  // two pixels in R, G0, B, G1
    GrgbPairs,  // two pixels in G0, R, G1, B
    Yuy2,       // two pixels in Y0, U, Y1, V; 8 bits each
    Uyvy,       // two pixels in U, Y0, V, Y1
    Y2xx,       // two pixels in Y0, U, Y1, V; 16 bits each
    Ayuv,       // V, U, Y, A; 8 bits each
    Y410,       // U, Y, V of 10 bits and A of 2 in 32 bits
    Y416,       // U, Y, V, A of 16 bits each
    Nv12,       // planar: 8-bit luma, then a plane of U, V pairs
    P01x,       // the same with 16-bit samples
};

struct Layout {
    Packing packing = Packing::Components;
    ValueKind kind = ValueKind::Unorm;
    uint8_t components = 0; // Components: how many
    uint8_t bits = 0;       // Components: bits of each
};

// A four-character code as the file stores it, and a little-endian 32-bit value.
constexpr uint32_t FourCC(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}
inline uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The kind of bitmap a format decodes to.
enum class Output { Grey8, Rgb24, Rgba32 };

struct Masks {
    uint32_t r = 0, g = 0, b = 0, a = 0;
};

struct Info {
    uint32_t width = 0;
    uint32_t height = 0;
    Format format = Format::Bc1;
    Output output = Output::Rgba32;
    bool blockCompressed = false;
    uint32_t blockBytes = 0;    // 8 or 16 for block formats
    uint32_t bytesPerPixel = 0; // uncompressed formats: bytes of a group of pixels
    uint32_t groupPixels = 1;   // pixels sharing those bytes (4:2:2 pairs, 1-bit rows)
    Layout layout;              // Format::Layout
    uint32_t chromaRows = 0;    // planar: luma rows per chroma row (0: not planar)
    uint64_t chromaOffset = 0;  // planar: first byte of the chroma plane
    Masks masks;                // Masked, Luminance and LuminanceAlpha formats
    uint64_t paletteOffset = 0; // Palette8: 256 entries of R, G, B, A
    uint64_t dataOffset = 0;    // first byte of the top level of the first surface
    uint64_t dataBytes = 0;     // bytes of that top level
    QString name;               // how the format is named in messages

    // Bytes of one row of pixels or of 4 x 4 blocks.
    uint64_t RowBytes() const;
    // Rows of pixels or of blocks.
    uint32_t Rows() const;
};

// Checks the first bytes of a file whose total size is fileSize. head must hold
// min(fileSize, kHeaderBytes + kDx10Bytes) bytes. On failure returns nullopt and
// sets error to the reason.
std::optional<Info> ParseHeader(const uint8_t* head, size_t headBytes, uint64_t fileSize,
                                QString* error);

} // namespace tarvix::dds
