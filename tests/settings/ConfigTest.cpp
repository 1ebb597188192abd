#include "settings/Config.h"
#include "TestSupport.h"
#include "core/AppInfo.h"
#include "settings/IniFile.h"

#include "fuzz/IniFuzzBody.h"
#include <QDir>
#include <QFile>

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvix;
using tarvix::test::ReadBytes;
using tarvix::test::WriteBytes;

namespace {

Settings Defaults() {
    Settings s;
    ResetSettings(s, false);
    s.updateDate = 1700000000;
    s.customTimestamp = 1600000000;
    return s;
}

QByteArray Crlf(const char* text) {
    QByteArray bytes(text);
    bytes.replace("\n", "\r\n");
    return QByteArray("\xEF\xBB\xBF\r\n") + bytes;
}

} // namespace

TEST(SaveConfiguration, ExactLayoutOfTheDefaults) {
    Settings s = Defaults();
    s.x = 705;
    s.y = 410;
    const QByteArray expected = Crlf(
        "[General]\nCFG = 17\nLanguage = en\nUpdate Range = 2\nUpdate Date = 1700000000\n"
        "Save Window Position = 1\n; \n"
        "[Window]\nIsMaximized = 0\nWidth = 510\nHeight = 260\nX = 705\nY = 410\n; \n"
        "[Interface]\nUI Theme = handdrawn\nUI Size = 2\n; \n"
        "[Input]\nFormat = dds\nDDS Load As = 0\nDDS Mip Level = 0\nDDS Layer = 0\n"
        "DDS Cube Layout = 0\nDDS Normal Map = 0\nDDS Alpha = 0\nDDS Background = FFFFFF\n; \n"
        "[Output]\nFormat = jpg\nJPG BPP = 0\nJPG Quality = 95\nJPG Chroma = 0\nJPG Save As = 0\n; "
        "\n"
        "[Transform]\nDo Image Rotation = 0\nImage Rotation Type = 0\nImage Rotation = 0\n"
        "Image Rotation Back Color = 000000\nDo Image Resize = 0\nImage Width = 0\n"
        "Image Width Unit = 0\nImage Height = 0\nImage Height Unit = 0\nKeep Aspect Ratio = 1\n"
        "Image Resize Type = 0\nImage Resize Algorithm = 3\nDo Image Flip Horizontal = 0\n"
        "Do Image Flip Vertical = 0\n; \n"
        "[Adjustment]\nDo Image Color Correction = 0\nImage Brightness = 0\nImage Contrast = 0\n"
        "Image Gamma = 1.000000\nImage Invert = 0\nDo Image Greyscale = 0\nDo Image Threshold = 0\n"
        "Image Threshold = 0\n; \n"
        "[Frame]\nDo Frame = 0\nSolid Left = 0\nSolid Right = 0\nSolid Top = 0\nSolid Bottom = 0\n"
        "Solid Left Color = 000000\nSolid Right Color = 000000\nSolid Top Color = 000000\n"
        "Solid Bottom Color = 000000\nSolid Opacity = 255\n; \n"
        "[Watermark]\nDo Watermark = 0\nText = @NOTICE@\nFonts = Arial,Tahoma,Verdana\nFont = "
        "Arial\n"
        "Font Size = 14\nFont Leading = 0\n"
        "Font Colors = 000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF\n"
        "Font Color = FFFFFF\nFont Style = 0\nFont Effect = 0\nText Antialiasing = 0\n"
        "Text Alignment = 0\nText Padding = 0\nText Opacity = 255\n"
        "Back Colors = 000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF\n"
        "Back Color = 000000\nBack Opacity = 1\nText Boundary = 0\nText Position = 8\n"
        "Text X Offset = 10\nText Y Offset = 10\nText Rotation = 0\nText Size = 0\nText Scale = "
        "10\n"
        "Image = \nImage Greyscale = 0\nImage Opacity = 255\nImage Boundary = 0\nImage Position = "
        "8\n"
        "Image X Offset = 10\nImage Y Offset = 10\nImage Rotation = 0\nImage Size = 0\n"
        "Image Scale = 10\n; \n"
        "[Advanced]\nFilename Mask = %filename%.%ext%\nFile Timestamp = 0\n"
        "Custom Timestamp = 1600000000\nOut Folders History = 1\nOut Folders Number = 5\n"
        "Keep Subfolders = 1\n; \n"
        "[File]\nRecent Out Folders = \nRecent Files = \n; \n"
        "[Privacy]\nClean Recent Files = 0\n; \n");
    QByteArray withNotice = expected;
    withNotice.replace("@NOTICE@", ProductNotice().toUtf8());
    EXPECT_EQ(QString::fromUtf8(ConfigurationBytes(s)), QString::fromUtf8(withNotice));
}

