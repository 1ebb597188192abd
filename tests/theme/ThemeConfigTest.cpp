#include "theme/ThemeConfig.h"

#include <gtest/gtest.h>

using namespace tarvix;

TEST(ThemeValue, SectionsKeysAndTheirQuirks) {
    const QString text = "[Theme]\r\nName=Hand Drawn\r\n[Icons]\r\nNewFolder=folder\r\n"
                         "New = new \r\nOpen=open=old\r\nLast=last";
    EXPECT_EQ(ThemeValue(text, "Theme", "Name"), "Hand Drawn");
    EXPECT_EQ(ThemeValue(text, "theme", "NAME"), "Hand Drawn"); // letter case ignored
    // A key that begins an earlier key's line takes that line.
    EXPECT_EQ(ThemeValue(text, "Icons", "New"), "folder");
    EXPECT_EQ(ThemeValue(text, "Icons", "NewFolder"), "folder");
    // Only the text between the first and second "=".
    EXPECT_EQ(ThemeValue(text, "Icons", "Open"), "open");
    // The last line has no CR LF after it.
    EXPECT_EQ(ThemeValue(text, "Icons", "Last"), "");
    // A key of another section, a missing section, a missing key.
    EXPECT_EQ(ThemeValue(text, "Theme", "Open"), "");
    EXPECT_EQ(ThemeValue(text, "Buttons", "Convert"), "");
    EXPECT_EQ(ThemeValue(text, "Icons", "Exit"), "");
    EXPECT_EQ(ThemeValue("", "Icons", "New"), "");
}

TEST(ThemeValue, LineFeedsAloneGiveNothing) {
    const QString text = "[Theme]\nName=Unix\n[Icons]\nNew=new\n";
    EXPECT_EQ(ThemeValue(text, "Theme", "Name"), "");
    EXPECT_EQ(ThemeValue(text, "Icons", "New"), "");
}

TEST(ThemeValue, NameHoldingEqualsSigns) {
    EXPECT_EQ(ThemeValue("[Theme]\r\nName=A=B=C\r\n", "Theme", "Name"), "A");
}

TEST(TrimThemeValue, EachKindOnceInItsOrder) {
    EXPECT_EQ(TrimThemeValue(""), "");
    EXPECT_EQ(TrimThemeValue("  new  "), "new");
    EXPECT_EQ(TrimThemeValue(" \tnew\t "), "new");
    // Tabs go after blanks: blanks inside the tabs stay.
    EXPECT_EQ(TrimThemeValue("\t new \t"), " new ");
    // CR before LF: a CR behind an LF survives.
    EXPECT_EQ(TrimThemeValue("\r\nnew\r\n"), "new\r");
    EXPECT_EQ(TrimThemeValue("\n\rnew"), "\rnew");
}

TEST(DecodeThemeText, UpToTheFirstNulAsUtf8OrLatin1) {
    EXPECT_EQ(DecodeThemeText(QByteArray("ab\0cd", 5)), "ab");
    EXPECT_EQ(DecodeThemeText("Gr\xc3\xbcn"), QString::fromUtf8("Gr\xc3\xbcn"));
    EXPECT_EQ(DecodeThemeText("Gr\xfcn"), QString::fromLatin1("Gr\xfcn"));
    EXPECT_EQ(DecodeThemeText(QByteArray()), "");
}
