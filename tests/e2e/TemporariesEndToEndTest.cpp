// Where the file system has no unnamed files, a save goes through a hidden
// temporary: a run stopped by a signal removes it, and a later run sweeps what
// a killed one left a day ago or more.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

using namespace tarvix::test;

namespace {

QStringList Hidden(const QString& folder) {
    return QDir(folder).entryList({".tarvix-*"}, QDir::Files | QDir::Hidden);
}

} // namespace

TEST(Temporaries, ASignalDuringASaveLeavesNothingBehind) {
    Sandbox box;
    QDir(box.Path()).mkpath("out");
    const QString input = box.Path("in.dds");
    ASSERT_TRUE(WriteBytes(input, DdsDxt1(TestPicture(64, 64))));
    std::map<QString, QString> env = box.Environment();
    env["LD_PRELOAD"] = TARVIX_NO_TMPFILE_SHIM;
    // A sanitizer build wants its runtime first and refuses a preloaded library.
    const ProcessResult probe = RunProgram(TarvixBinary(), {"-V"}, box.Path(), env);
    if (probe.exitCode != 0)
        GTEST_SKIP() << "the shim cannot be preloaded: " << probe.err.toStdString();
    env["TARVIX_SLOW_FSYNC"] = "1";
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        BackgroundProcess run(TarvixBinary(), {"-q", "-i", input, "-o", box.Path("out")},
                              box.Path(), env);
        // The picture is written and waits for the disk under its hidden name.
        QElapsedTimer timer;
        timer.start();
        while (Hidden(box.Path("out")).isEmpty() && timer.elapsed() < 10000)
            usleep(5000);
        ASSERT_EQ(Hidden(box.Path("out")).size(), 1) << "no save under way";
        run.Signal(signal);
        EXPECT_EQ(run.Wait(), 128 + signal); // ended by the signal itself
        EXPECT_TRUE(Hidden(box.Path("out")).isEmpty())
            << Hidden(box.Path("out")).join(" ").toStdString();
        EXPECT_FALSE(QFile::exists(box.Path("out/in.jpg")));
    }
    // Without the slow disk the same file system converts as ever.
    env.erase("TARVIX_SLOW_FSYNC");
    const ProcessResult r =
        RunProgram(TarvixBinary(), {"-q", "-i", input, "-o", box.Path("out")}, box.Path(), env);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(InspectJpeg(box.Path("out/in.jpg")).ok);
    EXPECT_TRUE(Hidden(box.Path("out")).isEmpty());
}

TEST(Temporaries, ARunSweepsWhatAKilledOneLeftADayAgo) {
    Sandbox box;
    QDir(box.Path()).mkpath("out");
    const QString input = box.Path("in.dds");
    ASSERT_TRUE(WriteBytes(input, DdsDxt1(TestPicture(8, 8))));
    ASSERT_TRUE(WriteBytes(box.Path("out/.tarvix-old123"), "left by a killed run"));
    ASSERT_TRUE(WriteBytes(box.Path("out/.tarvix-new456"), "another run's, still busy"));
    ASSERT_TRUE(WriteBytes(box.Path("out/.tarvixnot"), "not ours"));
    utimbuf old{};
    old.actime = old.modtime = time(nullptr) - 25 * 3600;
    ASSERT_EQ(::utime(QFile::encodeName(box.Path("out/.tarvix-old123")).constData(), &old), 0);
    ASSERT_EQ(::utime(QFile::encodeName(box.Path("out/.tarvixnot")).constData(), &old), 0);
    const ProcessResult r = box.Run({"-q", "-i", input, "-o", box.Path("out")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(box.Path("out/.tarvix-old123")));
    EXPECT_TRUE(QFile::exists(box.Path("out/.tarvix-new456")));
    EXPECT_TRUE(QFile::exists(box.Path("out/.tarvixnot")));
}
