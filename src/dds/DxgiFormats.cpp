#include "dds/DxgiFormats.h"

#include "dds/Layouts.h"

namespace tarvix::dds {
namespace {

enum class Route : uint8_t { Unsupported, Block, Plain, Layout };

struct DxgiFormatDef {
    uint32_t number = 0;
    const char* name = "";
    Route route = Route::Unsupported;
    Format format = Format::Bc1; // Block and Plain
    uint8_t bytes = 0;           // Block: bytes of a block; Plain: bytes of a pixel
    Output output = Output::Rgba32;
    Masks masks;            // Plain
    Layout layout;          // Layout
    uint8_t chromaRows = 0; // planar layouts: luma rows per chroma row
};

constexpr DxgiFormatDef None(uint32_t n, const char* name) {
    DxgiFormatDef d{};
    d.number = n;
    d.name = name;
    return d;
}
constexpr DxgiFormatDef Block(uint32_t n, const char* name, Format f, uint8_t bytes, Output o) {
    DxgiFormatDef d = None(n, name);
    d.route = Route::Block;
    d.format = f;
    d.bytes = bytes;
    d.output = o;
    return d;
}
constexpr DxgiFormatDef Plain(uint32_t n, const char* name, Format f, uint8_t bytes, Output o,
                              Masks masks = {}) {
    DxgiFormatDef d = Block(n, name, f, bytes, o);
    d.route = Route::Plain;
    d.masks = masks;
    return d;
}
constexpr DxgiFormatDef Rows(uint32_t n, const char* name, Packing p, ValueKind k,
                             uint8_t components, uint8_t bits, uint8_t chromaRows = 0) {
    DxgiFormatDef d = None(n, name);
    d.route = Route::Layout;
    d.layout = {p, k, components, bits};
    d.chromaRows = chromaRows;
    return d;
}

constexpr ValueKind U = ValueKind::Unorm, S = ValueKind::Snorm, F = ValueKind::Float;
constexpr Packing C = Packing::Components;
constexpr Output Grey = Output::Grey8, Rgb = Output::Rgb24, Rgba = Output::Rgba32;

// Typeless 32-bit components are floats in practice; narrower ones UNORM.
constexpr DxgiFormatDef kFormats[] = {
    None(0, "UNKNOWN"),
    Rows(1, "R32G32B32A32_TYPELESS", C, F, 4, 32),
    Rows(2, "R32G32B32A32_FLOAT", C, F, 4, 32),
    Rows(3, "R32G32B32A32_UINT", C, U, 4, 32),
    Rows(4, "R32G32B32A32_SINT", C, S, 4, 32),
    Rows(5, "R32G32B32_TYPELESS", C, F, 3, 32),
    Rows(6, "R32G32B32_FLOAT", C, F, 3, 32),
    Rows(7, "R32G32B32_UINT", C, U, 3, 32),
    Rows(8, "R32G32B32_SINT", C, S, 3, 32),
    Rows(9, "R16G16B16A16_TYPELESS", C, U, 4, 16),
    Rows(10, "R16G16B16A16_FLOAT", C, F, 4, 16),
    Rows(11, "R16G16B16A16_UNORM", C, U, 4, 16),
    Rows(12, "R16G16B16A16_UINT", C, U, 4, 16),
    Rows(13, "R16G16B16A16_SNORM", C, S, 4, 16),
    Rows(14, "R16G16B16A16_SINT", C, S, 4, 16),
    Rows(15, "R32G32_TYPELESS", C, F, 2, 32),
    Rows(16, "R32G32_FLOAT", C, F, 2, 32),
    Rows(17, "R32G32_UINT", C, U, 2, 32),
    Rows(18, "R32G32_SINT", C, S, 2, 32),
    None(19, "R32G8X24_TYPELESS"),
    None(20, "D32_FLOAT_S8X24_UINT"),
    None(21, "R32_FLOAT_X8X24_TYPELESS"),
    None(22, "X32_TYPELESS_G8X24_UINT"),
    Rows(23, "R10G10B10A2_TYPELESS", Packing::Rgb10A2, U, 4, 0),
    Rows(24, "R10G10B10A2_UNORM", Packing::Rgb10A2, U, 4, 0),
    Rows(25, "R10G10B10A2_UINT", Packing::Rgb10A2, U, 4, 0),
    Rows(26, "R11G11B10_FLOAT", Packing::Rg11B10F, F, 3, 0),
    Plain(27, "R8G8B8A8_TYPELESS", Format::Rgba8, 4, Rgba),
    Plain(28, "R8G8B8A8_UNORM", Format::Rgba8, 4, Rgba),
    Plain(29, "R8G8B8A8_UNORM_SRGB", Format::Rgba8, 4, Rgba),
    Rows(30, "R8G8B8A8_UINT", C, U, 4, 8),
    Rows(31, "R8G8B8A8_SNORM", C, S, 4, 8),
    Rows(32, "R8G8B8A8_SINT", C, S, 4, 8),
    Rows(33, "R16G16_TYPELESS", C, U, 2, 16),
    Rows(34, "R16G16_FLOAT", C, F, 2, 16),
    Rows(35, "R16G16_UNORM", C, U, 2, 16),
    Rows(36, "R16G16_UINT", C, U, 2, 16),
    Rows(37, "R16G16_SNORM", C, S, 2, 16),
    Rows(38, "R16G16_SINT", C, S, 2, 16),
    Rows(39, "R32_TYPELESS", C, F, 1, 32),
    Rows(40, "D32_FLOAT", C, F, 1, 32),
    Rows(41, "R32_FLOAT", C, F, 1, 32),
    Rows(42, "R32_UINT", C, U, 1, 32),
    Rows(43, "R32_SINT", C, S, 1, 32),
    None(44, "R24G8_TYPELESS"),
    None(45, "D24_UNORM_S8_UINT"),
    None(46, "R24_UNORM_X8_TYPELESS"),
    None(47, "X24_TYPELESS_G8_UINT"),
    Rows(48, "R8G8_TYPELESS", C, U, 2, 8),
    Rows(49, "R8G8_UNORM", C, U, 2, 8),
    Rows(50, "R8G8_UINT", C, U, 2, 8),
    Rows(51, "R8G8_SNORM", C, S, 2, 8),
    Rows(52, "R8G8_SINT", C, S, 2, 8),
    Rows(53, "R16_TYPELESS", C, U, 1, 16),
    Rows(54, "R16_FLOAT", C, F, 1, 16),
    Rows(55, "D16_UNORM", C, U, 1, 16),
    Rows(56, "R16_UNORM", C, U, 1, 16),
    Rows(57, "R16_UINT", C, U, 1, 16),
    Rows(58, "R16_SNORM", C, S, 1, 16),
    Rows(59, "R16_SINT", C, S, 1, 16),
    Rows(60, "R8_TYPELESS", C, U, 1, 8),
    Plain(61, "R8_UNORM", Format::Luminance8, 1, Grey, {0xFF, 0, 0, 0}),
    Rows(62, "R8_UINT", C, U, 1, 8),
    Rows(63, "R8_SNORM", C, S, 1, 8),
    Rows(64, "R8_SINT", C, S, 1, 8),
    Plain(65, "A8_UNORM", Format::Alpha8, 1, Grey),
    Rows(66, "R1_UNORM", Packing::Bits1, U, 1, 1),
    Rows(67, "R9G9B9E5_SHAREDEXP", Packing::Rgb9E5, F, 3, 0),
    Rows(68, "R8G8_B8G8_UNORM", Packing::RgbgPairs, U, 3, 8),
    Rows(69, "G8R8_G8B8_UNORM", Packing::GrgbPairs, U, 3, 8),
    Block(70, "BC1_TYPELESS", Format::Bc1, 8, Rgba),
    Block(71, "BC1_UNORM", Format::Bc1, 8, Rgba),
    Block(72, "BC1_UNORM_SRGB", Format::Bc1, 8, Rgba),
    Block(73, "BC2_TYPELESS", Format::Bc2, 16, Rgba),
    Block(74, "BC2_UNORM", Format::Bc2, 16, Rgba),
    Block(75, "BC2_UNORM_SRGB", Format::Bc2, 16, Rgba),
    Block(76, "BC3_TYPELESS", Format::Bc3, 16, Rgba),
    Block(77, "BC3_UNORM", Format::Bc3, 16, Rgba),
    Block(78, "BC3_UNORM_SRGB", Format::Bc3, 16, Rgba),
    Block(79, "BC4_TYPELESS", Format::Bc4Unsigned, 8, Grey),
    Block(80, "BC4_UNORM", Format::Bc4Unsigned, 8, Grey),
    Block(81, "BC4_SNORM", Format::Bc4Signed, 8, Grey),
    Block(82, "BC5_TYPELESS", Format::Bc5Unsigned, 16, Rgb),
    Block(83, "BC5_UNORM", Format::Bc5Unsigned, 16, Rgb),
    Block(84, "BC5_SNORM", Format::Bc5Signed, 16, Rgb),
    Plain(85, "B5G6R5_UNORM", Format::Masked, 2, Rgb, {0xF800, 0x07E0, 0x001F, 0}),
    Plain(86, "B5G5R5A1_UNORM", Format::Masked, 2, Rgba, {0x7C00, 0x03E0, 0x001F, 0x8000}),
    Plain(87, "B8G8R8A8_UNORM", Format::Bgra8, 4, Rgba),
    // The fourth byte of the X8 layouts is padding: an opaque picture.
    Plain(88, "B8G8R8X8_UNORM", Format::Bgra8, 4, Rgb),
    Rows(89, "R10G10B10_XR_BIAS_A2_UNORM", Packing::XrBias, F, 4, 0),
    Plain(90, "B8G8R8A8_TYPELESS", Format::Bgra8, 4, Rgba),
    Plain(91, "B8G8R8A8_UNORM_SRGB", Format::Bgra8, 4, Rgba),
    Plain(92, "B8G8R8X8_TYPELESS", Format::Bgra8, 4, Rgb),
    Plain(93, "B8G8R8X8_UNORM_SRGB", Format::Bgra8, 4, Rgb),
    Block(94, "BC6H_TYPELESS", Format::Bc6hUnsigned, 16, Rgb),
    Block(95, "BC6H_UF16", Format::Bc6hUnsigned, 16, Rgb),
    Block(96, "BC6H_SF16", Format::Bc6hSigned, 16, Rgb),
    Block(97, "BC7_TYPELESS", Format::Bc7, 16, Rgba),
    Block(98, "BC7_UNORM", Format::Bc7, 16, Rgba),
    Block(99, "BC7_UNORM_SRGB", Format::Bc7, 16, Rgba),
    Rows(100, "AYUV", Packing::Ayuv, U, 4, 8),
    Rows(101, "Y410", Packing::Y410, U, 4, 10),
    Rows(102, "Y416", Packing::Y416, U, 4, 16),
    Rows(103, "NV12", Packing::Nv12, U, 3, 8, 2),
    Rows(104, "P010", Packing::P01x, U, 3, 16, 2),
    Rows(105, "P016", Packing::P01x, U, 3, 16, 2),
    None(106, "420_OPAQUE"),
    Rows(107, "YUY2", Packing::Yuy2, U, 3, 8),
    Rows(108, "Y210", Packing::Y2xx, U, 3, 16),
    Rows(109, "Y216", Packing::Y2xx, U, 3, 16),
    None(110, "NV11"),
    None(111, "AI44"),
    None(112, "IA44"),
    None(113, "P8"),
    None(114, "A8P8"),
    Plain(115, "B4G4R4A4_UNORM", Format::Masked, 2, Rgba, {0x0F00, 0x00F0, 0x000F, 0xF000}),
    // 4:2:2 planar: a chroma row for every row of luma.
    Rows(130, "P208", Packing::Nv12, U, 3, 8, 1),
    None(131, "V208"),
    None(132, "V408"),
    None(189, "SAMPLER_FEEDBACK_MIN_MIP_OPAQUE"),
    None(190, "SAMPLER_FEEDBACK_MIP_REGION_USED_OPAQUE"),
    Plain(191, "A4B4G4R4_UNORM", Format::Masked, 2, Rgba, {0xF000, 0x0F00, 0x00F0, 0x000F}),
};

const DxgiFormatDef* Find(uint32_t dxgi) {
    for (const DxgiFormatDef& d : kFormats)
        if (d.number == dxgi) return &d;
    return nullptr;
}

// The DXGI format an older writer names by a numeric or video FourCC; 0 when
// there is none.
uint32_t DxgiOfLegacyCode(uint32_t code) {
    struct Legacy {
        uint32_t code, dxgi;
    };
    static constexpr Legacy kLegacy[] = {
        {34, 35},  // G16R16: R16G16_UNORM
        {36, 11},  // A16B16G16R16: R16G16B16A16_UNORM
        {60, 51},  // V8U8: R8G8_SNORM
        {63, 31},  // Q8W8V8U8: R8G8B8A8_SNORM
        {64, 37},  // V16U16: R16G16_SNORM
        {110, 13}, // Q16W16V16U16: R16G16B16A16_SNORM
        {111, 54}, // R16F: R16_FLOAT
        {112, 34}, // G16R16F: R16G16_FLOAT
        {113, 10}, // A16B16G16R16F: R16G16B16A16_FLOAT
        {114, 41}, // R32F: R32_FLOAT
        {115, 16}, // G32R32F: R32G32_FLOAT
        {116, 2},  // A32B32G32R32F: R32G32B32A32_FLOAT
        {FourCC("YUY2"), 107},
        {FourCC("RGBG"), 68}, // R8G8_B8G8_UNORM
        {FourCC("GRGB"), 69}, // G8R8_G8B8_UNORM
    };
    for (const Legacy& l : kLegacy)
        if (l.code == code) return l.dxgi;
    return 0;
}

} // namespace

bool FromDxgi(Info& info, uint32_t dxgi) {
    const DxgiFormatDef* d = Find(dxgi);
    if (!d || d->route == Route::Unsupported) return false;
    info.name = QStringLiteral("DXGI %1").arg(dxgi);
    info.format = d->format;
    info.output = d->output;
    switch (d->route) {
    case Route::Block:
        info.blockCompressed = true;
        info.blockBytes = d->bytes;
        return true;
    case Route::Plain:
        info.blockCompressed = false;
        info.bytesPerPixel = d->bytes;
        info.masks = d->masks;
        return true;
    case Route::Layout:
    case Route::Unsupported:
        break;
    }
    SetLayout(info, d->layout, d->chromaRows);
    return true;
}

QString DxgiName(uint32_t dxgi) {
    const DxgiFormatDef* d = Find(dxgi);
    return d ? QString::fromLatin1(d->name) : QString();
}

bool FromLegacyCode(Info& info, uint32_t code, const QString& name) {
    // 'UYVY' has no DXGI format of its own: YUY2 with the bytes of each pair in
    // another order.
    const bool uyvy = code == FourCC("UYVY");
    if (!FromDxgi(info, uyvy ? DxgiOfLegacyCode(FourCC("YUY2")) : DxgiOfLegacyCode(code)))
        return false;
    if (uyvy) info.layout.packing = Packing::Uyvy;
    info.name = name;
    return true;
}

} // namespace tarvix::dds
