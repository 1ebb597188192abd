// The DXGI row layouts: each built here from known 8-bit values, packed by hand
// (halves, small floats, shared exponents, 10-bit and signed values), and the
// decode compared with those values within one level.

#include "DdsBuilder.h"
#include "dds/DdsReader.h"

#include <QList>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

// The test picture: 5 x 3 pixels, every value of the ramp in every channel.
constexpr int kW = 5, kH = 3;
struct Rgba {
    int r, g, b, a;
};
Rgba Source(int x, int y) {
    const int i = y * kW + x;
    return {(i * 17) % 256, (255 - i * 13) % 256, (i * 29 + 7) % 256, (i * 41 + 3) % 256};
}

void Put(QByteArray& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

uint32_t UnormOf(int v8, int bits) {
    const double max = double((uint64_t(1) << bits) - 1);
    return uint32_t(std::lround(v8 * max / 255.0));
}
// Two's complement of the value whose shifted code is the UNORM code.
uint32_t SnormOf(int v8, int bits) {
    const uint64_t u = UnormOf(v8, bits);
    return uint32_t((u ^ (uint64_t(1) << (bits - 1))) & ((uint64_t(1) << bits) - 1));
}
uint32_t FloatBits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}
// A non-negative float as a small float of mantissaBits (exponent 5 bits, bias
// 15), rounded to the nearest; sign bit (for halves) left 0.
uint32_t SmallFloatOf(double f, int mantissaBits) {
    if (f == 0) return 0;
    int e = 0;
    const double m = std::frexp(f, &e); // f = m * 2^e, m in [0.5, 1)
    int exponent = e - 1 + 15;
    if (exponent <= 0) // subnormal
        return uint32_t(std::lround(f / std::ldexp(1.0, -14) * (1 << mantissaBits)));
    uint32_t mantissa = uint32_t(std::lround((m * 2 - 1) * (1 << mantissaBits)));
    if (mantissa == (1u << mantissaBits)) mantissa = 0, ++exponent;
    return uint32_t(exponent) << mantissaBits | mantissa;
}

// What a small float holds, back as an 8-bit value.
int SmallFloatTo8(uint32_t bits, int mantissaBits) {
    const uint32_t exponent = bits >> mantissaBits, mantissa = bits & ((1u << mantissaBits) - 1);
    const double m = double(mantissa) / double(1u << mantissaBits);
    const double value = exponent == 0 ? std::ldexp(m, -14) : std::ldexp(1 + m, int(exponent) - 15);
    return int(std::lround(std::min(1.0, value) * 255));
}

struct Decoded {
    FIBITMAP* dib = nullptr;
    QString error;
    ~Decoded() {
        if (dib) FreeImage_Unload(dib);
    }
};

std::unique_ptr<Decoded> Decode(const QByteArray& file, bool opaque = false) {
    auto d = std::make_unique<Decoded>();
    dds::Options options;
    options.opaque = opaque;
    const dds::MemorySource source(reinterpret_cast<const uint8_t*>(file.constData()),
                                   size_t(file.size()));
    d->dib = dds::Decode(source, &d->error, options);
    return d;
}

Rgba PixelOf(FIBITMAP* dib, int x, int y) {
    const int h = int(FreeImage_GetHeight(dib));
    const BYTE* line = FreeImage_GetScanLine(dib, h - 1 - y);
    switch (FreeImage_GetBPP(dib)) {
    case 8:
        return {line[x], line[x], line[x], 255};
    case 24:
        return {line[3 * x + FI_RGBA_RED], line[3 * x + FI_RGBA_GREEN], line[3 * x + FI_RGBA_BLUE],
                255};
    default:
        return {line[4 * x + FI_RGBA_RED], line[4 * x + FI_RGBA_GREEN], line[4 * x + FI_RGBA_BLUE],
                line[4 * x + FI_RGBA_ALPHA]};
    }
}

QByteArray Dx10File(uint32_t w, uint32_t h, uint32_t dxgi, const QByteArray& data) {
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC('D', 'X', '1', '0');
    return DdsHeader(w, h, pf) + Dx10Header(dxgi) + data;
}

struct Case {
    const char* name;
    uint32_t dxgi;
    int bpp;                                     // the bitmap's depth
    std::function<void(QByteArray&, Rgba)> pack; // one pixel into the file
    std::function<Rgba(Rgba)> expected;          // what the decode must give
};

