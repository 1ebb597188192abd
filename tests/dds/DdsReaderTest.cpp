#include "dds/DdsReader.h"
#include "DdsBuilder.h"
#include "TestSupport.h"
#include "dds/DdsHeader.h"

#include <QElapsedTimer>
#include <QImage>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

struct Decoded {
    FIBITMAP* dib = nullptr;
    QString error;
    ~Decoded() {
        if (dib) FreeImage_Unload(dib);
    }
};

std::unique_ptr<Decoded> DecodeBytes(const QByteArray& bytes, int threads = 0) {
    auto d = std::make_unique<Decoded>();
    d->dib = dds::DecodeMemory(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               size_t(bytes.size()), &d->error, threads);
    return d;
}

QRgb Pixel(FIBITMAP* dib, int x, int y) {
    RGBQUAD c{};
    const int h = int(FreeImage_GetHeight(dib));
    if (FreeImage_GetBPP(dib) == 8) {
        BYTE v = 0;
        FreeImage_GetPixelIndex(dib, unsigned(x), unsigned(h - 1 - y), &v);
        return qRgb(v, v, v);
    }
    FreeImage_GetPixelColor(dib, unsigned(x), unsigned(h - 1 - y), &c);
    return qRgba(c.rgbRed, c.rgbGreen, c.rgbBlue,
                 FreeImage_GetBPP(dib) == 32 ? c.rgbReserved : 255);
}

QImage Solid(int w, int h, QRgb c) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    return img;
}

QByteArray WithDx10(uint32_t w, uint32_t h, uint32_t dxgi, const QByteArray& data,
                    uint32_t arraySize = 1) {
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC('D', 'X', '1', '0');
    return DdsHeader(w, h, pf) + Dx10Header(dxgi, arraySize) + data;
}

void Patch32(QByteArray& bytes, int offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

} // namespace

TEST(DdsHeader, RejectionRulesNameTheirReason) {
    const QByteArray good = DdsDxt1(Solid(8, 8, qRgb(255, 0, 0)));
    struct Case {
        QByteArray bytes;
        const char* reason;
    };
    QList<Case> cases;
    cases.append({QByteArray(), "not a DDS file"});
    cases.append({QByteArray("DDS"), "not a DDS file"});
    QByteArray magic = good;
    magic[0] = 'X';
    cases.append({magic, "not a DDS file"});
    cases.append({good.left(100), "truncated DDS header: 128 bytes expected, 100 present"});
    QByteArray headerSize = good;
    Patch32(headerSize, 4, 100);
    cases.append({headerSize, "invalid DDS header: size 100, 124 expected"});
    QByteArray pfSize = good;
    Patch32(pfSize, 76, 0xFFFFFFFF);
    cases.append({pfSize, "invalid DDS pixel format: size 4294967295, 32 expected"});
    QByteArray zero = good;
    Patch32(zero, 16, 0);
    cases.append({zero, "invalid DDS dimensions: 0 x 8"});
    QByteArray wide = good;
    Patch32(wide, 16, 32769);
    cases.append({wide, "DDS image too large: 32769 x 8 (a side may have at most 32768 pixels)"});
    QByteArray many = good;
    Patch32(many, 12, 32768);
    Patch32(many, 16, 16385);
    cases.append({many, "DDS image too large: 16385 x 32768 (536903680 pixels; a picture may have "
                        "at most 268435456 pixels, 16384 x 16384)"});
    QByteArray fourCC = good;
    Patch32(fourCC, 84, FourCC('A', 'B', 'C', 'D'));
    cases.append({fourCC, "unsupported DDS format: FourCC 'ABCD'"});
    QByteArray numeric = good;
    Patch32(numeric, 84, 200);
    cases.append({numeric, "unsupported DDS format: FourCC 200"});
    cases.append(
        {WithDx10(8, 8, 131, QByteArray(256, 0)), "unsupported DDS format: DXGI 131 (V208)"});
    QByteArray dx10Short = WithDx10(8, 8, 71, QByteArray());
    cases.append({dx10Short.left(140), "truncated DDS header: 148 bytes expected, 140 present"});
    QByteArray oneD = WithDx10(8, 1, 71, QByteArray(16, 0));
    Patch32(oneD, 132, 2);
    cases.append({oneD, "unsupported DDS texture: one-dimensional"});
    DdsPixelFormat yuv;
    yuv.flags = 0x200;
    cases.append(
        {DdsHeader(4, 4, yuv) + QByteArray(64, 0), "unsupported DDS pixel format: flags 0x200"});
    DdsPixelFormat lum24;
    lum24.flags = 0x20000;
    lum24.bitCount = 24;
    cases.append({DdsHeader(4, 4, lum24) + QByteArray(48, 0),
                  "unsupported DDS pixel format: 24-bit luminance"});
    DdsPixelFormat rgb12;
    rgb12.flags = 0x40;
    rgb12.bitCount = 12;
    cases.append(
        {DdsHeader(4, 4, rgb12) + QByteArray(32, 0), "unsupported DDS pixel format: 12-bit RGB"});
    cases.append({good.left(good.size() - 1), "truncated DDS data: 32 bytes expected, 31 present"});
    DdsPixelFormat pal;
    pal.flags = 0x20;
    cases.append({DdsHeader(4, 4, pal) + QByteArray(1000, 0),
                  "truncated DDS data: 1040 bytes expected, 1000 present"});

    for (const Case& c : cases) {
        auto d = DecodeBytes(c.bytes);
        EXPECT_EQ(d->dib, nullptr) << c.reason;
        EXPECT_TRUE(d->error.startsWith(QLatin1String(c.reason)))
            << "expected \"" << c.reason << "\", got \"" << d->error.toStdString() << "\"";
    }
}

