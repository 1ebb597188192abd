#include "engine/LoadAs.h"
#include "engine/SaveFlags.h"
#include "engine/Steps.h"
#include "engine/WholePicture.h"

#include <gtest/gtest.h>

using namespace tarvix;

namespace {

FIBITMAP* Filled(int bpp, uint8_t r, uint8_t g, uint8_t b) {
    FIBITMAP* dib = FreeImage_Allocate(8, 4, 24);
    RGBQUAD c{b, g, r, 0};
    for (unsigned y = 0; y < 4; ++y)
        for (unsigned x = 0; x < 8; ++x)
            FreeImage_SetPixelColor(dib, x, y, &c);
    if (bpp == 24) return dib;
    FIBITMAP* converted =
        bpp == 32 ? FreeImage_ConvertTo32Bits(dib) : FreeImage_ConvertTo8Bits(dib);
    FreeImage_Unload(dib);
    return converted;
}

FIBITMAP* ToDepth(FIBITMAP* image, const char* ext, int bpp) {
    return ApplyOutputDepth(image, bpp, QString::fromLatin1(ext));
}

} // namespace

TEST(ApplyOutputDepth, ConvertsByTarget) {
    struct Case {
        const char* ext;
        int target;
        int expectBpp;
    };
    for (const Case& c : {Case{"jpg", 24, 24}, Case{"png", 32, 32}, Case{"bmp", 4, 4},
                          Case{"wbmp", 1, 1}, Case{"tiff", 48, 48}, Case{"exr", 96, 96}}) {
        FIBITMAP* out = ToDepth(Filled(32, 200, 100, 50), c.ext, c.target);
        ASSERT_NE(out, nullptr) << c.ext;
        EXPECT_EQ(int(FreeImage_GetBPP(out)), c.expectBpp) << c.ext;
        FreeImage_Unload(out);
    }
}

TEST(ApplyOutputDepth, SameDepthIsUntouched) {
    FIBITMAP* in = Filled(24, 1, 2, 3);
    EXPECT_EQ(ToDepth(in, "jpg", 24), in);
    FreeImage_Unload(in);
    EXPECT_EQ(ToDepth(nullptr, "jpg", 24), nullptr);
}

TEST(ApplyOutputDepth, SixteenBitsAre555ForIcoAndTga) {
    FIBITMAP* tga = ToDepth(Filled(24, 255, 0, 0), "tga", 16);
    FIBITMAP* bmp = ToDepth(Filled(24, 255, 0, 0), "bmp", 16);
    ASSERT_TRUE(tga && bmp);
    EXPECT_EQ(FreeImage_GetGreenMask(tga), FI16_555_GREEN_MASK);
    EXPECT_EQ(FreeImage_GetGreenMask(bmp), FI16_565_GREEN_MASK);
    FreeImage_Unload(tga);
    FreeImage_Unload(bmp);
}

TEST(ApplyOutputDepth, EightBitsGreyForJpegPaletteOtherwise) {
    FIBITMAP* jpg = ToDepth(Filled(24, 255, 0, 0), "jpg", 8);
    FIBITMAP* png = ToDepth(Filled(32, 255, 0, 0), "png", 8);
    ASSERT_TRUE(jpg && png);
    EXPECT_EQ(FreeImage_GetColorType(jpg), FIC_MINISBLACK);
    EXPECT_EQ(FreeImage_GetColorType(png), FIC_PALETTE);
    RGBQUAD* palette = FreeImage_GetPalette(png);
    BYTE index = 0;
    FreeImage_GetPixelIndex(png, 0, 0, &index);
    EXPECT_EQ(palette[index].rgbRed, 255); // the quantizer keeps the one colour
    FreeImage_Unload(jpg);
    FreeImage_Unload(png);
}

TEST(ApplyOutputDepth, UnsupportedTargetGivesNoImage) {
    EXPECT_EQ(ToDepth(Filled(24, 1, 2, 3), "pcx", 0), nullptr);
    EXPECT_EQ(ToDepth(Filled(24, 1, 2, 3), "jpg", 7), nullptr);
}

