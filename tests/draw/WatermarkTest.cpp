#include "TestSupport.h"
#include "draw/Draw.h"
#include "draw/WatermarkFont.h"
#include "engine/Steps.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <climits>
#include <gtest/gtest.h>

using namespace tarvix;

namespace {

class WatermarkTest : public ::testing::Test {
protected:
    Settings s;
    NameFacts st;
    std::shared_ptr<QFont> font;
    QTemporaryDir dir;

    void SetUp() override {
        EnsureFontSupport();
        ResetSettings(s, true);
        st.input = "/in/pic.dds";
        st.extension = "jpg";
        // Text drawn as a white box on black, so its extent is easy to find.
        s.doWatermark = 1;
        s.font = "DejaVu Sans";
        s.text = "Hello";
        s.backColor = "FFFFFF";
        s.backOpacity = 255;
        s.fontColor = "FFFFFF";
        font = CreateWatermarkFont(s);
        ASSERT_NE(font, nullptr);
    }

    static FIBITMAP* Black(int w, int h) {
        FIBITMAP* dib = FreeImage_Allocate(w, h, 24);
        return dib; // allocated zeroed
    }

    // The rectangle of pixels brighter than the threshold, in top-down coordinates.
    static QRect Extent(FIBITMAP* dib, int threshold = 128) {
        const int w = int(FreeImage_GetWidth(dib)), h = int(FreeImage_GetHeight(dib));
        QRect box;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                RGBQUAD c{};
                FreeImage_GetPixelColor(dib, unsigned(x), unsigned(h - 1 - y), &c);
                if (c.rgbRed > threshold || c.rgbGreen > threshold || c.rgbBlue > threshold)
                    box |= QRect(x, y, 1, 1);
            }
        return box;
    }

    QRect Stamp(int w = 200, int h = 100) {
        FIBITMAP* out = ApplyWatermark(Black(w, h), w, h, st, font.get(), s);
        EXPECT_NE(out, nullptr);
        const QRect box = out ? Extent(out) : QRect();
        if (out) FreeImage_Unload(out);
        return box;
    }

    QSize TextBlock(const QString& text) const {
        const QFontMetrics m(*font);
        return QSize(m.horizontalAdvance(text) + 2 * s.textPadding, m.height() + 2 * s.textPadding);
    }

    QString Picture(int w, int h, QRgb color) {
        QImage img(w, h, QImage::Format_ARGB32);
        img.fill(color);
        const QString path = dir.path() + QStringLiteral("/wm%1.png").arg(w * 1000 + h);
        img.save(path);
        return path;
    }
};

} // namespace

TEST_F(WatermarkTest, DefaultPlaceIsBottomRightTenPixelsIn) {
    const QSize block = TextBlock("Hello");
    const QRect box = Stamp();
    EXPECT_EQ(box.size(), block);
    EXPECT_EQ(box.right(), 200 - 10 - 1);
    EXPECT_EQ(box.bottom(), 100 - 10 - 1);
}

TEST_F(WatermarkTest, NinePositionsAndOffsets) {
    const QSize block = TextBlock("Hello");
    s.textXOffset = 7;
    s.textYOffset = 3;
    s.textPosition = 0;
    EXPECT_EQ(Stamp().topLeft(), QPoint(7, 3));
    s.textPosition = 4; // the centre ignores the offsets
    EXPECT_EQ(Stamp().topLeft(), QPoint((200 - block.width()) / 2, (100 - block.height()) / 2));
    s.textPosition = 2;
    EXPECT_EQ(Stamp().topLeft(), QPoint(200 - block.width() - 7, 3));
    s.textPosition = 6;
    EXPECT_EQ(Stamp().topLeft(), QPoint(7, 100 - block.height() - 3));
    // Negative offsets leave it off the picture: nothing is drawn.
    s.textXOffset = -5;
    s.textPosition = 0;
    EXPECT_TRUE(Stamp().isEmpty());
}

TEST_F(WatermarkTest, LinesLeadingAndPadding) {
    s.text = "Top%EOL%bottom line";
    s.fontLeading = 5;
    s.textPadding = 3;
    s.textPosition = 0;
    s.textXOffset = s.textYOffset = 0;
    const QFontMetrics m(*font);
    const int maxW = std::max({10, m.horizontalAdvance("Top"), m.horizontalAdvance("bottom line")});
    const int maxH = std::max(10, m.height());
    const QRect box = Stamp(300, 200);
    EXPECT_EQ(box.width(), maxW + 6);
    EXPECT_EQ(box.height(), maxH + (maxH + 5) + 6);
}

