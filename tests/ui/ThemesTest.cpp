// Theme archives loaded into the window's pictures, as start-up and the
// preferences dialog load them.

#include "theme/Themes.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "ZipWriter.h"
#include "request/ConversionRequest.h"
#include "ui/Icons.h"
#include "ui/MainWindow.h"

#include <QBuffer>
#include <QDir>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

QByteArray Picture(int size, QColor colour) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray Config(const QString& name, const QString& newValue = "new",
                  const QString& lineEnd = "\r\n") {
    return QStringList{"[Theme]", "Name=" + name,    "[Buttons]", "Convert=big.png",
                       "[Icons]", "New=" + newValue, "Add=add",   ""}
        .join(lineEnd)
        .toUtf8();
}

class ThemesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Settings settings;
    QByteArray savedDataDir;

    void SetUp() override {
        savedDataDir = qgetenv("TARVIX_DATA_DIR");
        qputenv("TARVIX_DATA_DIR", QFile::encodeName(dir.path()));
        ResetSettings(settings, false);
        LoadBuiltinIcons();
    }
    void TearDown() override {
        if (savedDataDir.isEmpty())
            qunsetenv("TARVIX_DATA_DIR");
        else
            qputenv("TARVIX_DATA_DIR", savedDataDir);
        LoadBuiltinIcons();
    }
    void Theme(const QString& id, const QList<QPair<QString, QByteArray>>& entries) {
        QDir().mkpath(dir.path() + "/gfx");
        ASSERT_TRUE(artwork::WriteZip(dir.path() + "/gfx/" + id + ".zip", entries));
    }
    // A theme whose pictures are plain colours: red at 16, green at 32, blue
    // for the button.
    void ColourTheme(const QString& id, const QByteArray& config) {
        Theme(id, {{"theme.cfg", config},
                   {"new_16.png", Picture(16, Qt::red)},
                   {"new_32.png", Picture(32, Qt::green)},
                   {"add_16.png", Picture(16, Qt::red)},
                   {"big.png", Picture(64, Qt::blue)}});
    }
    static QColor Menu(const char* key) { return IconImage(MenuIds().value(key)).pixelColor(0, 0); }
    static QImage Toolbar(const char* key) { return IconImage(ToolbarIds().value(key)); }
};

} // namespace

TEST_F(ThemesTest, NoThemeFolderKeepsTheBuiltInPictures) {
    const QImage before = IconImage(MenuIds().value("New"));
    EXPECT_TRUE(ListThemes().isEmpty());
    LoadTheme(settings, ListThemes(), true, true, true);
    EXPECT_EQ(IconImage(MenuIds().value("New")), before);
    EXPECT_EQ(settings.uiTheme, "handdrawn");
}

