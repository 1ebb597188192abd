#include "engine/PixelStore.h"
#include "engine/Steps.h"

#include <QElapsedTimer>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace tarvix;

namespace {

FIBITMAP* Make(int w, int h, int bpp = 24, RGBQUAD color = {0, 0, 255, 0}) {
    FIBITMAP* dib = FreeImage_Allocate(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            FreeImage_SetPixelColor(dib, unsigned(x), unsigned(y), &color);
    if (bpp == 24) return dib;
    FIBITMAP* other = bpp == 8 ? FreeImage_ConvertTo8Bits(dib) : FreeImage_ConvertTo32Bits(dib);
    FreeImage_Unload(dib);
    return other;
}

Settings Base() {
    Settings s;
    ResetSettings(s, true);
    return s;
}

struct Size {
    unsigned w, h;
    bool operator==(const Size&) const = default;
};

Size SizeOf(FIBITMAP* dib) {
    return {FreeImage_GetWidth(dib), FreeImage_GetHeight(dib)};
}

Size Resized(int w, int h, int tw, int th, bool keep, int type = 0, int unit = 0) {
    Settings s = Base();
    s.doImageResize = 1;
    s.imageWidth = tw;
    s.imageHeight = th;
    s.imageWidthUnit = s.imageHeightUnit = int8_t(unit);
    s.keepAspectRatio = keep;
    s.imageResizeType = int8_t(type);
    FIBITMAP* out = ApplyResize(Make(w, h), w, h, s);
    const Size size = out ? SizeOf(out) : Size{0, 0};
    if (out) FreeImage_Unload(out);
    return size;
}

// Pixels addressed as the picture is seen: row 0 at the top.
RGBQUAD Seen(FIBITMAP* dib, int x, int yFromTop) {
    RGBQUAD c{};
    FreeImage_GetPixelColor(dib, unsigned(x), FreeImage_GetHeight(dib) - 1 - unsigned(yFromTop),
                            &c);
    return c;
}

bool IsRed(const RGBQUAD& c) {
    return c.rgbRed > 200 && c.rgbGreen < 60 && c.rgbBlue < 60;
}

// A white picture with a red mark: the whole top row, or a square of side 2r+1
// round (mx, my) counted from the top left.
FIBITMAP* Marked(int w, int h, int mx, int my, int r, bool topRow) {
    FIBITMAP* dib = Make(w, h, 24, {255, 255, 255, 0});
    RGBQUAD red{0, 0, 255, 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool mark = topRow ? y == 0 : std::abs(x - mx) <= r && std::abs(y - my) <= r;
            if (mark) FreeImage_SetPixelColor(dib, unsigned(x), unsigned(h - 1 - y), &red);
        }
    return dib;
}

} // namespace

TEST(Rotation, OnlyAnglesFrom1To359) {
    Settings s = Base();
    s.doImageRotation = 1;
    for (int angle : {0, 360, -90, 720}) {
        s.imageRotation = angle;
        FIBITMAP* in = Make(10, 6, 8);
        FIBITMAP* out = ApplyRotation(in, s);
        EXPECT_EQ(out, in) << angle;
        EXPECT_EQ(FreeImage_GetBPP(out), 8u); // untouched, even its depth
        FreeImage_Unload(out);
    }
    s.doImageRotation = 0;
    s.imageRotation = 90;
    FIBITMAP* in = Make(10, 6);
    EXPECT_EQ(ApplyRotation(in, s), in);
    FreeImage_Unload(in);
    EXPECT_EQ(ApplyRotation(nullptr, s), nullptr);
}

TEST(Rotation, SimpleEnlargesAndFillsTheCorners) {
    Settings s = Base();
    s.doImageRotation = 1;
    s.imageRotation = 90;
    FIBITMAP* out = ApplyRotation(Make(10, 6, 8), s);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(out), 24u); // made 24 bits first
    EXPECT_EQ(SizeOf(out), (Size{6, 10}));
    FreeImage_Unload(out);

    s.imageRotation = 45;
    s.imageRotationBackColor = "FF0000";
    out = ApplyRotation(Make(100, 100, 24, {255, 255, 255, 0}), s);
    ASSERT_NE(out, nullptr);
    EXPECT_GT(FreeImage_GetWidth(out), 140u);
    RGBQUAD corner{};
    FreeImage_GetPixelColor(out, 1, 1, &corner);
    EXPECT_EQ(corner.rgbRed, 255);
    EXPECT_EQ(corner.rgbGreen, 0);
    RGBQUAD centre{};
    FreeImage_GetPixelColor(out, FreeImage_GetWidth(out) / 2, FreeImage_GetHeight(out) / 2,
                            &centre);
    EXPECT_EQ(centre.rgbGreen, 255);
    FreeImage_Unload(out);
}