// Expected values for the usual shapes of a format.
Rgba AllFour(Rgba s) {
    return s;
}
Rgba Opaque(Rgba s) {
    return {s.r, s.g, s.b, 255};
}
Rgba TwoUnsigned(Rgba s) {
    return {s.r, s.g, 0, 255};
}
Rgba TwoSigned(Rgba s) {
    return {s.r, s.g, 128, 255};
}
Rgba Grey(Rgba s) {
    return {s.r, s.r, s.r, 255};
}

QList<Case> Cases() {
    auto unorm = [](int bits, int n) {
        return [bits, n](QByteArray& o, Rgba s) {
            const int c[4] = {s.r, s.g, s.b, s.a};
            for (int i = 0; i < n; ++i)
                Put(o, UnormOf(c[i], bits), bits / 8);
        };
    };
    auto snorm = [](int bits, int n) {
        return [bits, n](QByteArray& o, Rgba s) {
            const int c[4] = {s.r, s.g, s.b, s.a};
            for (int i = 0; i < n; ++i)
                Put(o, SnormOf(c[i], bits), bits / 8);
        };
    };
    auto float32 = [](int n) {
        return [n](QByteArray& o, Rgba s) {
            const int c[4] = {s.r, s.g, s.b, s.a};
            for (int i = 0; i < n; ++i)
                Put(o, FloatBits(float(c[i] / 255.0)), 4);
        };
    };
    auto half = [](int n) {
        return [n](QByteArray& o, Rgba s) {
            const int c[4] = {s.r, s.g, s.b, s.a};
            for (int i = 0; i < n; ++i)
                Put(o, SmallFloatOf(c[i] / 255.0, 10), 2);
        };
    };
    QList<Case> cases = {
        {"R32G32B32A32_FLOAT", 2, 32, float32(4), AllFour},
        {"R32G32B32A32_UINT", 3, 32, unorm(32, 4), AllFour},
        {"R32G32B32A32_SINT", 4, 32, snorm(32, 4), AllFour},
        {"R32G32B32_FLOAT", 6, 24, float32(3), Opaque},
        {"R32G32B32_UINT", 7, 24, unorm(32, 3), Opaque},
        {"R16G16B16A16_FLOAT", 10, 32, half(4), AllFour},
        {"R16G16B16A16_UNORM", 11, 32, unorm(16, 4), AllFour},
        {"R16G16B16A16_UINT", 12, 32, unorm(16, 4), AllFour},
        {"R16G16B16A16_SNORM", 13, 32, snorm(16, 4), AllFour},
        {"R16G16B16A16_SINT", 14, 32, snorm(16, 4), AllFour},
        {"R16G16B16A16_TYPELESS", 9, 32, unorm(16, 4), AllFour},
        {"R32G32_FLOAT", 16, 24, float32(2), TwoUnsigned},
        {"R32G32_SINT", 18, 24, snorm(32, 2), TwoSigned},
        {"R8G8B8A8_UINT", 30, 32, unorm(8, 4), AllFour},
        {"R8G8B8A8_SNORM", 31, 32, snorm(8, 4), AllFour},
        {"R8G8B8A8_SINT", 32, 32, snorm(8, 4), AllFour},
        {"R16G16_FLOAT", 34, 24, half(2), TwoUnsigned},
        {"R16G16_UNORM", 35, 24, unorm(16, 2), TwoUnsigned},
        {"R16G16_SNORM", 37, 24, snorm(16, 2), TwoSigned},
        {"R32_FLOAT", 41, 8, float32(1), Grey},
        {"R32_UINT", 42, 8, unorm(32, 1), Grey},
        {"R32_TYPELESS", 39, 8, float32(1), Grey},
        {"R8G8_UNORM", 49, 24, unorm(8, 2), TwoUnsigned},
        {"R8G8_SNORM", 51, 24, snorm(8, 2), TwoSigned},
        {"R16_FLOAT", 54, 8, half(1), Grey},
        {"R16_UNORM", 56, 8, unorm(16, 1), Grey},
        {"R16_SNORM", 58, 8, snorm(16, 1), Grey},
        {"R8_UINT", 62, 8, unorm(8, 1), Grey},
        {"R8_SNORM", 63, 8, snorm(8, 1), Grey},
        {"B8G8R8X8_UNORM", 88, 24,
         [](QByteArray& o, Rgba s) {
             Put(o, uint32_t(s.b) | uint32_t(s.g) << 8 | uint32_t(s.r) << 16 | 0x5Au << 24, 4);
         },
         Opaque},
        {"B8G8R8X8_UNORM_SRGB", 93, 24,
         [](QByteArray& o, Rgba s) {
             Put(o, uint32_t(s.b) | uint32_t(s.g) << 8 | uint32_t(s.r) << 16, 4);
         },
         Opaque},
        {"R10G10B10A2_UNORM", 24, 32,
         [](QByteArray& o, Rgba s) {
             Put(o,
                 UnormOf(s.r, 10) | UnormOf(s.g, 10) << 10 | UnormOf(s.b, 10) << 20 |
                     UnormOf(s.a, 2) << 30,
                 4);
         },
         [](Rgba s) {
             return Rgba{s.r, s.g, s.b, int(UnormOf(s.a, 2) * 85)};
         }},
        {"R10G10B10_XR_BIAS_A2_UNORM", 89, 32,
         [](QByteArray& o, Rgba s) {
             auto xr = [](int v) { return uint32_t(std::lround(v / 255.0 * 510 + 384)); };
             Put(o, xr(s.r) | xr(s.g) << 10 | xr(s.b) << 20 | 3u << 30, 4);
         },
         Opaque},
        {"R11G11B10_FLOAT", 26, 24,
         [](QByteArray& o, Rgba s) {
             Put(o,
                 SmallFloatOf(s.r / 255.0, 6) | SmallFloatOf(s.g / 255.0, 6) << 11 |
                     SmallFloatOf(s.b / 255.0, 5) << 22,
                 4);
         },
         // Six and five mantissa bits hold less than 8-bit values: the packed
         // value is what must come back.
         [](Rgba s) {
             return Rgba{SmallFloatTo8(SmallFloatOf(s.r / 255.0, 6), 6),
                         SmallFloatTo8(SmallFloatOf(s.g / 255.0, 6), 6),
                         SmallFloatTo8(SmallFloatOf(s.b / 255.0, 5), 5), 255};
         }},
        {"R9G9B9E5_SHAREDEXP", 67, 24,
         [](QByteArray& o, Rgba s) {
             // The exponent of the largest channel; mantissas of 9 bits below it.
             const double m = std::max({s.r, s.g, s.b, 1}) / 255.0;
             int e = 0;
             std::frexp(m, &e);
             const double scale = std::ldexp(1.0, e - 9);
             auto mant = [&](int v) {
                 return std::min<uint32_t>(511, uint32_t(std::lround(v / 255.0 / scale)));
             };
             Put(o, mant(s.r) | mant(s.g) << 9 | mant(s.b) << 18 | uint32_t(e + 15) << 27, 4);
         },
         Opaque},
        {"A4B4G4R4_UNORM", 191, 32,
         [](QByteArray& o, Rgba s) {
             Put(o,
                 UnormOf(s.a, 4) | UnormOf(s.b, 4) << 4 | UnormOf(s.g, 4) << 8 |
                     UnormOf(s.r, 4) << 12,
                 2);
         },
         [](Rgba s) {
             auto q = [](int v) { return int(UnormOf(v, 4) * 17); };
             return Rgba{q(s.r), q(s.g), q(s.b), q(s.a)};
         }},
        {"AYUV", 100, 32,
         [](QByteArray& o, Rgba s) {
             // Grey values: Y alone carries them, U and V at their middle.
             Put(o,
                 128u | 128u << 8 | uint32_t(16 + std::lround(s.r * 219 / 255.0)) << 16 |
                     uint32_t(s.a) << 24,
                 4);
         },
         [](Rgba s) {
             return Rgba{s.r, s.r, s.r, s.a};
         }},
        {"Y416", 102, 32,
         [](QByteArray& o, Rgba s) {
             Put(o, 128 * 256, 2);
             Put(o, uint32_t(std::lround((16 + s.r * 219 / 255.0) * 256)), 2);
             Put(o, 128 * 256, 2);
             Put(o, UnormOf(s.a, 16), 2);
         },
         [](Rgba s) {
             return Rgba{s.r, s.r, s.r, s.a};
         }},
        {"Y410", 101, 32,
         [](QByteArray& o, Rgba s) {
             const uint32_t y = uint32_t(std::lround((16 + s.r * 219 / 255.0) * 4));
             Put(o, 512u | y << 10 | 512u << 20 | 3u << 30, 4);
         },
         [](Rgba s) {
             return Rgba{s.r, s.r, s.r, 255};
         }},
    };
    return cases;
}