TEST_F(WatermarkTest, CentredShortLineUnderALongOne) {
    // Text white on a transparent background: the glyphs alone show.
    s.backOpacity = 0;
    s.textAlignment = 1;
    s.textPosition = 0;
    s.textXOffset = s.textYOffset = 0;
    s.text = "WWWWWWWWWW%eol%I";
    const QFontMetrics m(*font);
    FIBITMAP* out = ApplyWatermark(Black(300, 100), 300, 100, st, font.get(), s);
    // The second line's pixels sit around the block's centre.
    const int blockWidth = std::max(10, m.horizontalAdvance("WWWWWWWWWW"));
    int sum = 0, count = 0;
    const int lineTop = std::max(10, m.height()), h = 100;
    for (int y = lineTop; y < lineTop + m.height(); ++y)
        for (int x = 0; x < 300; ++x) {
            RGBQUAD c{};
            FreeImage_GetPixelColor(out, unsigned(x), unsigned(h - 1 - y), &c);
            if (c.rgbRed > 128) sum += x, ++count;
        }
    ASSERT_GT(count, 0);
    EXPECT_NEAR(double(sum) / count, blockWidth / 2.0, 3.0);
    FreeImage_Unload(out);
}

TEST_F(WatermarkTest, FrameBoundaryAndCut) {
    s.doFrame = 1;
    s.solidLeft = s.solidRight = s.solidTop = s.solidBottom = 20;
    s.textBoundary = 1;
    s.textPosition = 0;
    EXPECT_EQ(Stamp().topLeft(), QPoint(30, 30));
    // Wider than the area inside the frame minus the offset: cut on the right.
    s.text = "A much longer watermark text than fits";
    const QRect box = Stamp(150, 100);
    EXPECT_EQ(box.left(), 30);
    EXPECT_EQ(box.right(), 20 + (150 - 40 - 10) + 10 - 1);
}

TEST_F(WatermarkTest, RotationSwapsTheSides) {
    s.textRotation = 90;
    s.textPosition = 0;
    const QSize block = TextBlock("Hello");
    const QRect box = Stamp(200, 200);
    EXPECT_EQ(box.width(), block.height());
    EXPECT_EQ(box.height(), block.width());
}

TEST_F(WatermarkTest, PlaceholdersAndAntialiasedText) {
    s.text = "%width%x%height%";
    s.textAntialiasing = 1;
    st.width = 640;
    st.height = 480;
    const QRect box = Stamp();
    EXPECT_EQ(box.width(), TextBlock("640x480").width());
}

TEST_F(WatermarkTest, PictureLargerThanTheImageIsCut) {
    s.doWatermark = 2;
    s.image = Picture(300, 300, qRgb(255, 255, 255));
    const QRect box = Stamp(200, 100);
    EXPECT_EQ(box, QRect(0, 0, 190, 90));
}

TEST_F(WatermarkTest, PictureGreyscaleAndOpacity) {
    s.doWatermark = 2;
    s.imagePosition = 0;
    s.imageXOffset = s.imageYOffset = 0;
    s.imageGreyscale = 1;
    const struct {
        QRgb color;
        int grey;
    } cases[] = {{qRgb(255, 0, 0), 76}, {qRgb(0, 255, 0), 149}, {qRgb(0, 0, 255), 28}};
    for (const auto& c : cases) {
        s.image = Picture(4, 4, c.color);
        FIBITMAP* out = ApplyWatermark(Black(10, 10), 10, 10, st, font.get(), s);
        RGBQUAD px{};
        FreeImage_GetPixelColor(out, 1, 8, &px);
        // The library's paste at alpha 255 and its composite each lose up to a level.
        EXPECT_NEAR(px.rgbRed, c.grey, 3);
        EXPECT_EQ(px.rgbRed, px.rgbGreen);
        FreeImage_Unload(out);
    }
    s.imageGreyscale = 0;
    s.imageOpacity = 128;
    s.image = Picture(4, 4, qRgb(255, 255, 255));
    FIBITMAP* out = ApplyWatermark(Black(10, 10), 10, 10, st, font.get(), s);
    RGBQUAD px{};
    FreeImage_GetPixelColor(out, 1, 8, &px);
    EXPECT_NEAR(px.rgbRed, 128, 3);
    FreeImage_Unload(out);
}