TEST(SaveConfiguration, WindowGroupFollowsSaveWindowPosition) {
    Settings s = Defaults();
    s.saveWindowPosition = 0;
    const QByteArray bytes = ConfigurationBytes(s);
    EXPECT_TRUE(bytes.contains("[Window]\r\n; \r\n[Interface]"));
}

TEST(SaveConfiguration, NarrowFieldsAndSpecialRealsAsStored) {
    Settings s = Defaults();
    s.isMaximized = static_cast<int8_t>(200);
    s.cfg = 99;
    s.imageGamma = -INFINITY;
    const QByteArray bytes = ConfigurationBytes(s);
    EXPECT_TRUE(bytes.contains("IsMaximized = -56\r\n"));
    EXPECT_TRUE(bytes.contains("CFG = 17\r\n"));
    EXPECT_TRUE(bytes.contains("Image Gamma = -Infinity\r\n"));
}

TEST(SaveConfiguration, RoundTripKeepsEveryWrittenField) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/config.ini";
    Settings s = Defaults();
    s.jpgQuality = 80;
    s.text = QString::fromUtf8("Wasserzeichen \u00A9 \u65E5\u672C");
    s.imageGamma = 2.5f;
    s.recentOutFolders = "/a/\t/b/";
    s.fontStyle = 3;
    s.x = -20;
    ASSERT_TRUE(SaveConfiguration(s, path));
    Settings loaded;
    LoadConfiguration(loaded, path);
    EXPECT_EQ(loaded.jpgQuality, 80);
    EXPECT_EQ(loaded.text, s.text);
    EXPECT_FLOAT_EQ(loaded.imageGamma, 2.5f);
    EXPECT_EQ(loaded.recentOutFolders, "/a/\t/b/");
    EXPECT_EQ(loaded.fontStyle, 3);
    EXPECT_EQ(loaded.x, -20);
    EXPECT_EQ(loaded.cfg, 17);
    EXPECT_EQ(loaded.customTimestamp, 1600000000);
}

TEST(SaveConfiguration, ReplacesAtomicallyAndFailsCleanly) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/config.ini";
    ASSERT_TRUE(WriteBytes(path, "old"));
    Settings s = Defaults();
    ASSERT_TRUE(SaveConfiguration(s, path));
    EXPECT_TRUE(ReadBytes(path).startsWith("\xEF\xBB\xBF\r\n[General]"));
    // No temporary file stays behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    // A folder that does not exist cannot be written: false, nothing created.
    EXPECT_FALSE(SaveConfiguration(s, dir.path() + "/missing/config.ini"));
    EXPECT_FALSE(SaveConfiguration(s, QString()));
}

TEST(LoadConfiguration, MissingFileGivesAllDefaults) {
    Settings s;
    s.jpgQuality = 3;
    LoadConfiguration(s, "/nonexistent/config.ini", QSize(1920, 1080));
    EXPECT_EQ(s.jpgQuality, 95);
    EXPECT_EQ(s.cfg, 17);
    EXPECT_EQ(s.x, 705); // centred, as a first start
    EXPECT_EQ(s.keepAspectRatio, 1);
}