TEST(Rotation, PositiveAnglesTurnAntiClockwiseAsSeen) {
    Settings s = Base();
    s.doImageRotation = 1;
    s.imageRotation = 90;
    // The top edge of a 12 x 8 picture becomes its left edge.
    FIBITMAP* out = ApplyRotation(Marked(12, 8, 0, 0, 0, true), s);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(SizeOf(out), (Size{8, 12}));
    for (int y = 0; y < 12; ++y) {
        EXPECT_TRUE(IsRed(Seen(out, 0, y))) << y;
        EXPECT_FALSE(IsRed(Seen(out, 7, y))) << y;
    }
    FreeImage_Unload(out);

    // 270 takes the top edge to the right.
    s.imageRotation = 270;
    out = ApplyRotation(Marked(12, 8, 0, 0, 0, true), s);
    ASSERT_NE(out, nullptr);
    for (int y = 0; y < 12; ++y) {
        EXPECT_TRUE(IsRed(Seen(out, 7, y))) << y;
        EXPECT_FALSE(IsRed(Seen(out, 0, y))) << y;
    }
    FreeImage_Unload(out);
}

TEST(Rotation, NonRightAnglesTurnTheSameWayInBothModes) {
    // A mark 24 pixels above the centre of a 64 x 64 picture, turned by 30
    // degrees anti-clockwise, lands 12 pixels left of the centre and 20.8 above
    // it; turned the other way it would land 12 pixels right.
    for (int type : {0, 1}) {
        Settings s = Base();
        s.doImageRotation = 1;
        s.imageRotation = 30;
        s.imageRotationType = int8_t(type);
        s.imageRotationBackColor = "FFFFFF";
        FIBITMAP* out = ApplyRotation(Marked(64, 64, 32, 8, 3, false), s);
        ASSERT_NE(out, nullptr);
        const double cx = FreeImage_GetWidth(out) / 2.0, cy = FreeImage_GetHeight(out) / 2.0;
        const int x = int(std::lround(cx - 12)), mirrored = int(std::lround(cx + 12));
        const int y = int(std::lround(cy - 24 * std::cos(M_PI / 6)));
        EXPECT_TRUE(IsRed(Seen(out, x, y))) << "type " << type;
        EXPECT_FALSE(IsRed(Seen(out, mirrored, y))) << "type " << type;
        // The mark left its place above the centre.
        EXPECT_FALSE(IsRed(Seen(out, int(cx), int(cy) - 24))) << "type " << type;
        FreeImage_Unload(out);
    }
}

TEST(Rotation, AdvancedKeepsTheSize) {
    Settings s = Base();
    s.doImageRotation = 1;
    s.imageRotation = 45;
    s.imageRotationType = 1;
    FIBITMAP* out = ApplyRotation(Make(100, 100, 32), s);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(SizeOf(out), (Size{100, 100}));
    FreeImage_Unload(out);
    s.imageRotationType = 5; // no such type: unrotated
    FIBITMAP* in = Make(10, 6, 24);
    EXPECT_EQ(ApplyRotation(in, s), in);
    FreeImage_Unload(in);
}

TEST(Rotation, HugePictureFailsCleanly) {
    Settings s = Base();
    s.doImageRotation = 1;
    s.imageRotation = 45;
    FIBITMAP* tall = FreeImage_Allocate(60000, 2, 24);
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(ApplyRotation(tall, s), nullptr); // 42000 x 42000 would not fit
}

TEST(Resize, SizesFromUnitsAspectAndType) {
    EXPECT_EQ(Resized(1001, 600, 50, 50, false, 0, 1), (Size{500, 300})); // 500.5 -> 500
    EXPECT_EQ(Resized(800, 600, 400, 100, true), (Size{400, 300}));
    EXPECT_EQ(Resized(600, 800, 400, 100, true), (Size{75, 100}));
    EXPECT_EQ(Resized(300, 200, 400, 100, false, 1), (Size{400, 100}));
    EXPECT_EQ(Resized(300, 200, 400, 300, false, 1), (Size{300, 200}));
    EXPECT_EQ(Resized(300, 200, -5, 100, false), (Size{300, 200}));
    EXPECT_EQ(Resized(300, 200, 0, 100, false), (Size{300, 200}));
    EXPECT_EQ(Resized(300, 200, 100000, 100000, false), (Size{0, 0})); // fails, no hang
    // keep-aspect rounding is half away from zero: 201 x 100 -> 100 x 49.75 -> 50
    EXPECT_EQ(Resized(201, 100, 100, 1, true), (Size{100, 50}));
}

TEST(Resize, SameSizeIsUntouched) {
    Settings s = Base();
    s.doImageResize = 1;
    s.imageWidth = 30;
    s.imageHeight = 20;
    FIBITMAP* in = Make(30, 20);
    EXPECT_EQ(ApplyResize(in, 30, 20, s), in);
    s.doImageResize = 0;
    s.imageWidth = 5;
    EXPECT_EQ(ApplyResize(in, 30, 20, s), in);
    FreeImage_Unload(in);
}