TEST_F(WatermarkTest, UnloadablePicturesFailAndEmptyTextDrawsNothing) {
    // A picture watermark that cannot be loaded fails the picture.
    s.doWatermark = 2;
    s.image = dir.path() + "/missing.png";
    EXPECT_EQ(ApplyWatermark(FreeImage_ConvertTo8Bits(Black(10, 10)), 10, 10, st, font.get(), s),
              nullptr);
    ASSERT_TRUE(test::WriteBytes(dir.path() + "/text.png", "not a picture"));
    s.image = dir.path() + "/text.png";
    EXPECT_EQ(ApplyWatermark(Black(10, 10), 10, 10, st, font.get(), s), nullptr);
    // Text without a loaded font, and an empty text, draw nothing.
    s.doWatermark = 1;
    s.text = "";
    EXPECT_TRUE(Stamp().isEmpty());
    font.reset();
    s.text = "x";
    EXPECT_TRUE(Stamp().isEmpty());
    s.doWatermark = 0;
    FIBITMAP* keep = Black(4, 4);
    EXPECT_EQ(ApplyWatermark(keep, 4, 4, st, font.get(), s), keep);
    FreeImage_Unload(keep);
}

TEST(WatermarkFont, FamiliesThatResolve) {
    EnsureFontSupport();
    Settings s;
    ResetSettings(s, true);
    EXPECT_NE(CreateWatermarkFont(s), nullptr); // Arial: a metric alias exists
    s.font = "DejaVu Sans";
    const auto font = CreateWatermarkFont(s);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->pixelSize(), 19); // 14 points at 96 dpi
    s.fontStyle = 3;
    s.fontEffect = 2;
    const auto styled = CreateWatermarkFont(s);
    EXPECT_TRUE(styled->bold() && styled->italic() && styled->strikeOut() && !styled->underline());
    s.font = "No Such Family 4711";
    EXPECT_EQ(CreateWatermarkFont(s), nullptr);
    s.font = "";
    EXPECT_EQ(CreateWatermarkFont(s), nullptr);
    s.font = "DejaVu Sans";
    s.fontSize = 0;
    EXPECT_EQ(CreateWatermarkFont(s), nullptr);
    s.fontSize = -3;
    EXPECT_EQ(CreateWatermarkFont(s), nullptr);
}

TEST_F(WatermarkTest, ATurnedWatermarkIsHeldToThePictureLimits) {
    s.doWatermark = 1;
    s.text = QString(2500, QLatin1Char('W'));
    s.textRotation = 45;
    QElapsedTimer timer;
    timer.start();
    // About 45000 x 20 pixels turned by 45 degrees would need 32000 x 32000.
    EXPECT_EQ(ApplyWatermark(Black(256, 256), 256, 256, st, font.get(), s), nullptr);
    EXPECT_LT(timer.elapsed(), 5000);
    s.textRotation = 0; // unturned it is allowed, and cut to the picture
    FIBITMAP* out = ApplyWatermark(Black(256, 256), 256, 256, st, font.get(), s);
    EXPECT_NE(out, nullptr);
    if (out) FreeImage_Unload(out);
}

TEST_F(WatermarkTest, ExtremeLeadingAndPaddingStayWithinArithmetic) {
    // Values straight from a command line: the layout must not overflow (the
    // sanitizer build checks), and a block beyond the limits fails cleanly.
    s.doWatermark = 1;
    s.text = "a%eol%b%eol%c";
    for (int leading : {1073741805, -1073741805, INT_MAX, INT_MIN}) {
        s.fontLeading = leading;
        FIBITMAP* out = ApplyWatermark(Black(64, 64), 64, 64, st, font.get(), s);
        if (out) FreeImage_Unload(out);
    }
    s.fontLeading = 0;
    for (int padding : {INT_MAX, INT_MIN}) {
        s.textPadding = padding;
        FIBITMAP* out = ApplyWatermark(Black(64, 64), 64, 64, st, font.get(), s);
        if (out) FreeImage_Unload(out);
    }
}
