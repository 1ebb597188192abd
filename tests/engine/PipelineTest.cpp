#include "engine/Pipeline.h"
#include "DdsBuilder.h"
#include "TestSupport.h"
#include "engine/BatchWorker.h"
#include "engine/Steps.h"
#include "platform/FileTimes.h"
#include "platform/LocalTime.h"
#include "request/ConversionRequest.h"
#include "request/OutputDepth.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

class PipelineTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Settings settings;
    RunState state;

    void SetUp() override {
        ResetSettings(settings, true);
        ResetRunState(state);
        state.cliInputGiven = 1;
        state.outputFolder = dir.path() + "/";
        state.conversionType = "jpg";
        state.formatCode = FIF_JPEG;
        state.outputBpp = 0;
        state.autoDepth = 1;
        state.saveFlags = SaveFlagsFor("jpg", settings);
    }

    QString Input(const QString& name, const QByteArray& bytes) {
        const QString path = dir.path() + "/" + name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }

    bool Convert(const QString& input) {
        state.currentInputFile = input;
        return ConvertFile(state, settings);
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
    EXPECT_EQ(state.currentOutputFile, dir.path() + "/picture.jpg");
    EXPECT_EQ(state.sourceBpp, 24); // decoded without alpha: a JPEG cannot keep it
    EXPECT_EQ(state.outputBpp, 24);
    const JpegInfo info = InspectJpeg(state.currentOutputFile);
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
    state.saveFlags = SaveFlagsFor("jpg", settings);
    ASSERT_TRUE(Convert(Input("p.dds", DdsRgb24(TestPicture(32, 32)))));
    const JpegInfo info = InspectJpeg(state.currentOutputFile);
    ASSERT_TRUE(info.ok);
    EXPECT_TRUE(info.progressive);
    EXPECT_EQ(info.hSamp[0], 2); // 4:2:0
    EXPECT_EQ(info.vSamp[0], 2);
    EXPECT_EQ(info.luminanceTable, ExpectedLuminanceTable(60));
}

TEST_F(PipelineTest, EightBitJpegIsGreyscale) {
    state.outputBpp = 8;
    state.autoDepth = 0;
    ASSERT_TRUE(Convert(Input("p.dds", DdsRgb24(TestPicture(16, 16)))));
    EXPECT_EQ(InspectJpeg(state.currentOutputFile).components, 1);
}

TEST_F(PipelineTest, LoadAsRgbaSwapsChannelsOfA24BitImage) {
    settings.ddsLoadAs = 2;
    settings.jpgQuality = 100;
    state.saveFlags = SaveFlagsFor("jpg", settings);
    ASSERT_TRUE(Convert(Input("red.dds", DdsRgb24(Solid(16, 16, qRgb(255, 0, 0))))));
    const QImage out(state.currentOutputFile);
    ASSERT_FALSE(out.isNull());
    EXPECT_LT(qRed(out.pixel(8, 8)), 8);
    EXPECT_GT(qBlue(out.pixel(8, 8)), 247);
    settings.ddsLoadAs = 1;
    ASSERT_TRUE(Convert(Input("red.dds", DdsRgb24(Solid(16, 16, qRgb(255, 0, 0))))));
    EXPECT_GT(qRed(QImage(state.currentOutputFile).pixel(8, 8)), 247);
}