TEST(LoadConfiguration, PerKeyDefaultsAndReadingRules) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/config.ini";
    ASSERT_TRUE(WriteBytes(path, "\xEF\xBB\xBF\r\n"
                                 "  [output]\r\n"
                                 "\tjpg quality\t =  \t80 trailing\r\n"
                                 "; JPG Chroma = 3\r\n"
                                 "[WATERMARK]\r\n"
                                 "Font =   Liberation Sans  \t\r\n"
                                 "Text = a = b\r\n"
                                 "[Window]\r\n"
                                 "IsMaximized = 257\r\n"
                                 "Width = 640\r\n"
                                 "[Adjustment]\r\n"
                                 "Image Gamma = 2.25x\r\n"
                                 "Image Brightness = abc\r\n"
                                 "[Other]\r\n"
                                 "JPG Save As = 3\r\n"));
    Settings s;
    LoadConfiguration(s, path, QSize(1920, 1080));
    EXPECT_EQ(s.jpgQuality, 80);
    EXPECT_EQ(s.jpgChroma, 0);            // commented out
    EXPECT_EQ(s.jpgSaveAs, 0);            // a key of another group does not count
    EXPECT_EQ(s.font, "Liberation Sans"); // trailing blanks and tabs dropped
    EXPECT_EQ(s.text, "a = b");
    EXPECT_EQ(s.isMaximized, 1); // low 8 bits of 257
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 260);
    EXPECT_EQ(s.x, 100); // a missing X or Y is 100, not centred
    EXPECT_EQ(s.y, 100);
    EXPECT_FLOAT_EQ(s.imageGamma, 2.25f);
    EXPECT_EQ(s.imageBrightness, 0);
    EXPECT_EQ(s.cfg, 0); // missing: version 0
}

TEST(LoadConfiguration, ValuesOutsideTheirRangeAreBroughtInside) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/config.ini";
    ASSERT_TRUE(WriteBytes(path, "[Output]\r\nJPG Quality = -1\r\n"
                                 "[Adjustment]\r\nImage Brightness = 2147483647\r\n"
                                 "Image Contrast = -2147483648\r\nImage Gamma = NaN\r\n"
                                 "Image Threshold = 255\r\n"
                                 "[Watermark]\r\nText Opacity = 0\r\nText Rotation = 720\r\n"
                                 "Image Scale = 1\r\n"
                                 "[Advanced]\r\nOut Folders Number = 255\r\n"
                                 "[General]\r\nUpdate Range = 9\r\n"));
    Settings s;
    QStringList warnings;
    LoadConfiguration(s, path, QSize(), &warnings);
    EXPECT_EQ(s.jpgQuality, 1);
    EXPECT_EQ(s.imageBrightness, 100);
    EXPECT_EQ(s.imageContrast, -100);
    EXPECT_FLOAT_EQ(s.imageGamma, 1.0f); // not a number: the default
    EXPECT_EQ(s.imageThreshold, 255);    // the bounds themselves are kept
    EXPECT_EQ(s.textOpacity, 1);
    EXPECT_EQ(s.textRotation, 360);
    EXPECT_EQ(s.imageScale, 1);
    EXPECT_EQ(s.outFoldersNumber, 1); // 255 in an 8-bit field reads -1
    EXPECT_EQ(s.updateRange, 5);
    EXPECT_EQ(warnings.size(), 8) << warnings.join('\n').toStdString();
    EXPECT_TRUE(
        warnings.contains("Warning: " + path + ": JPG Quality = -1 is outside 1 to 100; 1 used"));
    EXPECT_TRUE(warnings.contains("Warning: " + path +
                                  ": Image Gamma = NaN is outside 0.01 to 9.99; 1 used"));

    // What the window then saves is inside too, and loads without a word.
    ASSERT_TRUE(SaveConfiguration(s, path));
    warnings.clear();
    Settings again;
    LoadConfiguration(again, path, QSize(), &warnings);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_EQ(again.jpgQuality, 1);
}

