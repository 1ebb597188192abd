// The windowed mode as a whole process: it stays up, keeps other starts out,
// and saves its settings when the session ends it.

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tarvix::test;

namespace {

bool WaitFor(const std::function<bool()>& condition, int ms = 10000) {
    for (int waited = 0; waited < ms; waited += 20) {
        if (condition()) return true;
        QThread::msleep(20);
    }
    return condition();
}

} // namespace

TEST(WindowedEndToEnd, OneInstanceSavesItsSettingsWhenEnded) {
    Sandbox box;
    const QString config = box.ConfigHome() + "/Orvella/tarvix/config.ini";
    const QString socket = box.RuntimeDir() + "/Orvella DDS to JPG 2.7.socket";
    BackgroundProcess first(TarvixBinary(), {}, box.Path(), box.Environment());
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(socket); })) << "the window did not come up";
    EXPECT_TRUE(first.Running());

    // Starts while it runs: without parameters quietly (it is raised instead),
    // with parameters with an error.
    ProcessResult second = box.Run({});
    EXPECT_EQ(second.exitCode, 3);
    EXPECT_TRUE(second.out.isEmpty() && second.err.isEmpty());
    second = box.Run({"-q", "anything"});
    EXPECT_EQ(second.exitCode, 3);
    EXPECT_EQ(second.err, "Error: Another instance of Orvella DDS to JPG is already running\n  "
                          "convert many files in one run: tarvix -i FOLDER, or --jobs=N\n");
    EXPECT_TRUE(first.Running());
    EXPECT_FALSE(QFile::exists(config)); // written at the end, not before

    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(), 0);
    const QByteArray saved = ReadBytes(config);
    EXPECT_TRUE(saved.startsWith("\xEF\xBB\xBF\r\n[General]\r\nCFG = 17\r\n"));
    EXPECT_TRUE(saved.contains("[Window]\r\nIsMaximized = 0\r\nWidth = 510\r\nHeight = 260\r\n"));

    // The next start reads it back and saves it again unchanged in size.
    BackgroundProcess again(TarvixBinary(), {}, box.Path(), box.Environment());
    ASSERT_TRUE(WaitFor([&] { return again.Running() && QFile::exists(socket); }));
    QThread::msleep(200);
    again.Signal(SIGTERM);
    EXPECT_EQ(again.Wait(), 0);
    EXPECT_TRUE(ReadBytes(config).contains("Width = 510\r\n"));
}

TEST(WindowedEndToEnd, ParametersWithoutAnInputOpenTheWindowToo) {
    Sandbox box;
    const QString socket = box.RuntimeDir() + "/Orvella DDS to JPG 2.7.socket";
    BackgroundProcess window(TarvixBinary(), {"-q", "--width=5", "photo.dds"}, box.Path(),
                             box.Environment());
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(socket); }));
    window.Signal(SIGTERM);
    EXPECT_EQ(window.Wait(), 0);
    // config.ini replaces what the options had set.
    EXPECT_TRUE(
        ReadBytes(box.ConfigHome() + "/Orvella/tarvix/config.ini").contains("Image Width = 0\r\n"));
}

// The web address is drawn into the screenshot's bottom right corner at every
// screen scale: at 2x the picture has twice the pixels and the text lies in them.
TEST(WindowedEndToEnd, ScreenshotAddressAtEveryScale) {
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        Sandbox box;
        QDir(box.Path()).mkpath("shots");
        const ProcessResult r = box.Run({"-T", box.Path("shots")}, QString(),
                                        {{"QT_SCALE_FACTOR", QString::number(scale)}});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QImage shot(box.Path("shots/tarvix1.jpg"));
        ASSERT_EQ(shot.size(), QSize(510, 260) * scale);
        // Dark text pixels in the corner band where the address goes.
        int dark = 0;
        for (int y = shot.height() - 26 * scale; y < shot.height() - 12 * scale; ++y)
            for (int x = shot.width() / 2; x < shot.width() - 35 * scale; ++x)
                dark += qGray(shot.pixel(x, y)) < 90;
        EXPECT_GT(dark, 20 * scale * scale);
    }
}

