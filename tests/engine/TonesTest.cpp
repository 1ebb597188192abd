#include "engine/Steps.h"

#include <gtest/gtest.h>

using namespace tarvix;

namespace {

FIBITMAP* Gradient() {
    FIBITMAP* dib = FreeImage_Allocate(256, 1, 24);
    for (unsigned x = 0; x < 256; ++x) {
        RGBQUAD c{BYTE(255 - x), BYTE(x / 2), BYTE(x), 0};
        FreeImage_SetPixelColor(dib, x, 0, &c);
    }
    return dib;
}

Settings Base() {
    Settings s;
    ResetSettings(s, true);
    return s;
}

} // namespace

TEST(ColorAdjustment, NeutralValuesLeaveThePixels) {
    Settings s = Base();
    s.doImageColorCorrection = 1;
    FIBITMAP* in = Gradient();
    FIBITMAP* out = ApplyColorAdjustment(in, s);
    EXPECT_EQ(out, in);
    for (unsigned x = 0; x < 256; ++x) {
        RGBQUAD c{};
        FreeImage_GetPixelColor(out, x, 0, &c);
        EXPECT_EQ(c.rgbRed, x);
    }
    FreeImage_Unload(out);
}

TEST(ColorAdjustment, InvertGivesTheNegative) {
    Settings s = Base();
    s.doImageColorCorrection = 1;
    s.imageInvert = 1;
    FIBITMAP* out = ApplyColorAdjustment(Gradient(), s);
    for (unsigned x = 0; x < 256; x += 17) {
        RGBQUAD c{};
        FreeImage_GetPixelColor(out, x, 0, &c);
        EXPECT_EQ(c.rgbRed, 255 - x);
        EXPECT_EQ(c.rgbBlue, x);
    }
    FreeImage_Unload(out);
}

TEST(ColorAdjustment, BrightnessAndOneBitImages) {
    Settings s = Base();
    s.doImageColorCorrection = 1;
    s.imageBrightness = 50;
    FIBITMAP* out = ApplyColorAdjustment(Gradient(), s);
    RGBQUAD c{};
    FreeImage_GetPixelColor(out, 100, 0, &c);
    EXPECT_GT(c.rgbRed, 100);
    FreeImage_Unload(out);
    // A 1-bit image is made 24 bits before the adjustment.
    FIBITMAP* bits = FreeImage_Threshold(Gradient(), 128);
    out = ApplyColorAdjustment(bits, s);
    EXPECT_EQ(FreeImage_GetBPP(out), 24u);
    FreeImage_Unload(out);
}

TEST(Greyscale, EightBitsOfGrey) {
    Settings s = Base();
    s.doImageGreyscale = 1;
    FIBITMAP* out = ApplyGreyscale(Gradient(), s);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(out), 8u);
    EXPECT_EQ(FreeImage_GetColorType(out), FIC_MINISBLACK);
    FreeImage_Unload(out);
}

TEST(Threshold, OneBitBlackAndWhite) {
    Settings s = Base();
    s.doImageThreshold = 1;
    s.imageThreshold = 0;
    FIBITMAP* out = ApplyThreshold(Gradient(), s);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(out), 1u);
    for (unsigned x = 0; x < 256; x += 51) {
        BYTE v = 0;
        FreeImage_GetPixelIndex(out, x, 0, &v);
        EXPECT_EQ(v, 1) << x; // all white
    }
    FreeImage_Unload(out);
    s.imageThreshold = 255 + 256; // only the low 8 bits count
    out = ApplyThreshold(Gradient(), s);
    int white = 0;
    for (unsigned x = 0; x < 256; ++x) {
        BYTE v = 0;
        FreeImage_GetPixelIndex(out, x, 0, &v);
        white += v;
    }
    EXPECT_LE(white, 2); // only the brightest
    FreeImage_Unload(out);
}

TEST(Tones, GreyscaleThenThreshold) {
    Settings s = Base();
    s.doImageGreyscale = 1;
    s.doImageThreshold = 1;
    s.imageThreshold = 100;
    FIBITMAP* out = ApplyThreshold(ApplyGreyscale(Gradient(), s), s);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(out), 1u);
    FreeImage_Unload(out);
    EXPECT_EQ(ApplyGreyscale(nullptr, s), nullptr);
    EXPECT_EQ(ApplyThreshold(nullptr, s), nullptr);
    EXPECT_EQ(ApplyColorAdjustment(nullptr, s), nullptr);
}