TEST(Resize, UnitsAndFilters) {
    EXPECT_EQ(ScaleByUnit(640, 0, 100), 640);
    EXPECT_EQ(ScaleByUnit(50, 1, 1001), 500);
    EXPECT_EQ(ScaleByUnit(50, 1, 1003), 502); // 501.5 -> 502, the even neighbour
    EXPECT_EQ(ScaleByUnit(50, 7, 1003), 0);
    EXPECT_EQ(ScaleByUnit(2000000000, 1, 2000000000), 0);
    EXPECT_EQ(ResizeFilter(0), FILTER_BOX);
    EXPECT_EQ(ResizeFilter(1), FILTER_BILINEAR);
    EXPECT_EQ(ResizeFilter(2), FILTER_BSPLINE);
    EXPECT_EQ(ResizeFilter(3), FILTER_BICUBIC);
    EXPECT_EQ(ResizeFilter(4), FILTER_CATMULLROM);
    EXPECT_EQ(ResizeFilter(5), FILTER_LANCZOS3);
    EXPECT_EQ(ResizeFilter(-1), FILTER_BICUBIC);
}

TEST(Flips, InPlace) {
    Settings s = Base();
    FIBITMAP* dib = Make(4, 3);
    RGBQUAD mark{1, 2, 3, 0};
    FreeImage_SetPixelColor(dib, 0, 0, &mark); // bottom-left
    s.doImageFlipHorizontal = 1;
    ApplyFlips(dib, s);
    RGBQUAD c{};
    FreeImage_GetPixelColor(dib, 3, 0, &c);
    EXPECT_EQ(c.rgbRed, 3);
    s.doImageFlipHorizontal = 0;
    s.doImageFlipVertical = 1;
    ApplyFlips(dib, s);
    FreeImage_GetPixelColor(dib, 3, 2, &c);
    EXPECT_EQ(c.rgbRed, 3);
    FreeImage_Unload(dib);
    ApplyFlips(nullptr, s);
}

namespace {

// A photograph-like picture (smooth gradients and noise) or hard edges (one-pixel
// lines and a checkerboard), at a depth.
FIBITMAP* Picture(int w, int h, bool edges, int bpp) {
    FIBITMAP* dib = FreeImage_Allocate(w, h, 24);
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        BYTE* row = FreeImage_GetScanLine(dib, y);
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            BYTE* p = row + 3 * x;
            if (edges) {
                const bool on = ((x / 7 + y / 5) % 2 == 0) || x % 31 == 0 || y % 29 == 0;
                p[0] = p[1] = p[2] = on ? 255 : 0;
            } else {
                p[0] = BYTE((x * 255) / w);
                p[1] = BYTE((y * 255) / h);
                p[2] = BYTE(128 + 100 * std::sin(x * 0.05) * std::cos(y * 0.03) + (seed >> 28));
            }
        }
    }
    if (bpp == 24) return dib;
    FIBITMAP* other = bpp == 8 ? FreeImage_ConvertToGreyscale(dib) : FreeImage_ConvertTo32Bits(dib);
    FreeImage_Unload(dib);
    return other;
}

} // namespace

// The rescale on two cores gives the pixels of the image library's own rescale,
// for every filter the settings offer, down and up, on smooth and hard pictures.
TEST(Transforms, RescaleOnCoresMatchesTheWholeRescale) {
    struct Case {
        int w, h, tw, th, bpp;
    };
    const Case cases[] = {
        {2048, 1536, 1024, 768, 24}, // half
        {1200, 900, 1000, 750, 24},  // a period of five rows
        {600, 500, 1000, 900, 32},   // up
        {1500, 1100, 733, 1001, 8},  // no common period: one core
        {1024, 1024, 700, 700, 32},
    };
    for (int filter = 0; filter <= 5; ++filter)
        for (const Case& c : cases)
            for (bool edges : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "filter " << filter << ", " << c.w << "x" << c.h << " to " << c.tw
                             << "x" << c.th << ", " << c.bpp << " bpp" << (edges ? ", edges" : ""));
                FIBITMAP* source = Picture(c.w, c.h, edges, c.bpp);
                const FREE_IMAGE_FILTER f = ResizeFilter(filter);
                FIBITMAP* expected = FreeImage_Rescale(source, c.tw, c.th, f);
                // Half the filters into the conversion's own memory.
                PixelStore store;
                FIBITMAP* got =
                    RescaleOnCores(source, c.tw, c.th, f, filter % 2 ? &store : nullptr);
                ASSERT_TRUE(expected && got);
                ASSERT_EQ(FreeImage_GetBPP(got), FreeImage_GetBPP(expected));
                ASSERT_EQ(SizeOf(got), SizeOf(expected));
                EXPECT_EQ(FreeImage_GetDotsPerMeterX(got), FreeImage_GetDotsPerMeterX(expected));
                int worst = 0, worstRow = -1;
                for (int y = 0; y < c.th; ++y) {
                    const BYTE* a = FreeImage_GetScanLine(expected, y);
                    const BYTE* b = FreeImage_GetScanLine(got, y);
                    for (unsigned i = 0; i < FreeImage_GetLine(got); ++i)
                        if (std::abs(int(a[i]) - int(b[i])) > worst) {
                            worst = std::abs(int(a[i]) - int(b[i]));
                            worstRow = y;
                        }
                }
                EXPECT_LE(worst, 1) << "worst at row " << worstRow;
                FreeImage_Unload(source);
                FreeImage_Unload(expected);
                FreeImage_Unload(got);
            }
}
