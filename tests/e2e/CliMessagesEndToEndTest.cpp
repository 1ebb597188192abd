// What the command line tells the user beyond the designed transcript: why a
// file failed, what it ignored, and why no window could be opened.

#include "DdsBuilder.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

using namespace tarvix::test;

namespace {

const QStringList kBanner = {"Orvella DDS to JPG 2.7", "Copyright (c) 2012-2026 Orvella Software",
                             "http://orvella.example/tarvix/", " "};
const QStringList kStopped = {"Preparing...", "Importing...", "Import complete, new files added: 1",
                              "Converting...", "Conversion stopped"};

class CliMessagesTest : public ::testing::Test {
protected:
    Sandbox box;
    QString input;

    void SetUp() override {
        QDir(box.Path()).mkpath("in");
        QDir(box.Path()).mkpath("out");
        input = box.Path("in/photo.dds");
        ASSERT_TRUE(WriteBytes(input, DdsDxt1(TestPicture(32, 32))));
    }
    ProcessResult Run(const QStringList& args) const { return box.Run(args); }
    // The debug transcript of a run whose one file fails at the save.
    QStringList DebugLines(const QString& in, const QString& out, const QString& saveAs) const {
        return {"Input: " + in,
                "Output: " + out,
                "Conversion: jpg",
                "DDS Load As: AUTO",
                "DDS Mip Level: 0",
                "DDS Layer: 0",
                "DDS Cube Layout: FIRST",
                "DDS Normal Map: AUTO",
                "DDS Alpha: DROP",
                "JPG BPP: 0",
                "JPG Quality: 95",
                "JPG Chroma Subsampling: NONE",
                "JPG Save As: STANDARD",
                "Flip Horizontal: 0",
                "Flip Vertical: 0",
                "Greyscale: 0",
                "Frame: NONE",
                "Watermark: NONE",
                "Filename Mask: %filename%.%ext%",
                "File Timestamp: CURRENT",
                "Keep Subfolders: 1",
                "Processing: " + in,
                "Saving As: " + saveAs,
                "Not OK",
                "Conversion stopped"};
    }
};

} // namespace

TEST_F(CliMessagesTest, EveryFailedFileIsNamedWithItsReasonOnStandardError) {
    QByteArray truncated = DdsDxt1(TestPicture(32, 32));
    truncated.truncate(128 + 100);
    ASSERT_TRUE(WriteBytes(box.Path("in/cut.dds"), truncated));
    ASSERT_TRUE(WriteBytes(box.Path("in/junk.dds"), QByteArray(400, '\x7f')));
    struct Case {
        QString path;
        QString reason;
    };
    const QList<Case> cases = {
        {box.Path("in/cut.dds"), "truncated DDS data: 512 bytes expected, 100 present"},
        {box.Path("in/junk.dds"), "not a DDS file: it does not begin with \"DDS \""},
    };
    for (const Case& c : cases) {
        const QString error = "Error: " + c.path + ": " + c.reason + "\n";
        ProcessResult r = Run({"-i", c.path, "-o", box.Path("out")});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, error);
        EXPECT_EQ(r.outLines(), kBanner + kStopped);
        r = Run({"-q", "-d", "-i", c.path, "-o", box.Path("out")});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, error);
        // A load failure still says where the picture was to go.
        EXPECT_EQ(r.outLines(),
                  DebugLines(c.path, box.Path("out"),
                             box.Path("out/") + QFileInfo(c.path).completeBaseName() + ".jpg"));
    }
}

