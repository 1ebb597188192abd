// Whole texture folders from the command line: every texture below the folder,
// its subfolders recreated, several files at once, and every failure named.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvix::test;

namespace {

class FolderTest : public ::testing::Test {
protected:
    Sandbox box;
    QString in, out;

    void SetUp() override {
        in = box.Path("pack");
        out = box.Path("out");
        ASSERT_TRUE(QDir().mkpath(out));
    }
    void Texture(const QString& relative, int size = 16, int seed = 0) {
        const QString path = in + "/" + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QImage picture = TestPicture(size + seed, size);
        ASSERT_TRUE(WriteBytes(path, seed % 2 ? DdsDxt5(picture) : DdsDxt1(picture)));
    }
    // Every file below folder, relative, sorted.
    static QStringList Files(const QString& folder) {
        QStringList files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(folder).relativeFilePath(it.next());
        files.sort();
        return files;
    }
};

} // namespace

TEST_F(FolderTest, EveryTextureBelowTheFolderWithItsSubfolders) {
    Texture("top.dds");
    Texture("walls/brick.DDS", 24, 1);
    Texture("walls/old/moss.Dds", 8, 2);
    Texture("deep/a/b/c/d/e/f/g/h/leaf.dds", 12, 3);
    ASSERT_TRUE(WriteBytes(in + "/walls/readme.txt", "not a texture"));
    // A link to a folder above: followed, it would never end.
    ASSERT_EQ(::symlink("..", QFile::encodeName(in + "/walls/up").constData()), 0);
    const ProcessResult r = box.Run({"-i", in, "-o", out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Import complete, new files added: 4\n"));
    EXPECT_TRUE(r.out.endsWith("Conversion complete\nFiles converted: 4 of 4\n"));
    const QStringList expected{"deep/a/b/c/d/e/f/g/h/leaf.jpg", "top.jpg", "walls/brick.jpg",
                               "walls/old/moss.jpg"};
    EXPECT_EQ(Files(out), expected);
    const JpegInfo brick = InspectJpeg(out + "/walls/brick.jpg");
    EXPECT_TRUE(brick.ok);
    EXPECT_EQ(brick.width, 25);

    // Without subfolders, all in one; without -o, beside each texture.
    ASSERT_TRUE(QDir().mkpath(box.Path("flat")));
    const ProcessResult flat = box.Run({"-q", "-i", in, "-o", box.Path("flat"), "--no-subfolders"});
    EXPECT_EQ(flat.exitCode, 0) << flat.err.toStdString();
    EXPECT_EQ(Files(box.Path("flat")),
              (QStringList{"brick.jpg", "leaf.jpg", "moss.jpg", "top.jpg"}));
    const ProcessResult beside = box.Run({"-q", "-i", in});
    EXPECT_EQ(beside.exitCode, 0) << beside.err.toStdString();
    EXPECT_TRUE(InspectJpeg(in + "/walls/old/moss.jpg").ok);
    EXPECT_TRUE(InspectJpeg(in + "/deep/a/b/c/d/e/f/g/h/leaf.jpg").ok);
}

TEST_F(FolderTest, ABrokenFileIsNamedAndTheOthersAreConverted) {
    Texture("a.dds");
    Texture("b/c.dds", 16, 1);
    ASSERT_TRUE(WriteBytes(in + "/b/broken.dds", "DDS truncated"));
    ASSERT_TRUE(WriteBytes(in + "/empty.dds", ""));
    const ProcessResult r = box.Run({"-i", in, "-o", out, "--jobs=2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.endsWith("Conversion complete\nFiles converted: 2 of 4\n"))
        << r.out.toStdString();
    QStringList errors = r.err.split('\n', Qt::SkipEmptyParts);
    errors.sort();
    ASSERT_EQ(errors.size(), 2) << r.err.toStdString();
    EXPECT_TRUE(errors[0].startsWith("Error: " + in + "/b/broken.dds: ")) << r.err.toStdString();
    EXPECT_TRUE(errors[1].startsWith("Error: " + in + "/empty.dds: ")) << r.err.toStdString();
    EXPECT_EQ(Files(out), (QStringList{"a.jpg", "b/c.jpg"}));

    // Nothing convertible at all.
    ASSERT_TRUE(QDir().mkpath(box.Path("none")));
    ASSERT_TRUE(WriteBytes(box.Path("none/x.dds"), "junk"));
    const ProcessResult none = box.Run({"-q", "-i", box.Path("none")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.contains("Conversion stopped")) << none.out.toStdString();
}

TEST_F(FolderTest, TwoTexturesOfOneNameNeverOverwriteEachOther) {
    Texture("one/same.dds", 16, 0);
    Texture("two/same.dds", 20, 0);
    for (const char* jobs : {"--jobs=1", "--jobs=2"}) {
        SCOPED_TRACE(jobs);
        QDir(out).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(out));
        const ProcessResult r = box.Run({"-q", "-i", in, "-o", out, "--no-subfolders", jobs});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(": another file of this run is saved as " + out + "/same.jpg\n"))
            << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1);
        EXPECT_EQ(Files(out), QStringList{"same.jpg"});
    }
    // With one job the list decides which one comes first.
    const ProcessResult serial =
        box.Run({"-q", "-i", in, "-o", out, "--no-subfolders", "--jobs=1"});
    EXPECT_TRUE(serial.err.startsWith("Error: " + in + "/two/same.dds: "));
    EXPECT_EQ(InspectJpeg(out + "/same.jpg").width, 16);
}

TEST_F(FolderTest, OneJobAndManyWriteTheSameFilesAndNumbersFollowTheList) {
    for (int i = 0; i < 12; ++i)
        Texture(QString("s%1/t%2.dds").arg(i % 3).arg(i, 2, 10, QChar('0')), 8 + i, i);
    QByteArray first;
    for (const char* jobs : {"--jobs=1", "--jobs=4"}) {
        SCOPED_TRACE(jobs);
        QDir(out).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(out));
        const ProcessResult r = box.Run({"-d", "-i", in, "-o", out, jobs, "--no-subfolders",
                                         "--filename-mask=%n%-%filename%.%ext%"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        // Each file's lines as one block, whatever order the files finish in.
        const QStringList lines = r.outLines();
        const qsizetype start = lines.indexOf("Converting...") + 1;
        ASSERT_GT(start, 0);
        QStringList inputs;
        for (int i = 0; i < 12; ++i) {
            const QString processing = lines.value(start + 3 * i);
            ASSERT_TRUE(processing.startsWith("Processing: ")) << processing.toStdString();
            const QString input = processing.mid(12);
            inputs << input;
            const QString name = QFileInfo(input).completeBaseName();
            EXPECT_TRUE(lines.value(start + 3 * i + 1).startsWith("Saving As: " + out + "/"));
            EXPECT_TRUE(lines.value(start + 3 * i + 1).endsWith("-" + name + ".jpg"));
            EXPECT_EQ(lines.value(start + 3 * i + 2), "OK");
        }
        inputs.sort();
        EXPECT_EQ(inputs.size(), 12);
        // Numbered in the order of the list (by path), not of finishing.
        QStringList expected;
        for (int k = 0; k < 12; ++k) {
            const QString name = QFileInfo(inputs[k]).completeBaseName();
            expected << QString("%1-%2.jpg").arg(k + 1, 5, 10, QChar('0')).arg(name);
        }
        expected.sort();
        EXPECT_EQ(Files(out), expected);
        QByteArray all;
        for (const QString& f : Files(out))
            all += f.toUtf8() + ReadBytes(out + "/" + f);
        if (first.isEmpty())
            first = all;
        else
            EXPECT_TRUE(all == first);
    }
    // A value that is no number of jobs.
    const ProcessResult bad = box.Run({"-q", "-i", in, "-o", out, "--jobs=-3"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.err, "Error: Invalid jobs value\n  -3 is outside 0..256\n");
}

TEST_F(FolderTest, OddNamesAndUnreadableFoldersAreNamedAndSkipped) {
    Texture("fine.dds");
    Texture("new\nline.dds", 16, 1);
    // A name in ISO 8859-1, as an old archive tool may leave it.
    ASSERT_TRUE(WriteBytes(in + "/placeholder.dds", DdsDxt1(TestPicture(4, 4))));
    const QByteArray latin1 = QFile::encodeName(in) + "/caf\xe9.dds";
    ASSERT_EQ(::rename(QFile::encodeName(in + "/placeholder.dds").constData(), latin1.constData()),
              0);
    ASSERT_TRUE(QDir().mkpath(in + "/locked"));
    Texture("locked/hidden.dds");
    ASSERT_EQ(::chmod(QFile::encodeName(in + "/locked").constData(), 0), 0);
    const bool root = ::geteuid() == 0; // root reads any folder
    const ProcessResult r = box.Run({"-q", "-i", in, "-o", out});
    ::chmod(QFile::encodeName(in + "/locked").constData(), 0755);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        r.err.contains("Error: " + in + "/caf?.dds: the file name is not valid UTF-8; skipped\n"))
        << r.err.toStdString();
    if (!root) {
        EXPECT_TRUE(r.err.contains("Error: " + in + "/locked/: the folder cannot be read ("))
            << r.err.toStdString();
    }
    // A control character never reaches an output name; the file is named, its
    // line break shown escaped so that the message stays one line.
    EXPECT_TRUE(r.err.contains("Error: " + in +
                               "/new\\nline.dds: the name of the input file holds a control "
                               "character, which an output name may not\n"))
        << r.err.toStdString();
    EXPECT_TRUE(InspectJpeg(out + "/fine.jpg").ok);
    const QStringList expected =
        root ? QStringList{"fine.jpg", "locked/hidden.jpg"} : QStringList{"fine.jpg"};
    EXPECT_EQ(Files(out), expected);
}

TEST_F(FolderTest, AFullDiskFailsEachLaterFileAndLeavesNothingPartial) {
    // A small file system is not to be had without root, so the disk "fills"
    // through the file size limit: with its signal ignored (as the shell
    // passes it on), every write past 512 bytes fails as on a full disk.
    for (int i = 0; i < 6; ++i)
        Texture(QString("t%1.dds").arg(i), 64, i);
    ASSERT_TRUE(WriteBytes(out + "/t3.jpg", "the old file"));
    const ProcessResult r = RunProgram("/bin/sh",
                                       {"-c", "ulimit -f 1; trap '' XFSZ; exec \"$0\" \"$@\"",
                                        TarvixBinary(), "-q", "-i", in, "-o", out, "--jobs=2"},
                                       box.Path(), box.Environment());
    EXPECT_EQ(r.exitCode, 1);
    // Every file failed with its reason, and nothing partial is left: the old
    // file keeps its bytes, no hidden temporary stays.
    EXPECT_EQ(r.err.count("cannot write " + out + "/"), 6) << r.err.toStdString();
    EXPECT_EQ(Files(out), QStringList{"t3.jpg"});
    EXPECT_EQ(ReadBytes(out + "/t3.jpg"), "the old file");
}

TEST_F(FolderTest, KilledInTheMiddleLeavesNoPartialPicture) {
    for (int i = 0; i < 40; ++i)
        Texture(QString("k/t%1.dds").arg(i), 256, i);
    BackgroundProcess run(TarvixBinary(), {"-q", "-i", in, "-o", out, "--jobs=2"}, box.Path(),
                          box.Environment());
    // Some files done, some in flight.
    for (int waited = 0; waited < 10000 && Files(out).size() < 5; waited += 5)
        ::usleep(5000);
    run.Signal(SIGKILL);
    run.Wait();
    for (const QString& f : Files(out)) {
        EXPECT_FALSE(QFileInfo(f).fileName().startsWith('.')) << f.toStdString();
        EXPECT_TRUE(InspectJpeg(out + "/" + f).ok) << f.toStdString();
    }
}
