#pragma once
// The DDS header: what the file claims, checked before anything is allocated or
// decoded. Every check names its reason in plain words.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

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
    PaletteAlpha8, // A8P8: a palette index and an alpha byte
    Layout,        // the DXGI row layouts described by Info::layout
    Bump,          // the signed D3D9 bump layouts, by masks (see Info::signedMask)
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

// Which picture of a file is converted: a mip level, an array item (a cube of a
// cube array) or a volume slice, and how a cube's faces are laid out.
enum class CubeLayout : uint8_t {
    First, // the first face the file holds (+X in a whole cube)
    Cross, // a horizontal cross: +Y above, -X +Z +X -Z in the middle row, -Y below
    Strip, // one row: +X -X +Y -Y +Z -Z
};

struct Selection {
    uint32_t mip = 0;
    uint32_t layer = 0;
    CubeLayout cube = CubeLayout::First;
};

// How the stored channels become the picture.
enum class NormalMapMode : uint8_t {
    Auto,    // rebuild where the file says it is a normal map; decode the editor markers
    Raw,     // the channels as stored
    Rebuild, // also two-channel files that do not say so
};

// What the header says beyond the first picture.
struct Surfaces {
    uint32_t mipLevels = 1;
    uint32_t arraySize = 1; // items; cubes of a cube array
    uint32_t depth = 1;     // slices of a volume at level 0
    bool cube = false;
    uint8_t faces = 0; // cube faces present: bit i for +X, -X, +Y, -Y, +Z, -Z
    bool volume = false;
    uint32_t alphaMode = 0; // DX10: 0 unknown, 1 straight, 2 premultiplied, 3 opaque, 4 custom
};

// A marker an image editor's DDS plug-in writes into the reserved words.
enum class EditorMarker : uint8_t { None, YCoCg, YCoCgScaled, AlphaExponent };

// One face of a cross or strip: where its level starts and its cell.
struct Cell {
    uint64_t offset = 0;
    uint32_t column = 0, row = 0;
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
    uint32_t signedMask = 0;    // Bump: the channels (bit 0 r .. 3 a) that are signed
    uint64_t paletteOffset = 0; // Palette8: 256 entries of R, G, B, A
    uint64_t dataOffset = 0;    // first byte of the chosen picture
    uint64_t dataBytes = 0;     // bytes of that picture (one face of a cross or strip)
    QString name;               // how the format is named in messages
    QString fourCC;             // the FourCC as the file gives it ('DXT5', 'DX10', 36), or empty
    uint32_t dxgi = 0;          // the DX10 header's format
    uint64_t fileBytes = 0;     // what every picture of the file takes, header included

    Surfaces surfaces;
    Selection selection;
    std::vector<Cell> cells; // the faces of a cross or strip; empty for one picture
    bool normalFlag = false; // pixel-format flag 0x80000000: a swizzled normal map
    bool rxgb = false;       // DXT5 with red kept in alpha
    bool premultiplied = false;
    EditorMarker marker = EditorMarker::None;
    // Applied to the decoded pixels, in this order.
    enum class Normal : uint8_t { None, FromAlphaGreen, FromRedGreen } rebuild = Normal::None;
    bool decodeMarker = false;
    // The colour alpha is composited over (formats with alpha) and the empty
    // cells of a cross take (every format), 0xRRGGBB; none: alpha dropped or
    // kept, empty cells black.
    std::optional<uint32_t> background;
    // The bitmap the decoders write before the steps above (Info::output is
    // what the caller gets).
    Output native = Output::Rgba32;

    // Bytes of one row of pixels or of 4 x 4 blocks (of a picture w wide).
    uint64_t RowBytes() const;
    uint64_t RowBytesFor(uint32_t w) const;
    // Rows of pixels or of blocks.
    uint32_t Rows() const;
    // Bytes of one picture of the given size (a level of a surface).
    uint64_t PictureBytes(uint32_t w, uint32_t h) const;
    // The picture the caller gets: the chosen surface, or the cross or strip.
    uint32_t CanvasWidth() const;
    uint32_t CanvasHeight() const;
    // Whether the decoded pixels pass through a step before they are stored.
    // Whether alpha is composited over the background (only formats with alpha).
    bool Composites() const { return background && native == Output::Rgba32; }
    bool Transforms() const {
        return rebuild != Normal::None || decodeMarker || rxgb || Composites();
    }
};

// What the caller asks of the reader beyond the first picture.
struct Request {
    Selection selection;
    NormalMapMode normals = NormalMapMode::Auto;
    // Composite alpha over this colour (0xRRGGBB) instead of dropping it.
    std::optional<uint32_t> background;
};

// Checks the first bytes of a file whose total size is fileSize and the chosen
// picture. head must hold min(fileSize, kHeaderBytes + kDx10Bytes) bytes. On
// failure returns nullopt and sets error to the reason.
// described, when given, receives what the header says whenever the header
// itself could be read, even when the chosen picture is not in the file.
std::optional<Info> ParseHeader(const uint8_t* head, size_t headBytes, uint64_t fileSize,
                                QString* error, const Request& request, Info* described = nullptr);

} // namespace tarvix::dds