TEST(LoadConfiguration, AFileThatIsNoSettingsFileGivesDefaultsWithAWarning) {
    QTemporaryDir dir;
    QStringList warnings;
    Settings s;
    s.jpgQuality = 3;
    // A folder where the file should be.
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/config.ini"));
    LoadConfiguration(s, dir.path() + "/config.ini", QSize(), &warnings);
    EXPECT_EQ(s.jpgQuality, 95);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("Warning: " + dir.path() + "/config.ini cannot be read"));
    // A missing file is a first start, not a problem.
    warnings.clear();
    LoadConfiguration(s, dir.path() + "/none.ini", QSize(), &warnings);
    EXPECT_TRUE(warnings.isEmpty());
}

TEST(LoadConfiguration, UpgradesOfOlderFiles) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/config.ini";
    auto load = [&](const char* cfg, const char* mask, const char* rawLoadAs) {
        QByteArray text = "[General]\r\n";
        if (cfg) text += QByteArray("CFG = ") + cfg + "\r\n";
        text += QByteArray("[Advanced]\r\nFilename Mask = ") + mask + "\r\n";
        text += QByteArray("[Input]\r\nRAW Load As = ") + rawLoadAs + "\r\n";
        EXPECT_TRUE(WriteBytes(path, text));
        Settings s;
        LoadConfiguration(s, path);
        return s;
    };
    Settings s = load("10", "%filename%_small", "1");
    EXPECT_EQ(s.filenameMask, "%filename%_small.%ext%");
    EXPECT_EQ(s.rawLoadAs, 3);
    s = load("11", "%filename%_small", "1");
    EXPECT_EQ(s.filenameMask, "%filename%_small");
    EXPECT_EQ(s.rawLoadAs, 3);
    s = load("13", "%FILENAME%.%EXT%", "0");
    EXPECT_EQ(s.filenameMask, "%FILENAME%.%EXT%"); // the test is case-sensitive, but cfg 13 >= 11
    EXPECT_EQ(s.rawLoadAs, 0);
    s = load("14", "x", "1");
    EXPECT_EQ(s.rawLoadAs, 1);
    s = load(nullptr, "x", "2");
    EXPECT_EQ(s.cfg, 0);
    EXPECT_EQ(s.filenameMask, "x.%ext%");
    EXPECT_EQ(s.rawLoadAs, 4);
    s = load("25", "x", "2");
    EXPECT_EQ(s.cfg, 25);
    EXPECT_EQ(s.filenameMask, "x");
}

TEST(LoadConfiguration, TextWithoutByteOrderMark) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/config.ini";
    ASSERT_TRUE(WriteBytes(path, "[Watermark]\nText = caf\xE9\n"));
    Settings s;
    LoadConfiguration(s, path);
    EXPECT_EQ(s.text, QString::fromUtf8("caf\u00E9")); // ISO 8859-1
    ASSERT_TRUE(WriteBytes(path, "[Watermark]\nText = caf\xC3\xA9\n"));
    LoadConfiguration(s, path);
    EXPECT_EQ(s.text, QString::fromUtf8("caf\u00E9")); // valid UTF-8
}

TEST(LoadConfiguration, PerFormatKeysOfOtherFormatsAreReadButNotWritten) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/config.ini";
    ASSERT_TRUE(WriteBytes(path, "[Output]\r\nPNG BPP = 24\r\nTIFF Compression = 6\r\n"));
    Settings s;
    LoadConfiguration(s, path);
    EXPECT_EQ(s.pngBpp, 24);
    EXPECT_EQ(s.tiffCompression, 6);
    EXPECT_FALSE(ConfigurationBytes(s).contains("PNG BPP"));
}

