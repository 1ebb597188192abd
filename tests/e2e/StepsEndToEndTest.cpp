// Command lines that combine the image steps, checked on the JPEG they write.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace tarvix::test;

namespace {

class StepsTest : public ::testing::Test {
protected:
    Sandbox box;
    QString input;

    void SetUp() override {
        QImage grey(120, 80, QImage::Format_ARGB32);
        grey.fill(qRgb(128, 128, 128));
        input = box.Path("grey.dds");
        ASSERT_TRUE(WriteBytes(input, DdsRgb24(grey)));
    }
    QImage Convert(const QStringList& options, int expectedExit = 0) {
        const ProcessResult r =
            box.Run(QStringList{"-q", "-i", input, "--jpg-quality=100"} + options);
        EXPECT_EQ(r.exitCode, expectedExit) << r.out.toStdString() << r.err.toStdString();
        return QImage(box.Path("grey.jpg"));
    }
};

bool Near(QRgb a, QRgb b, int tolerance = 6) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace

TEST_F(StepsTest, ResizeRotateAndFlip) {
    QImage out =
        Convert({"--width=50", "--width-unit=percent", "--height=50", "--height-unit=percent"});
    EXPECT_EQ(out.size(), QSize(60, 40));
    out = Convert({"--rotation=90"});
    EXPECT_EQ(out.size(), QSize(80, 120));
    // Keep the aspect ratio: the long side decides.
    out = Convert({"--width=60", "--height=10", "--keep-aspect-ratio"});
    EXPECT_EQ(out.size(), QSize(60, 40));
    // Rotation then resize halves the rotated size.
    out = Convert({"--rotation=90", "--width=50", "--width-unit=percent", "--height=50",
                   "--height-unit=percent"});
    EXPECT_EQ(out.size(), QSize(40, 60));
}

TEST_F(StepsTest, FrameAndTonesKeepTheirOrder) {
    // The frame is drawn after the inversion, so it keeps its own colour.
    const QImage out = Convert({"--invert", "--fr-solid-left=10", "--fr-solid-left-color=FF0000"});
    EXPECT_EQ(out.size(), QSize(120, 80));
    EXPECT_TRUE(Near(out.pixel(4, 40), qRgb(255, 0, 0))) << std::hex << out.pixel(4, 40);
    EXPECT_TRUE(Near(out.pixel(60, 40), qRgb(127, 127, 127))) << std::hex << out.pixel(60, 40);
}

TEST_F(StepsTest, GreyscaleJpegDepth) {
    Convert({"--greyscale"});
    EXPECT_EQ(InspectJpeg(box.Path("grey.jpg")).components, 3); // automatic depth from the source
    Convert({"--greyscale", "--jpg-bpp=8"});
    EXPECT_EQ(InspectJpeg(box.Path("grey.jpg")).components, 1);
}

TEST_F(StepsTest, TextAndPictureWatermarks) {
    QImage out =
        Convert({"--wm-text=Hi%eol%there", "--wm-font=DejaVu Sans", "--wm-back-opacity=255",
                 "--wm-back-color=0000FF", "--wm-text-position=topleft"});
    EXPECT_TRUE(Near(out.pixel(11, 11), qRgb(0, 0, 255), 12)) << std::hex << out.pixel(11, 11);
    EXPECT_TRUE(Near(out.pixel(100, 70), qRgb(128, 128, 128)));

    QImage logo(20, 10, QImage::Format_RGB32);
    logo.fill(qRgb(0, 255, 0));
    ASSERT_TRUE(logo.save(box.Path("logo.png")));
    out = Convert({"--wm-image=" + box.Path("logo.png")});
    EXPECT_TRUE(Near(out.pixel(120 - 10 - 5, 80 - 10 - 5), qRgb(0, 255, 0), 12));
    EXPECT_TRUE(Near(out.pixel(5, 5), qRgb(128, 128, 128)));
}

TEST_F(StepsTest, WatermarkSetUpChecks) {
    ProcessResult r = box.Run({"-i", input, "--wm-text=x", "--wm-font=No Such Family 4711"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Error: Invalid watermark font\n");
    r = box.Run({"-q", "-i", input, "--wm-text=x", "--wm-font-size=0"});
    EXPECT_EQ(r.err, "Error: Invalid watermark font\n");
    ASSERT_TRUE(WriteBytes(box.Path("empty.png"), ""));
    for (const QString& image : {box.Path("missing.png"), box.Path("empty.png"), box.Path()}) {
        r = box.Run({"-q", "-i", input, "--wm-image=" + image});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.startsWith("Error: Invalid watermark image\n  " + image + " "))
            << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(box.Path("grey.jpg")));
    // A file that is not a picture fails the file: a JPEG without the
    // watermark would pass for one with it.
    ASSERT_TRUE(WriteBytes(box.Path("notes.png"), "just text"));
    r = box.Run({"-q", "-i", input, "--wm-image=" + box.Path("notes.png")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Error: " + input + ": the watermark picture could not be loaded: " +
                         box.Path("notes.png") + "\n");
    EXPECT_FALSE(QFile::exists(box.Path("grey.jpg")));
}

TEST_F(StepsTest, ImpossibleRequestsFailCleanly) {
    ASSERT_TRUE(WriteBytes(box.Path("empty-text.ini"), "[CLI]\n--WM-TEXT =\n"));
    ProcessResult r = box.Run({"-q", "-i", input, "--width=100000", "--height=100000"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "Conversion stopped\n");
    EXPECT_LT(r.elapsedMs, 5000);
    EXPECT_FALSE(QFile::exists(box.Path("grey.jpg")));
    // Odd but possible requests still convert.
    for (const QStringList& options :
         {QStringList{"--fr-solid-top=5000", "--fr-solid-left=-40"},
          QStringList{"--wm-text=x", "--wm-font=DejaVu Sans", "--wm-text-x-offset=-50"},
          QStringList{"--profile=" + box.Path("empty-text.ini"), "--wm-font=DejaVu Sans"},
          QStringList{"--wm-text=big", "--wm-font=DejaVu Sans", "--wm-font-size=400"},
          QStringList{"--rotation=45", "--rotation-type=advanced"}}) {
        r = box.Run(QStringList{"-q", "-i", input} + options);
        EXPECT_EQ(r.exitCode, 0) << options.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(QImage(box.Path("grey.jpg")).size(), QSize(120, 80))
            << options.join(' ').toStdString();
    }
}