bool Near(Rgba a, Rgba b) {
    return std::abs(a.r - b.r) <= 1 && std::abs(a.g - b.g) <= 1 && std::abs(a.b - b.b) <= 1 &&
           std::abs(a.a - b.a) <= 1;
}

std::string Text(Rgba c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ", " + std::to_string(c.a) + ")";
}

} // namespace

TEST(DdsLayouts, EveryFormatDecodesItsKnownValues) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        QByteArray data;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                c.pack(data, Source(x, y));
        const QByteArray file = Dx10File(kW, kH, c.dxgi, data);
        auto d = Decode(file);
        ASSERT_NE(d->dib, nullptr) << d->error.toStdString();
        EXPECT_EQ(int(FreeImage_GetBPP(d->dib)), c.bpp);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const Rgba want = c.expected(Source(x, y)), got = PixelOf(d->dib, x, y);
                EXPECT_TRUE(Near(got, want))
                    << "pixel " << x << "," << y << ": " << Text(got) << " for " << Text(want);
            }
        // A 1 x 1 picture of the first pixel.
        QByteArray one;
        c.pack(one, Source(0, 0));
        auto single = Decode(Dx10File(1, 1, c.dxgi, one));
        ASSERT_NE(single->dib, nullptr);
        EXPECT_TRUE(Near(PixelOf(single->dib, 0, 0), c.expected(Source(0, 0))));
        // One byte short: refused with the sizes, nothing decoded.
        auto cut = Decode(file.left(file.size() - 1));
        EXPECT_EQ(cut->dib, nullptr);
        EXPECT_TRUE(cut->error.startsWith(
            QStringLiteral("truncated DDS data: %1 bytes expected").arg(data.size())))
            << cut->error.toStdString();
    }
}

