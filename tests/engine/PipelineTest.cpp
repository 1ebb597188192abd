#include "engine/Pipeline.h"
#include "DdsBuilder.h"
#include "TestSupport.h"
#include "engine/BatchWorker.h"
#include "engine/Steps.h"
#include "platform/FileTimes.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"
#include "request/ConversionRequest.h"
#include "request/OutputDepth.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>
#include <map>
#include <mutex>

using namespace tarvix;
using namespace tarvix::test;

namespace {

class PipelineTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Settings settings;
    RunState state;
    ConversionOptions options;
    int32_t outputBpp = -1; // -1: the depth the settings ask for
    QString subfolder;
    FileResult result; // of the last Convert

    void SetUp() override {
        ResetSettings(settings, true);
        ResetRunState(state);
        state.cliInputGiven = 1;
        state.outputFolder = dir.path() + "/";
        state.conversionType = "jpg";
    }

    ConversionRequest Request() {
        std::optional<ConversionRequest> request = BuildConversionRequest(state, settings, options);
        EXPECT_TRUE(request.has_value());
        if (outputBpp >= 0) request->outputBpp = outputBpp;
        return *request;
    }

    QString Input(const QString& name, const QByteArray& bytes) {
        const QString path = dir.path() + "/" + name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }

    bool Convert(const QString& input) {
        FileJob job;
        job.input = input;
        job.subfolder = subfolder;
        result = ConvertFile(Request(), job);
        return result.converted;
    }
};

QImage Solid(int w, int h, QRgb color) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(color);
    return img;
}

} // namespace

TEST_F(PipelineTest, ConvertsToJpegWithTheDefaultFlags) {
    ASSERT_TRUE(Convert(Input("picture.dds", DdsBgra32(TestPicture(64, 48)))));
    EXPECT_EQ(result.output, dir.path() + "/picture.jpg");
    EXPECT_EQ(result.sourceBpp, 24); // decoded without alpha: a JPEG cannot keep it
    EXPECT_EQ(result.outputBpp, 24);
    const JpegInfo info = InspectJpeg(result.output);
    ASSERT_TRUE(info.ok);
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 48);
    EXPECT_EQ(info.components, 3);
    EXPECT_EQ(info.hSamp[0], 1); // 4:4:4
    EXPECT_EQ(info.vSamp[0], 1);
    EXPECT_FALSE(info.progressive);
    EXPECT_EQ(info.luminanceTable, ExpectedLuminanceTable(95));
    // No temporary file is left beside the output.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(PipelineTest, SaveFlagsReachTheFile) {
    settings.jpgQuality = 60;
    settings.jpgChroma = 2;
    settings.jpgSaveAs = 3;
    ASSERT_TRUE(Convert(Input("p.dds", DdsRgb24(TestPicture(32, 32)))));
    const JpegInfo info = InspectJpeg(result.output);
    ASSERT_TRUE(info.ok);
    EXPECT_TRUE(info.progressive);
    EXPECT_EQ(info.hSamp[0], 2); // 4:2:0
    EXPECT_EQ(info.vSamp[0], 2);
    EXPECT_EQ(info.luminanceTable, ExpectedLuminanceTable(60));
}

TEST_F(PipelineTest, EightBitJpegIsGreyscale) {
    outputBpp = 8;
    ASSERT_TRUE(Convert(Input("p.dds", DdsRgb24(TestPicture(16, 16)))));
    EXPECT_EQ(InspectJpeg(result.output).components, 1);
}

TEST_F(PipelineTest, LoadAsRgbaSwapsChannelsOfA24BitImage) {
    settings.ddsLoadAs = 2;
    settings.jpgQuality = 100;
    ASSERT_TRUE(Convert(Input("red.dds", DdsRgb24(Solid(16, 16, qRgb(255, 0, 0))))));
    const QImage out(result.output);
    ASSERT_FALSE(out.isNull());
    EXPECT_LT(qRed(out.pixel(8, 8)), 8);
    EXPECT_GT(qBlue(out.pixel(8, 8)), 247);
    settings.ddsLoadAs = 1;
    ASSERT_TRUE(Convert(Input("red.dds", DdsRgb24(Solid(16, 16, qRgb(255, 0, 0))))));
    EXPECT_GT(qRed(QImage(result.output).pixel(8, 8)), 247);
}

