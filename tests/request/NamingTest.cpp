#include "request/Naming.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace tarvix;

namespace {

struct Fixture {
    Settings settings;
    RunState state;
    Fixture(const QString& input, const QString& mask) {
        ResetSettings(settings, true);
        settings.filenameMask = mask;
        state.currentInputFile = input;
        state.outputFolder = "/out/";
        state.conversionType = "jpg";
        state.outputBpp = 24;
        state.outputWidth = 640;
        state.outputHeight = 480;
        state.randomNumber = 42;
        state.counter = 7;
    }
    QString Name() const { return OutputFileName(state, settings); }
};

} // namespace

TEST(OutputFileName, DefaultMaskAndCase) {
    EXPECT_EQ(Fixture("/in/Sunset.DDS", "%filename%.%ext%").Name(), "Sunset.jpg");
    EXPECT_EQ(Fixture("/in/Sunset.DDS", "%FILENAME[U]%_%ext[u]%").Name(), "SUNSET_JPG");
    EXPECT_EQ(Fixture("/in/sUNSET.dds", "%filename[t]%.%ext[t]%").Name(), "Sunset.Jpg");
    EXPECT_EQ(Fixture("/in/MiXed.dds", "%filename[l]%").Name(), "mixed");
    EXPECT_EQ(Fixture("/in/a.dds", "").Name(), "a.jpg");
    EXPECT_EQ(Fixture("/in/a.dds", "%filename%").Name(), "a"); // no extension at all
    // Literal text of the mask is lower-cased.
    EXPECT_EQ(Fixture("/in/a.dds", "Photo_%n%").Name(), "photo_00007");
}

TEST(OutputFileName, NumbersSizesAndCounters) {
    Fixture f("/in/a.b.dds", "%filename%_%bpp%_%width%x%height%_%rnd%_%n%.%ext%");
    EXPECT_EQ(f.Name(), "a.b_24_640x480_00042_00007.jpg");
    f.state.counter = 123456;
    f.state.randomNumber = 99999;
    EXPECT_EQ(f.Name(), "a.b_24_640x480_99999_12345.jpg"); // six digits lose the last one
}

TEST(OutputFileName, DateAndTimeFromTheLocalClock) {
    Fixture f("/in/a.dds", "%yyyy%-%mm%-%dd% %hh%.%ii%.%ss%");
    const QDateTime before = QDateTime::currentDateTime();
    const QString name = f.Name();
    const QDateTime parsed = QDateTime::fromString(name, "yyyy-MM-dd HH.mm.ss");
    ASSERT_TRUE(parsed.isValid()) << name.toStdString();
    EXPECT_LE(std::llabs(parsed.secsTo(before)), 2);
}

TEST(OutputFileName, ValuesHoldingPlaceholdersExpandAgain) {
    EXPECT_EQ(Fixture("/in/%n%.dds", "%filename%.%ext%").Name(), "00007.jpg");
}

TEST(OutputPath, SubfolderOnlyWhenKept) {
    Fixture f("/in/x/a.dds", "%filename%.%ext%");
    f.state.currentSubfolder = "x/";
    EXPECT_EQ(OutputPath(f.state, f.settings), "/out/x/a.jpg");
    f.settings.keepSubfolders = 0;
    EXPECT_EQ(OutputPath(f.state, f.settings), "/out/a.jpg");
}

TEST(WatermarkText, KeepsLiteralCase) {
    Fixture f("/in/Pic.dds", "");
    f.settings.text = "Size: %WIDTH%x%height% of %Filename%";
    EXPECT_EQ(WatermarkText(f.state, f.settings), "Size: 640x480 of Pic");
    f.settings.text = "100% sure";
    EXPECT_EQ(WatermarkText(f.state, f.settings), "100% sure");
    f.settings.text = "%eol% stays %EOL%";
    EXPECT_EQ(WatermarkText(f.state, f.settings), "%eol% stays %EOL%");
}

TEST(StripExtension, LastDotOnly) {
    EXPECT_EQ(StripExtension("a.b.dds"), "a.b");
    EXPECT_EQ(StripExtension("name."), "name");
    EXPECT_EQ(StripExtension("name"), "name");
    EXPECT_EQ(StripExtension(""), "");
}