TEST(DdsLayouts, FloatsClampAndNotANumberIsZero) {
    QByteArray data;
    const float values[] = {-0.5f, 2.0f, NAN, INFINITY, 0.5f};
    for (float f : values)
        Put(data, FloatBits(f), 4);
    auto d = Decode(Dx10File(5, 1, 41, data));
    ASSERT_NE(d->dib, nullptr);
    const int expected[] = {0, 255, 0, 255, 128};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(PixelOf(d->dib, x, 0).r, expected[x]) << x;
    // Halves: the sign bit, infinity and NaN.
    QByteArray halves;
    for (uint16_t h :
         {uint16_t(0xB800), uint16_t(0x7C00), uint16_t(0x7E00), uint16_t(0x3C00), uint16_t(0x0001)})
        Put(halves, h, 2);
    auto hd = Decode(Dx10File(5, 1, 54, halves));
    ASSERT_NE(hd->dib, nullptr);
    const int hexpected[] = {0, 255, 0, 255, 0};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(PixelOf(hd->dib, x, 0).r, hexpected[x]) << x;
}

TEST(DdsLayouts, PackedPairsOneBitAndVideo) {
    // R8G8_B8G8: two pixels share red and blue.
    QByteArray rgbg;
    Put(rgbg, 200u | 10u << 8 | 30u << 16 | 250u << 24, 4);
    Put(rgbg, 1u | 2u << 8 | 3u << 16 | 4u << 24, 4);
    auto a = Decode(Dx10File(3, 1, 68, rgbg)); // an odd width uses half a pair
    ASSERT_NE(a->dib, nullptr);
    EXPECT_TRUE(Near(PixelOf(a->dib, 0, 0), {200, 10, 30, 255}));
    EXPECT_TRUE(Near(PixelOf(a->dib, 1, 0), {200, 250, 30, 255}));
    EXPECT_TRUE(Near(PixelOf(a->dib, 2, 0), {1, 2, 3, 255}));
    auto g = Decode(Dx10File(2, 1, 69, rgbg.left(4))); // G8R8_G8B8
    ASSERT_NE(g->dib, nullptr);
    EXPECT_TRUE(Near(PixelOf(g->dib, 0, 0), {10, 200, 250, 255}));
    EXPECT_TRUE(Near(PixelOf(g->dib, 1, 0), {10, 30, 250, 255}));

    // R1: the first pixel is the highest bit.
    auto bits = Decode(Dx10File(10, 1, 66, QByteArray("\xA0\x40", 2)));
    ASSERT_NE(bits->dib, nullptr);
    const int expected[] = {255, 0, 255, 0, 0, 0, 0, 0, 0, 255};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(PixelOf(bits->dib, x, 0).r, expected[x]) << x;

    // YUY2 with the reference colours of BT.601 limited range.
    struct Yuv {
        int y, u, v;
        Rgba rgb;
    };
    const Yuv colours[] = {{235, 128, 128, {255, 255, 255, 255}},
                           {16, 128, 128, {0, 0, 0, 255}},
                           {81, 90, 240, {255, 0, 0, 255}},
                           {145, 54, 34, {0, 255, 0, 255}},
                           {41, 240, 110, {0, 0, 255, 255}}};
    for (const Yuv& c : colours) {
        QByteArray yuy2, uyvy, y216;
        Put(yuy2, uint32_t(c.y) | uint32_t(c.u) << 8 | uint32_t(c.y) << 16 | uint32_t(c.v) << 24,
            4);
        Put(uyvy, uint32_t(c.u) | uint32_t(c.y) << 8 | uint32_t(c.v) << 16 | uint32_t(c.y) << 24,
            4);
        for (int v : {c.y, c.u, c.y, c.v})
            Put(y216, uint32_t(v) << 8, 2);
        auto near = [&](const QByteArray& file) {
            auto d = Decode(file);
            if (!d->dib) return false;
            // The reference values are rounded to whole codes: two levels.
            for (int x = 0; x < 2; ++x) {
                const Rgba p = PixelOf(d->dib, x, 0);
                if (std::abs(p.r - c.rgb.r) > 2 || std::abs(p.g - c.rgb.g) > 2 ||
                    std::abs(p.b - c.rgb.b) > 2)
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(near(Dx10File(2, 1, 107, yuy2))) << c.y << "," << c.u << "," << c.v;
        EXPECT_TRUE(near(Dx10File(2, 1, 109, y216))) << c.y;
        DdsPixelFormat pf;
        pf.flags = 0x4;
        pf.fourCC = FourCC('U', 'Y', 'V', 'Y');
        EXPECT_TRUE(near(DdsHeader(2, 1, pf) + uyvy)) << c.y;
        pf.fourCC = FourCC('Y', 'U', 'Y', '2');
        EXPECT_TRUE(near(DdsHeader(2, 1, pf) + yuy2)) << c.y;
    }
}

TEST(DdsLayouts, LegacyNumericCodesMapToTheSameDecoders) {
    DdsPixelFormat pf;
    pf.flags = 0x4;
    struct Legacy {
        uint32_t code, dxgi;
    };
    const Legacy codes[] = {{36, 11},  {110, 13}, {111, 54}, {112, 34}, {113, 10}, {114, 41},
                            {115, 16}, {116, 2},  {34, 35},  {60, 51},  {63, 31},  {64, 37}};
    for (const Legacy& l : codes) {
        SCOPED_TRACE(l.code);
        const Case* match = nullptr;
        const QList<Case> cases = Cases();
        for (const Case& c : cases)
            if (c.dxgi == l.dxgi) match = &c;
        ASSERT_NE(match, nullptr);
        QByteArray data;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                match->pack(data, Source(x, y));
        pf.fourCC = l.code;
        auto legacy = Decode(DdsHeader(kW, kH, pf) + data);
        auto modern = Decode(Dx10File(kW, kH, l.dxgi, data));
        ASSERT_NE(legacy->dib, nullptr) << legacy->error.toStdString();
        ASSERT_NE(modern->dib, nullptr);
        EXPECT_EQ(FreeImage_GetBPP(legacy->dib), FreeImage_GetBPP(modern->dib));
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const Rgba a = PixelOf(legacy->dib, x, y), b = PixelOf(modern->dib, x, y);
                EXPECT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a);
            }
    }
}

