#include "core/StringTable.h"

#include <gtest/gtest.h>

using namespace tarvix;

class StringTableTest : public ::testing::Test {
protected:
    void SetUp() override { LoadStringTable(); }
};

TEST_F(StringTableTest, LookupIgnoresCase) {
    EXPECT_EQ(GetText("Menu", "Exit"), "Exit");
    EXPECT_EQ(GetText("menu", "exit"), "Exit");
    EXPECT_EQ(GetText("MENU", "Exit"), "Exit");
    EXPECT_EQ(GetText("Menu", "Custom Converter"), "Find a File Converter...");
    EXPECT_EQ(GetText("Custom-Converter", "Title"), "Find a File Converter");
    // Alternating groups exercise the remembered group both ways.
    EXPECT_EQ(GetText("About", "Email"), "E-mail:");
    EXPECT_EQ(GetText("Uninstall", "Next"), "Next");
    EXPECT_EQ(GetText("About", "Website"), "Web:");
}

TEST_F(StringTableTest, MissingGroupKeyOrEmptyKey) {
    EXPECT_EQ(GetText("Nope", "Exit"), "%NO_STRING_ERROR%");
    EXPECT_EQ(GetText("Menu", "Nope"), "%NO_STRING_ERROR%");
    EXPECT_EQ(GetText("Menu", ""), "%NO_STRING_ERROR%");
    EXPECT_EQ(GetText("Menu", "Exi"), "%NO_STRING_ERROR%");
    EXPECT_EQ(GetText("Menu", "Exits"), "%NO_STRING_ERROR%");
    EXPECT_EQ(GetText("", ""), "%NO_STRING_ERROR%");
}

TEST_F(StringTableTest, ContentOfEveryGroup) {
    EXPECT_EQ(GetText("General", "Preparing"), "Preparing...");
    EXPECT_EQ(GetText("Msg", "Files converted"), "Files converted: %s1% of %s2%");
    EXPECT_EQ(GetText("Msg", "Conversion is not complete"), "Conversion stopped");
    EXPECT_EQ(GetText("Msg", "Invalid output folder"),
              "The following output folder is invalid or doesn't exist:\r\n%s1%\r\n\r\n"
              "Please, correct the output path and try again!");
    EXPECT_EQ(GetText("Dialog", "Import Input Files"), "Import Input Files From A List");
    EXPECT_EQ(GetText("Preferences", "Medium"), "Medium");
    EXPECT_EQ(GetText("Preferences", "Font Size"), "Font Size:");
    EXPECT_EQ(GetText("Preferences", "Keep Aspect Ratio"), "Keep Proportions:");
    EXPECT_EQ(GetText("Preferences", "Clean Recent Files"), "Clean Recent Files List on Exit");
    EXPECT_EQ(GetText("Preferences", "Bspline"), "B-Spline");
    EXPECT_EQ(GetText("Preferences", "Csv"), "CSV");
}

TEST(StringTableLoader, DuplicateKeysAreKeptAndTheFirstSortedWins) {
    static const char16_t data[] =
        u"_GROUP_\0G\0b\0two\0a\0zeta\0a\0alpha\0B2\0x\0_GROUP_\0H\0k\0v\0_END_\0";
    LoadStringTableFrom(data, sizeof(data) / sizeof(char16_t));
    EXPECT_EQ(GetText("g", "A"), "alpha");
    EXPECT_EQ(GetText("g", "b"), "two");
    EXPECT_EQ(GetText("g", "b2"), "x");
    EXPECT_EQ(GetText("h", "K"), "v");
    EXPECT_EQ(GetText("g", "c"), "%NO_STRING_ERROR%");
    LoadStringTableFrom(kStringTableData, kStringTableDataLength);
}

TEST(FormatText, PlaceholdersAndEmptyArguments) {
    const QString text = "Files converted: %s1% of %s2%";
    EXPECT_EQ(FormatText(text, "3", "5"), "Files converted: 3 of 5");
    EXPECT_EQ(FormatText(text, "", "5"), "Files converted: %s1% of 5");
    EXPECT_EQ(FormatText("%S1%+%s1%", "x"), "x+x");
    EXPECT_EQ(FormatText("%s4%%s3%", "", "", "c", "d"), "dc");
    EXPECT_EQ(FormatText("", "x"), "");
    EXPECT_EQ(FormatText("a\r\nb %s1%", "c"), "a\r\nb c");
}