TEST(DdsHeader, AClaimedHugePictureIsRefusedAtOnce) {
    // 128 bytes claiming 16384 x 16384 DXT5: refused from the header alone.
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC('D', 'X', 'T', '5');
    QElapsedTimer timer;
    timer.start();
    auto d = DecodeBytes(DdsHeader(16384, 16384, pf));
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_EQ(d->dib, nullptr);
    EXPECT_EQ(d->error, "truncated DDS data: 268435456 bytes expected, 0 present");
}

TEST(DdsReader, OddSizesKeepEveryPixel) {
    for (QSize size : {QSize(1, 1), QSize(2, 2), QSize(15, 15), QSize(4097, 3), QSize(5, 9)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        // Red and green are exact in 5:6:5.
        const QImage solid = Solid(size.width(), size.height(), qRgb(255, 0, 0));
        for (const QByteArray& file : {DdsDxt1(solid), DdsDxt3(solid), DdsDxt5(solid)}) {
            auto d = DecodeBytes(file);
            ASSERT_NE(d->dib, nullptr) << d->error.toStdString();
            EXPECT_EQ(int(FreeImage_GetWidth(d->dib)), size.width());
            EXPECT_EQ(int(FreeImage_GetHeight(d->dib)), size.height());
            EXPECT_EQ(FreeImage_GetBPP(d->dib), 32u);
            EXPECT_EQ(Pixel(d->dib, 0, 0), qRgba(255, 0, 0, 255));
            EXPECT_EQ(Pixel(d->dib, size.width() - 1, size.height() - 1), qRgba(255, 0, 0, 255));
        }
    }
}

TEST(DdsReader, BlockFormatsByFourCCAndDxgi) {
    struct Case {
        QByteArray file;
        unsigned bpp;
    };
    const QByteArray bc4Block("\xC8\xC8\0\0\0\0\0\0", 8);
    const QByteArray bc5Block = bc4Block + QByteArray("\x0A\x0A\0\0\0\0\0\0", 8);
    DdsPixelFormat ati1;
    ati1.flags = 0x4;
    ati1.fourCC = FourCC('A', 'T', 'I', '1');
    DdsPixelFormat bc5s;
    bc5s.flags = 0x4;
    bc5s.fourCC = FourCC('B', 'C', '5', 'S');
    auto grey = DecodeBytes(DdsHeader(4, 4, ati1) + bc4Block);
    ASSERT_NE(grey->dib, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(grey->dib), 8u);
    EXPECT_EQ(FreeImage_GetColorType(grey->dib), FIC_MINISBLACK);
    EXPECT_EQ(Pixel(grey->dib, 3, 3), qRgb(200, 200, 200));
    auto normal = DecodeBytes(DdsHeader(4, 4, bc5s) + bc5Block);
    ASSERT_NE(normal->dib, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(normal->dib), 24u);
    EXPECT_EQ(Pixel(normal->dib, 0, 0), qRgb(72, 138, 128));
    auto viaDx10 = DecodeBytes(WithDx10(4, 4, 80, bc4Block));
    ASSERT_NE(viaDx10->dib, nullptr);
    EXPECT_EQ(Pixel(viaDx10->dib, 1, 1), qRgb(200, 200, 200));
    auto dxt1 = DecodeBytes(WithDx10(4, 4, 72, EncodeDxt(Solid(4, 4, qRgb(0, 255, 0)), 1)));
    ASSERT_NE(dxt1->dib, nullptr);
    EXPECT_EQ(Pixel(dxt1->dib, 2, 2), qRgba(0, 255, 0, 255));
}

TEST(DdsReader, UncompressedLayouts) {
    const QImage picture = TestPicture(7, 5);
    auto expectPicture = [&](const QByteArray& file, unsigned bpp, bool alpha, int tolerance,
                             const char* what) {
        SCOPED_TRACE(what);
        auto d = DecodeBytes(file);
        ASSERT_NE(d->dib, nullptr) << d->error.toStdString();
        EXPECT_EQ(FreeImage_GetBPP(d->dib), bpp);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                const QRgb got = Pixel(d->dib, x, y), want = picture.pixel(x, y);
                EXPECT_NEAR(qRed(got), qRed(want), tolerance);
                EXPECT_NEAR(qGreen(got), qGreen(want), tolerance);
                EXPECT_NEAR(qBlue(got), qBlue(want), tolerance);
                if (alpha) {
                    EXPECT_NEAR(qAlpha(got), qAlpha(want), tolerance);
                }
            }
    };
    expectPicture(DdsRgb24(picture), 24, false, 0, "24-bit BGR");
    expectPicture(DdsBgra32(picture), 32, true, 0, "32-bit BGRA");
    expectPicture(DdsUncompressed(picture, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000), 32, true, 0,
                  "32-bit RGBA");
    expectPicture(DdsUncompressed(picture, 32, 0xFF0000, 0xFF00, 0xFF, 0), 24, false, 0,
                  "32-bit X8R8G8B8");
    expectPicture(DdsUncompressed(picture, 16, 0xF800, 0x7E0, 0x1F, 0), 24, false, 8, "R5G6B5");
    expectPicture(DdsUncompressed(picture, 16, 0x7C00, 0x3E0, 0x1F, 0x8000), 32, false, 8,
                  "A1R5G5B5");
    expectPicture(DdsUncompressed(picture, 16, 0xF00, 0xF0, 0xF, 0xF000), 32, true, 17, "A4R4G4B4");
    expectPicture(DdsUncompressed(picture, 32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000), 32, false,
                  1, "A2R10G10B10");

    // The DX10 byte orders.
    QByteArray rgba, bgra;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const QRgb c = picture.pixel(x, y);
            rgba += char(qRed(c)), rgba += char(qGreen(c)), rgba += char(qBlue(c)),
                rgba += char(qAlpha(c));
            bgra += char(qBlue(c)), bgra += char(qGreen(c)), bgra += char(qRed(c)),
                bgra += char(qAlpha(c));
        }
    expectPicture(WithDx10(7, 5, 28, rgba), 32, true, 0, "DX10 R8G8B8A8");
    expectPicture(WithDx10(7, 5, 87, bgra), 32, true, 0, "DX10 B8G8R8A8");
}

