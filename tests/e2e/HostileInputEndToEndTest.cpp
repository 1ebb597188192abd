// What a careless or hostile command line, profile or pipe must not do: write
// outside the output folder, replace the texture, hang, or die of a closed pipe.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvix::test;

namespace {

class HostileTest : public ::testing::Test {
protected:
    Sandbox box;
    QString input;
    void SetUp() override {
        QDir(box.Path()).mkpath("d/out");
        input = box.Path("d/photo.dds");
        ASSERT_TRUE(WriteBytes(input, DdsDxt1(TestPicture(16, 16))));
    }
};

} // namespace

TEST_F(HostileTest, MaskNamesStayInTheOutputFolder) {
    const QByteArray texture = ReadBytes(input);
    struct Case {
        QString mask, reason;
    };
    const QList<Case> cases = {
        {"../%filename%.%ext%", "the file name mask leads out of the output folder: ../photo.jpg"},
        {"sub/../../elsewhere/x.%ext%",
         "the file name mask leads out of the output folder: sub/../../elsewhere/x.jpg"},
        {"/tmp/x.%ext%", "the file name mask gives an absolute path: /tmp/x.jpg"},
    };
    for (const Case& c : cases) {
        const ProcessResult r =
            box.Run({"-q", "-i", input, "-o", box.Path("d/out"), "--filename-mask=" + c.mask});
        EXPECT_EQ(r.exitCode, 1) << c.mask.toStdString();
        EXPECT_EQ(r.err, "Error: " + input + ": " + c.reason + "\n");
    }
    EXPECT_EQ(QDir(box.Path("d")).entryList(QDir::Files), QStringList{"photo.dds"});
    EXPECT_TRUE(QDir(box.Path("d/out")).isEmpty());
    EXPECT_FALSE(QFile::exists(box.Path("elsewhere")));

    // A NUL in a profile's mask.
    ASSERT_TRUE(
        WriteBytes(box.Path("p.ini"), QByteArray("[CLI]\r\n--FILENAME-MASK = a\0b.%ext%\r\n", 36)));
    const ProcessResult nul =
        box.Run({"-q", "-i", input, "-o", box.Path("d/out"), "--profile=" + box.Path("p.ini")});
    EXPECT_EQ(nul.exitCode, 1);
    EXPECT_EQ(nul.err,
              "Error: " + input + ": the file name mask gives a name with a control character\n");
    EXPECT_TRUE(QDir(box.Path("d/out")).isEmpty());

    // Subfolders inside the output folder are still fine, as designed.
    QDir(box.Path("d/out")).mkpath("sub");
    const ProcessResult sub = box.Run(
        {"-q", "-i", input, "-o", box.Path("d/out"), "--filename-mask=sub/%filename%.%ext%"});
    EXPECT_EQ(sub.exitCode, 0) << sub.err.toStdString();
    EXPECT_TRUE(QFile::exists(box.Path("d/out/sub/photo.jpg")));
    EXPECT_EQ(ReadBytes(input), texture);
}

TEST_F(HostileTest, TheTextureIsNeverReplacedByItsOwnPicture) {
    const QByteArray texture = ReadBytes(input);
    const ProcessResult r =
        box.Run({"-q", "-i", input, "-o", box.Path("d"), "--filename-mask=%filename%.dds"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              "Error: " + input + ": the output would replace the input file: " + input + "\n");
    EXPECT_EQ(ReadBytes(input), texture);
}

TEST_F(HostileTest, AFifoIsNoProfile) {
    const QString fifo = box.Path("fifo.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const ProcessResult r = box.Run({"-q", "-i", input, "--profile=" + fifo});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Error: Invalid profile file\n  " + fifo + " is not a regular file\n");
    EXPECT_LT(r.elapsedMs, 5000);
}

TEST_F(HostileTest, AClosedPipeDoesNotEndTheConversion) {
    // The reader of standard output is gone before the first line is written.
    const QString script =
        QStringLiteral("(sleep 0.3; exec \"$0\" -i \"$1\" -o \"$2\"; ) | { exec 0<&-; };"
                       " echo \"${PIPESTATUS[0]}\" > \"$3\"");
    const ProcessResult r = RunProgram(
        "/bin/bash", {"-c", script, TarvixBinary(), input, box.Path("d/out"), box.Path("status")},
        box.Path(), box.Environment());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadBytes(box.Path("status")).trimmed(), "0");
    EXPECT_TRUE(QFile::exists(box.Path("d/out/photo.jpg")));
}

