// Where the image library's own DDS loader is right (DXT1/DXT3/DXT5 textures of
// multiple-of-4 size without the blocks it misreads, and the uncompressed layouts
// it reads), our reader must give the very same pixels.

#include "DdsBuilder.h"
#include "TestSupport.h"
#include "dds/DdsReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace tarvix;
using namespace tarvix::test;

namespace {

// Random blocks; for DXT3/DXT5 the colour end points are ordered c0 > c1, the
// case the library decodes correctly.
QByteArray RandomBlocks(int width, int height, int version, uint32_t seed) {
    std::mt19937 rng(seed);
    const int blockBytes = version == 1 ? 8 : 16;
    QByteArray blocks((width / 4) * (height / 4) * blockBytes, Qt::Uninitialized);
    for (char& c : blocks)
        c = char(rng() & 0xFF);
    if (version != 1) {
        for (int i = 0; i < blocks.size(); i += 16) {
            uint16_t c0 = uint16_t(uint8_t(blocks[i + 8]) | uint8_t(blocks[i + 9]) << 8);
            uint16_t c1 = uint16_t(uint8_t(blocks[i + 10]) | uint8_t(blocks[i + 11]) << 8);
            if (c0 == c1)
                c0 = c0 == 0xFFFF ? c0 : uint16_t(c0 + 1),
                c1 = c0 == 0xFFFF ? uint16_t(c1 - 1) : c1;
            if (c0 < c1) std::swap(c0, c1);
            blocks[i + 8] = char(c0 & 0xFF), blocks[i + 9] = char(c0 >> 8);
            blocks[i + 10] = char(c1 & 0xFF), blocks[i + 11] = char(c1 >> 8);
        }
    }
    DdsPixelFormat pf;
    pf.flags = 0x4;
    pf.fourCC = FourCC('D', 'X', 'T', char('0' + version));
    return DdsHeader(uint32_t(width), uint32_t(height), pf, uint32_t(blocks.size())) + blocks;
}

QByteArray RandomUncompressed(int width, int height, int bits, uint32_t flags, uint32_t r,
                              uint32_t g, uint32_t b, uint32_t a, uint32_t seed) {
    std::mt19937 rng(seed);
    DdsPixelFormat pf;
    pf.flags = flags;
    pf.bitCount = uint32_t(bits);
    pf.rMask = r, pf.gMask = g, pf.bMask = b, pf.aMask = a;
    QByteArray pixels(width * height * bits / 8, Qt::Uninitialized);
    for (char& c : pixels)
        c = char(rng() & 0xFF);
    return DdsHeader(uint32_t(width), uint32_t(height), pf, uint32_t(width * bits / 8)) + pixels;
}

void ExpectSamePixels(const QByteArray& file, const char* what) {
    SCOPED_TRACE(what);
    QTemporaryDir dir;
    const QString path = dir.path() + "/t.dds";
    ASSERT_TRUE(WriteBytes(path, file));
    FIBITMAP* theirs = FreeImage_Load(FIF_DDS, QFile::encodeName(path).constData(), 0);
    ASSERT_NE(theirs, nullptr) << "the library no longer reads this layout";
    QString error;
    FIBITMAP* ours = dds::LoadFile(path, &error);
    ASSERT_NE(ours, nullptr) << error.toStdString();
    const unsigned w = FreeImage_GetWidth(theirs), h = FreeImage_GetHeight(theirs);
    ASSERT_EQ(FreeImage_GetWidth(ours), w);
    ASSERT_EQ(FreeImage_GetHeight(ours), h);
    const bool compareAlpha = FreeImage_GetBPP(theirs) == 32 && FreeImage_GetBPP(ours) == 32;
    int differing = 0;
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) {
            RGBQUAD a{}, b{};
            FreeImage_GetPixelColor(theirs, x, y, &a);
            FreeImage_GetPixelColor(ours, x, y, &b);
            if (a.rgbRed != b.rgbRed || a.rgbGreen != b.rgbGreen || a.rgbBlue != b.rgbBlue ||
                (compareAlpha && a.rgbReserved != b.rgbReserved)) {
                if (differing++ < 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << " library " << int(a.rgbRed)
                                  << "," << int(a.rgbGreen) << "," << int(a.rgbBlue) << ","
                                  << int(a.rgbReserved) << " ours " << int(b.rgbRed) << ","
                                  << int(b.rgbGreen) << "," << int(b.rgbBlue) << ","
                                  << int(b.rgbReserved);
            }
        }
    EXPECT_EQ(differing, 0);
    FreeImage_Unload(theirs);
    FreeImage_Unload(ours);
}

} // namespace

TEST(FreeImageParity, BlockCompressedTextures) {
    for (int version : {1, 3, 5})
        for (uint32_t seed : {1u, 2u, 3u}) {
            const std::string what =
                "DXT" + std::to_string(version) + " seed " + std::to_string(seed);
            ExpectSamePixels(RandomBlocks(64, 32, version, seed), what.c_str());
        }
    ExpectSamePixels(DdsDxt5(TestPicture(128, 64)), "encoded DXT5 picture");
    ExpectSamePixels(DdsDxt1(TestPicture(96, 96)), "encoded DXT1 picture");
}

TEST(FreeImageParity, UncompressedLayouts) {
    ExpectSamePixels(RandomUncompressed(33, 17, 24, 0x40, 0xFF0000, 0xFF00, 0xFF, 0, 7),
                     "24-bit RGB");
    ExpectSamePixels(RandomUncompressed(33, 17, 32, 0x41, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 8),
                     "32-bit BGRA");
    ExpectSamePixels(RandomUncompressed(33, 17, 16, 0x40, 0x7C00, 0x3E0, 0x1F, 0, 10),
                     "16-bit X1R5G5B5");
    ExpectSamePixels(RandomUncompressed(33, 17, 16, 0x40, 0xF800, 0x7E0, 0x1F, 0, 11),
                     "16-bit R5G6B5");
}
