#include "cli/OptionParser.h"
#include "TestSupport.h"

#include "fuzz/OptionFuzzBody.h"
#include <cmath>

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvix;

namespace {

struct Parsed {
    Settings settings;
    RunState state;
    ParseResult result;
};

Parsed Parse(const QStringList& args) {
    Parsed p;
    ResetSettings(p.settings, true);
    p.result = ParseOptions(ParameterList(args), p.settings, p.state);
    return p;
}

} // namespace

TEST(ParameterList, NamesAndValues) {
    const ParameterList params(
        {" --Jpg-Quality=95 ", "-i", "photo", "--x=a=b", "-o=x", "\"--wm-text=a \"b\"\""});
    EXPECT_EQ(params.OptionName(0), "--JPG-QUALITY");
    EXPECT_EQ(params.OptionValue(0), "95");
    EXPECT_EQ(params.OptionName(1), "-I");
    EXPECT_EQ(params.OptionName(2), "");
    EXPECT_EQ(params.OptionValue(2), "photo");
    EXPECT_EQ(params.OptionValue(3), "a=b");
    EXPECT_EQ(params.OptionName(4), "-O=X"); // a short option glued to a value is unknown
    EXPECT_EQ(params.OptionValue(5), "a b"); // double quotes never reach the parser
    EXPECT_EQ(params.OptionName(9), "");
    EXPECT_EQ(params.OptionValue(-1), "");
}

TEST(ParameterList, BytesThatAreNotUtf8) {
    char arg0[] = "tarvix";
    char arg1[] = "-i";
    char arg2[] = "caf\xE9.dds";
    char* argv[] = {arg0, arg1, arg2, nullptr};
    const ParameterList params = ParameterList::FromArgv(3, argv);
    ASSERT_EQ(params.Count(), 2);
    EXPECT_EQ(params.At(1), QString::fromUtf8("caf\u00E9.dds"));
}

TEST(ParseOptions, MainOptions) {
    Parsed p = Parse({"-i", "a.dds", "--input=b.dds", "-o", "/tmp/out", "--conversion=jpg"});
    EXPECT_TRUE(p.result.error.isEmpty());
    EXPECT_EQ(p.state.cliInputPath, "b.dds"); // the later option wins
    EXPECT_EQ(p.state.cliInputGiven, 1);
    EXPECT_EQ(p.state.outputFolder, "/tmp/out");
    EXPECT_EQ(p.state.conversionType, "jpg");
    p = Parse({"-C", "png"});
    EXPECT_EQ(p.state.conversionType, "png");
    EXPECT_EQ(p.state.cliInputGiven, 0);
}

TEST(ParseOptions, IncorrectNumberOfParameters) {
    for (const QStringList& args :
         {QStringList{"-i"}, QStringList{"-o", "-x"}, QStringList{"--output="},
          QStringList{"--input"}, QStringList{"--width"}, QStringList{"--wm-text=--x"},
          QStringList{"--jpg-quality="}, QStringList{"--profile"}, QStringList{"--profile="},
          QStringList{"-i", ""}}) {
        EXPECT_EQ(Parse(args).result.error, "Incorrect number of parameters")
            << args.join(' ').toStdString();
    }
    // The input flag is set before the value is checked.
    EXPECT_EQ(Parse({"-i"}).state.cliInputGiven, 1);
}

TEST(ParseOptions, ValueGrammars) {
    Parsed p = Parse({"--width=640", "--height=480", "--brightness=-20", "--jpg-quality=95abc",
                      "--gamma=2.5", "--threshold=$80", "--contrast=%1010"});
    EXPECT_TRUE(p.result.error.isEmpty());
    EXPECT_EQ(p.settings.imageWidth, 640);
    EXPECT_EQ(p.settings.imageHeight, 480);
    EXPECT_EQ(p.settings.doImageResize, 1);
    EXPECT_EQ(p.settings.imageBrightness, -20);
    EXPECT_EQ(p.settings.jpgQuality, 95);
    EXPECT_FLOAT_EQ(p.settings.imageGamma, 2.5f);
    EXPECT_EQ(p.settings.imageThreshold, 128);
    EXPECT_EQ(p.settings.doImageThreshold, 1);
    EXPECT_EQ(p.settings.imageContrast, 10);
    EXPECT_EQ(p.settings.doImageColorCorrection, 1);
    EXPECT_EQ(Parse({"--jpg-quality=abc"}).settings.jpgQuality, 0);
    EXPECT_TRUE(std::isnan(Parse({"--gamma=NaN"}).settings.imageGamma));
}

