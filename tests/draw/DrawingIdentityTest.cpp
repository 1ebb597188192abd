// Frames and watermarks are drawn only where they cover the picture; these
// prove that gives the very picture a canvas of the whole picture gives.

#include "DdsBuilder.h"
#include "draw/Canvas.h"
#include "draw/Draw.h"
#include "draw/WatermarkFont.h"
#include "engine/Steps.h"

#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

using namespace tarvix;

namespace {

FIBITMAP* Picture(int w, int h) {
    return CanvasToBitmap(test::TestPicture(w, h));
}

FIBITMAP* Picture24(int w, int h) {
    FIBITMAP* rgba = Picture(w, h);
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(rgba);
    FreeImage_Unload(rgba);
    return rgb;
}

::testing::AssertionResult Same(FIBITMAP* a, FIBITMAP* b) {
    if (!a || !b) return ::testing::AssertionFailure() << "missing picture";
    if (FreeImage_GetWidth(a) != FreeImage_GetWidth(b) ||
        FreeImage_GetHeight(a) != FreeImage_GetHeight(b) ||
        FreeImage_GetBPP(a) != FreeImage_GetBPP(b))
        return ::testing::AssertionFailure() << "different sizes or depths";
    const unsigned line = FreeImage_GetLine(a);
    for (unsigned y = 0; y < FreeImage_GetHeight(a); ++y)
        if (std::memcmp(FreeImage_GetScanLine(a, int(y)), FreeImage_GetScanLine(b, int(y)), line) !=
            0)
            return ::testing::AssertionFailure() << "rows differ at " << y;
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(DrawingIdentity, FrameStripsEqualTheWholeCanvas) {
    struct Case {
        int w, h, l, r, t, b, opacity;
    };
    const Case cases[] = {
        {100, 80, 10, 10, 10, 10, 255}, {100, 80, 20, 3, 5, 17, 128},  {64, 64, 0, 0, 0, 0, 255},
        {64, 64, 0, 12, 0, 0, 90},      {50, 40, 25, 25, 20, 20, 255}, {50, 40, 30, 30, 5, 5, 200},
        {50, 40, -5, 8, 6, -2, 255},    {33, 21, 1, 1, 1, 1, 1},       {40, 30, 0, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " " << c.l << "," << c.r << ","
                                          << c.t << "," << c.b << " opacity " << c.opacity);
        Settings s;
        ResetSettings(s, true);
        s.doFrame = 1;
        s.solidLeft = c.l, s.solidRight = c.r, s.solidTop = c.t, s.solidBottom = c.b;
        s.solidOpacity = c.opacity;
        s.solidLeftColor = "FF0000", s.solidRightColor = "00FF00", s.solidTopColor = "0000FF";
        s.solidBottomColor = "FFFF00";
        FIBITMAP* fast = ApplyFrame(Picture(c.w, c.h), c.w, c.h, s);
        FIBITMAP* whole = DrawFrame(Picture(c.w, c.h), c.w, c.h, s, DrawArea::WholePicture);
        EXPECT_TRUE(Same(fast, whole));
        FreeImage_Unload(fast);
        FreeImage_Unload(whole);
    }
}

TEST(DrawingIdentity, WatermarkRectangleEqualsTheWholeCanvas) {
    EnsureFontSupport();
    QTemporaryDir dir;
    QImage logo = test::TestPicture(30, 20);
    ASSERT_TRUE(logo.save(dir.path() + "/logo.png"));
    Settings s;
    ResetSettings(s, true);
    s.font = "DejaVu Sans";
    NameFacts st;
    st.input = "/in/a.dds";
    const std::shared_ptr<QFont> font = CreateWatermarkFont(s);
    ASSERT_NE(font, nullptr);
    s.text = "Watermark%eol%two";
    s.backOpacity = 100;
    s.textOpacity = 200;
    for (int kind : {1, 2})
        for (int position : {0, 4, 8, 5})
            for (int rotation : {0, 30})
                for (int offset : {10, -3, 500}) {
                    SCOPED_TRACE(::testing::Message()
                                 << "kind " << kind << " position " << position << " rotation "
                                 << rotation << " offset " << offset);
                    s.doWatermark = int8_t(kind);
                    s.image = dir.path() + "/logo.png";
                    s.textPosition = s.imagePosition = int8_t(position);
                    s.textRotation = s.watermarkImageRotation = rotation;
                    s.textXOffset = s.imageXOffset = offset;
                    s.textAntialiasing = rotation != 0;
                    FIBITMAP* fast = ApplyWatermark(Picture24(120, 90), 120, 90, st, font.get(), s);
                    FIBITMAP* whole = StampWatermark(Picture24(120, 90), 120, 90, st, font.get(), s,
                                                     DrawArea::WholePicture);
                    EXPECT_TRUE(Same(fast, whole));
                    FreeImage_Unload(fast);
                    FreeImage_Unload(whole);
                }
}
