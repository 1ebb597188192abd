// "--info" and the texture choices as a user meets them on the command line.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvix::test;

TEST(TextureInfo, DescribesEveryFileAndSaysWhichConvert) {
    Sandbox box;
    QDir(box.Path()).mkpath("tex/sub");
    QByteArray mips = DdsDxt5(TestPicture(16, 16)).left(128);
    for (int side : {16, 8, 4, 2, 1})
        mips += DdsDxt5(TestPicture(side, side)).mid(128);
    mips[28] = 5; // mip levels
    ASSERT_TRUE(WriteBytes(box.Path("tex/sky.dds"), mips));
    ASSERT_TRUE(WriteBytes(box.Path("tex/sub/cut.dds"), mips.left(128 + 100)));
    ProcessResult r = box.Run({"--info", box.Path("tex")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString(); // both headers could be read
    const QString expected = box.Path("tex/sky.dds") +
                             "\n  size: 16 x 16\n  format: DXT5 (FourCC 'DXT5')\n  mip levels: 5\n"
                             "  surfaces: one picture\n  alpha: straight\n  flags: none\n"
                             "  bytes: 496 expected, 496 present\n  converts: yes\n";
    EXPECT_TRUE(r.out.contains(expected)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("  bytes: 496 expected, 228 present\n"
                               "  converts: no: truncated DDS data: 256 bytes expected, 100 "
                               "present\n"))
        << r.out.toStdString();
    // A file that is no texture at all: its reason, and status 1.
    ASSERT_TRUE(WriteBytes(box.Path("notes.dds"), "hello"));
    r = box.Run({"--info", box.Path("tex/sky.dds"), box.Path("notes.dds")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        r.out.endsWith(box.Path("notes.dds") +
                       "\n  converts: no: not a DDS file: it does not begin with \"DDS \"\n"))
        << r.out.toStdString();
    // Converting a level the file does not have names what it has.
    r = box.Run({"-q", "-i", box.Path("tex/sky.dds"), "-o", box.Path(), "--dds-mip=7"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              "Error: " + box.Path("tex/sky.dds") + ": the texture has 5 mip levels (0..4)\n");
    r = box.Run({"-q", "-i", box.Path("tex/sky.dds"), "-o", box.Path(), "--dds-mip=4"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(InspectJpeg(box.Path("sky.jpg")).width, 1);
}