TEST(DdsReader, LuminanceAlphaAndPalette) {
    DdsPixelFormat lum;
    lum.flags = 0x20000;
    lum.bitCount = 8;
    auto l8 = DecodeBytes(DdsHeader(2, 1, lum) + QByteArray("\x10\xF0", 2));
    ASSERT_NE(l8->dib, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(l8->dib), 8u);
    EXPECT_EQ(Pixel(l8->dib, 1, 0), qRgb(0xF0, 0xF0, 0xF0));

    lum.flags = 0x20001;
    lum.bitCount = 16;
    lum.rMask = 0xFF;
    lum.aMask = 0xFF00;
    auto la = DecodeBytes(DdsHeader(1, 1, lum) + QByteArray("\x40\x80", 2));
    ASSERT_NE(la->dib, nullptr);
    EXPECT_EQ(Pixel(la->dib, 0, 0), qRgba(0x40, 0x40, 0x40, 0x80));

    lum.flags = 0x20000;
    auto l16 = DecodeBytes(DdsHeader(1, 1, lum) + QByteArray("\xFF\xFF", 2));
    ASSERT_NE(l16->dib, nullptr);
    EXPECT_EQ(Pixel(l16->dib, 0, 0), qRgb(255, 255, 255));

    DdsPixelFormat alpha;
    alpha.flags = 0x2;
    alpha.bitCount = 8;
    auto a8 = DecodeBytes(DdsHeader(1, 1, alpha) + QByteArray("\x7F", 1));
    ASSERT_NE(a8->dib, nullptr);
    EXPECT_EQ(Pixel(a8->dib, 0, 0), qRgb(0x7F, 0x7F, 0x7F));

    DdsPixelFormat pal;
    pal.flags = 0x20;
    pal.bitCount = 8;
    QByteArray palette(1024, 0);
    palette[4 * 3 + 0] = char(10), palette[4 * 3 + 1] = char(20), palette[4 * 3 + 2] = char(30);
    palette[4 * 3 + 3] = char(255);
    auto p8 = DecodeBytes(DdsHeader(2, 1, pal) + palette + QByteArray("\x03\x00", 2));
    ASSERT_NE(p8->dib, nullptr);
    EXPECT_EQ(Pixel(p8->dib, 0, 0), qRgba(10, 20, 30, 255));
    EXPECT_EQ(Pixel(p8->dib, 1, 0), qRgba(0, 0, 0, 0));

    // Zero masks mean the common layout.
    DdsPixelFormat zero;
    zero.flags = 0x40;
    zero.bitCount = 24;
    auto z = DecodeBytes(DdsHeader(1, 1, zero) + QByteArray("\x01\x02\x03", 3));
    ASSERT_NE(z->dib, nullptr);
    EXPECT_EQ(Pixel(z->dib, 0, 0), qRgb(3, 2, 1));
}