TEST(LoadProfile, ReadsTheCliGroup) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/p.ini";
    ASSERT_TRUE(WriteBytes(path, "[Other]\n--JPG-QUALITY = 10\n"
                                 "[cli]\n"
                                 "--jpg-quality = 80\n"
                                 "--PNG-INTERLACED = 0\n"
                                 "--WM-SOLID-OPACITY = 77\n"
                                 "--FR-SOLID-OPACITY = 12\n"
                                 "--WM-TEXT =  \"quoted text\"  \n"
                                 "--FILENAME-MASK = \"%filename%_x.%ext%\"\n"
                                 "--NO-SUBFOLDERS = 1\n"
                                 "--INVERT = whatever\n"
                                 "--JPG-CHROMA = high\n"
                                 "--WIDTH = $20\n"
                                 "--INPUT = /etc/passwd\n"
                                 "--DEBUG = 1\n"
                                 "--ROTATION = 90\n"
                                 "--ROTATION = 180\n"));
    Settings s;
    ResetSettings(s, true);
    ASSERT_TRUE(LoadProfile(path, s));
    EXPECT_EQ(s.jpgQuality, 80);
    EXPECT_EQ(s.pngInterlaced, 1);
    EXPECT_EQ(s.solidOpacity, 77); // the command-line name is unknown in a profile
    EXPECT_EQ(s.text, "\"quoted text\"");
    EXPECT_EQ(s.doWatermark, 1);
    EXPECT_EQ(s.filenameMask, "%filename%_x.%ext%");
    EXPECT_EQ(s.keepSubfolders, 0);
    EXPECT_EQ(s.imageInvert, 1);
    EXPECT_EQ(s.doImageColorCorrection, 1);
    EXPECT_EQ(s.jpgChroma, 3);
    EXPECT_EQ(s.imageWidth, 32);
    EXPECT_EQ(s.doImageResize, 1);
    EXPECT_EQ(s.imageRotation, 180);
    EXPECT_EQ(s.doImageRotation, 1);
}

TEST(LoadProfile, FilesThatCannotBeRead) {
    QTemporaryDir dir;
    Settings s;
    EXPECT_FALSE(LoadProfile(QString(), s));
    EXPECT_FALSE(LoadProfile(dir.path() + "/missing.ini", s));
    EXPECT_FALSE(LoadProfile(dir.path(), s)); // a folder
    // No CLI group: accepted, nothing changes.
    const QString none = dir.path() + "/none.ini";
    ASSERT_TRUE(WriteBytes(none, "[General]\nCFG = 3\n"));
    ResetSettings(s, true);
    EXPECT_TRUE(LoadProfile(none, s));
    EXPECT_EQ(s.jpgQuality, 95);
    // A binary file is read without harm.
    QByteArray binary;
    for (int i = 0; i < 70000; ++i)
        binary.append(char((i * 7919) & 0xFF));
    const QString bin = dir.path() + "/binary.ini";
    ASSERT_TRUE(WriteBytes(bin, binary));
    EXPECT_TRUE(LoadProfile(bin, s));
    // An enormous file is refused rather than read into memory.
    const QString big = dir.path() + "/big.ini";
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kMaxSettingsFileBytes + 1));
    }
    EXPECT_FALSE(LoadProfile(big, s));
}

TEST(SettingsFuzzFindings, StayFixed) {
    const QDir findings(QStringLiteral(TARVIX_SOURCE_DIR "/tests/settings/fuzz/findings"));
    ASSERT_TRUE(findings.exists());
    for (const QString& name : findings.entryList(QDir::Files))
        if (!name.endsWith(".md"))
            ReadSettingsBytes(tarvix::test::ReadBytes(findings.filePath(name)));
}

TEST(IniReader, EachLineInItsOwnEncoding) {
    // One line of ISO 8859-1 does not turn the others into it.
    const QByteArray bytes =
        "[General]\r\nName = caf\xc3\xa9\r\n; r\xe9sum\xe9\r\nOld = caf\xe9\r\n";
    const IniReader reader = IniReader::FromBytes(bytes);
    EXPECT_EQ(reader.Value(u"General", u"Name"), QString::fromUtf8("caf\xc3\xa9"));
    EXPECT_EQ(reader.Value(u"General", u"Old"), QString::fromLatin1("caf\xe9"));
    // Lines without a key, and later sections of the same name, are not kept.
    const IniReader twice = IniReader::FromBytes("[A]\r\n=x\r\nk=1\r\n[a]\r\nk=2\r\nj=3\r\n");
    EXPECT_EQ(twice.Value(u"a", u"k"), "1");
    EXPECT_EQ(twice.Value(u"A", u"j"), std::nullopt);
    EXPECT_EQ(twice.Entries(u"A").size(), 1);
}
