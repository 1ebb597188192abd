#include "settings/Settings.h"
#include "core/AppInfo.h"
#include "platform/LocalTime.h"
#include "settings/SettingsTable.h"

#include <gtest/gtest.h>

using namespace tarvix;

TEST(ResetSettings, DefaultsOfEveryGroup) {
    Settings s;
    ResetSettings(s, false);
    EXPECT_EQ(s.cfg, 17);
    EXPECT_EQ(s.language, "en");
    EXPECT_EQ(s.updateRange, 2);
    EXPECT_EQ(s.saveWindowPosition, 1);
    EXPECT_EQ(s.width, 510);
    EXPECT_EQ(s.height, 260);
    EXPECT_EQ(s.uiTheme, "handdrawn");
    EXPECT_EQ(s.uiSize, 2);
    EXPECT_EQ(s.inputFormat, "dds");
    EXPECT_EQ(s.outputFormat, "jpg");
    EXPECT_EQ(s.rawToneMapping, 2);
    EXPECT_EQ(s.jpgQuality, 95);
    EXPECT_EQ(s.jpgChroma, 0);
    EXPECT_EQ(s.imageRotationBackColor, "000000");
    EXPECT_EQ(s.imageResizeAlgorithm, 3);
    EXPECT_FLOAT_EQ(s.imageGamma, 1.0f);
    EXPECT_EQ(s.solidOpacity, 255);
    EXPECT_EQ(s.text, ProductNotice());
    EXPECT_EQ(s.fonts, "Arial,Tahoma,Verdana");
    EXPECT_EQ(s.font, "Arial");
    EXPECT_EQ(s.fontSize, 14);
    EXPECT_EQ(s.fontColor, "FFFFFF");
    EXPECT_EQ(s.fontColors, "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF");
    EXPECT_EQ(s.backColors, s.fontColors);
    EXPECT_EQ(s.textPosition, 8);
    EXPECT_EQ(s.textXOffset, 10);
    EXPECT_EQ(s.textYOffset, 10);
    EXPECT_EQ(s.textScale, 10);
    EXPECT_EQ(s.imagePosition, 8);
    EXPECT_EQ(s.filenameMask, "%filename%.%ext%");
    EXPECT_EQ(s.outFoldersHistory, 1);
    EXPECT_EQ(s.outFoldersNumber, 5);
    EXPECT_EQ(s.keepSubfolders, 1);
    // The background box is nearly invisible by default, unlike the other opacities.
    EXPECT_EQ(s.backOpacity, 1);
    EXPECT_EQ(s.textOpacity, 255);
    EXPECT_EQ(s.imageOpacity, 255);
}

TEST(ResetSettings, DatesAreTheLocalClock) {
    Settings s;
    const int64_t before = LocalNowSeconds();
    ResetSettings(s, false);
    const int64_t after = LocalNowSeconds();
    EXPECT_GE(s.updateDate, before);
    EXPECT_LE(s.updateDate, after);
    EXPECT_GE(s.customTimestamp, before);
    EXPECT_LE(s.customTimestamp, after);
}

TEST(ResetSettings, CommandLineDiffersOnlyInKeepAspectRatio) {
    Settings cli, win;
    ResetSettings(cli, true);
    ResetSettings(win, false);
    EXPECT_EQ(cli.keepAspectRatio, 0);
    EXPECT_EQ(win.keepAspectRatio, 1);
    for (const SettingDef& def : SettingsTable()) {
        if (QLatin1String(def.key) == QLatin1String("Keep Aspect Ratio")) continue;
        if (def.defaultKind == DefaultKind::Now) continue; // the clock may tick between the two
        EXPECT_EQ(GetNumber(cli, def), GetNumber(win, def)) << def.key;
        EXPECT_EQ(GetText(cli, def), GetText(win, def)) << def.key;
    }
}