TEST(DdsLayouts, VolumeTexturesGiveTheirFirstSlice) {
    // A 4 x 4 x 3 volume of RGBA16F: slice 0 red, then green and blue.
    QByteArray slices;
    for (Rgba colour : {Rgba{255, 0, 0, 255}, Rgba{0, 255, 0, 255}, Rgba{0, 0, 255, 255}})
        for (int i = 0; i < 16; ++i)
            for (int v : {colour.r, colour.g, colour.b, colour.a})
                Put(slices, SmallFloatOf(v / 255.0, 10), 2);
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC('D', 'X', '1', '0');
    QByteArray file = DdsHeader(4, 4, pf) + Dx10Header(10) + slices;
    file[10] = char(file[10] | 0x80); // header flags: the depth is given
    file[24] = 3;                     // depth
    file[128 + 4] = 4;                // dimension: three-dimensional
    auto d = Decode(file);
    ASSERT_NE(d->dib, nullptr) << d->error.toStdString();
    EXPECT_TRUE(Near(PixelOf(d->dib, 3, 3), {255, 0, 0, 255}));
    // Opaque decoding of the same file.
    auto o = Decode(file, true);
    ASSERT_NE(o->dib, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(o->dib), 24u);
    EXPECT_TRUE(Near(PixelOf(o->dib, 0, 0), {255, 0, 0, 255}));
}