TEST(ParseOptions, WordsAndFlags) {
    Parsed p = Parse({"--dds-load-as=nonsense", "--jpg-chroma= high ", "--invert=0",
                      "--wm-font-effect=strikethrought", "--rotation-type=advanced",
                      "--file-timestamp=original", "--no-subfolders", "--png-interlaced",
                      "--keep-aspect-ratio", "--flip-horizontal", "--greyscale"});
    EXPECT_EQ(p.settings.ddsLoadAs, 0);
    EXPECT_EQ(p.settings.jpgChroma, 3);
    EXPECT_EQ(p.settings.imageInvert, 1); // a flag acts by its presence
    EXPECT_EQ(p.settings.doImageColorCorrection, 1);
    EXPECT_EQ(p.settings.fontEffect, 2);
    EXPECT_EQ(p.settings.imageRotationType, 1);
    EXPECT_EQ(p.settings.fileTimestamp, 1);
    EXPECT_EQ(p.settings.keepSubfolders, 0);
    EXPECT_EQ(p.settings.pngInterlaced, 1);
    EXPECT_EQ(p.settings.keepAspectRatio, 1);
    EXPECT_EQ(p.settings.doImageFlipHorizontal, 1);
    EXPECT_EQ(p.settings.doImageGreyscale, 1);
    EXPECT_EQ(p.settings.doImageColorCorrection, 1);
}

TEST(ParseOptions, CompanionsAndTheLastWatermarkKindWins) {
    Parsed p = Parse({"--wm-image=/x.png", "--wm-text=hello"});
    EXPECT_EQ(p.settings.doWatermark, 1);
    p = Parse({"--wm-text=hello", "--wm-image=/x.png"});
    EXPECT_EQ(p.settings.doWatermark, 2);
    p = Parse({"--fr-solid-top=4", "--fr-solid-opacity=9", "--rotation=45"});
    EXPECT_EQ(p.settings.doFrame, 1);
    EXPECT_EQ(p.settings.solidTop, 4);
    EXPECT_EQ(p.settings.solidOpacity, 9);
    EXPECT_EQ(p.settings.doImageRotation, 1);
    EXPECT_EQ(p.settings.imageRotation, 45);
    p = Parse({"--wm-image-rotation=30"});
    EXPECT_EQ(p.settings.watermarkImageRotation, 30);
    EXPECT_EQ(p.settings.imageRotation, 0);
    EXPECT_EQ(Parse({"--wm-solid-opacity=9"}).settings.solidOpacity, 255); // profile-only name
}

TEST(ParseOptions, OtherOptionsAndIgnoredParameters) {
    Parsed p = Parse({"photo.dds", "-v", "-h", "-u", "--bogus=1", "-q", "-d", "-p", "--unknown"});
    EXPECT_TRUE(p.result.error.isEmpty());
    EXPECT_TRUE(p.result.quiet);
    EXPECT_TRUE(p.result.pause);
    EXPECT_EQ(p.state.runMode, RunMode::Debug);
    EXPECT_EQ(p.state.cliInputGiven, 0);
    // Parsing stops at the first error: a pause after it is not seen.
    p = Parse({"-i", "-p"});
    EXPECT_FALSE(p.result.error.isEmpty());
    EXPECT_FALSE(p.result.pause);
}

TEST(ParseOptions, ProfileAtItsPosition) {
    QTemporaryDir dir;
    const QString profile = dir.path() + "/p.ini";
    ASSERT_TRUE(test::WriteBytes(profile, "[CLI]\r\n--JPG-QUALITY = 70\r\n"));
    EXPECT_EQ(Parse({"--jpg-quality=50", "--profile=" + profile}).settings.jpgQuality, 70);
    EXPECT_EQ(Parse({"--profile=" + profile, "--jpg-quality=50"}).settings.jpgQuality, 50);
    EXPECT_EQ(Parse({"--profile=" + dir.path() + "/missing"}).result.error, "Invalid profile file");
    EXPECT_EQ(Parse({"--profile=" + dir.path()}).result.error, "Invalid profile file");
}

TEST(ParseOptions, ThousandsOfParametersAndHugeValues) {
    QStringList args;
    for (int i = 0; i < 5000; ++i)
        args << QStringLiteral("--width=%1").arg(i);
    args << ("--wm-text=" + QString(200000, QLatin1Char('x')));
    args << "--height=99999999999999999999999999999";
    args << "--rotation=" + QString(100000, QLatin1Char('7'));
    Parsed p = Parse(args);
    EXPECT_TRUE(p.result.error.isEmpty());
    EXPECT_EQ(p.settings.imageWidth, 4999);
    EXPECT_EQ(p.settings.text.size(), 200000);
}

TEST(OptionFuzzFindings, StayFixed) {
    const QDir findings(QStringLiteral(TARVIX_SOURCE_DIR "/tests/cli/fuzz/findings"));
    ASSERT_TRUE(findings.exists());
    for (const QString& name : findings.entryList(QDir::Files))
        if (!name.endsWith(".md"))
            ParseArgumentBytes(tarvix::test::ReadBytes(findings.filePath(name)));
}
