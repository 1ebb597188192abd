#include "dds/DdsHeader.h"

#include "dds/DxgiFormats.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tarvix::dds {
namespace {

// Header flags and pixel-format flags of the DDS container.
constexpr uint32_t DDPF_ALPHAPIXELS = 0x1;
constexpr uint32_t DDPF_ALPHA = 0x2;
constexpr uint32_t DDPF_FOURCC = 0x4;
constexpr uint32_t DDPF_PALETTEINDEXED8 = 0x20;
constexpr uint32_t DDPF_RGB = 0x40;
constexpr uint32_t DDPF_LUMINANCE = 0x20000;
constexpr uint32_t DDPF_BUMPLUMINANCE = 0x40000;
constexpr uint32_t DDPF_BUMPDUDV = 0x80000;
constexpr uint32_t DDPF_NORMAL = 0x80000000; // a swizzled normal map (DXT5nm)

// Surface flags of the second caps word.
constexpr uint32_t DDSCAPS2_CUBEMAP = 0x200;
constexpr uint32_t DDSCAPS2_CUBEMAP_FACES = 0xFC00; // +X 0x400 .. -Z 0x8000
constexpr uint32_t DDSCAPS2_VOLUME = 0x200000;
constexpr uint32_t kDx10Cube = 0x4; // miscFlag of the DX10 header
constexpr uint32_t kDx10Texture3D = 4;

QString FourCCText(uint32_t code) {
    QString text;
    for (int i = 0; i < 4; ++i) {
        const char c = char((code >> (8 * i)) & 0xFF);
        if (c < 0x20 || c > 0x7E) return QString::number(code); // a numeric D3D format
        text += QLatin1Char(c);
    }
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

void SetBlock(Info& info, Format format, uint32_t bytes, Output output, const QString& name) {
    info.format = format;
    info.blockCompressed = true;
    info.blockBytes = bytes;
    info.output = output;
    info.name = name;
}

void SetPlain(Info& info, Format format, uint32_t bytesPerPixel, Output output,
              const QString& name) {
    info.format = format;
    info.blockCompressed = false;
    info.bytesPerPixel = bytesPerPixel;
    info.output = output;
    info.name = name;
}

bool FromFourCC(Info& info, uint32_t code) {
    switch (code) {
    case FourCC("DXT1"):
        SetBlock(info, Format::Bc1, 8, Output::Rgba32, "DXT1");
        return true;
    case FourCC("DXT2"):
        SetBlock(info, Format::Bc2, 16, Output::Rgba32, "DXT2");
        return true;
    case FourCC("DXT3"):
        SetBlock(info, Format::Bc2, 16, Output::Rgba32, "DXT3");
        return true;
    case FourCC("DXT4"):
        SetBlock(info, Format::Bc3, 16, Output::Rgba32, "DXT4");
        return true;
    case FourCC("DXT5"):
        SetBlock(info, Format::Bc3, 16, Output::Rgba32, "DXT5");
        return true;
    case FourCC("RXGB"):
        SetBlock(info, Format::Bc3, 16, Output::Rgba32, "RXGB");
        info.rxgb = true;
        return true;
    case FourCC("ATI1"):
    case FourCC("BC4U"):
        SetBlock(info, Format::Bc4Unsigned, 8, Output::Grey8, "BC4");
        return true;
    case FourCC("BC4S"):
        SetBlock(info, Format::Bc4Signed, 8, Output::Grey8, "BC4 signed");
        return true;
    case FourCC("ATI2"):
    case FourCC("BC5U"):
        SetBlock(info, Format::Bc5Unsigned, 16, Output::Rgb24, "BC5");
        return true;
    case FourCC("BC5S"):
        SetBlock(info, Format::Bc5Signed, 16, Output::Rgb24, "BC5 signed");
        return true;
    case 117: // CxV8U8: signed U and V; the third component is made from them
        SetPlain(info, Format::Bump, 2, Output::Rgb24, QStringLiteral("CxV8U8"));
        info.masks = {0x00FF, 0xFF00, 0, 0};
        info.signedMask = 0x3;
        info.rebuild = Info::Normal::FromRedGreen;
        return true;
    default:
        // Older writers name the uncompressed DXGI layouts by their D3D format
        // number (36, 110 to 116, ...) or a video FourCC.
        return FromLegacyCode(info, code, QStringLiteral("FourCC %1").arg(FourCCText(code)));
    }
}

// Legacy uncompressed layouts described by flags, bit count and masks.
bool FromMasks(Info& info, uint32_t flags, uint32_t bits, Masks masks, QString* error) {
    const bool alpha = flags & DDPF_ALPHAPIXELS;
    if (flags & (DDPF_BUMPDUDV | DDPF_BUMPLUMINANCE)) {
        // The signed D3D9 bump layouts: U and V (and W, Q) signed, luminance
        // and the 2-bit alpha unsigned.
        const bool luminance = flags & DDPF_BUMPLUMINANCE;
        struct Bump {
            bool luminance;
            uint32_t bits;
            Masks masks;
            uint32_t signedMask;
            const char* name;
        };
        static constexpr Bump kBumps[] = {
            {false, 16, {0x00FF, 0xFF00, 0, 0}, 0x3, "V8U8"},
            {false, 32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, 0xF, "Q8W8V8U8"},
            {false, 32, {0xFFFF, 0xFFFF0000, 0, 0}, 0x3, "V16U16"},
            {false, 32, {0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000}, 0x7, "A2W10V10U10"},
            {true, 16, {0x1F, 0x3E0, 0xFC00, 0}, 0x3, "L6V5U5"},
            {true, 32, {0xFF, 0xFF00, 0xFF0000, 0}, 0x3, "X8L8V8U8"},
        };
        for (const Bump& b : kBumps) {
            if (b.luminance != luminance || b.bits != bits || masks.r != b.masks.r ||
                masks.g != b.masks.g)
                continue;
            if (b.masks.b && masks.b != b.masks.b) continue;
            if (b.masks.a && masks.a != b.masks.a) continue;
            SetPlain(info, Format::Bump, bits / 8, b.masks.a ? Output::Rgba32 : Output::Rgb24,
                     QString::fromLatin1(b.name));
            info.masks = b.masks;
            info.signedMask = b.signedMask;
            return true;
        }
        *error = QStringLiteral("unsupported DDS pixel format: %1-bit bump map").arg(bits);
        return false;
    }
    if (flags & DDPF_RGB) {
        if (bits == 8) { // R3G3B2
            if (!masks.r && !masks.g && !masks.b) masks = {0xE0, 0x1C, 0x03, 0};
            masks.r &= 0xFF, masks.g &= 0xFF, masks.b &= 0xFF;
            SetPlain(info, Format::Masked, 1, Output::Rgb24, QStringLiteral("8-bit RGB"));
            info.masks = {masks.r, masks.g, masks.b, 0};
            return true;
        }
        if (bits != 16 && bits != 24 && bits != 32) {
            *error = QStringLiteral("unsupported DDS pixel format: %1-bit RGB").arg(bits);
            return false;
        }
        if (!alpha) masks.a = 0;
        // A file that leaves the masks empty means the common layout.
        if (masks.r == 0 && masks.g == 0 && masks.b == 0) {
            if (bits == 16)
                masks = {0xF800, 0x07E0, 0x001F, 0};
            else
                masks = {0xFF0000, 0x00FF00, 0x0000FF, bits == 32 && alpha ? 0xFF000000u : 0u};
        }
        if (bits < 32) {
            const uint32_t limit = (uint32_t(1) << bits) - 1;
            masks.r &= limit, masks.g &= limit, masks.b &= limit, masks.a &= limit;
        }
        SetPlain(info, Format::Masked, bits / 8, masks.a ? Output::Rgba32 : Output::Rgb24,
                 QStringLiteral("%1-bit RGB%2").arg(bits).arg(masks.a ? "A" : ""));
        info.masks = masks;
        return true;
    }
    if (flags & DDPF_LUMINANCE) {
        if (bits == 8 && !(alpha && masks.a)) {
            SetPlain(info, Format::Luminance8, 1, Output::Grey8, QStringLiteral("8-bit luminance"));
            info.masks.r = 0xFF;
            return true;
        }
        if (bits == 8) { // A4L4
            SetPlain(info, Format::LuminanceAlpha8, 1, Output::Rgba32,
                     QStringLiteral("4-bit luminance and alpha"));
            info.masks = {masks.r ? masks.r & 0xFF : 0x0F, 0, 0, masks.a & 0xFF};
            return true;
        }
        if (bits == 16 && alpha) {
            SetPlain(info, Format::LuminanceAlpha8, 2, Output::Rgba32,
                     QStringLiteral("luminance and alpha"));
            info.masks = {masks.r ? masks.r & 0xFFFF : 0x00FF, 0, 0,
                          masks.a ? masks.a & 0xFFFF : 0xFF00};
            return true;
        }
        if (bits == 16) {
            SetPlain(info, Format::Luminance16, 2, Output::Grey8,
                     QStringLiteral("16-bit luminance"));
            return true;
        }
        *error = QStringLiteral("unsupported DDS pixel format: %1-bit luminance").arg(bits);
        return false;
    }
    if (flags & DDPF_ALPHA) {
        if (bits != 8) {
            *error = QStringLiteral("unsupported DDS pixel format: %1-bit alpha").arg(bits);
            return false;
        }
        SetPlain(info, Format::Alpha8, 1, Output::Grey8, QStringLiteral("8-bit alpha"));
        return true;
    }
    *error = QStringLiteral("unsupported DDS pixel format: flags 0x%1").arg(flags, 0, 16);
    return false;
}

} // namespace

uint64_t Info::RowBytesFor(uint32_t w) const {
    if (blockCompressed) return uint64_t((w + 3) / 4) * blockBytes;
    return (uint64_t(w) + groupPixels - 1) / groupPixels * bytesPerPixel;
}

uint64_t Info::RowBytes() const {
    return RowBytesFor(width);
}

uint32_t Info::Rows() const {
    return blockCompressed ? (height + 3) / 4 : height;
}

uint64_t Info::PictureBytes(uint32_t w, uint32_t h) const {
    const uint64_t row = RowBytesFor(w);
    const uint64_t rows = blockCompressed ? (h + 3) / 4 : h;
    // Planar video formats: the chroma plane follows the luma rows.
    const uint64_t chroma = chromaRows ? row * ((h + chromaRows - 1) / chromaRows) : 0;
    return row * rows + chroma;
}

uint32_t Info::CanvasWidth() const {
    if (cells.empty()) return width;
    return width * (selection.cube == CubeLayout::Cross ? 4 : 6);
}

uint32_t Info::CanvasHeight() const {
    if (cells.empty()) return height;
    return height * (selection.cube == CubeLayout::Cross ? 3 : 1);
}

namespace {

QString Plural(uint64_t n, const char* one, const char* many) {
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

// "the texture has 11 mip levels (0..10)"
QString OutOfRange(uint64_t n, const char* one, const char* many, const QString& more = {}) {
    return QStringLiteral("the texture has %1%2 (%3)")
        .arg(Plural(n, one, many), more,
             n == 1 ? QStringLiteral("0") : QStringLiteral("0..%1").arg(n - 1));
}

// The largest number of mip levels a picture of this size can have.
uint32_t MaxLevels(uint32_t w, uint32_t h, uint32_t d) {
    uint32_t largest = std::max({w, h, d}), levels = 1;
    while (largest > 1)
        largest >>= 1, ++levels;
    return levels;
}

// Sums and products of sizes that a hostile header may make overflow.
bool Add(uint64_t& sum, uint64_t v) {
    return !__builtin_add_overflow(sum, v, &sum);
}
bool Mul(uint64_t a, uint64_t b, uint64_t& out) {
    return !__builtin_mul_overflow(a, b, &out);
}

// The face order of the file and the cells of the cross and the strip.
constexpr uint32_t kCrossCell[6][2] = {{2, 1}, {0, 1}, {1, 0}, {1, 2}, {1, 1}, {3, 1}};

// Finds the chosen picture (and the faces of a cross or strip): their offsets
// and size, checked against the file. False with the reason.
bool Select(Info& info, const Selection& sel, uint64_t dataStart, uint64_t fileSize,
            QString* error) {
    const Surfaces& sf = info.surfaces;
    info.selection = sel;
    if (sel.mip >= sf.mipLevels) {
        *error = OutOfRange(sf.mipLevels, "mip level", "mip levels");
        return false;
    }
    const uint32_t w = std::max(1u, info.width >> sel.mip);
    const uint32_t h = std::max(1u, info.height >> sel.mip);
    const uint32_t depth = sf.volume ? std::max(1u, sf.depth >> sel.mip) : 1;
    const uint32_t layers = sf.volume ? depth : sf.arraySize;
    if (sel.layer >= layers) {
        *error = sf.volume ? OutOfRange(layers, "slice", "slices",
                                        QStringLiteral(" at mip level %1").arg(sel.mip))
                 : sf.cube ? OutOfRange(layers, "cube", "cubes")
                           : OutOfRange(layers, "array item", "array items");
        return false;
    }
    const QString overflow = QStringLiteral("invalid DDS header: its surfaces add up to more "
                                            "bytes than a file can hold");
    // Bytes of every level before the chosen one, and of a whole mip chain.
    uint64_t before = 0, chain = 0;
    for (uint32_t m = 0; m < sf.mipLevels; ++m) {
        const uint32_t lw = std::max(1u, info.width >> m), lh = std::max(1u, info.height >> m);
        uint64_t level = 0;
        if (!Mul(info.PictureBytes(lw, lh), sf.volume ? std::max(1u, sf.depth >> m) : 1, level) ||
            !Add(chain, level) || (m < sel.mip && !Add(before, level))) {
            *error = overflow;
            return false;
        }
    }
    const uint64_t picture = info.PictureBytes(w, h);
    const int faces = sf.cube ? std::popcount(unsigned(sf.faces)) : 1;
    // Where the picture of face ordinal k of the chosen layer starts.
    auto offsetOf = [&](uint32_t k, uint64_t& at) {
        at = dataStart;
        uint64_t skip = 0;
        if (sf.volume) return Mul(sel.layer, picture, skip) && Add(at, before) && Add(at, skip);
        return Mul(uint64_t(sel.layer) * uint64_t(faces) + k, chain, skip) && Add(at, skip) &&
               Add(at, before);
    };
    uint64_t end = 0;
    info.width = w;
    info.height = h;
    info.cells.clear();
    if (sf.cube && sel.cube != CubeLayout::First) {
        uint32_t ordinal = 0;
        for (uint32_t f = 0; f < 6; ++f) {
            if (!(sf.faces & (1u << f))) continue; // a missing face leaves its cell empty
            Cell cell;
            if (!offsetOf(ordinal++, cell.offset) || !Add(end = cell.offset, picture)) {
                *error = overflow;
                return false;
            }
            cell.column = sel.cube == CubeLayout::Cross ? kCrossCell[f][0] : f;
            cell.row = sel.cube == CubeLayout::Cross ? kCrossCell[f][1] : 0;
            info.cells.push_back(cell);
        }
        const uint64_t cw = uint64_t(info.CanvasWidth()), ch = uint64_t(info.CanvasHeight());
        if (cw > kMaxDimension || ch > kMaxDimension || cw * ch > kMaxPixels) {
            *error = QStringLiteral("DDS image too large: the cube's %1 x %2 layout passes the "
                                    "limit of %3 pixels a side and %4 pixels in all")
                         .arg(cw)
                         .arg(ch)
                         .arg(kMaxDimension)
                         .arg(kMaxPixels);
            return false;
        }
        info.dataOffset = info.cells.front().offset;
    } else {
        if (!offsetOf(0, info.dataOffset) || !Add(end = info.dataOffset, picture)) {
            *error = overflow;
            return false;
        }
    }
    info.dataBytes = picture;
    if (info.chromaRows) info.chromaOffset = info.dataOffset + info.RowBytes() * info.Rows();
    if (fileSize < end) {
        // The palette counts as pixel data: without it there is no picture.
        const uint64_t start = info.paletteOffset ? info.paletteOffset : dataStart;
        *error = QStringLiteral("truncated DDS data: %1 bytes expected, %2 present")
                     .arg(end - start)
                     .arg(fileSize > start ? fileSize - start : 0);
        return false;
    }
    return true;
}

// What the caller's choices make of the decoded pixels.
void ChooseSteps(Info& info, const Request& request) {
    info.native = info.output;
    const bool twoChannel =
        info.format == Format::Bc5Unsigned || info.format == Format::Bc5Signed ||
        (info.format == Format::Layout && info.layout.packing == Packing::Components &&
         info.layout.components == 2) ||
        (info.format == Format::Bump && !info.masks.b && !info.masks.a);
    if (request.normals != NormalMapMode::Raw && info.rebuild == Info::Normal::None) {
        if (info.format == Format::Bc3 && !info.rxgb && info.normalFlag)
            info.rebuild = Info::Normal::FromAlphaGreen;
        else if (twoChannel && (info.normalFlag || request.normals == NormalMapMode::Rebuild))
            info.rebuild = Info::Normal::FromRedGreen;
    }
    info.decodeMarker = request.normals != NormalMapMode::Raw &&
                        info.marker != EditorMarker::None && info.native == Output::Rgba32;
    info.background = request.background;
    // Once a step has used the alpha channel, the picture is opaque.
    if (info.Transforms() && info.native != Output::Grey8) info.output = Output::Rgb24;
}

} // namespace

std::optional<Info> ParseHeader(const uint8_t* head, size_t headBytes, uint64_t fileSize,
                                QString* error, const Request& request, Info* described) {
    QString ignored;
    if (!error) error = &ignored;
    if (fileSize < 4 || headBytes < 4 || std::memcmp(head, "DDS ", 4) != 0) {
        *error = QStringLiteral("not a DDS file: it does not begin with \"DDS \"");
        return std::nullopt;
    }
    if (fileSize < kHeaderBytes || headBytes < kHeaderBytes) {
        *error = QStringLiteral("truncated DDS header: %1 bytes expected, %2 present")
                     .arg(kHeaderBytes)
                     .arg(fileSize);
        return std::nullopt;
    }
    const uint32_t headerSize = Read32(head + 4);
    const uint32_t height = Read32(head + 12);
    const uint32_t width = Read32(head + 16);
    const uint32_t pfSize = Read32(head + 76);
    const uint32_t pfFlags = Read32(head + 80);
    const uint32_t fourCC = Read32(head + 84);
    const uint32_t bitCount = Read32(head + 88);
    const Masks masks{Read32(head + 92), Read32(head + 96), Read32(head + 100), Read32(head + 104)};

    if (headerSize != 124) {
        *error = QStringLiteral("invalid DDS header: size %1, 124 expected").arg(headerSize);
        return std::nullopt;
    }
    if (pfSize != 32) {
        *error = QStringLiteral("invalid DDS pixel format: size %1, 32 expected").arg(pfSize);
        return std::nullopt;
    }
    if (width == 0 || height == 0) {
        *error = QStringLiteral("invalid DDS dimensions: %1 x %2").arg(width).arg(height);
        return std::nullopt;
    }
    if (width > kMaxDimension || height > kMaxDimension || uint64_t(width) * height > kMaxPixels) {
        // Name the limit that was passed: a side, or the pixels in all.
        *error = width > kMaxDimension || height > kMaxDimension
                     ? QStringLiteral("DDS image too large: %1 x %2 (a side may have at most %3 "
                                      "pixels)")
                           .arg(width)
                           .arg(height)
                           .arg(kMaxDimension)
                     : QStringLiteral("DDS image too large: %1 x %2 (%3 pixels; a picture may "
                                      "have at most %4 pixels, 16384 x 16384)")
                           .arg(width)
                           .arg(height)
                           .arg(uint64_t(width) * height)
                           .arg(kMaxPixels);
        return std::nullopt;
    }

    Info info;
    info.width = width;
    info.height = height;
    info.dataOffset = kHeaderBytes;

    if (pfFlags & DDPF_FOURCC) {
        if (fourCC == FourCC("DX10")) {
            if (fileSize < kHeaderBytes + kDx10Bytes || headBytes < kHeaderBytes + kDx10Bytes) {
                *error = QStringLiteral("truncated DDS header: %1 bytes expected, %2 present")
                             .arg(kHeaderBytes + kDx10Bytes)
                             .arg(fileSize);
                return std::nullopt;
            }
            const uint32_t dxgi = Read32(head + kHeaderBytes);
            info.dxgi = dxgi;
            const uint32_t dimension = Read32(head + kHeaderBytes + 4);
            if (dimension == 2) { // a one-dimensional texture has no height to speak of
                *error = QStringLiteral("unsupported DDS texture: one-dimensional");
                return std::nullopt;
            }
            if (!FromDxgi(info, dxgi)) {
                const QString name = DxgiName(dxgi);
                *error = QStringLiteral("unsupported DDS format: DXGI %1").arg(dxgi) +
                         (name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(name));
                return std::nullopt;
            }
            info.dataOffset = kHeaderBytes + kDx10Bytes;
        } else if (!FromFourCC(info, fourCC)) {
            *error = QStringLiteral("unsupported DDS format: FourCC %1").arg(FourCCText(fourCC));
            return std::nullopt;
        }
    } else if (pfFlags & DDPF_PALETTEINDEXED8) {
        if (bitCount == 16) // A8P8: an index, then an alpha byte
            SetPlain(info, Format::PaletteAlpha8, 2, Output::Rgba32,
                     QStringLiteral("8-bit palette and alpha"));
        else
            SetPlain(info, Format::Palette8, 1, Output::Rgba32, QStringLiteral("8-bit palette"));
        info.paletteOffset = kHeaderBytes;
        info.dataOffset = kHeaderBytes + kPaletteBytes;
    } else if (!FromMasks(info, pfFlags, bitCount, masks, error)) {
        return std::nullopt;
    }

    // What the header says beyond the first picture.
    Surfaces& sf = info.surfaces;
    const uint32_t mipCount = Read32(head + 28);
    const uint32_t caps2 = Read32(head + 112);
    uint32_t depth = std::max(1u, Read32(head + 24));
    const bool dx10 = (pfFlags & DDPF_FOURCC) && fourCC == FourCC("DX10");
    if (dx10) {
        const uint8_t* ext = head + kHeaderBytes;
        sf.volume = Read32(ext + 4) == kDx10Texture3D;
        sf.cube = !sf.volume && (Read32(ext + 8) & kDx10Cube);
        sf.arraySize = sf.volume ? 1 : std::max(1u, Read32(ext + 12));
        sf.alphaMode = Read32(ext + 16) & 0x7;
        if (sf.cube) sf.faces = 0x3F;
    } else {
        sf.cube = caps2 & DDSCAPS2_CUBEMAP;
        sf.volume = !sf.cube && (caps2 & DDSCAPS2_VOLUME) && depth > 1;
        // A cube map that names no face means all six, as writers of whole
        // cubes sometimes leave the face flags out.
        if (sf.cube) sf.faces = uint8_t((caps2 & DDSCAPS2_CUBEMAP_FACES) >> 10);
        if (sf.cube && !sf.faces) sf.faces = 0x3F;
    }
    sf.depth = sf.volume ? depth : 1;
    sf.mipLevels = std::clamp(mipCount, 1u, MaxLevels(width, height, sf.depth));
    info.normalFlag = pfFlags & DDPF_NORMAL;
    info.premultiplied =
        fourCC == FourCC("DXT2") || fourCC == FourCC("DXT4") || (dx10 && sf.alphaMode == 2);
    if (pfFlags & DDPF_FOURCC) info.fourCC = FourCCText(fourCC);
    if (Read32(head + 32) == FourCC("GIMP") && Read32(head + 36) == FourCC("-DDS")) {
        const uint32_t marker = Read32(head + 44);
        info.marker = marker == FourCC("YCG1")   ? EditorMarker::YCoCg
                      : marker == FourCC("YCG2") ? EditorMarker::YCoCgScaled
                      : marker == FourCC("AEXP") ? EditorMarker::AlphaExponent
                                                 : EditorMarker::None;
    }

    // What the whole file should take: every surface's mip chain.
    {
        uint64_t chain = 0, total = info.dataOffset;
        bool fits = true;
        for (uint32_t m = 0; m < sf.mipLevels && fits; ++m) {
            uint64_t level = 0;
            fits = Mul(info.PictureBytes(std::max(1u, width >> m), std::max(1u, height >> m)),
                       sf.volume ? std::max(1u, sf.depth >> m) : 1, level) &&
                   Add(chain, level);
        }
        const uint64_t surfaces =
            uint64_t(sf.arraySize) * uint64_t(sf.cube ? std::popcount(unsigned(sf.faces)) : 1);
        uint64_t all = 0;
        info.fileBytes = fits && Mul(chain, surfaces, all) && Add(total, all) ? total : UINT64_MAX;
    }
    info.native = info.output;
    if (described) *described = info;
    if (!Select(info, request.selection, info.dataOffset, fileSize, error)) return std::nullopt;
    ChooseSteps(info, request);
    return info;
}

} // namespace tarvix::dds