// A file that fails to load writes nothing; the messages still name the file
// it was to be saved as.
TEST_F(PipelineTest, FailedLoadWritesNothingAndSaysWhereItWouldHaveGone) {
    for (const QString& input :
         {Input("empty.dds", QByteArray()), Input("text.dds", QByteArray("this is not a picture")),
          dir.path() + "/missing.dds"}) {
        EXPECT_FALSE(Convert(input));
        EXPECT_EQ(result.output, dir.path() + "/" + QFileInfo(input).completeBaseName() + ".jpg");
        EXPECT_FALSE(result.failure.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(dir.path() + "/empty.jpg"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/text.jpg"));
}

TEST_F(PipelineTest, FailedSaveKeepsAnExistingFileIntact) {
    const QString input = Input("keep.dds", DdsRgb24(TestPicture(8, 8)));
    ASSERT_TRUE(WriteBytes(dir.path() + "/keep.jpg", "precious"));
    outputBpp = 7; // no conversion exists: the pipeline ends without an image
    EXPECT_FALSE(Convert(input));
    EXPECT_EQ(ReadBytes(dir.path() + "/keep.jpg"), "precious");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(PipelineTest, OutputOntoAFolderFailsAndMissingSubfoldersAreMade) {
    const QString input = Input("a.dds", DdsRgb24(TestPicture(8, 8)));
    QDir(dir.path()).mkdir("a.jpg");
    EXPECT_FALSE(Convert(input));
    EXPECT_TRUE(result.failure.startsWith("cannot write " + dir.path() + "/a.jpg: "))
        << result.failure.toStdString();
    // A subfolder of the input is made below the output folder.
    subfolder = "missing/deeper/";
    EXPECT_TRUE(Convert(input)) << result.failure.toStdString();
    EXPECT_EQ(result.output, dir.path() + "/missing/deeper/a.jpg");
    EXPECT_TRUE(InspectJpeg(result.output).ok);
    // A file where the subfolder would be: that file fails, with the reason.
    ASSERT_TRUE(WriteBytes(dir.path() + "/blocked", "a file"));
    subfolder = "blocked/sub/";
    EXPECT_FALSE(Convert(input));
    EXPECT_EQ(result.failure,
              "cannot create the folder " + dir.path() + "/blocked/sub/: Not a directory");
    settings.keepSubfolders = 0;
    settings.filenameMask = "b.%ext%";
    EXPECT_TRUE(Convert(input));
    // Only the input, the folder a.jpg, missing/, blocked and b.jpg: no temporary files remain.
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
        5);
}

TEST_F(PipelineTest, ConvertingTwiceOverwrites) {
    const QString input = Input("twice.dds", DdsRgb24(TestPicture(8, 8)));
    ASSERT_TRUE(WriteBytes(dir.path() + "/twice.jpg", "old"));
    ASSERT_TRUE(Convert(input));
    ASSERT_TRUE(Convert(input));
    EXPECT_TRUE(InspectJpeg(dir.path() + "/twice.jpg").ok);
}

TEST_F(PipelineTest, OutputFilesGetOrdinaryPermissions) {
    ASSERT_TRUE(Convert(Input("perm.dds", DdsRgb24(TestPicture(8, 8)))));
    const QFileDevice::Permissions p = QFileInfo(result.output).permissions();
    EXPECT_TRUE(p & QFileDevice::ReadOwner);
    EXPECT_TRUE(p & QFileDevice::ReadOther); // not the 0600 of a private temporary file
}

// What a worker run said of each file, in list order.
class Collector : public BatchObserver {
public:
    void FileStarted(const QString&) override {}
    void FileFinished(const QString& input, const QString& output, bool converted,
                      const QString& failure) override {
        std::lock_guard guard(lock);
        outcomes[input] = {output, converted, failure};
    }
    struct Outcome {
        QString output;
        bool converted = false;
        QString failure;
    };
    std::mutex lock;
    std::map<QString, Outcome> outcomes;
};

class WorkerTest : public PipelineTest {
protected:
    BatchProgress progress;
    Collector collector;
    int32_t Run() {
        progress.Reset();
        collector.outcomes.clear();
        BatchWorker(Request(), progress, &collector);
        return progress.converted;
    }
    QString OutputOf(const QString& input) { return FileNameOf(collector.outcomes[input].output); }
};

// A failed file takes no number: the next file that converts takes it, and the
// first converted file takes the run's random number, however many jobs run.
TEST_F(WorkerTest, CountersFollowConvertedFilesWhateverTheJobs) {
    const QString a = Input("a.dds", DdsRgb24(TestPicture(8, 8)));
    const QString b = Input("b.dds", QByteArray("broken"));
    const QString c = Input("c.dds", DdsDxt1(TestPicture(300, 300)));
    const QString d = Input("d.dds", DdsRgb24(TestPicture(4, 4)));
    const QString e = Input("e.dds", QByteArray("DDS "));
    const QString f = Input("f.dds", DdsDxt5(TestPicture(16, 16)));
    const QString zero = Input("0.dds", QByteArray());
    state.counter = 7;
    const QString random = QString::number(state.randomNumber).rightJustified(5, '0');
    struct Case {
        const char* mask;
        QStringList expected; // for a, c, d, f
    };
    const Case cases[] = {
        {"%filename%_%n%.%ext%", {"a_00007.jpg", "c_00008.jpg", "d_00009.jpg", "f_00010.jpg"}},
        {"%n%.%ext%", {"00007.jpg", "00008.jpg", "00009.jpg", "00010.jpg"}},
    };
    for (const Case& k : cases)
        for (int jobs : {1, 2, 4}) {
            SCOPED_TRACE(std::string(k.mask) + " jobs " + std::to_string(jobs));
            for (bool leadingFailure : {false, true}) { // the list's first file fails, or not
                state.inputList.clear();
                for (const QString& input : {a, b, c, d, e, f})
                    state.inputList.insert(input, {});
                if (leadingFailure) state.inputList.insert(zero, {});
                settings.jobs = jobs;
                settings.filenameMask = k.mask;
                ASSERT_EQ(Run(), 4);
                const QStringList got = {OutputOf(a), OutputOf(c), OutputOf(d), OutputOf(f)};
                EXPECT_EQ(got, k.expected);
                EXPECT_FALSE(collector.outcomes[e].converted);
            }
        }
    // The first file that converts, not the first of the list, takes the run's number.
    settings.filenameMask = "%rnd%_%filename%.%ext%";
    for (int jobs : {1, 3}) {
        state.inputList.clear();
        state.inputList.insert(b, {});
        state.inputList.insert(c, {});
        settings.jobs = jobs;
        ASSERT_EQ(Run(), 1);
        EXPECT_EQ(OutputOf(c), random + "_c.jpg") << jobs;
    }
}

// Two files that would be saved under one name: the earlier in the list wins,
// even when it takes far longer to get there.
TEST_F(WorkerTest, TheFirstFileOfTheListWinsAName) {
    const QString slow = Input("1slow.dds", DdsDxt5(TestPicture(1500, 1500)));
    const QString fast = Input("2fast.dds", DdsRgb24(TestPicture(4, 4)));
    state.inputList.insert(slow, {});
    state.inputList.insert(fast, {});
    settings.filenameMask = "same.%ext%";
    settings.doImageRotation = 1;
    settings.imageRotation = 33; // slow for the large picture
    for (int jobs : {1, 2}) {
        settings.jobs = jobs;
        ASSERT_EQ(Run(), 1) << jobs;
        EXPECT_TRUE(collector.outcomes[slow].converted) << jobs;
        EXPECT_EQ(collector.outcomes[fast].failure,
                  "another file of this run is saved as " + dir.path() + "/same.jpg");
        EXPECT_GT(InspectJpeg(dir.path() + "/same.jpg").width, 1500);
    }
}

// A conversion leaves its request as it was: files converted from one request in
// either order come out the same.
TEST_F(WorkerTest, TheRequestIsTheSameForEveryFile) {
    const QString a = Input("x.dds", DdsDxt1(TestPicture(40, 24)));
    const QString b = Input("y.dds", DdsRgb24(TestPicture(17, 9)));
    settings.filenameMask = "%filename%_%width%_%n%.%ext%";
    settings.doWatermark = 0;
    settings.doFrame = 1;
    settings.solidLeft = 3;
    const ConversionRequest request = Request();
    QByteArray outputs[2][2];
    for (int order = 0; order < 2; ++order) {
        for (int k = 0; k < 2; ++k) {
            FileJob job;
            job.input = (k == order) ? a : b;
            const FileResult r = ConvertFile(request, job);
            ASSERT_TRUE(r.converted) << r.failure.toStdString();
            outputs[order][job.input == a ? 0 : 1] = ReadBytes(r.output);
            QFile::remove(r.output);
        }
    }
    EXPECT_FALSE(outputs[0][0].isEmpty());
    EXPECT_TRUE(outputs[0][0] == outputs[1][0]);
    EXPECT_TRUE(outputs[0][1] == outputs[1][1]);
}

TEST_F(WorkerTest, StoppedBeforeStartConvertsNothing) {
    state.inputList.insert(Input("s.dds", DdsRgb24(TestPicture(8, 8))), {});
    progress.Reset();
    progress.Stop();
    BatchWorker(Request(), progress);
    EXPECT_EQ(progress.converted, 0);
    EXPECT_EQ(progress.index, 0);
}

TEST_F(WorkerTest, FileTimestamps) {
    const QString input = Input("t.dds", DdsRgb24(TestPicture(8, 8)));
    ASSERT_TRUE(SetModificationTime(input, 1500000000));
    state.inputList.insert(input, {});
    settings.fileTimestamp = 1;
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(ModificationTime(dir.path() + "/t.jpg"), 1500000000);

    // 2019-01-01 12:00:00 local time.
    settings.fileTimestamp = 2;
    settings.customTimestamp = 1546344000;
    ASSERT_EQ(Run(), 1);
    const std::time_t written = ModificationTime(dir.path() + "/t.jpg");
    std::tm local{};
    localtime_r(&written, &local);
    EXPECT_EQ(local.tm_year, 119);
    EXPECT_EQ(local.tm_mon, 0);
    EXPECT_EQ(local.tm_mday, 1);
    EXPECT_EQ(local.tm_hour, 12);
    EXPECT_EQ(local.tm_min, 0);

    settings.fileTimestamp = 0;
    ASSERT_EQ(Run(), 1);
    EXPECT_LE(std::llabs(ModificationTime(dir.path() + "/t.jpg") - std::time(nullptr)), 5);
}

// Decoding without alpha for a JPEG must not change a single byte of any output.
TEST_F(PipelineTest, OpaqueDecodeWritesIdenticalFiles) {
    QImage big = TestPicture(1100, 1000); // large enough for the huge-page store
    const QString input = Input("same.dds", DdsDxt5(big));
    const QString bgra = Input("same32.dds", DdsBgra32(TestPicture(300, 200)));
    struct Combo {
        const char* name;
        std::function<void(Settings&)> set;
    };
    const Combo combos[] = {
        {"defaults", [](Settings&) {}},
        {"rotate",
         [](Settings& s) {
             s.doImageRotation = 1, s.imageRotation = 33, s.imageRotationBackColor = "102030";
         }},
        {"rotate advanced",
         [](Settings& s) { s.doImageRotation = 1, s.imageRotation = 10, s.imageRotationType = 1; }},
        {"resize",
         [](Settings& s) {
             s.doImageResize = 1, s.imageWidth = 37, s.imageHeight = 61, s.imageWidthUnit = 1,
             s.imageHeightUnit = 1;
         }},
        {"flip and tones",
         [](Settings& s) {
             s.doImageFlipVertical = 1, s.doImageColorCorrection = 1, s.imageContrast = 30,
             s.imageGamma = 1.4f;
         }},
        {"greyscale", [](Settings& s) { s.doImageGreyscale = 1; }},
        {"threshold", [](Settings& s) { s.doImageThreshold = 1, s.imageThreshold = 90; }},
        {"load as rgba", [](Settings& s) { s.ddsLoadAs = 2; }},
        {"frame",
         [](Settings& s) { s.doFrame = 1, s.solidLeft = 9, s.solidTop = 4, s.solidOpacity = 99; }},
        {"8-bit", [](Settings&) {}},
    };
    for (const QString& file : {input, bgra})
        for (const Combo& c : combos) {
            SCOPED_TRACE(c.name);
            QByteArray outputs[2];
            int32_t sourceBpp[2] = {};
            for (int opaque = 0; opaque < 2; ++opaque) {
                ResetSettings(settings, true);
                c.set(settings);
                options.allowOpaqueDecode = opaque == 1;
                outputBpp = std::string(c.name) == "8-bit" ? 8 : 0;
                ASSERT_TRUE(Convert(file));
                outputs[opaque] = ReadBytes(result.output);
                sourceBpp[opaque] = result.sourceBpp;
            }
            if (std::string(c.name) != "load as rgba") { // that step makes 32 bits of both
                EXPECT_EQ(sourceBpp[0], 32);             // the two runs really decoded differently
                EXPECT_EQ(sourceBpp[1], 24);
            }
            EXPECT_FALSE(outputs[0].isEmpty());
            EXPECT_TRUE(outputs[0] == outputs[1]);
        }
}

// The strip-by-strip conversion writes what the whole-picture path writes, byte
// for byte: every file of the conformance corpus, sizes that end inside a block,
// an encoder unit and a strip, and every chroma and encoding choice.
TEST_F(PipelineTest, StreamingWritesIdenticalFiles) {
    QStringList inputs;
    const QDir corpus(CorpusFolder());
    for (const QString& name : corpus.entryList({"*.dds"}, QDir::Files))
        inputs << corpus.filePath(name);
    ASSERT_GE(inputs.size(), 20);
    inputs << Input("one.dds", DdsDxt5(TestPicture(1, 1)))
           << Input("odd.dds", DdsDxt1(TestPicture(5, 3)))
           << Input("strips.dds", DdsDxt5(TestPicture(130, 197)))
           << Input("wide.dds", DdsBgra32(TestPicture(1031, 71)))
           << Input("rgb.dds", DdsRgb24(TestPicture(67, 129)));
    int streamed = 0;
    for (const QString& input : inputs) {
        for (int chroma = 0; chroma < 4; ++chroma) {
            for (int saveAs = 0; saveAs < 4; ++saveAs) {
                // The whole corpus with the defaults, the rest of the choices on
                // the made-up files (which cover the odd sizes).
                if ((chroma || saveAs) && input.startsWith(corpus.path())) continue;
                SCOPED_TRACE((input + QString(" chroma %1 save as %2").arg(chroma).arg(saveAs))
                                 .toStdString());
                settings.jpgChroma = int8_t(chroma);
                settings.jpgSaveAs = int8_t(saveAs);
                settings.jpgQuality = 87;
                QByteArray outputs[2];
                bool converted[2] = {};
                for (int stream = 0; stream < 2; ++stream) {
                    options.allowStreaming = stream == 1;
                    converted[stream] = Convert(input);
                    if (stream == 1 && result.streamed)
                        ++streamed;
                    else
                        EXPECT_FALSE(result.streamed);
                    outputs[stream] = ReadBytes(result.output);
                    QFile::remove(result.output);
                }
                ASSERT_EQ(converted[0], converted[1]);
                EXPECT_TRUE(outputs[0] == outputs[1]);
            }
        }
    }
    options.allowStreaming = true;
    // Most of the corpus is colour and so takes the strip path.
    EXPECT_GE(streamed, 60);
}

// Every choice of picture and channels stays on the strip path and writes what
// the whole-picture path writes.
TEST_F(PipelineTest, TextureChoicesStreamAndMatchTheWholePicture) {
    // A 12 x 12 DXT5 cube (faces cut blocks at no edge) with three levels.
    QByteArray cube = DdsDxt5(TestPicture(12, 12)).left(128);
    for (int face = 0; face < 6; ++face)
        for (int level : {12, 6, 3})
            cube += DdsDxt5(TestPicture(level, level).mirrored(face & 1, face & 2)).mid(128);
    auto patch = [&cube](int offset, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            cube[offset + i] = char((v >> (8 * i)) & 0xFF);
    };
    patch(28, 3);               // mip levels
    patch(112, 0x200 | 0xFC00); // a cube with every face
    const QString input = Input("sky.dds", cube);
    struct Choice {
        const char* name;
        std::function<void(Settings&)> set;
        int width, height;
    };
    const Choice choices[] = {
        {"first face", [](Settings&) {}, 12, 12},
        {"cross", [](Settings& s) { s.ddsCubeLayout = 1; }, 48, 36},
        {"strip of level 1", [](Settings& s) { s.ddsCubeLayout = 2, s.ddsMipLevel = 1; }, 36, 6},
        {"over a background",
         [](Settings& s) { s.ddsAlpha = 1, s.ddsBackground = "20A0F0", s.ddsCubeLayout = 1; }, 48,
         36},
        {"rebuilt as a normal map", [](Settings& s) { s.ddsNormalMap = 2; }, 12, 12},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.name);
        ResetSettings(settings, true);
        c.set(settings);
        QByteArray outputs[2];
        for (int stream = 0; stream < 2; ++stream) {
            options.allowStreaming = stream == 1;
            ASSERT_TRUE(Convert(input)) << result.failure.toStdString();
            EXPECT_EQ(result.streamed, stream == 1);
            EXPECT_EQ(result.width, c.width);
            EXPECT_EQ(result.height, c.height);
            outputs[stream] = ReadBytes(result.output);
        }
        EXPECT_TRUE(outputs[0] == outputs[1]);
    }
    options.allowStreaming = true;
    // A level the file does not have: the file fails with what it has.
    settings.ddsMipLevel = 5;
    EXPECT_FALSE(Convert(input));
    EXPECT_EQ(result.failure, "the texture has 3 mip levels (0..2)");
}
