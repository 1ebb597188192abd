// The pictures of a texture beyond its first (mip levels, array items, volume
// slices, cube faces laid out), rebuilt normal maps, the editor markers, the last
// legacy layouts and alpha over a background: files built here from known pixels.

#include "DdsBuilder.h"
#include "dds/DdsReader.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

void Patch32(QByteArray& bytes, int offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

// A distinct opaque colour for each picture of a file.
QRgb ColourOf(int surface, int level, int slice) {
    return qRgb(40 * surface + 20, 60 * level + 10, 50 * slice + 5);
}

// Pictures of solid BGRA bytes, in the file's order.
void Solid(QByteArray& out, uint32_t w, uint32_t h, QRgb c) {
    for (uint32_t i = 0; i < w * h; ++i)
        for (int v : {qBlue(c), qGreen(c), qRed(c), qAlpha(c)})
            out += char(v);
}

struct Shape {
    uint32_t width = 8, height = 8, mips = 1;
    uint32_t surfaces = 1;  // array items times faces
    uint32_t depth = 1;     // slices of a volume
    uint32_t caps2 = 0;     // legacy cube and volume flags
    bool dx10 = false;      // arrays and DX10 cubes (misc flag 4)
    uint32_t arraySize = 1; //
    bool dx10Cube = false;
};

// A 32-bit BGRA texture of this shape, every picture filled with ColourOf.
QByteArray Build(const Shape& s) {
    DdsPixelFormat pf;
    if (s.dx10) {
        pf.flags = 0x4;
        pf.fourCC = FourCC('D', 'X', '1', '0');
    } else {
        pf.flags = 0x41;
        pf.bitCount = 32;
        pf.rMask = 0xFF0000, pf.gMask = 0xFF00, pf.bMask = 0xFF, pf.aMask = 0xFF000000;
    }
    QByteArray file = DdsHeader(s.width, s.height, pf, 0, s.mips);
    if (s.depth > 1) {
        Patch32(file, 24, s.depth);
        Patch32(file, 8, 0x80000f);
    }
    Patch32(file, 112, s.caps2);
    if (s.dx10) {
        QByteArray ext = Dx10Header(87, s.arraySize); // B8G8R8A8_UNORM
        if (s.dx10Cube) Patch32(ext, 8, 0x4);
        if (s.depth > 1) Patch32(ext, 4, 4);
        file += ext;
    }
    for (uint32_t surface = 0; surface < s.surfaces; ++surface)
        for (uint32_t m = 0; m < s.mips; ++m) {
            const uint32_t w = std::max(1u, s.width >> m), h = std::max(1u, s.height >> m);
            for (uint32_t z = 0; z < std::max(1u, s.depth >> m); ++z)
                Solid(file, w, h, ColourOf(int(surface), int(m), int(z)));
        }
    return file;
}

struct Decoded {
    FIBITMAP* dib = nullptr;
    QString error;
    ~Decoded() {
        if (dib) FreeImage_Unload(dib);
    }
};

std::unique_ptr<Decoded> Decode(const QByteArray& bytes, const dds::Request& request = {},
                                bool opaque = false) {
    auto d = std::make_unique<Decoded>();
    dds::Options options;
    options.request = request;
    options.opaque = opaque;
    d->dib = dds::Decode(dds::MemorySource(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                           size_t(bytes.size())),
                         &d->error, options);
    return d;
}

QRgb PixelAt(FIBITMAP* dib, int x, int y) {
    RGBQUAD c{};
    FreeImage_GetPixelColor(dib, unsigned(x), FreeImage_GetHeight(dib) - 1 - unsigned(y), &c);
    return qRgba(c.rgbRed, c.rgbGreen, c.rgbBlue,
                 FreeImage_GetBPP(dib) == 32 ? c.rgbReserved : 255);
}

bool Near(QRgb a, QRgb b, int tolerance = 1) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance &&
           std::abs(qAlpha(a) - qAlpha(b)) <= tolerance;
}

std::string Hex(QRgb c) {
    return QString::number(c, 16).toStdString();
}

dds::Request Pick(uint32_t mip, uint32_t layer, dds::CubeLayout cube = dds::CubeLayout::First) {
    dds::Request r;
    r.selection = {mip, layer, cube};
    return r;
}

constexpr uint32_t kCube = 0x200 | 0xFC00; // cube map with all six faces

} // namespace

