// Runs the built program as a user would, in isolated HOME, XDG_CONFIG_HOME and
// XDG_RUNTIME_DIR folders.

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
const QStringList kTranscript = {
    "Preparing...",  "Importing...",        "Import complete, new files added: 1",
    "Converting...", "Conversion complete", "Files converted: 1 of 1"};

class CliTest : public ::testing::Test {
protected:
    Sandbox box;
    QString input;

    void SetUp() override {
        QDir(box.Path()).mkpath("in");
        QDir(box.Path()).mkpath("out");
        input = box.Path("in/photo.dds");
        ASSERT_TRUE(WriteBytes(input, DdsBgra32(TestPicture(40, 30))));
    }
    ProcessResult Run(const QStringList& args) const { return box.Run(args); }
    QString ConfigFile() const { return box.ConfigHome() + "/Orvella/tarvix/config.ini"; }
};

} // namespace

TEST_F(CliTest, TypicalRunPrintsBannerAndTranscript) {
    const ProcessResult r = Run({"-i", input, "-o", box.Path("out")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.outLines(), kBanner + kTranscript);
    EXPECT_TRUE(r.err.isEmpty());
    const JpegInfo info = InspectJpeg(box.Path("out/photo.jpg"));
    ASSERT_TRUE(info.ok);
    EXPECT_EQ(info.width, 40);
    EXPECT_EQ(info.height, 30);
    EXPECT_EQ(info.components, 3);
    EXPECT_EQ(info.luminanceTable, ExpectedLuminanceTable(95));
    EXPECT_FALSE(QFile::exists(ConfigFile())); // the command line never writes config.ini
}

TEST_F(CliTest, WithoutOutputFolderWritesNextToTheInputWhateverTheCurrentFolder) {
    const ProcessResult r = box.Run({"--input=in/photo.dds"}, box.Path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(box.Path("in/photo.jpg")));
}

TEST_F(CliTest, QuietAndDebug) {
    ProcessResult r = Run({"-q", "-i", input, "-o", box.Path("out")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.isEmpty());

    r = Run({"-i", input, "-o", box.Path("out"), "-d", "-q"});
    EXPECT_EQ(r.exitCode, 0);
    const QStringList expected = {"Input: " + input,
                                  "Output: " + box.Path("out"),
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
                                  "Processing: " + input,
                                  "Saving As: " + box.Path("out/photo.jpg"),
                                  "OK"};
    EXPECT_EQ(r.outLines(), expected);
}

TEST_F(CliTest, DebugEchoOfEditingOptions) {
    const ProcessResult r = Run({"-i",
                                 input,
                                 "-o",
                                 box.Path("out"),
                                 "-d",
                                 "-q",
                                 "--rotation=90",
                                 "--rotation-back-color=FF0000",
                                 "--width=50",
                                 "--width-unit=percent",
                                 "--height=20",
                                 "--resize-algorithm=lanczos",
                                 "--brightness=-5",
                                 "--gamma=1.5",
                                 "--threshold=7",
                                 "--fr-solid-left=3",
                                 "--fr-solid-left-color=00FF00",
                                 "--file-timestamp=custom",
                                 "--file-timestamp-custom=77",
                                 "--wm-image=" + input,
                                 "--wm-image-rotation=12",
                                 "--wm-image-position=topleft"});
    const QStringList lines = r.outLines();
    for (const char* expected : {"Image Rotation Type: SIMPLE",
                                 "Image Rotation: 90",
                                 "Image Rotation Back Color: FF0000",
                                 "Width: 50 PERCENT",
                                 "Height: 20 PIXELS",
                                 "Keep Aspect Ratio: 0",
                                 "Image Resize Type: ALLIMAGES",
                                 "Image Resize Algorithm: LANCZOS",
                                 "Brightness: -5",
                                 "Contrast: 0",
                                 "Gamma: 1.50",
                                 "Invert: 0",
                                 "Image Threshold: 7",
                                 "Frame: SOLID",
                                 "Frame left: 3",
                                 "Frame left color: 00FF00",
                                 "Frame opacity: 255",
                                 "Watermark: IMAGE",
                                 "Watermark position: TOPLEFT",
                                 "Watermark offset (x/y): 10/10",
                                 "Watermark rotation: 12",
                                 "Watermark size/mode: FIXED",
                                 "File Timestamp: CUSTOM",
                                 "Custom Timestamp: 77"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(expected))) << expected;
}

TEST_F(CliTest, VersionAndHelp) {
    for (const char* v : {"-V", "-v", "--version", "--VERSION"}) {
        const ProcessResult r = Run({v});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, "2.7\n");
    }
    const ProcessResult h = Run({"-?"});
    EXPECT_EQ(h.exitCode, 0);
    const QStringList lines = h.outLines();
    ASSERT_EQ(lines.size(), 47);
    EXPECT_EQ(lines[0], " ");
    EXPECT_EQ(lines[1], "Usage: tarvix -i <filename> [options]");
    EXPECT_EQ(lines[6], "  tarvix -i /tmp/example.dds -o /tmp/converted --jpg-quality=95");
    EXPECT_EQ(lines[15],
              "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)");
    EXPECT_EQ(lines[7], "  tarvix -i /tmp/textures -o /tmp/converted --jobs=4");
    EXPECT_EQ(lines[37], "                            (default: one per processor)");
    EXPECT_EQ(lines[46], "  -v, --version             Display version information and exit");
    EXPECT_EQ(Run({"--help", "-p"}).out, h.out); // pause has no effect on the help
}

TEST_F(CliTest, ParseErrors) {
    ProcessResult r = Run({"-i"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith("Error: Incorrect number of parameters\n  -i needs"));
    // No pause on the error path when standard input is not a terminal.
    r = Run({"-p", "--width"});
    EXPECT_EQ(r.exitCode, 2);
}

TEST_F(CliTest, ValidationErrors) {
    const QString out = box.Path("out");
    ASSERT_TRUE(WriteBytes(box.Path("in/empty.dds"), ""));
    ASSERT_TRUE(WriteBytes(box.Path("in/noext"), "x"));
    QDir(box.Path()).mkpath("in/folder.dds");
    // Each refusal: the designed line, then one line of what was wrong and what
    // to do instead.
    struct Case {
        QStringList args;
        const char* error;
        QString detail;
    };
    const QString both = " (both in pixels or both in percent)";
    const QList<Case> cases = {
        {{"-i", box.Path("in/noext")},
         "Invalid input file",
         box.Path("in/noext") + " has no extension; textures end in .dds"},
        {{"-i", box.Path("in/missing.dds")},
         "Invalid input file",
         box.Path("in/missing.dds") + " does not exist"},
        {{"-i", input, "-o", out, "--jobs=257"}, "Invalid jobs value", "257 is outside 0..256"},
        {{"-i", box.Path("in/empty.dds")},
         "Invalid input file",
         box.Path("in/empty.dds") + " is empty"},
        {{"-i", box.Path("in/trailingdot.")},
         "Invalid input file",
         box.Path("in/trailingdot.") + " does not exist"},
        {{"-i", input, "-o", box.Path("nowhere")},
         "Invalid output folder",
         box.Path("nowhere") + " does not exist; the output folder is not created (mkdir -p " +
             box.Path("nowhere") + ")"},
        {{"-i", input, "-o", input}, "Invalid output folder", input + " is not a folder"},
        {{"-i", input, "-o", out, "-c", "png"},
         "Invalid conversion type",
         "png is not an output format; there is one: jpg (-c jpg)"},
        {{"-i", input, "-o", out, "-c", "JPG"},
         "Invalid conversion type",
         "JPG is not an output format; there is one: jpg (-c jpg)"},
        {{"-i", input, "-o", out, "--conversion=.jpg"},
         "Invalid conversion type",
         ".jpg is not an output format; there is one: jpg (-c jpg)"},
        {{"-i", input, "-o", out, "--jpg-bpp=32"},
         "Invalid jpg-bpp value",
         "32 is not one of 0 (automatic), 8, 24"},
        {{"-i", input, "-o", out, "--jpg-quality=0"},
         "Invalid jpg-quality value",
         "0 is outside 1..100"},
        {{"-i", input, "-o", out, "--jpg-quality=800"},
         "Invalid jpg-quality value",
         "800 is outside 1..100"},
        {{"-i", input, "-o", out, "--width=0"},
         "Invalid width value",
         "--width and --height need sizes above 0" + both},
        {{"-i", input, "-o", out, "--height=7"},
         "Invalid width value",
         "--height needs --width as well" + both},
        {{"-i", input, "-o", out, "--width=5"},
         "Invalid height value",
         "--width needs --height as well" + both},
        {{"-i", input, "-o", out, "--brightness=101"},
         "Invalid brightness value",
         "101 is outside -100..100"},
        {{"-i", input, "-o", out, "--contrast=-101"},
         "Invalid contrast value",
         "-101 is outside -100..100"},
        {{"-i", input, "-o", out, "--gamma=10"}, "Invalid gamma value", "10 is outside 0.01..9.99"},
        {{"-i", input, "-o", out, "--gamma=NaN"},
         "Invalid gamma value",
         "nan is outside 0.01..9.99"},
        {{"-i", input, "-o", out, "--gamma=0.009"},
         "Invalid gamma value",
         "0.009 is outside 0.01..9.99"},
        {{"-i", input, "-o", out, "--wm-image=" + box.Path("in/missing.png")},
         "Invalid watermark image",
         box.Path("in/missing.png") + " does not exist"},
        // Options given as most tools take them, with a blank instead of "=".
        {{"-i", input, "--jpg-quality", "80"},
         "Incorrect number of parameters",
         "--jpg-quality needs its value after \"=\": --jpg-quality=80"},
        {{"--input", input},
         "Incorrect number of parameters",
         "--input needs its value after \"=\": --input=" + input},
        {{"-i"}, "Incorrect number of parameters", "-i needs a value after it: -i VALUE"},
        {{"-i", input, "--profile=" + box.Path("nope.ini")},
         "Invalid profile file",
         box.Path("nope.ini") + " does not exist"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = Run(c.args + QStringList{"-q"});
        EXPECT_EQ(r.exitCode, 2) << c.error;
        EXPECT_EQ(r.err, QStringLiteral("Error: ") + c.error + "\n  " + c.detail + "\n")
            << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.error;
    }
    EXPECT_FALSE(QFile::exists(box.Path("out/photo.jpg")));
    // A folder, whatever its name, is a folder run: here one without textures.
    const ProcessResult folder = Run({"-q", "-i", box.Path("in/folder.dds")});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(folder.err.isEmpty());
    EXPECT_EQ(
        folder.out,
        "Conversion stopped\nNo input file(s) found. Please, add valid file(s) and try again!\n");
}

TEST_F(CliTest, BoundaryValuesThatPass) {
    for (const QStringList& extra :
         {QStringList{"--jpg-quality=1"}, QStringList{"--jpg-quality=100"},
          QStringList{"--gamma=0.01"}, QStringList{"--gamma=9.99"},
          QStringList{"--brightness=-100", "--contrast=100"}, QStringList{"--jpg-bpp=8"},
          QStringList{"--width=-5", "--height=-5"}}) {
        const ProcessResult r = Run(QStringList{"-q", "-i", input, "-o", box.Path("out")} + extra);
        EXPECT_EQ(r.exitCode, 0) << extra.join(' ').toStdString() << r.err.toStdString();
    }
}

TEST_F(CliTest, RelativeOutputFolderIsTakenFromTheCurrentFolder) {
    const QString programFolder = QFileInfo(TarvixBinary()).absolutePath();
    QDir(box.Path()).mkpath("work/out");
    QDir(box.Path()).mkpath("up");
    for (const QString& form : {QStringLiteral("out"), QStringLiteral("./out")}) {
        QFile::remove(box.Path("work/out/photo.jpg"));
        const ProcessResult r = box.Run({"-d", "-q", "-i", input, "-o", form}, box.Path("work"));
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(QFile::exists(box.Path("work/out/photo.jpg"))) << form.toStdString();
        // The echo shows the folder as typed, the saved path resolved.
        EXPECT_TRUE(r.outLines().contains("Output: " + form));
        EXPECT_TRUE(r.outLines().contains("Saving As: " + box.Path("work/out/photo.jpg")));
        EXPECT_FALSE(QFile::exists(programFolder + "/" + form + "/photo.jpg"));
    }
    const ProcessResult up = box.Run({"-q", "-i", input, "-o", "../up"}, box.Path("work"));
    EXPECT_EQ(up.exitCode, 0) << up.err.toStdString();
    EXPECT_TRUE(QFile::exists(box.Path("up/photo.jpg")));
    const ProcessResult missing = box.Run({"-q", "-i", input, "-o", "nowhere"}, box.Path("work"));
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err, "Error: Invalid output folder\n  " + box.Path("work/nowhere") +
                               " does not exist; the output folder is not created (mkdir -p " +
                               box.Path("work/nowhere") + ")\n");
}

TEST_F(CliTest, InputsThatAreNotImported) {
    ASSERT_TRUE(WriteBytes(box.Path("in/list.txt"), "a.dds\n"));
    ASSERT_TRUE(WriteBytes(box.Path("in/picture.png"), "png"));
    for (const QString& path : {box.Path("in/list.txt"), box.Path("in/picture.png")}) {
        const ProcessResult r = Run({"-i", path, "-o", box.Path("out")});
        EXPECT_EQ(r.exitCode, 1);
        const QStringList lines = r.outLines();
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(
            lines.mid(lines.size() - 3),
            (QStringList{"Import complete, new files added: 0", "Conversion stopped",
                         "No input file(s) found. Please, add valid file(s) and try again!"}));
        const ProcessResult q = Run({"-q", "-i", path, "-o", box.Path("out")});
        EXPECT_EQ(
            q.outLines(),
            (QStringList{"Conversion stopped",
                         "No input file(s) found. Please, add valid file(s) and try again!"}));
    }
}

TEST_F(CliTest, UnloadableDdsStopsWithoutOutput) {
    ASSERT_TRUE(WriteBytes(box.Path("in/broken.dds"), QByteArray(300, 'x')));
    const ProcessResult r = Run({"-i", box.Path("in/broken.dds"), "-o", box.Path("out")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.outLines().back(), "Conversion stopped");
    EXPECT_FALSE(QFile::exists(box.Path("out/broken.jpg")));
    EXPECT_TRUE(r.err.startsWith("Error: " + box.Path("in/broken.dds") + ": not a DDS file"))
        << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1);
    const ProcessResult q = Run({"-q", "-i", box.Path("in/broken.dds"), "-o", box.Path("out")});
    EXPECT_EQ(q.out, "Conversion stopped\n");
    EXPECT_EQ(q.err, r.err);
}

TEST_F(CliTest, ProfileAndOptionsInOrder) {
    ASSERT_TRUE(
        WriteBytes(box.Path("p.ini"),
                   "[CLI]\r\n--JPG-QUALITY = 70\r\n--FILENAME-MASK = \"%filename%_p.%ext%\"\r\n"));
    ProcessResult r = Run({"-q", "-i", input, "-o", box.Path("out"), "--jpg-quality=20",
                           "--profile=" + box.Path("p.ini")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(InspectJpeg(box.Path("out/photo_p.jpg")).luminanceTable, ExpectedLuminanceTable(70));
    r = Run({"-q", "-i", input, "-o", box.Path("out"), "--profile=" + box.Path("p.ini"),
             "--jpg-quality=20", "--filename-mask=%filename%_o.%ext%"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(InspectJpeg(box.Path("out/photo_o.jpg")).luminanceTable, ExpectedLuminanceTable(20));
}

TEST_F(CliTest, PauseDoesNotHangWithoutATerminal) {
    const ProcessResult r = Run({"-i", input, "-o", box.Path("out"), "-p"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.outLines().back(), "Press any key to exit.");
}

TEST_F(CliTest, SecondInstanceEndsAtOnce) {
    const QString lockPath = box.RuntimeDir() + "/Orvella DDS to JPG 2.7.lock";
    const int fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ProcessResult r = Run({"-i", input, "-o", box.Path("out")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "Error: Another instance of Orvella DDS to JPG is already running\n  convert "
                     "many files in one run: tarvix -i FOLDER, or --jobs=N\n");
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFile::exists(box.Path("out/photo.jpg")));
    r = Run({});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.isEmpty());
    ::close(fd);
    EXPECT_EQ(Run({"-q", "-i", input, "-o", box.Path("out")}).exitCode, 0);
}

// The program itself carries only the light code: help, version and every check
// of a command line work without its libraries, which only a conversion needs.
TEST_F(CliTest, LibrariesAreLoadedOnlyByTheRunsThatNeedThem) {
    const QString lonely = box.Path("bin/tarvix");
    QDir().mkpath(box.Path("bin"));
    ASSERT_TRUE(QFile::copy(TarvixBinary(), lonely));
    const auto run = [&](const QStringList& args) {
        return RunProgram(lonely, args, box.Path(), box.Environment());
    };
    EXPECT_EQ(run({"-V"}).out, "2.7\n");
    EXPECT_EQ(run({"--help"}).exitCode, 0);
    EXPECT_TRUE(
        run({"-i", box.Path("in/missing.dds")}).err.startsWith("Error: Invalid input file\n"));
    EXPECT_TRUE(
        run({"-i", input, "--jpg-quality=0"}).err.startsWith("Error: Invalid jpg-quality value\n"));
    const ProcessResult convert = run({"-q", "-i", input, "-o", box.Path("out")});
    EXPECT_EQ(convert.exitCode, 1);
    EXPECT_TRUE(convert.err.startsWith("Error: The conversion engine could not be loaded: "));
    EXPECT_EQ(convert.out, "Conversion stopped\n");
    const ProcessResult window = run({});
    EXPECT_EQ(window.exitCode, 1);
    EXPECT_TRUE(window.err.startsWith("Error: The windowed mode could not be started: "));
}

// Which libraries a run maps: the default conversion streams without the image
// library (nor the twenty behind it); an editing step loads it.
TEST_F(CliTest, OnlyTheRunsThatNeedTheImageLibraryLoadIt) {
    const QString dxt = box.Path("in/block.dds");
    ASSERT_TRUE(WriteBytes(dxt, DdsDxt1(TestPicture(64, 64))));
    struct Case {
        QStringList args;
        bool loadsImageLibrary;
    };
    const Case cases[] = {
        {{"-V"}, false},
        {{"--help"}, false},
        {{"-q", "-i", dxt, "-o", box.Path("out")}, false},
        {{"-q", "-i", dxt, "-o", box.Path("out"), "--width=32", "--height=32"}, true},
        // A level of the size asked for is written as it is; any other is
        // shrunk by the image library.
        {{"--thumbnail", "64", dxt, box.Path("out/t.png")}, false},
        {{"--thumbnail", "32", dxt, box.Path("out/t.png")}, true},
    };
    for (const Case& c : cases) {
        const ProcessResult r = box.Run(c.args, QString(), {{"LD_DEBUG", "files"}});
        EXPECT_EQ(r.exitCode, 0) << c.args.join(" ").toStdString()
                                 << r.err.right(300).toStdString();
        EXPECT_EQ(r.err.contains("libfreeimage"), c.loadsImageLibrary)
            << c.args.join(' ').toStdString();
    }
}