TEST_F(CliMessagesTest, AnUnwritableOutputSaysWhy) {
    // Root writes into read-only folders, so as root a folder that refuses
    // everyone stands in for one.
    QString folder = box.Path("locked");
    if (::geteuid() == 0) {
        folder = "/sys";
    } else {
        QDir(box.Path()).mkpath("locked");
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const QString target = folder + "/photo.jpg";
    if (::geteuid() != 0) {
        // A folder this user cannot write to is refused once, before any decode.
        const ProcessResult r = Run({"-q", "-i", input, "-o", folder});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, "Error: Invalid output folder\n  " + folder +
                             "/ cannot be written to: Permission denied\n");
    } else {
        // Root may write anywhere it may create files; a folder of the system
        // that takes no new file fails each file with its reason.
        const QString error =
            "Error: " + input + ": cannot write " + target + ": Permission denied\n";
        ProcessResult r = Run({"-i", input, "-o", folder});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, error);
        EXPECT_EQ(r.outLines(), kBanner + kStopped);
        r = Run({"-q", "-d", "-i", input, "-o", folder});
        EXPECT_EQ(r.err, error);
        EXPECT_EQ(r.outLines(), DebugLines(input, folder, target));
        EXPECT_FALSE(QFile::exists(target));
    }

    // A folder standing where the picture must go: the rename is refused.
    QDir(box.Path()).mkpath("out/photo.jpg/keep");
    ProcessResult r = Run({"-q", "-i", input, "-o", box.Path("out")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Error: " + input + ": cannot write " + box.Path("out/photo.jpg") +
                         ": Is a directory\n");
    EXPECT_TRUE(QFileInfo(box.Path("out/photo.jpg/keep")).isDir());
    EXPECT_EQ(
        QDir(box.Path("out")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{"photo.jpg"}); // no temporary file left behind
}

TEST_F(CliMessagesTest, WhatTheParserIgnoresIsNamed) {
    ASSERT_TRUE(WriteBytes(box.Path("in/second.dds"), DdsDxt1(TestPicture(8, 8))));
    ASSERT_TRUE(
        WriteBytes(box.Path("p.ini"), "[CLI]\r\n--JPG-QUALTY = 70\r\n--JPG-SAVE-AS = fast\r\n"));
    struct Case {
        QStringList args;
        QString warning;
    };
    const QList<Case> cases = {
        {{"--jpg-qualty=80"},
         "Warning: unknown option --jpg-qualty=80 ignored (did you mean --jpg-quality?)"},
        {{"--frobnicate"}, "Warning: unknown option --frobnicate ignored"},
        // Options of formats the program does not offer are accepted and do nothing.
        {{"--tiff-compression=lzw"},
         "Warning: --tiff-compression has no effect: this program writes JPEG"},
        {{"--gif-frame-loading=first"},
         "Warning: --gif-frame-loading has no effect: this program reads DDS"},
        // Every option a user may mean, the first-position ones included.
        {{"--verison"}, "Warning: unknown option --verison ignored (did you mean --version?)"},
        {{"--qiuet"}, "Warning: unknown option --qiuet ignored (did you mean --quiet?)"},
        {{"--jpg-chroma=bogus"},
         "Warning: --jpg-chroma: \"bogus\" is not one of NONE, LOW, MEDIUM, HIGH; NONE used"},
        {{"--jpg-quality=95abc"},
         "Warning: --jpg-quality: \"95abc\" is not a whole number; 95 used"},
        {{"--brightness=bright", "--width=64", "--height=64"},
         "Warning: --brightness: \"bright\" is not a whole number; 0 used"},
        {{"--gamma=1,5"}, "Warning: --gamma: \"1,5\" is not a number; 1 used"},
        {{"--flip-vertical=0"}, "Warning: --flip-vertical takes no value; \"0\" ignored"},
        {{box.Path("in/second.dds")},
         "Warning: parameter " + box.Path("in/second.dds") +
             " ignored (it is no option; a run converts the one file given with -i)"},
        {{"-v"}, "Warning: option -v ignored (it counts only as the first parameter)"},
        {{"--profile=" + box.Path("p.ini")},
         "Warning: profile " + box.Path("p.ini") +
             ": unknown key --JPG-QUALTY ignored (did you mean --JPG-QUALITY?)\n"
             "Warning: profile " +
             box.Path("p.ini") +
             ": --JPG-SAVE-AS: \"fast\" is not one of STANDARD, SIMPLE, OPTIMIZED, PROGRESSIVE; "
             "STANDARD used"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = Run(QStringList{"-q", "-i", input, "-o", box.Path("out")} + c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, c.warning + "\n") << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    // The designed result stands: the misspelt quality converts at 95.
    Run({"-q", "-i", input, "-o", box.Path("out"), "--jpg-qualty=80"});
    EXPECT_EQ(InspectJpeg(box.Path("out/photo.jpg")).luminanceTable, ExpectedLuminanceTable(95));
    // Warnings come before an error that ends the parse.
    const ProcessResult both = Run({"-i", input, "--jpg-qualty=80", "--wm-text"});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_EQ(both.err, "Warning: unknown option --jpg-qualty=80 ignored (did you mean "
                        "--jpg-quality?)\nError: Incorrect number of parameters\n  --wm-text "
                        "needs its value after \"=\": --wm-text=VALUE\n");
}

TEST_F(CliMessagesTest, AValidCommandLinePrintsNoWarning) {
    ASSERT_TRUE(WriteBytes(box.Path("p.ini"), "[CLI]\r\n--JPG-QUALITY = 70\r\n"));
    const ProcessResult r = Run({"-q",
                                 "--input=" + input,
                                 "--output=" + box.Path("out"),
                                 "-c",
                                 "jpg",
                                 "--dds-load-as=bgra",
                                 "--jpg-quality=$50",
                                 "--jpg-chroma=high",
                                 "--jpg-save-as=Progressive",
                                 "--jpg-bpp=24",
                                 "--rotation=90",
                                 "--rotation-type=advanced",
                                 "--rotation-back-color=FF0000",
                                 "--width=50",
                                 "--width-unit=percent",
                                 "--height=50",
                                 "--height-unit=percent",
                                 "--keep-aspect-ratio",
                                 "--resize-algorithm=lanczos",
                                 "--flip-horizontal",
                                 "--brightness=-20",
                                 "--contrast=+10",
                                 "--gamma=1.5",
                                 "--invert",
                                 "--fr-solid-left=2",
                                 "--fr-solid-left-color=00FF00",
                                 "--fr-solid-opacity=128",
                                 "--file-timestamp=original",
                                 "--filename-mask=%filename%_x.%ext%",
                                 "--no-subfolders",
                                 "--profile=" + box.Path("p.ini"),
                                 "-d"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(box.Path("out/photo_x.jpg")));
}

TEST_F(CliMessagesTest, HelpAndVersionAnswerWhileAnotherInstanceRuns) {
    const QString lockPath = box.RuntimeDir() + "/Orvella DDS to JPG 2.7.lock";
    const int fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    for (const char* arg : {"-v", "--version", "-V"}) {
        const ProcessResult r = Run({arg});
        EXPECT_EQ(r.exitCode, 0) << arg;
        EXPECT_EQ(r.out, "2.7\n");
        EXPECT_TRUE(r.err.isEmpty());
    }
    for (const char* arg : {"-h", "-?", "--help"}) {
        const ProcessResult r = Run({arg});
        EXPECT_EQ(r.exitCode, 0) << arg;
        EXPECT_TRUE(r.outLines().contains("Usage: tarvix -i <filename> [options]"));
    }
    // Everything else still keeps to the one instance.
    EXPECT_EQ(Run({"-q", "-i", input, "-o", box.Path("out")}).exitCode, 3);
    EXPECT_EQ(Run({"-q", "-v"}).exitCode, 3);
    ::close(fd);
}

TEST_F(CliMessagesTest, NoWindowWithoutADisplay) {
    const std::map<QString, QString> headless = {
        {"DISPLAY", QString()}, {"WAYLAND_DISPLAY", QString()}, {"QT_QPA_PLATFORM", QString()}};
    const QString error = "Error: the window needs a graphical session; to convert from a "
                          "terminal use tarvix -i FILE, see tarvix -h\n";
    for (const QStringList& args : {QStringList{}, QStringList{"-q"}, QStringList{"-U"}}) {
        const ProcessResult r = box.Run(args, QString(), headless);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err, error);
        EXPECT_TRUE(r.out.isEmpty());
    }
    // An X display whose server is not there counts as none.
    const ProcessResult gone = box.Run(
        {}, QString(),
        {{"DISPLAY", ":4711"}, {"WAYLAND_DISPLAY", QString()}, {"QT_QPA_PLATFORM", QString()}});
    EXPECT_EQ(gone.exitCode, 2);
    EXPECT_EQ(gone.err, error);
    // Converting needs no display.
    const ProcessResult convert =
        box.Run({"-q", "-i", input, "-o", box.Path("out")}, QString(), headless);
    EXPECT_EQ(convert.exitCode, 0) << convert.err.toStdString();
}

// A file refused for its extension is named on standard error like any other
// failed file; the designed lines stay on standard output.
TEST_F(CliMessagesTest, AFileOfAnotherFormatIsNamed) {
    ASSERT_TRUE(WriteBytes(box.Path("in/logo.png"), "not a texture"));
    const ProcessResult r = Run({"-q", "-i", box.Path("in/logo.png"), "-o", box.Path("out")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Error: " + box.Path("in/logo.png") +
                         ": not a texture: only .dds files are converted\n");
}