TEST(DdsSurfaces, EveryLevelLayerSliceAndFace) {
    using L = dds::CubeLayout;
    const QRgb none = qRgba(0, 0, 0, 0); // an empty cell under DROP
    struct Case {
        const char* name;
        Shape shape;
        dds::Request request;
        int width, height;
        // Points of the canvas and the colour each must have.
        QList<std::pair<QPoint, QRgb>> expect;
    };
    Shape mips{8, 8, 4};
    Shape array{8, 4, 2, 3, 1, 0, true, 3};
    Shape volume{4, 4, 3, 1, 4, 0x200000};
    Shape cube{4, 4, 1, 6, 1, kCube};
    Shape partial{4, 4, 1, 2, 1, 0x200 | 0x400 | 0x2000}; // +X and -Y only
    Shape noPlusX{4, 4, 1, 1, 1, 0x200 | 0x1000};         // +Y only
    Shape cubeArray{4, 4, 2, 12, 1, 0, true, 2, true};
    const Case cases[] = {
        {"level 0", mips, Pick(0, 0), 8, 8, {{{7, 7}, ColourOf(0, 0, 0)}}},
        {"level 2", mips, Pick(2, 0), 2, 2, {{{1, 1}, ColourOf(0, 2, 0)}}},
        {"smallest", mips, Pick(3, 0), 1, 1, {{{0, 0}, ColourOf(0, 3, 0)}}},
        {"array item", array, Pick(1, 2), 4, 2, {{{3, 1}, ColourOf(2, 1, 0)}}},
        {"volume slice", volume, Pick(0, 3), 4, 4, {{{0, 0}, ColourOf(0, 0, 3)}}},
        {"slice of a level", volume, Pick(1, 1), 2, 2, {{{1, 1}, ColourOf(0, 1, 1)}}},
        {"first face", cube, Pick(0, 0), 4, 4, {{{2, 2}, ColourOf(0, 0, 0)}}},
        {"cross",
         cube,
         Pick(0, 0, L::Cross),
         16,
         12,
         {{{9, 6}, ColourOf(0, 0, 0)},
          {{1, 6}, ColourOf(1, 0, 0)},
          {{5, 2}, ColourOf(2, 0, 0)},
          {{5, 10}, ColourOf(3, 0, 0)},
          {{5, 6}, ColourOf(4, 0, 0)},
          {{13, 6}, ColourOf(5, 0, 0)},
          {{1, 1}, none},
          {{13, 10}, none}}},
        {"strip",
         cube,
         Pick(0, 0, L::Strip),
         24,
         4,
         {{{1, 1}, ColourOf(0, 0, 0)}, {{9, 3}, ColourOf(2, 0, 0)}, {{23, 0}, ColourOf(5, 0, 0)}}},
        {"partial cube",
         partial,
         Pick(0, 0, L::Cross),
         16,
         12,
         {{{9, 6}, ColourOf(0, 0, 0)}, {{5, 10}, ColourOf(1, 0, 0)}, {{5, 6}, none}}},
        {"first face a file holds", noPlusX, Pick(0, 0), 4, 4, {{{0, 0}, ColourOf(0, 0, 0)}}},
        {"cube of a cube array",
         cubeArray,
         Pick(1, 1, L::Strip),
         12,
         2,
         {{{0, 0}, ColourOf(6, 1, 0)}, {{11, 1}, ColourOf(11, 1, 0)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = Decode(Build(c.shape), c.request);
        ASSERT_NE(d->dib, nullptr) << d->error.toStdString();
        EXPECT_EQ(int(FreeImage_GetWidth(d->dib)), c.width);
        EXPECT_EQ(int(FreeImage_GetHeight(d->dib)), c.height);
        for (const auto& [point, colour] : c.expect)
            EXPECT_EQ(PixelAt(d->dib, point.x(), point.y()), colour)
                << point.x() << "," << point.y() << " "
                << Hex(PixelAt(d->dib, point.x(), point.y())) << " != " << Hex(colour);
    }
}

// The empty cells of a cross take the background colour, an opaque format's too.
TEST(DdsSurfaces, EmptyCellsTakeTheBackground) {
    QByteArray cube = DdsRgb24(QImage(4, 4, QImage::Format_RGB32)).left(128);
    for (int f = 0; f < 6; ++f)
        cube += DdsRgb24(QImage(4, 4, QImage::Format_RGB32)).mid(128);
    Patch32(cube, 112, kCube);
    dds::Request request = Pick(0, 0, dds::CubeLayout::Cross);
    request.background = 0x336699;
    auto d = Decode(cube, request);
    ASSERT_NE(d->dib, nullptr) << d->error.toStdString();
    EXPECT_EQ(PixelAt(d->dib, 0, 0), qRgb(0x33, 0x66, 0x99));
    EXPECT_EQ(PixelAt(d->dib, 15, 11), qRgb(0x33, 0x66, 0x99));
}

TEST(DdsSurfaces, WhatTheFileDoesNotHoldIsNamed) {
    struct Case {
        const char* name;
        QByteArray file;
        dds::Request request;
        const char* reason; // empty: converts
    };
    const QByteArray mips = Build({8, 8, 4});
    const QByteArray firstLevelOnly = mips.left(128 + 8 * 8 * 4); // the smaller levels cut off
    const Case cases[] = {
        {"level past the last", mips, Pick(4, 0), "the texture has 4 mip levels (0..3)"},
        {"one level", Build({8, 8}), Pick(1, 0), "the texture has 1 mip level (0)"},
        {"item past the last", Build({8, 4, 1, 3, 1, 0, true, 3}), Pick(0, 3),
         "the texture has 3 array items (0..2)"},
        {"slice past the last of a level", Build({4, 4, 3, 1, 4, 0x200000}), Pick(1, 2),
         "the texture has 2 slices at mip level 1 (0..1)"},
        {"second cube of one", Build({4, 4, 1, 6, 1, kCube}), Pick(0, 1),
         "the texture has 1 cube (0)"},
        {"cut chain, level 0", firstLevelOnly, Pick(0, 0), ""},
        {"cut chain, level 1", firstLevelOnly, Pick(1, 0),
         "truncated DDS data: 320 bytes expected, 256 present"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = Decode(c.file, c.request);
        if (*c.reason == 0) {
            EXPECT_NE(d->dib, nullptr) << d->error.toStdString();
            continue;
        }
        EXPECT_EQ(d->dib, nullptr);
        EXPECT_EQ(d->error, QString::fromLatin1(c.reason));
    }
    // A claimed array far larger than any file: refused before anything is read.
    QByteArray huge = Build({8, 4, 1, 1, 1, 0, true, 1});
    Patch32(huge, 128 + 12, 0xFFFFFFFF);
    auto d = Decode(huge, Pick(0, 2047));
    EXPECT_EQ(d->dib, nullptr);
    EXPECT_TRUE(d->error.startsWith("truncated DDS data")) << d->error.toStdString();
}

// Strips of a cross or strip are the rows of the whole decode, whatever rows a
// strip starts and ends on (faces of 6 rows cut blocks of 4).
TEST(DdsSurfaces, StripsOfALaidOutCubeMatchTheWholePicture) {
    QTemporaryDir dir;
    for (uint32_t side : {6u, 8u}) {
        QByteArray file = DdsDxt1(TestPicture(int(side), int(side)));
        file = file.left(128); // one header, then six faces of their own pictures
        for (int f = 0; f < 6; ++f)
            file += DdsDxt1(TestPicture(int(side), int(side)).mirrored(f & 1, f & 2)).mid(128);
        Patch32(file, 112, kCube);
        const QString path = dir.filePath(QString("cube%1.dds").arg(side));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        for (dds::CubeLayout layout : {dds::CubeLayout::Cross, dds::CubeLayout::Strip}) {
            dds::Request request = Pick(0, 0, layout);
            request.background = 0x336699;
            auto whole = Decode(file, request, true);
            ASSERT_NE(whole->dib, nullptr) << whole->error.toStdString();
            auto reader = dds::StripReader::Open(path, nullptr, true, request);
            ASSERT_NE(reader, nullptr);
            ASSERT_EQ(reader->Width(), FreeImage_GetWidth(whole->dib));
            const uint32_t w = reader->Width(), h = reader->Height();
            for (uint32_t strip : {1u, 5u, 7u}) {
                std::vector<uint8_t> rows(size_t(w) * 3 * strip);
                for (uint32_t y = 0; y < h; y += strip) {
                    const uint32_t n = std::min(strip, h - y);
                    ASSERT_TRUE(reader->Decode(y, n, rows.data(), size_t(w) * 3));
                    for (uint32_t r = 0; r < n; ++r)
                        ASSERT_EQ(0,
                                  std::memcmp(rows.data() + size_t(w) * 3 * r,
                                              FreeImage_GetScanLine(whole->dib, int(h - 1 - y - r)),
                                              size_t(w) * 3))
                            << "side " << side << " row " << y + r << " strip " << strip;
                }
            }
        }
    }
}

namespace {

// A 4 x 4 DXT5 block of one colour and alpha (exact for the decoder: both end
// points equal, every index 0).
QByteArray SolidDxt5Block(int r, int g, int b, int a) {
    QByteArray out;
    out += char(a), out += char(a);
    out += QByteArray(6, 0);
    const uint16_t c = uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
    for (int i = 0; i < 2; ++i)
        out += char(c & 0xFF), out += char(c >> 8);
    out += QByteArray(4, 0);
    return out;
}

QByteArray WithFourCC(uint32_t fourCC, const QByteArray& data, uint32_t extraFlags = 0,
                      uint32_t w = 4, uint32_t h = 4) {
    DdsPixelFormat pf;
    pf.flags = 0x4 | extraFlags;
    pf.fourCC = fourCC;
    return DdsHeader(w, h, pf) + data;
}

// Blue of the rebuilt normal for red x and green y.
int NormalZ(int x, int y) {
    const double nx = x / 255.0 * 2 - 1, ny = y / 255.0 * 2 - 1;
    return int(std::lround((std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny)) + 1) / 2 * 255));
}

} // namespace

// What each normal-map choice makes of the stored channels: rebuilt normal
// maps, RXGB, and the editor's markers.
TEST(DdsChannels, StoredChannelsUnderEachChoice) {
    using M = dds::NormalMapMode;
    const uint32_t kNormal = 0x80000000;
    // x 200 (in alpha for DXT5nm, red otherwise), y 96 (green; DXT5 keeps 6 bits: 97).
    const QByteArray dxt5nm =
        WithFourCC(FourCC('D', 'X', 'T', '5'), SolidDxt5Block(0, 96, 0, 200), kNormal);
    QByteArray bc5;
    for (int v : {200, 96}) // red, then green: both end points v
        bc5 += char(v), bc5 += char(v), bc5 += QByteArray(6, 0);
    const QByteArray ati2 = WithFourCC(FourCC('A', 'T', 'I', '2'), bc5);
    QByteArray rg;
    for (int i = 0; i < 16; ++i)
        rg += char(200), rg += char(96);
    DdsPixelFormat dx10;
    dx10.flags = 0x4;
    dx10.fourCC = FourCC('D', 'X', '1', '0');
    const QByteArray r8g8 = DdsHeader(4, 4, dx10) + Dx10Header(49) + rg;
    QByteArray r8g8Flagged = r8g8;
    Patch32(r8g8Flagged, 80, 0x4 | kNormal);
    const QRgb rebuilt = qRgb(200, 96, NormalZ(200, 96));
    const QRgb rebuiltDxt = qRgb(200, 97, NormalZ(200, 97));
    // The editor's marker: "GIMP-DDS" in the reserved words, the format code after.
    auto marked = [](const char* code, int r, int g, int b, int a) {
        QByteArray file = DdsHeader(4, 4, [] {
            DdsPixelFormat pf;
            pf.flags = 0x41;
            pf.bitCount = 32;
            pf.rMask = 0xFF0000, pf.gMask = 0xFF00, pf.bMask = 0xFF, pf.aMask = 0xFF000000;
            return pf;
        }());
        Patch32(file, 32, FourCC('G', 'I', 'M', 'P'));
        Patch32(file, 36, FourCC('-', 'D', 'D', 'S'));
        Patch32(file, 44, FourCC(code[0], code[1], code[2], code[3]));
        Solid(file, 4, 4, qRgba(r, g, b, a));
        return file;
    };
    // YCoCg of a known colour: Y in alpha, Co and Cg (offset by half) in red and green.
    const double R = 0.8, G = 0.4, B = 0.2, offset = 0.5 * 256 / 255;
    const double y = (R + 2 * G + B) / 4, co = (R - B) / 2 + offset,
                 cg = (-R + 2 * G - B) / 4 + offset;
    auto b8 = [](double v) { return int(std::lround(v * 255)); };
    // The scaled form keeps a scale in blue: s = 1 / (255/8 * blue + 1).
    const int blue = 4; // a scale of 1 / (255 / 8 * 4 / 255 + 1): chroma stored 1.5 times larger
    const double scaledCo = (R - B) / 2 * 1.5 + offset,
                 scaledCg = (-R + 2 * G - B) / 4 * 1.5 + offset;
    struct Case {
        const char* name;
        QByteArray file;
        M mode;
        QRgb expect;
        int tolerance;
    };
    const Case cases[] = {
        {"DXT5nm, auto", dxt5nm, M::Auto, rebuiltDxt, 1},
        {"DXT5nm, rebuild", dxt5nm, M::Rebuild, rebuiltDxt, 1},
        {"DXT5nm, raw", dxt5nm, M::Raw, qRgba(0, 97, 0, 200), 1},
        {"BC5 without the flag, auto", ati2, M::Auto, qRgb(200, 96, 0), 1},
        {"BC5 without the flag, rebuild", ati2, M::Rebuild, rebuilt, 1},
        {"R8G8 without the flag, rebuild", r8g8, M::Rebuild, rebuilt, 1},
        {"R8G8 with the flag, auto", r8g8Flagged, M::Auto, rebuilt, 1},
        {"R8G8 with the flag, raw", r8g8Flagged, M::Raw, qRgb(200, 96, 0), 1},
        // RXGB keeps red in alpha under every choice.
        {"RXGB", WithFourCC(FourCC('R', 'X', 'G', 'B'), SolidDxt5Block(0, 96, 248, 200)), M::Raw,
         qRgb(200, 97, 255), 1},
        {"YCoCg", marked("YCG1", b8(co), b8(cg), 0, b8(y)), M::Auto, qRgb(204, 102, 51), 3},
        {"scaled YCoCg", marked("YCG2", b8(scaledCo), b8(scaledCg), blue, b8(y)), M::Auto,
         qRgb(204, 102, 51), 3},
        {"alpha exponent", marked("AEXP", 200, 100, 50, 128), M::Auto, qRgb(100, 50, 25), 1},
        {"raw keeps the channels", marked("YCG1", 10, 20, 30, 40), M::Raw, qRgba(10, 20, 30, 40),
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dds::Request request;
        request.normals = c.mode;
        auto d = Decode(c.file, request);
        ASSERT_NE(d->dib, nullptr) << d->error.toStdString();
        EXPECT_TRUE(Near(PixelAt(d->dib, 2, 1), c.expect, c.tolerance))
            << Hex(PixelAt(d->dib, 2, 1)) << " != " << Hex(c.expect);
    }
}

TEST(DdsChannels, TheLastLegacyLayouts) {
    struct Case {
        const char* name;
        uint32_t flags, bits, r, g, b, a;
        QByteArray pixel; // one pixel, repeated over 2 x 2
        QRgb expect;
    };
    const uint32_t RGB = 0x40, ALPHA = 0x1, LUM = 0x20000, DUDV = 0x80000, BUMPLUM = 0x40000;
    auto bytes = [](std::initializer_list<int> v) {
        QByteArray out;
        for (int b : v)
            out += char(b);
        return out;
    };
    const Case cases[] = {
        {"R3G3B2", RGB, 8, 0xE0, 0x1C, 0x03, 0, bytes({0b11101001}), qRgb(255, 72, 85)},
        {"A8R3G3B2", RGB | ALPHA, 16, 0xE0, 0x1C, 0x03, 0xFF00, bytes({0b00011110, 128}),
         qRgba(0, 255, 170, 128)},
        {"A4L4", LUM | ALPHA, 8, 0x0F, 0, 0, 0xF0, bytes({0x3C}), qRgba(204, 204, 204, 51)},
        // Signed: zero reads 128, the lowest value 0, the highest 255.
        {"V8U8", DUDV, 16, 0x00FF, 0xFF00, 0, 0, bytes({0x7F, 0x80}), qRgb(255, 0, 128)},
        {"Q8W8V8U8", DUDV, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, bytes({0, 0x7F, 0x80, 0}),
         qRgba(128, 255, 0, 128)},
        {"V16U16", DUDV, 32, 0xFFFF, 0xFFFF0000, 0, 0, bytes({0, 0, 0xFF, 0x7F}),
         qRgb(128, 255, 128)},
        {"L6V5U5", BUMPLUM, 16, 0x1F, 0x3E0, 0xFC00, 0, bytes({0x0F, 0xFE}), qRgb(255, 0, 255)},
        {"X8L8V8U8", BUMPLUM, 32, 0xFF, 0xFF00, 0xFF0000, 0, bytes({0x80, 0, 77, 0}),
         qRgb(0, 128, 77)},
        {"A2W10V10U10", DUDV | ALPHA, 32, 0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000,
         bytes({0xFF, 0x01, 0, 0xC0}), qRgba(255, 128, 128, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DdsPixelFormat pf;
        pf.flags = c.flags, pf.bitCount = c.bits;
        pf.rMask = c.r, pf.gMask = c.g, pf.bMask = c.b, pf.aMask = c.a;
        const QByteArray file = DdsHeader(2, 2, pf) + c.pixel.repeated(4);
        auto d = Decode(file);
        ASSERT_NE(d->dib, nullptr) << d->error.toStdString();
        EXPECT_TRUE(Near(PixelAt(d->dib, 1, 1), c.expect))
            << Hex(PixelAt(d->dib, 1, 1)) << " != " << Hex(c.expect);
        // Cut by one byte: refused, as every other layout.
        EXPECT_EQ(Decode(file.left(file.size() - 1))->dib, nullptr);
    }
    // A8P8: an index into the palette, then alpha; CxV8U8 makes its third component.
    DdsPixelFormat pal;
    pal.flags = 0x20 | ALPHA, pal.bitCount = 16;
    QByteArray palette(1024, 0);
    palette[4 * 7] = char(10), palette[4 * 7 + 1] = char(20), palette[4 * 7 + 2] = char(30);
    auto a8p8 = Decode(DdsHeader(2, 2, pal) + palette + bytes({7, 99}).repeated(4));
    ASSERT_NE(a8p8->dib, nullptr) << a8p8->error.toStdString();
    EXPECT_EQ(PixelAt(a8p8->dib, 0, 1), qRgba(10, 20, 30, 99));
    auto cx = Decode(WithFourCC(117, bytes({0xE4, 0x20}).repeated(16)));
    ASSERT_NE(cx->dib, nullptr) << cx->error.toStdString();
    EXPECT_TRUE(Near(PixelAt(cx->dib, 3, 3), qRgb(100, 160, NormalZ(100, 160))))
        << Hex(PixelAt(cx->dib, 3, 3));
}

TEST(DdsChannels, AlphaOverABackground) {
    // Colour 200/100/0 at alpha 0, 64, 128 and 255 over 0/0/255.
    QByteArray straight = DdsHeader(4, 1, [] {
        DdsPixelFormat pf;
        pf.flags = 0x41, pf.bitCount = 32;
        pf.rMask = 0xFF0000, pf.gMask = 0xFF00, pf.bMask = 0xFF, pf.aMask = 0xFF000000;
        return pf;
    }());
    for (int a : {0, 64, 128, 255})
        for (int v : {0, 100, 200, a})
            straight += char(v);
    // The same pixels premultiplied, in a DX10 file that says so (alpha mode 2).
    DdsPixelFormat dx10;
    dx10.flags = 0x4;
    dx10.fourCC = FourCC('D', 'X', '1', '0');
    QByteArray ext = Dx10Header(87);
    Patch32(ext, 16, 2);
    QByteArray premultiplied = DdsHeader(4, 1, dx10) + ext;
    for (int a : {0, 64, 128, 255})
        for (int v : {0, 100 * a / 255, 200 * a / 255, a})
            premultiplied += char(v);
    dds::Request over;
    over.background = 0x0000FF;
    auto s = Decode(straight, over);
    auto p = Decode(premultiplied, over);
    ASSERT_NE(s->dib, nullptr) << s->error.toStdString();
    ASSERT_NE(p->dib, nullptr) << p->error.toStdString();
    EXPECT_EQ(FreeImage_GetBPP(s->dib), 24u);
    const QRgb expect[] = {qRgb(0, 0, 255), qRgb(50, 25, 191), qRgb(100, 50, 127),
                           qRgb(200, 100, 0)};
    for (int x = 0; x < 4; ++x) {
        EXPECT_TRUE(Near(PixelAt(s->dib, x, 0), expect[x]))
            << x << " " << Hex(PixelAt(s->dib, x, 0));
        EXPECT_TRUE(Near(PixelAt(p->dib, x, 0), expect[x], 2))
            << x << " " << Hex(PixelAt(p->dib, x, 0));
    }
    // An opaque format is not touched; under DROP the colour shows as stored.
    auto opaque = Decode(DdsRgb24(QImage(2, 2, QImage::Format_RGB32)), over);
    ASSERT_NE(opaque->dib, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(opaque->dib), 24u);
    auto dropped = Decode(straight, {}, true);
    EXPECT_EQ(PixelAt(dropped->dib, 0, 0), qRgb(200, 100, 0));
}