TEST_F(ThemesTest, PicturesForEachSetAtItsSize) {
    ColourTheme("handdrawn", Config("Hand"));
    settings.uiSize = 2; // 32-pixel toolbar
    LoadTheme(settings, ListThemes(), true, true, true);
    EXPECT_EQ(Menu("New"), QColor(Qt::red));
    EXPECT_EQ(Toolbar("New").size(), QSize(32, 32));
    EXPECT_EQ(Toolbar("New").pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(IconImage(ButtonIds().value("Convert")).pixelColor(0, 0), QColor(Qt::blue));
    // Add has no 32-pixel picture: its toolbar image keeps the built-in one.
    EXPECT_EQ(Toolbar("Add").size(), QSize(16, 16));
    EXPECT_NE(Toolbar("Add").pixelColor(8, 8), QColor(Qt::red));
    // Keys the theme does not list keep theirs.
    EXPECT_FALSE(IconImage(MenuIds().value("Exit")).isNull());

    // Large to Small: only the toolbar, from the 16-pixel entries.
    ColourTheme("handdrawn", Config("Hand", "add")); // the menu would now change if reloaded
    settings.uiSize = 0;
    LoadTheme(settings, ListThemes(), false, false, true);
    EXPECT_EQ(Toolbar("New").size(), QSize(16, 16));
    EXPECT_EQ(Toolbar("New").pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(Menu("New"), QColor(Qt::red));
}

TEST_F(ThemesTest, AMissingThemeFallsBackToTheLastListed) {
    ColourTheme("alpha", Config("Alpha"));
    Theme("zulu", {{"theme.cfg", Config("Zulu")}, {"new_16.png", Picture(16, Qt::yellow)}});
    settings.uiTheme = "gone";
    const QList<ThemeEntry> themes = ListThemes();
    ASSERT_EQ(themes.size(), 2);
    EXPECT_EQ(themes[0].id, "alpha");
    EXPECT_EQ(themes[0].name, "Alpha");
    LoadTheme(settings, themes, true, true, true);
    EXPECT_EQ(settings.uiTheme, "zulu");
    EXPECT_EQ(Menu("New"), QColor(Qt::yellow));
}

// "UI Theme" is a name from the theme folder, never a path out of it.
TEST_F(ThemesTest, AThemeNameThatIsAPathIsNotFollowed) {
    Theme("zulu", {{"theme.cfg", Config("Zulu")}, {"new_16.png", Picture(16, Qt::yellow)}});
    // An archive outside the theme folder that a crafted name would reach.
    ASSERT_TRUE(
        artwork::WriteZip(dir.path() + "/outside.zip", {{"theme.cfg", Config("Outside")},
                                                        {"new_16.png", Picture(16, Qt::red)}}));
    for (const char* name : {"../outside", "../../../../", "/etc/passwd", ".hidden", ""}) {
        settings.uiTheme = name;
        LoadTheme(settings, ListThemes(), true, true, true);
        EXPECT_EQ(settings.uiTheme, "zulu") << name;
        EXPECT_EQ(Menu("New"), QColor(Qt::yellow)) << name;
    }
    EXPECT_TRUE(ThemeArchivePath("../outside").isEmpty());
}

TEST_F(ThemesTest, WhatATheme_cfgSaysAndDoesNotSay) {
    // Line feeds alone: no value is found, nothing is replaced.
    ColourTheme("handdrawn", Config("Unix", "new", "\n"));
    const QImage before = IconImage(MenuIds().value("New"));
    LoadTheme(settings, ListThemes(), true, true, true);
    EXPECT_EQ(IconImage(MenuIds().value("New")), before);

    // A value naming a ".png" is the entry itself, for every size.
    Theme("handdrawn", {{"theme.cfg", Config("Direct", "Shared.PNG")},
                        {"Shared.PNG", Picture(20, Qt::magenta)}});
    LoadTheme(settings, ListThemes(), true, true, true);
    EXPECT_EQ(Menu("New"), QColor(Qt::magenta));
    EXPECT_EQ(Toolbar("New").pixelColor(0, 0), QColor(Qt::magenta));
}

TEST_F(ThemesTest, DisplayNamesFromTheFirstBytes) {
    Theme("short", {{"theme.cfg", "[Theme]\r\nName=Short=Name\r\n"}});
    Theme("late", {{"theme.cfg", QByteArray(300, ' ') + "[Theme]\r\nName=Late\r\n"}});
    Theme("none", {{"other.txt", "x"}});
    QDir().mkpath(dir.path() + "/gfx");
    ASSERT_TRUE(WriteBytes(dir.path() + "/gfx/broken.zip", "not a zip"));
    EXPECT_EQ(ThemeDisplayName("short"), "Short");
    EXPECT_EQ(ThemeDisplayName("late"), "");
    EXPECT_EQ(ThemeDisplayName("none"), "");
    EXPECT_EQ(ThemeDisplayName("broken"), "broken");
    EXPECT_EQ(ThemeDisplayName("absent"), "absent");
}

TEST_F(ThemesTest, PicturesBeyondTheBoundsOrDamagedKeepTheirPicture) {
    QByteArray damaged = Picture(16, Qt::red);
    damaged.truncate(damaged.size() / 2);
    Theme("handdrawn", {{"theme.cfg", Config("Bounds")},
                        {"new_16.png", Picture(600, Qt::red)}, // larger than 512 a side
                        {"add_16.png", damaged},
                        {"big.png", QByteArray(5 << 20, 'p')}}); // over 4 MiB
    const QImage newBefore = IconImage(MenuIds().value("New"));
    const QImage addBefore = IconImage(MenuIds().value("Add"));
    const QImage convertBefore = IconImage(ButtonIds().value("Convert"));
    LoadTheme(settings, ListThemes(), true, true, true);
    EXPECT_EQ(IconImage(MenuIds().value("New")), newBefore);
    EXPECT_EQ(IconImage(MenuIds().value("Add")), addBefore);
    EXPECT_EQ(IconImage(ButtonIds().value("Convert")), convertBefore);

    // A theme.cfg over 64 KiB counts as missing.
    Theme("handdrawn", {{"theme.cfg", Config("Huge") + QByteArray(70 * 1024, ' ')},
                        {"new_16.png", Picture(16, Qt::red)}});
    LoadTheme(settings, ListThemes(), true, true, true);
    EXPECT_EQ(IconImage(MenuIds().value("New")), newBefore);
}

TEST_F(ThemesTest, TheDeliveredThemesHoldEveryKeyAtEverySize) {
    for (const char* id : {"handdrawn", "tiles"}) {
        qputenv("TARVIX_DATA_DIR", TARVIX_BINARY_DIR);
        settings.uiTheme = id;
        for (int size = 0; size <= 4; ++size) {
            LoadBuiltinIcons();
            settings.uiSize = size;
            LoadTheme(settings, ListThemes(), true, true, true);
            const int pixels = IconSizeForUiSize(size);
            for (auto it = ToolbarIds().constBegin(); it != ToolbarIds().constEnd(); ++it)
                EXPECT_EQ(IconImage(it.value()).size(), QSize(pixels, pixels))
                    << id << " " << it.key().toStdString() << " " << pixels;
            for (auto it = MenuIds().constBegin(); it != MenuIds().constEnd(); ++it)
                EXPECT_EQ(IconImage(it.value()).size(), QSize(16, 16)) << it.key().toStdString();
            EXPECT_EQ(IconImage(ButtonIds().value("Convert")).size(), QSize(64, 64));
            EXPECT_EQ(IconImage(ButtonIds().value("InFiles")).size(), QSize(48, 48));
        }
        EXPECT_EQ(settings.uiTheme, id);
    }
}

TEST_F(ThemesTest, ChangingThemeOrSizeFromTheWindowReloads) {
    ColourTheme("alpha", Config("Alpha"));
    Theme("beta", {{"theme.cfg", Config("Beta")},
                   {"new_16.png", Picture(16, Qt::cyan)},
                   {"new_24.png", Picture(24, Qt::cyan)}});
    settings.uiTheme = "alpha";
    settings.uiSize = 2;
    RunState state;
    ResetRunState(state);
    const QList<ThemeEntry> themes = ListThemes();
    LoadTheme(settings, themes, true, true, true);
    MainWindow window(settings, state);
    window.SetThemes(themes);
    window.FinishSetup();
    EXPECT_EQ(Toolbar("New").pixelColor(0, 0), QColor(Qt::green));
    // The theme: every set reloaded.
    settings.uiTheme = "beta";
    settings.uiSize = 1;
    window.ApplyPreferences(-1, 1);
    EXPECT_EQ(Menu("New"), QColor(Qt::cyan));
    EXPECT_EQ(Toolbar("New").size(), QSize(24, 24));
    EXPECT_EQ(window.mainToolbar()->iconSize(), QSize(24, 24));
}

// On a screen of twice as many device pixels, an icon is the theme's larger
// drawing where it ships one, else an enlargement by whole steps.
TEST_F(ThemesTest, ScaledScreensGetTheLargerDrawing) {
    Theme("zulu", {{"theme.cfg", Config("Zulu")},
                   {"new_16.png", Picture(16, Qt::yellow)},
                   {"new_32.png", Picture(32, Qt::blue)}});
    settings.uiTheme = "zulu";
    LoadTheme(settings, ListThemes(), true, true, true);
    const QImage doubled = CommandIcon(MenuIds(), "New").pixmap(QSize(16, 16), 2.0).toImage();
    EXPECT_EQ(doubled.size(), QSize(32, 32));
    EXPECT_EQ(doubled.pixelColor(5, 5), QColor(Qt::blue));
    const QImage plain = CommandIcon(MenuIds(), "New").pixmap(QSize(16, 16), 1.0).toImage();
    EXPECT_EQ(plain.pixelColor(5, 5), QColor(Qt::yellow));
    // Without a larger drawing: the 16-pixel one, enlarged without blur.
    const QImage enlarged = CommandIcon(MenuIds(), "Add").pixmap(QSize(16, 16), 2.0).toImage();
    EXPECT_EQ(enlarged.size(), QSize(32, 32));
    EXPECT_EQ(enlarged.pixelColor(0, 0), enlarged.pixelColor(1, 1));
}