TEST(SaveFlagsFor, JpegFlags) {
    Settings s;
    ResetSettings(s, true);
    EXPECT_EQ(SaveFlagsFor("jpg", s), 95 | JPEG_SUBSAMPLING_444);
    s.jpgQuality = 80;
    s.jpgChroma = 2;
    s.jpgSaveAs = 3;
    EXPECT_EQ(SaveFlagsFor("jpg", s), 80 | JPEG_SUBSAMPLING_420 | JPEG_PROGRESSIVE);
    s.jpgChroma = 3;
    s.jpgSaveAs = 1;
    EXPECT_EQ(SaveFlagsFor("jpg", s), 80 | JPEG_SUBSAMPLING_411 | JPEG_BASELINE);
    s.jpgChroma = 9;
    s.jpgSaveAs = 9;
    EXPECT_EQ(SaveFlagsFor("jpg", s), 80);
}

TEST(SaveFlagsFor, OtherFormats) {
    Settings s;
    ResetSettings(s, true);
    EXPECT_EQ(SaveFlagsFor("png", s), PNG_Z_NO_COMPRESSION);
    s.pngCompression = 3;
    s.pngInterlaced = 1;
    EXPECT_EQ(SaveFlagsFor("png", s), PNG_Z_BEST_COMPRESSION | PNG_INTERLACED);
    s.tiffCompression = 6;
    s.tiffColorModel = 1;
    EXPECT_EQ(SaveFlagsFor("tiff", s), TIFF_LZW | TIFF_CMYK);
    s.tiffColorModel = 2;
    EXPECT_EQ(SaveFlagsFor("tiff", s), TIFF_LZW); // LAB writes as RGB
    s.exrCompression = 2;
    EXPECT_EQ(SaveFlagsFor("exr", s), EXR_PIZ);
    s.bmpCompression = 1;
    EXPECT_EQ(SaveFlagsFor("bmp", s), BMP_SAVE_RLE);
    s.tgaCompression = 1;
    EXPECT_EQ(SaveFlagsFor("tga", s), TARGA_SAVE_RLE);
    EXPECT_EQ(SaveFlagsFor("jxr", s), JXR_LOSSLESS);
    EXPECT_EQ(SaveFlagsFor("webp", s), WEBP_LOSSLESS);
    EXPECT_EQ(SaveFlagsFor("gif", s), 0);
    EXPECT_EQ(SaveFlagsFor("zzz", s), 0);
}

TEST(ApplyLoadAs, SwapsRedAndBlueOnlyForRgba) {
    FIBITMAP* untouched = Filled(24, 255, 0, 10);
    EXPECT_EQ(ApplyLoadAs(untouched, 1), untouched);
    EXPECT_EQ(ApplyLoadAs(untouched, 0), untouched);
    FIBITMAP* swapped = ApplyLoadAs(untouched, 2);
    ASSERT_NE(swapped, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(swapped), 32u);
    RGBQUAD c{};
    FreeImage_GetPixelColor(swapped, 3, 2, &c);
    EXPECT_EQ(c.rgbRed, 10);
    EXPECT_EQ(c.rgbBlue, 255);
    EXPECT_EQ(c.rgbGreen, 0);
    FreeImage_Unload(swapped);
    EXPECT_EQ(ApplyLoadAs(nullptr, 2), nullptr);
}

// The preview reads a JPEG back whole, or beyond its limit at the decoder's
// reduced size (the largest reduction that still reaches the limit).
TEST(PreviewDecode, LargePicturesComeBackReduced) {
    struct Case {
        int width, maxSide, expected;
    };
    for (const Case& c : {Case{5000, 4096, 5000}, Case{5000, 0, 5000}, Case{9000, 4096, 4500},
                          Case{300, 4096, 300}}) {
        FIBITMAP* picture = FreeImage_Allocate(c.width, 16, 24);
        FIMEMORY* memory = FreeImage_OpenMemory();
        ASSERT_TRUE(FreeImage_SaveToMemory(FIF_JPEG, picture, memory, 90));
        BYTE* data = nullptr;
        DWORD size = 0;
        FreeImage_AcquireMemory(memory, &data, &size);
        const QByteArray encoded(reinterpret_cast<const char*>(data), qsizetype(size));
        FreeImage_CloseMemory(memory);
        FreeImage_Unload(picture);
        int width = 0, height = 0;
        QByteArray pixels;
        ASSERT_TRUE(DecodePicture(encoded, c.maxSide, &width, &height, &pixels));
        EXPECT_EQ(width, c.expected) << c.width << " " << c.maxSide;
        EXPECT_EQ(pixels.size(), qsizetype(width) * height * 4);
    }
}
