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
    };
    for (const Case& c : cases) {
        const ProcessResult r = box.Run(c.args);
        EXPECT_EQ(r.exitCode, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("Error: ")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(QDir(box.Path()).entryList({"*.png"}, QDir::Files | QDir::Hidden).size(), 0);
    EXPECT_FALSE(QFile::exists(box.ConfigHome() + "/Orvella/tarvix/config.ini"));
}
