#include "request/Naming.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace tarvix;

namespace {

struct Fixture {
    Settings settings;
    NameFacts state;
    Fixture(const QString& input, const QString& mask) {
        ResetSettings(settings, true);
        settings.filenameMask = mask;
        state.input = input;
        state.extension = "jpg";
        state.bpp = 24;
        state.width = 640;
        state.height = 480;
        state.random = 42;
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
    f.state.random = 99999;
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

TEST(OutputFolderOf, SubfolderOnlyWhenKept) {
    Fixture f("/in/x/a.dds", "%filename%.%ext%");
    EXPECT_EQ(OutputFolderOf("/out/", "x/", f.settings), "/out/x/");
    f.settings.keepSubfolders = 0;
    EXPECT_EQ(OutputFolderOf("/out/", "x/", f.settings), "/out/");
}

TEST(UsesRunNumbers, CountingPlaceholdersInTheMaskOrTheText) {
    struct Case {
        const char* mask;
        int watermark;
        const char* text;
        bool numbered;
    };
    const Case cases[] = {
        {"%filename%.%ext%", 0, "", false},
        {"%filename%_%N%.%ext%", 0, "", true},
        {"%RND%.%ext%", 0, "", true},
        {"%filename%.%ext%", 1, "copy %n%", true},
        {"%filename%.%ext%", 2, "copy %n%", false}, // a picture watermark has no text
        {"%filename%_%width%.%ext%", 1, "%rnd%", true},
        {"n%.%ext%", 1, "100% n", false},
    };
    for (const Case& c : cases) {
        Fixture f("/in/a.dds", c.mask);
        f.settings.doWatermark = int8_t(c.watermark);
        f.settings.text = c.text;
        EXPECT_EQ(UsesRunNumbers(f.settings), c.numbered) << c.mask << " / " << c.text;
    }
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
