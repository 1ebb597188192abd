// The thumbnail mode as file managers run it.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

using namespace tarvix::test;

TEST(ThumbnailEndToEnd, ShrinksKeepingAspectAndAlpha) {
    Sandbox box;
    // A 200 x 100 texture whose left half is transparent.
    QImage picture(200, 100, QImage::Format_ARGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            picture.setPixelColor(x, y, x < 100 ? QColor(255, 0, 0, 0) : QColor(0, 0, 255, 255));
    ASSERT_TRUE(WriteBytes(box.Path("wide.dds"), DdsBgra32(picture)));
    // Another instance holds the lock: thumbnails do not care.
    const QString lockPath = box.RuntimeDir() + "/Orvella DDS to JPG 2.7.lock";
    const int fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);

    // The thumbnailer entry's Exec line with %s %i %o filled in.
    ProcessResult r = box.Run({"--thumbnail", "64", box.Path("wide.dds"), box.Path("t.png")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    QImage thumb(box.Path("t.png"));
    ASSERT_FALSE(thumb.isNull());
    EXPECT_EQ(thumb.size(), QSize(64, 32));
    EXPECT_TRUE(thumb.hasAlphaChannel());
    EXPECT_EQ(qAlpha(thumb.pixel(5, 16)), 0);
    EXPECT_EQ(qAlpha(thumb.pixel(60, 16)), 255);
    // A small texture is not enlarged.
    ASSERT_TRUE(WriteBytes(box.Path("small.dds"), DdsDxt1(TestPicture(16, 8))));
    r = box.Run({"--thumbnail", "256", box.Path("small.dds"), box.Path("s.png")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(QImage(box.Path("s.png")).size(), QSize(16, 8));
    ::close(fd);
}

TEST(ThumbnailEndToEnd, FailsCleanly) {
    Sandbox box;
    ASSERT_TRUE(WriteBytes(box.Path("ok.dds"), DdsDxt1(TestPicture(8, 8))));
    ASSERT_TRUE(WriteBytes(box.Path("junk.dds"), QByteArray(300, 'j')));
    struct Case {
        QStringList args;
        int status;
    };
    const QList<Case> cases = {
        {{"--thumbnail", "0", box.Path("ok.dds"), box.Path("a.png")}, 2},
        {{"--thumbnail", "2000", box.Path("ok.dds"), box.Path("a.png")}, 2},
        {{"--thumbnail", "x", box.Path("ok.dds"), box.Path("a.png")}, 2},
        {{"--thumbnail", "64", box.Path("ok.dds")}, 2},
        {{"--thumbnail", "64", box.Path("junk.dds"), box.Path("a.png")}, 1},
        {{"--thumbnail", "64", box.Path("missing.dds"), box.Path("a.png")}, 1},
        {{"--thumbnail", "64", box.Path("ok.dds"), box.Path("no/such/folder/a.png")}, 1},
        // The output must never replace the texture itself.
        {{"--thumbnail", "64", box.Path("ok.dds"), box.Path("ok.dds")}, 1},
    };
    for (const Case& c : cases) {
        const ProcessResult r = box.Run(c.args);
        EXPECT_EQ(r.exitCode, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("Error: ")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(QDir(box.Path()).entryList({"*.png"}, QDir::Files | QDir::Hidden).size(), 0);
    EXPECT_EQ(ReadBytes(box.Path("ok.dds")), DdsDxt1(TestPicture(8, 8)));
    EXPECT_FALSE(QFile::exists(box.ConfigHome() + "/Orvella/tarvix/config.ini"));
}

// With mip levels, the smallest level at least as large as the thumbnail is the
// one decoded; a chain cut short falls back to the largest level there is, and
// a large picture without levels is averaged down as it is read.
TEST(ThumbnailEndToEnd, FromTheLevelOfItsSize) {
    Sandbox box;
    // 256 x 128, each level its own colour: 256 red, 128 green, 64 blue, 32 ...
    const QColor colours[] = {Qt::red,     Qt::green, Qt::blue, Qt::yellow, Qt::cyan,
                              Qt::magenta, Qt::white, Qt::gray, Qt::black};
    QByteArray file;
    int levels = 0;
    for (int w = 256, h = 128; w >= 1; w /= 2, h = std::max(1, h / 2), ++levels) {
        QImage level(w, h, QImage::Format_ARGB32);
        level.fill(colours[levels]);
        const QByteArray dds = DdsBgra32(level);
        file += levels == 0 ? dds : dds.mid(128);
    }
    file[28] = char(levels);
    ASSERT_TRUE(WriteBytes(box.Path("levels.dds"), file));
    struct Case {
        int size;
        int cut; // bytes left out at the end
        QColor colour;
        QSize shape;
    };
    const Case cases[] = {
        {64, 0, Qt::blue, {64, 32}},    // level 2 is 64 x 32: exactly the size
        {100, 0, Qt::green, {100, 50}}, // level 1 (128 x 64) shrunk
        {300, 0, Qt::red, {256, 128}},  // nothing as large: level 0, not enlarged
        {4, 0, Qt::white, {4, 2}},      // level 6 is 4 x 2
        // Levels 2 and smaller cut off: level 1 is the smallest left.
        {64, 64 * 32 * 4 + 32 * 16 * 4, Qt::green, {64, 32}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        ASSERT_TRUE(WriteBytes(box.Path("in.dds"), file.left(file.size() - c.cut)));
        const ProcessResult r = box.Run(
            {"--thumbnail", QString::number(c.size), box.Path("in.dds"), box.Path("t.png")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QImage thumb(box.Path("t.png"));
        EXPECT_EQ(thumb.size(), c.shape);
        EXPECT_EQ(thumb.pixelColor(thumb.width() / 2, thumb.height() / 2).rgb(), c.colour.rgb());
    }
    // 2600 x 1700 without levels (past the size decoded whole): averaged in
    // strips by two threads, each half keeps its colour; as pixels and as
    // blocks (whose strips start on a multiple of four rows).
    QImage big(2600, 1700, QImage::Format_ARGB32);
    big.fill(Qt::red);
    for (int y = 850; y < 1700; ++y)
        for (int x = 0; x < 2600; ++x)
            big.setPixelColor(x, y, Qt::blue);
    for (const QByteArray& bytes : {DdsBgra32(big), DdsDxt1(big)}) {
        ASSERT_TRUE(WriteBytes(box.Path("big.dds"), bytes));
        const ProcessResult r =
            box.Run({"--thumbnail", "128", box.Path("big.dds"), box.Path("b.png")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QImage thumb(box.Path("b.png"));
        EXPECT_EQ(thumb.size(), QSize(128, 84));
        // Every row but the two the final scaling blends at the seam.
        for (int y = 0; y < 84; ++y)
            if (y != 41 && y != 42) {
                EXPECT_EQ(thumb.pixelColor(64, y).rgb(), QColor(y < 41 ? Qt::red : Qt::blue).rgb())
                    << "row " << y;
            }
    }
}
