#include "draw/Canvas.h"
#include "draw/Draw.h"
#include "engine/Steps.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>
#include <random>

using namespace tarvix;

namespace {

FIBITMAP* Grey(int w, int h, BYTE v = 128) {
    FIBITMAP* dib = FreeImage_Allocate(w, h, 24);
    RGBQUAD c{v, v, v, 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            FreeImage_SetPixelColor(dib, unsigned(x), unsigned(y), &c);
    return dib;
}

// Colour at (x, y) counted from the top-left corner.
QRgb At(FIBITMAP* dib, int x, int y) {
    RGBQUAD c{};
    FreeImage_GetPixelColor(dib, unsigned(x), FreeImage_GetHeight(dib) - 1 - unsigned(y), &c);
    return qRgb(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

Settings FrameSettings(int l, int r, int t, int b) {
    Settings s;
    ResetSettings(s, true);
    s.doFrame = 1;
    s.solidLeft = l, s.solidRight = r, s.solidTop = t, s.solidBottom = b;
    s.solidLeftColor = "FF0000";
    s.solidRightColor = "00FF00";
    s.solidTopColor = "0000FF";
    s.solidBottomColor = "FFFF00";
    return s;
}

} // namespace

TEST(Frame, FourBandsInsideThePicture) {
    FIBITMAP* out = ApplyFrame(Grey(100, 100), 100, 100, FrameSettings(10, 10, 10, 10));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(out), 100u);
    EXPECT_EQ(FreeImage_GetHeight(out), 100u);
    EXPECT_EQ(At(out, 0, 50), qRgb(255, 0, 0));
    EXPECT_EQ(At(out, 9, 50), qRgb(255, 0, 0));
    EXPECT_EQ(At(out, 10, 50), qRgb(128, 128, 128)); // each band exactly 10 wide
    EXPECT_EQ(At(out, 99, 50), qRgb(0, 255, 0));
    EXPECT_EQ(At(out, 90, 50), qRgb(0, 255, 0));
    EXPECT_EQ(At(out, 89, 50), qRgb(128, 128, 128));
    EXPECT_EQ(At(out, 50, 0), qRgb(0, 0, 255));
    EXPECT_EQ(At(out, 50, 9), qRgb(0, 0, 255));
    EXPECT_EQ(At(out, 50, 10), qRgb(128, 128, 128));
    EXPECT_EQ(At(out, 50, 99), qRgb(255, 255, 0));
    // Corner squares are split on their diagonal between the two bands.
    EXPECT_EQ(At(out, 7, 2), qRgb(0, 0, 255));   // top-left, above the seam: top
    EXPECT_EQ(At(out, 2, 7), qRgb(255, 0, 0));   // below the seam: left
    EXPECT_EQ(At(out, 97, 7), qRgb(0, 255, 0));  // top-right: right
    EXPECT_EQ(At(out, 92, 2), qRgb(0, 0, 255));  // top-right: top
    EXPECT_EQ(At(out, 97, 92), qRgb(0, 255, 0)); // bottom-right: right
    EXPECT_EQ(At(out, 92, 97), qRgb(255, 255, 0));
    EXPECT_EQ(At(out, 2, 92), qRgb(255, 0, 0));
    EXPECT_EQ(At(out, 7, 97), qRgb(255, 255, 0));
    FreeImage_Unload(out);
}

TEST(Frame, SeamFollowsUnevenBands) {
    // Left 20 and top 5: the top-left seam runs from (0, 0) to (20, 5).
    FIBITMAP* out = ApplyFrame(Grey(100, 60), 100, 60, FrameSettings(20, 0, 5, 0));
    EXPECT_EQ(At(out, 16, 1), qRgb(0, 0, 255)); // above the seam
    EXPECT_EQ(At(out, 4, 3), qRgb(255, 0, 0));  // below it
    EXPECT_EQ(At(out, 19, 30), qRgb(255, 0, 0));
    EXPECT_EQ(At(out, 20, 30), qRgb(128, 128, 128));
    EXPECT_EQ(At(out, 50, 4), qRgb(0, 0, 255));
    EXPECT_EQ(At(out, 50, 5), qRgb(128, 128, 128));
    FreeImage_Unload(out);
}

TEST(Frame, OpacityBlendsTheBands) {
    Settings s = FrameSettings(10, 10, 10, 10);
    s.solidOpacity = 128;
    FIBITMAP* out = ApplyFrame(Grey(50, 50, 0), 50, 50, s);
    EXPECT_NEAR(qRed(At(out, 3, 25)), 128, 2);
    FreeImage_Unload(out);
    s.solidOpacity = 0;
    out = ApplyFrame(Grey(50, 50, 0), 50, 50, s);
    EXPECT_EQ(At(out, 3, 25), qRgb(0, 0, 0));
    FreeImage_Unload(out);
}

TEST(Frame, DepthRulesAndOddRequests) {
    Settings s = FrameSettings(0, 0, 0, 0);
    // A 1-bit image comes back as 24 bits even with nothing to draw.
    FIBITMAP* bits = FreeImage_Threshold(Grey(20, 20, 200), 100);
    FIBITMAP* out = ApplyFrame(bits, 20, 20, s);
    EXPECT_EQ(FreeImage_GetBPP(out), 24u);
    EXPECT_EQ(At(out, 5, 5), qRgb(255, 255, 255));
    FreeImage_Unload(out);
    // "Do Frame" 0 leaves even the depth.
    s.doFrame = 0;
    FIBITMAP* eight = FreeImage_ConvertTo8Bits(Grey(4, 4));
    EXPECT_EQ(ApplyFrame(eight, 4, 4, s), eight);
    FreeImage_Unload(eight);
    // An unknown frame kind: 24 bits, no frame.
    s.doFrame = 7;
    out = ApplyFrame(Grey(8, 8), 8, 8, s);
    EXPECT_EQ(At(out, 0, 0), qRgb(128, 128, 128));
    FreeImage_Unload(out);
    // Bands wider than the picture, and negative ones, draw without harm.
    for (int width : {500, -30, 2000000000}) {
        out = ApplyFrame(Grey(40, 30), 40, 30, FrameSettings(width, width, width, width));
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(FreeImage_GetWidth(out), 40u);
        FreeImage_Unload(out);
    }
    EXPECT_EQ(ApplyFrame(nullptr, 1, 1, FrameSettings(1, 1, 1, 1)), nullptr);
}

TEST(Canvas, DirectHandOverEqualsThePngRoute) {
    std::mt19937 rng(5);
    QImage canvas(37, 23, QImage::Format_ARGB32);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            canvas.setPixel(x, y, rng());
    FIBITMAP* direct = CanvasToBitmap(canvas);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(canvas.save(&buffer, "PNG"));
    FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(png.data()), DWORD(png.size()));
    FIBITMAP* decoded = FreeImage_LoadFromMemory(FIF_PNG, memory, 0);
    FreeImage_CloseMemory(memory);
    ASSERT_TRUE(direct && decoded);
    ASSERT_EQ(FreeImage_GetBPP(decoded), 32u);
    for (unsigned y = 0; y < 23; ++y)
        EXPECT_EQ(std::memcmp(FreeImage_GetScanLine(direct, int(y)),
                              FreeImage_GetScanLine(decoded, int(y)), 37 * 4),
                  0)
            << y;
    EXPECT_EQ(BitmapToCanvas(direct), canvas);
    FreeImage_Unload(direct);
    FreeImage_Unload(decoded);
}