TEST(DdsLayouts, RefusedFormatsNameThemselves) {
    struct Refused {
        uint32_t dxgi;
        const char* reason;
    };
    const Refused refused[] = {
        {131, "unsupported DDS format: DXGI 131 (V208)"},
        {110, "unsupported DDS format: DXGI 110 (NV11)"},
        {45, "unsupported DDS format: DXGI 45 (D24_UNORM_S8_UINT)"},
        {250, "unsupported DDS format: DXGI 250"},
    };
    for (const Refused& r : refused) {
        auto d = Decode(Dx10File(4, 4, r.dxgi, QByteArray(256, 0)));
        EXPECT_EQ(d->dib, nullptr);
        EXPECT_EQ(d->error, QString::fromLatin1(r.reason));
    }
}

TEST(DdsLayouts, PlanarVideoTakesItsChromaFromTheSecondPlane) {
    // 4 x 3 NV12: luma rows padded to an even width, then ceil(3 / 2) = 2 rows
    // of U, V pairs. The left half red, the right half blue; the last row (its
    // own chroma row) green.
    auto build = [](int sampleBytes, int shift, int chromaRowsPerLuma) {
        QByteArray file;
        const int ys[3][4] = {{81, 81, 41, 41}, {81, 81, 41, 41}, {145, 145, 145, 145}};
        for (const auto& row : ys)
            for (int y : row)
                Put(file, uint32_t(y) << shift, sampleBytes);
        const int chromaRows = chromaRowsPerLuma == 2 ? 2 : 3;
        for (int r = 0; r < chromaRows; ++r) {
            const bool green = chromaRowsPerLuma == 2 ? r == 1 : r == 2;
            for (int pair = 0; pair < 2; ++pair) {
                const int u = green ? 54 : pair == 0 ? 90 : 240;
                const int v = green ? 34 : pair == 0 ? 240 : 110;
                Put(file, uint32_t(u) << shift, sampleBytes);
                Put(file, uint32_t(v) << shift, sampleBytes);
            }
        }
        return file;
    };
    struct Planar {
        uint32_t dxgi;
        QByteArray data;
    };
    const Planar planar[] = {
        {103, build(1, 0, 2)}, {104, build(2, 8, 2)}, {105, build(2, 8, 2)}, {130, build(1, 0, 1)}};
    for (const Planar& p : planar) {
        SCOPED_TRACE(p.dxgi);
        const QByteArray file = Dx10File(4, 3, p.dxgi, p.data);
        auto d = Decode(file);
        ASSERT_NE(d->dib, nullptr) << d->error.toStdString();
        auto near2 = [](Rgba a, Rgba b) {
            return std::abs(a.r - b.r) <= 2 && std::abs(a.g - b.g) <= 2 && std::abs(a.b - b.b) <= 2;
        };
        for (int y = 0; y < 2; ++y) {
            EXPECT_TRUE(near2(PixelOf(d->dib, 1, y), {255, 0, 0, 255}))
                << Text(PixelOf(d->dib, 1, y));
            EXPECT_TRUE(near2(PixelOf(d->dib, 2, y), {0, 0, 255, 255}))
                << Text(PixelOf(d->dib, 2, y));
        }
        EXPECT_TRUE(near2(PixelOf(d->dib, 3, 2), {0, 255, 0, 255})) << Text(PixelOf(d->dib, 3, 2));
        // Without the last chroma row: refused, the whole size named.
        auto cut = Decode(file.left(file.size() - 1));
        EXPECT_EQ(cut->dib, nullptr);
        EXPECT_EQ(cut->error, QStringLiteral("truncated DDS data: %1 bytes expected, %2 present")
                                  .arg(p.data.size())
                                  .arg(p.data.size() - 1));
    }
}