TEST(ResetSettings, WindowIsCentredOnTheDesktop) {
    Settings s;
    ResetSettings(s, false, QSize(1920, 1080));
    EXPECT_EQ(s.x, 705);
    EXPECT_EQ(s.y, 410);
    ResetSettings(s, false, QSize(500, 1080));
    EXPECT_EQ(s.x, 100);
    ResetSettings(s, false, QSize(510, 260));
    EXPECT_EQ(s.x, 100); // strictly wider only
    EXPECT_EQ(s.y, 100);
    ResetSettings(s, false);
    EXPECT_EQ(s.x, 100);
}

TEST(ResetSettings, EmptiesHistoriesButKeepsNonPersistedFields) {
    Settings s;
    s.recentOutFolders = "/a/\t/b/";
    s.recentFiles = "x";
    s.configPath = "/keep/config.ini";
    s.layoutControlTop = 42;
    ResetSettings(s, false);
    EXPECT_TRUE(s.recentOutFolders.isEmpty());
    EXPECT_TRUE(s.recentFiles.isEmpty());
    EXPECT_EQ(s.configPath, "/keep/config.ini");
    EXPECT_EQ(s.layoutControlTop, 42);
}

TEST(ColorText, ReadsSixHexDigits) {
    EXPECT_EQ(ColorText("FF8000"), (Rgb{255, 128, 0}));
    EXPECT_EQ(ColorText("ff8000"), (Rgb{255, 128, 0}));
    EXPECT_EQ(ColorText("FFF"), Rgb{});
    EXPECT_EQ(ColorText(""), Rgb{});
    EXPECT_EQ(ColorText("FF80001"), Rgb{});
    // A pair stops at its first non-digit, keeping what was read.
    EXPECT_EQ(ColorText("ZZ8000").red, 0);
    EXPECT_EQ(ColorText("F#8000").red, 15);
    EXPECT_EQ(ColorText("ZZ8000").green, 128);
}

TEST(SettingsTable, EightBitFieldsKeepTheLowBits) {
    Settings s;
    const SettingDef* maximized = FindSetting("Window", "IsMaximized");
    ASSERT_NE(maximized, nullptr);
    SetNumber(s, *maximized, 257);
    EXPECT_EQ(s.isMaximized, 1);
    SetNumber(s, *maximized, 256);
    EXPECT_EQ(s.isMaximized, 0);
    SetNumber(s, *maximized, 200);
    EXPECT_EQ(s.isMaximized, -56);
    const SettingDef* quality = FindSetting("output", "jpg quality");
    ASSERT_NE(quality, nullptr);
    SetNumber(s, *quality, 0x1'0000'0005LL);
    EXPECT_EQ(s.jpgQuality, 5);
}

TEST(SettingsTable, SameKeyInTwoGroupsIsTwoFields) {
    const SettingDef* inFormat = FindSetting("Input", "Format");
    const SettingDef* outFormat = FindSetting("Output", "Format");
    const SettingDef* rotation = FindSetting("Transform", "Image Rotation");
    const SettingDef* wmRotation = FindSetting("Watermark", "Image Rotation");
    ASSERT_TRUE(inFormat && outFormat && rotation && wmRotation);
    EXPECT_NE(inFormat, outFormat);
    EXPECT_NE(rotation, wmRotation);
    Settings s;
    SetNumber(s, *rotation, 90);
    SetNumber(s, *wmRotation, 45);
    EXPECT_EQ(s.imageRotation, 90);
    EXPECT_EQ(s.watermarkImageRotation, 45);
}

TEST(SettingsTable, EveryKeyIsUniqueWithinItsGroup) {
    const auto table = SettingsTable();
    for (size_t i = 0; i < table.size(); ++i)
        for (size_t j = i + 1; j < table.size(); ++j)
            EXPECT_FALSE(QLatin1String(table[i].group) == QLatin1String(table[j].group) &&
                         QLatin1String(table[i].key) == QLatin1String(table[j].key))
                << table[i].key;
}