TEST_F(HostileTest, PathsAreTakenByteForByte) {
    // A double quote is a character of a file name.
    const QString quoted = box.Path("d/a\"b.dds");
    ASSERT_TRUE(WriteBytes(quoted, DdsDxt1(TestPicture(8, 8))));
    ASSERT_TRUE(WriteBytes(box.Path("d/ab.dds"), DdsDxt1(TestPicture(8, 8))));
    ProcessResult r = box.Run({"-q", "-i", quoted, "-o", box.Path("d/out")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(box.Path("d/out/a\"b.jpg")));
    EXPECT_FALSE(QFile::exists(box.Path("d/out/ab.jpg")));

    // Bytes that are not UTF-8 name no file: refused, never read as another name.
    ASSERT_TRUE(WriteBytes(box.Path("d/caf\u00e9.dds"), DdsDxt1(TestPicture(8, 8))));
    r = RunProgram("/bin/bash",
                   {"-c", "exec \"$0\" -q -i $'" + box.Path("d/caf\\xe9.dds") + "' -o \"$1\"",
                    TarvixBinary(), box.Path("d/out")},
                   box.Path(), box.Environment());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("Error: Path not valid UTF-8: ")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(box.Path("d/out/caf\u00e9.jpg")));
}

TEST_F(HostileTest, AnotherUsersLockFileDoesNotBlockTheRun) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    const QString lock = QStringLiteral("/tmp/Orvella DDS to JPG 2.7-%1.lock").arg(::geteuid());
    QFile::remove(lock);
    ASSERT_TRUE(WriteBytes(lock, ""));
    ASSERT_EQ(::chown(QFile::encodeName(lock).constData(), 65534, 65534), 0);
    const ProcessResult r = box.Run({"-q", "-i", input, "-o", box.Path("d/out")}, QString(),
                                    {{"XDG_RUNTIME_DIR", QString()}});
    QFile::remove(lock);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Warning: the lock file " + lock +
                         " belongs to another user; running without the single-instance lock\n");
    EXPECT_TRUE(QFile::exists(box.Path("d/out/photo.jpg")));
}

TEST_F(HostileTest, AKilledConversionLeavesNothingBehind) {
    // A picture large enough that its JPEG takes a while to write.
    ASSERT_TRUE(WriteBytes(box.Path("d/big.dds"), DdsDxt1(TestPicture(8192, 8192))));
    BackgroundProcess run(TarvixBinary(),
                          {"-q", "-i", box.Path("d/big.dds"), "-o", box.Path("d/out")}, box.Path(),
                          box.Environment());
    // Wait until the picture is being written: the process holds a file in the
    // output folder that has no name there.
    const QString fds = QStringLiteral("/proc/%1/fd").arg(run.Pid());
    bool writing = false;
    QElapsedTimer timer;
    timer.start();
    while (!writing && run.Running() && timer.elapsed() < 20000) {
        for (const QFileInfo& fd : QDir(fds).entryInfoList(QDir::System | QDir::Files))
            if (fd.symLinkTarget().startsWith(box.Path("d/out"))) writing = true;
        if (!writing) ::usleep(500);
    }
    ASSERT_TRUE(writing) << "the conversion ended before it was seen writing";
    run.Signal(SIGKILL);
    run.Wait();
    EXPECT_TRUE(QDir(box.Path("d/out"))
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());
}

TEST_F(HostileTest, LargeProfilesTakeMemoryInProportion) {
    // 16 MiB of lines without a key, and of short distinct keys.
    QByteArray empty = "[CLI]\n";
    while (empty.size() < (16 << 20) - 16)
        empty += "=\n";
    QByteArray keys = "[CLI]\n";
    for (int i = 0; keys.size() < (16 << 20) - 32; ++i)
        keys += "k" + QByteArray::number(i, 36) + "=\n";
    for (const QByteArray& profile : {empty, keys}) {
        ASSERT_TRUE(WriteBytes(box.Path("big.ini"), profile));
        const ProcessResult r = box.Run(
            {"-q", "-i", input, "-o", box.Path("d/out"), "--profile=" + box.Path("big.ini")});
        EXPECT_EQ(r.exitCode, 0);
#ifndef __SANITIZE_ADDRESS__ // the sanitizer's own bookkeeping multiplies every allocation
        EXPECT_LT(r.peakKiB, 16 * 1024 * 8) << "peak " << r.peakKiB << " KiB";
#endif
    }
}

TEST_F(HostileTest, StandardErrorHoldsOnlyTheProgramsLines) {
    // A truncated PNG as the watermark: the file fails with its reason, and no
    // library adds a line of its own.
    QByteArray png = ReadBytes(QStringLiteral(TARVIX_SOURCE_DIR "/samples/logo.png"));
    ASSERT_GT(png.size(), 400);
    ASSERT_TRUE(WriteBytes(box.Path("cut.png"), png.left(300)));
    const ProcessResult r =
        box.Run({"-q", "-i", input, "-o", box.Path("d/out"), "--wm-image=" + box.Path("cut.png")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Error: " + input + ": the watermark picture could not be loaded: " +
                         box.Path("cut.png") + "\n");
}
