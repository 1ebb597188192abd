#include "dds/DdsHeader.h"

#include "dds/DxgiFormats.h"

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
    default:
        // Older writers name the uncompressed DXGI layouts by their D3D format
        // number (36, 110 to 116, ...) or a video FourCC.
        return FromLegacyCode(info, code, QStringLiteral("FourCC %1").arg(FourCCText(code)));
    }
}

void SetPlain(Info& info, Format format, uint32_t bytesPerPixel, Output output,
              const QString& name) {
    info.format = format;
    info.blockCompressed = false;
    info.bytesPerPixel = bytesPerPixel;
    info.output = output;
    info.name = name;
}

// Legacy uncompressed layouts described by flags, bit count and masks.
bool FromMasks(Info& info, uint32_t flags, uint32_t bits, Masks masks, QString* error) {
    const bool alpha = flags & DDPF_ALPHAPIXELS;
    if (flags & DDPF_RGB) {
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
        if (bits == 8) {
            SetPlain(info, Format::Luminance8, 1, Output::Grey8, QStringLiteral("8-bit luminance"));
            info.masks.r = 0xFF;
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

uint64_t Info::RowBytes() const {
    if (blockCompressed) return uint64_t((width + 3) / 4) * blockBytes;
    return (uint64_t(width) + groupPixels - 1) / groupPixels * bytesPerPixel;
}

uint32_t Info::Rows() const {
    return blockCompressed ? (height + 3) / 4 : height;
}

std::optional<Info> ParseHeader(const uint8_t* head, size_t headBytes, uint64_t fileSize,
                                QString* error) {
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
        *error = QStringLiteral("DDS image too large: %1 x %2 (at most %3 pixels a side and %4 "
                                "pixels in all)")
                     .arg(width)
                     .arg(height)
                     .arg(kMaxDimension)
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
        SetPlain(info, Format::Palette8, 1, Output::Rgba32, QStringLiteral("8-bit palette"));
        info.paletteOffset = kHeaderBytes;
        info.dataOffset = kHeaderBytes + kPaletteBytes;
    } else if (!FromMasks(info, pfFlags, bitCount, masks, error)) {
        return std::nullopt;
    }

    info.dataBytes = info.RowBytes() * info.Rows();
    if (info.chromaRows) {
        info.chromaOffset = info.dataOffset + info.dataBytes;
        info.dataBytes += info.RowBytes() * ((info.height + info.chromaRows - 1) / info.chromaRows);
    }
    const uint64_t needed = info.dataOffset + info.dataBytes;
    if (fileSize < needed) {
        // The palette counts as pixel data: without it there is no picture.
        const uint64_t start = info.paletteOffset ? info.paletteOffset : info.dataOffset;
        *error = QStringLiteral("truncated DDS data: %1 bytes expected, %2 present")
                     .arg(needed - start)
                     .arg(fileSize > start ? fileSize - start : 0);
        return std::nullopt;
    }
    return info;
}

} // namespace tarvix::dds