TEST_F(PipelineTest, FailedLoadWritesNothingAndKeepsThePreviousOutputPath) {
    ASSERT_TRUE(Convert(Input("good.dds", DdsRgb24(TestPicture(8, 8)))));
    const QString previous = state.currentOutputFile;
    EXPECT_FALSE(Convert(Input("empty.dds", QByteArray())));
    EXPECT_FALSE(Convert(Input("text.dds", QByteArray("this is not a picture"))));
    EXPECT_FALSE(Convert(dir.path() + "/missing.dds"));
    EXPECT_EQ(state.currentOutputFile, previous);
    EXPECT_FALSE(QFile::exists(dir.path() + "/empty.jpg"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/text.jpg"));
}

TEST_F(PipelineTest, FailedSaveKeepsAnExistingFileIntact) {
    const QString input = Input("keep.dds", DdsRgb24(TestPicture(8, 8)));
    ASSERT_TRUE(WriteBytes(dir.path() + "/keep.jpg", "precious"));
    state.autoDepth = 0;
    state.outputBpp = 7; // no conversion exists: the pipeline ends without an image
    EXPECT_FALSE(Convert(input));
    EXPECT_EQ(ReadBytes(dir.path() + "/keep.jpg"), "precious");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(PipelineTest, OutputOntoAFolderFailsAndMissingSubfoldersAreMade) {
    const QString input = Input("a.dds", DdsRgb24(TestPicture(8, 8)));
    QDir(dir.path()).mkdir("a.jpg");
    EXPECT_FALSE(Convert(input));
    EXPECT_TRUE(state.failure.startsWith("cannot write " + dir.path() + "/a.jpg: "))
        << state.failure.toStdString();
    // A subfolder of the input is made below the output folder.
    state.currentSubfolder = "missing/deeper/";
    EXPECT_TRUE(Convert(input)) << state.failure.toStdString();
    EXPECT_EQ(state.currentOutputFile, dir.path() + "/missing/deeper/a.jpg");
    EXPECT_TRUE(InspectJpeg(state.currentOutputFile).ok);
    // A file where the subfolder would be: that file fails, with the reason.
    ASSERT_TRUE(WriteBytes(dir.path() + "/blocked", "a file"));
    state.currentSubfolder = "blocked/sub/";
    EXPECT_FALSE(Convert(input));
    EXPECT_EQ(state.failure,
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
    const QFileDevice::Permissions p = QFileInfo(state.currentOutputFile).permissions();
    EXPECT_TRUE(p & QFileDevice::ReadOwner);
    EXPECT_TRUE(p & QFileDevice::ReadOther); // not the 0600 of a private temporary file
}

class WorkerTest : public PipelineTest {
protected:
    BatchProgress progress;
    int32_t Run() {
        progress.Reset();
        BatchWorker(state, settings, progress);
        return progress.converted;
    }
};

TEST_F(WorkerTest, CountsAndAdvancesTheNamingCounter) {
    const QString input = Input("w.dds", DdsRgb24(TestPicture(8, 8)));
    state.inputList.insert(input, {});
    state.counter = 1;
    const int32_t random = state.randomNumber;
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(state.counter, 2);
    EXPECT_EQ(progress.index, 1);
    EXPECT_EQ(progress.path, input);
    (void)random; // a fresh number is drawn; it may equal the old one by chance

    state.inputList.clear();
    state.inputList.insert(dir.path() + "/missing.dds", {});
    const int32_t randomBefore = state.randomNumber;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(state.counter, 2);
    EXPECT_EQ(state.randomNumber, randomBefore);
}

TEST_F(WorkerTest, StoppedBeforeStartConvertsNothing) {
    state.inputList.insert(Input("s.dds", DdsRgb24(TestPicture(8, 8))), {});
    progress.Reset();
    progress.Stop();
    BatchWorker(state, settings, progress);
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
                state.allowOpaqueDecode = opaque == 1;
                state.autoDepth = std::string(c.name) == "8-bit" ? 0 : 1;
                state.outputBpp = state.autoDepth ? 0 : 8;
                ASSERT_TRUE(Convert(file));
                outputs[opaque] = ReadBytes(state.currentOutputFile);
                sourceBpp[opaque] = state.sourceBpp;
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
                state.saveFlags = SaveFlagsFor("jpg", settings);
                QByteArray outputs[2];
                bool converted[2] = {};
                for (int stream = 0; stream < 2; ++stream) {
                    state.allowStreaming = stream == 1;
                    state.outputBpp = 0;
                    converted[stream] = Convert(input);
                    if (stream == 1 && state.streamed)
                        ++streamed;
                    else
                        EXPECT_FALSE(state.streamed);
                    outputs[stream] = ReadBytes(state.currentOutputFile);
                    QFile::remove(state.currentOutputFile);
                }
                ASSERT_EQ(converted[0], converted[1]);
                EXPECT_TRUE(outputs[0] == outputs[1]);
            }
        }
    }
    state.allowStreaming = true;
    // Most of the corpus is colour and so takes the strip path.
    EXPECT_GE(streamed, 60);
}