TEST(DdsReader, TopLevelOfTheFirstSurface) {
    // A mipmapped cube map: the top level of the first face comes first.
    const QImage red = Solid(8, 8, qRgb(255, 0, 0));
    const QImage green = Solid(4, 4, qRgb(0, 255, 0));
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC('D', 'X', 'T', '1');
    QByteArray file = DdsHeader(8, 8, pf, 32, 4) + EncodeDxt(red, 1) + EncodeDxt(green, 1);
    for (int face = 1; face < 6; ++face)
        file += EncodeDxt(green, 1) + EncodeDxt(green, 1);
    auto d = DecodeBytes(file);
    ASSERT_NE(d->dib, nullptr);
    EXPECT_EQ(Pixel(d->dib, 7, 7), qRgba(255, 0, 0, 255));
    // A DX10 array of 4 slices likewise.
    auto a = DecodeBytes(
        WithDx10(8, 8, 71, EncodeDxt(red, 1) + EncodeDxt(Solid(8, 8, qRgb(0, 255, 0)), 1), 4));
    ASSERT_NE(a->dib, nullptr);
    EXPECT_EQ(Pixel(a->dib, 0, 0), qRgba(255, 0, 0, 255));
}

TEST(DdsReader, ThreadsDecodeTheSamePicture) {
    const QByteArray file = DdsDxt5(TestPicture(300, 270));
    auto one = DecodeBytes(file, 1);
    auto two = DecodeBytes(file, 2);
    auto seven = DecodeBytes(file, 7);
    ASSERT_TRUE(one->dib && two->dib && seven->dib);
    const unsigned pitch = FreeImage_GetPitch(one->dib);
    for (unsigned y = 0; y < 270; ++y) {
        ASSERT_EQ(std::memcmp(FreeImage_GetScanLine(one->dib, int(y)),
                              FreeImage_GetScanLine(two->dib, int(y)), pitch),
                  0);
        ASSERT_EQ(std::memcmp(FreeImage_GetScanLine(one->dib, int(y)),
                              FreeImage_GetScanLine(seven->dib, int(y)), pitch),
                  0);
    }
}

TEST(DdsReader, FilesThatCannotBeRead) {
    QString error;
    EXPECT_EQ(dds::LoadFile("/nonexistent/x.dds", &error), nullptr);
    EXPECT_TRUE(error.startsWith("the file could not be opened"));
    QTemporaryDir dir;
    EXPECT_EQ(dds::LoadFile(dir.path(), &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}