TEST(WindowedEndToEnd, ScreenshotStart) {
    Sandbox box;
    QDir(box.Path()).mkpath("shots");
    ProcessResult r = box.Run({"-T", box.Path("shots")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(box.Path("shots")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"tarvix1.jpg", "tarvix1x.jpg"}));
    const JpegInfo small = InspectJpeg(box.Path("shots/tarvix1x.jpg"));
    EXPECT_EQ(small.width, 180);
    EXPECT_EQ(small.height, 92);
    EXPECT_EQ(InspectJpeg(box.Path("shots/tarvix1.jpg")).luminanceTable,
              ExpectedLuminanceTable(90));
    // A folder that does not exist: nothing, and still status 0.
    r = box.Run({"-T", box.Path("nowhere")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(QFile::exists(box.Path("nowhere")));
    // No folder: the program's own.
    const QString bin = box.Path("bin");
    QDir().mkpath(bin);
    const QString built = QFileInfo(TarvixBinary()).absolutePath();
    for (const char* file :
         {"tarvix", "libtarvix-engine.so", "libtarvix-image.so", "libtarvix-draw.so",
          "libtarvix-ui.so"})
        ASSERT_TRUE(QFile::copy(built + "/" + file, bin + "/" + file)) << file;
    r = RunProgram(bin + "/tarvix", {"-T"}, box.Path(), box.Environment());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(bin + "/tarvix1.jpg"));
    EXPECT_TRUE(QFile::exists(bin + "/tarvix1x.jpg"));
    // The screenshot start reads and writes no settings.
    EXPECT_FALSE(QFile::exists(box.ConfigHome() + "/Orvella/tarvix/config.ini"));
}

TEST(WindowedEndToEnd, OpenWithHandsTheFileToTheRunningWindow) {
    Sandbox box;
    ASSERT_TRUE(WriteBytes(box.Path("a.dds"), QByteArray("placeholder")));
    BackgroundProcess first(TarvixBinary(), {box.Path("a.dds")}, box.Path(), box.Environment());
    const QString socket = box.RuntimeDir() + "/Orvella DDS to JPG 2.7.socket";
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(socket); })) << "the window did not come up";
    // A second "open with" ends at once, quietly, and the window stays.
    const ProcessResult second = box.Run({box.Path("a.dds")});
    EXPECT_EQ(second.exitCode, 3);
    EXPECT_TRUE(second.err.isEmpty());
    EXPECT_TRUE(second.out.isEmpty());
    EXPECT_TRUE(first.Running());
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(), 0);
}

TEST(WindowedEndToEnd, SettingsThatCannotBeSavedAreReported) {
    Sandbox box;
    // A folder stands where config.ini would be written.
    ASSERT_TRUE(QDir().mkpath(box.ConfigHome() + "/Orvella/tarvix/config.ini"));
    BackgroundProcess window(TarvixBinary(), {}, box.Path(), box.Environment());
    const QString socket = box.RuntimeDir() + "/Orvella DDS to JPG 2.7.socket";
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(socket); })) << "the window did not come up";
    window.Signal(SIGTERM);
    EXPECT_EQ(window.Wait(), 0);
    EXPECT_TRUE(QFileInfo(box.ConfigHome() + "/Orvella/tarvix/config.ini").isDir());
}

TEST(WindowedEndToEnd, ConfigValuesOutsideTheirRangeAreBroughtInside) {
    Sandbox box;
    const QString config = box.ConfigHome() + "/Orvella/tarvix/config.ini";
    ASSERT_TRUE(QDir().mkpath(box.ConfigHome() + "/Orvella/tarvix"));
    ASSERT_TRUE(WriteBytes(config, "[Output]\r\nJPG Quality = -1\r\n[Adjustment]\r\n"
                                   "Image Brightness = 2147483647\r\nImage Gamma = NaN\r\n"));
    const QString err = box.Path() + "/stderr.txt";
    BackgroundProcess window(TarvixBinary(), {}, box.Path(), box.Environment(), err);
    const QString socket = box.RuntimeDir() + "/Orvella DDS to JPG 2.7.socket";
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(socket); })) << "the window did not come up";
    window.Signal(SIGTERM);
    EXPECT_EQ(window.Wait(), 0);
    const QByteArray saved = ReadBytes(config);
    EXPECT_TRUE(saved.contains("JPG Quality = 1\r\n"));
    EXPECT_TRUE(saved.contains("Image Brightness = 100\r\n"));
    EXPECT_TRUE(saved.contains("Image Gamma = 1.000000\r\n"));
    const QByteArray said = ReadBytes(err);
    EXPECT_TRUE(said.contains("Warning: " + QFile::encodeName(config) +
                              ": JPG Quality = -1 is outside 1 to 100; 1 used\n"))
        << said.toStdString();
    EXPECT_EQ(said.count("Warning: "), 3) << said.toStdString();
}

TEST(WindowedEndToEnd, AFifoAtTheConfigPlaceDoesNotHoldTheStart) {
    Sandbox box;
    const QString config = box.ConfigHome() + "/Orvella/tarvix/config.ini";
    ASSERT_TRUE(QDir().mkpath(box.ConfigHome() + "/Orvella/tarvix"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(config).constData(), 0600), 0);
    const QString err = box.Path() + "/stderr.txt";
    BackgroundProcess window(TarvixBinary(), {}, box.Path(), box.Environment(), err);
    const QString socket = box.RuntimeDir() + "/Orvella DDS to JPG 2.7.socket";
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(socket); })) << "the start hangs on the FIFO";
    window.Signal(SIGTERM);
    EXPECT_EQ(window.Wait(), 0);
    EXPECT_TRUE(ReadBytes(err).startsWith("Warning: " + QFile::encodeName(config) +
                                          " cannot be read as a settings file"))
        << ReadBytes(err).toStdString();
}
