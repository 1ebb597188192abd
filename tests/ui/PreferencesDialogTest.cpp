// The preferences dialog driven as a user would: pages, every row of the page
// tables, dependency rules, sliders, choosers, OK, Defaults and Cancel.

#include "ui/PreferencesDialog.h"

#include "DdsBuilder.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "core/StringTable.h"
#include "request/ConversionRequest.h"
#include "settings/Config.h"
#include "settings/SettingsTable.h"
#include "ui/MainWindow.h"

#include <FreeImage.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QToolBar>
#include <QTreeWidget>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

class PreferencesTest : public ::testing::Test {
protected:
    Settings settings;
    RunState state;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        ResetSettings(settings, false);
        settings.configPath = dir.path() + "/config.ini";
        ResetRunState(state);
        window = std::make_unique<MainWindow>(settings, state);
        window->FinishSetup();
    }
    void TearDown() override { window.reset(); }

    std::unique_ptr<PreferencesDialog> Open(int page = 0, QList<ThemeEntry> themes = {}) {
        auto dialog = std::make_unique<PreferencesDialog>(window.get(), settings, page, themes);
        dialog->show();
        return dialog;
    }
    template <typename T> static T* Get(PreferencesDialog& d, const char* id) {
        T* w = qobject_cast<T*>(d.Control(QString::fromLatin1(id)));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    static QComboBox* Combo(PreferencesDialog& d, const char* id) { return Get<QComboBox>(d, id); }
    static QCheckBox* Check(PreferencesDialog& d, const char* id) { return Get<QCheckBox>(d, id); }
    static QLineEdit* Edit(PreferencesDialog& d, const char* id) { return Get<QLineEdit>(d, id); }
    static QSlider* Track(PreferencesDialog& d, const char* id) { return Get<QSlider>(d, id); }
    static QAbstractSpinBox* Spin(PreferencesDialog& d, const char* id) {
        return qobject_cast<QAbstractSpinBox*>(d.Companion(QString::fromLatin1(id), "spin"));
    }
    static bool Enabled(PreferencesDialog& d, const char* id) {
        return d.Control(QString::fromLatin1(id))->isEnabled() &&
               d.Companion(QString::fromLatin1(id), "caption")->isEnabled();
    }
};

// Keys as a keyboard sends them, after selecting what the field holds.
void Type(QAbstractSpinBox* spin, const QString& text, bool enter = false) {
    spin->setFocus();
    spin->selectAll();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(spin, &press);
    }
    if (enter) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(spin, &press);
    }
}

// The config.ini lines in which two settings differ, "(none)" when none do.
std::string ConfigDifference(const Settings& a, const Settings& b) {
    const QStringList x = QString::fromUtf8(ConfigurationBytes(a)).split("\r\n");
    const QStringList y = QString::fromUtf8(ConfigurationBytes(b)).split("\r\n");
    QStringList diff;
    for (qsizetype i = 0; i < std::max(x.size(), y.size()); ++i)
        if (x.value(i) != y.value(i)) diff << x.value(i) + " / " + y.value(i);
    return diff.isEmpty() ? "(none)" : diff.join("; ").toStdString();
}

QString SpinText(QAbstractSpinBox* spin) {
    return spin->findChild<QLineEdit*>()->text();
}

} // namespace

TEST(ColorLabel, NamedColoursAndOthers) {
    EXPECT_EQ(ColorLabel("FF8000"), "Orange");
    EXPECT_EQ(ColorLabel("ff8000"), "Orange");
    EXPECT_EQ(ColorLabel("00FFFF"), "Aqua");
    EXPECT_EQ(ColorLabel("123abc"), "Color #123ABC");
}

TEST_F(PreferencesTest, FramePagesAndStartPage) {
    auto d = Open(kPageOutput);
    EXPECT_EQ(d->windowTitle(), "Preferences...");
    EXPECT_EQ(d->size(), QSize(600, 350));
    EXPECT_EQ(d->minimumSize(), d->maximumSize()); // not resizable
    EXPECT_TRUE(d->isModal());
    ASSERT_EQ(d->pageList()->topLevelItemCount(), 9);
    const QStringList names = {"General",    "Interface", "Input",     "Output",  "Transform",
                               "Adjustment", "Frame",     "Watermark", "Advanced"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(d->pageList()->topLevelItem(i)->text(0), names[i]);
    EXPECT_EQ(d->CurrentPage(), 3);
    EXPECT_EQ(d->pageTitle()->text(), "Output");
    EXPECT_TRUE(d->pageTitle()->font().bold());
    EXPECT_EQ(d->pageTitle()->font().pointSize(), 10);
    // Choosing a page in the list shows it alone.
    d->pageList()->setCurrentItem(d->pageList()->topLevelItem(6));
    EXPECT_EQ(d->pageTitle()->text(), "Frame");
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(d->PageWidget(i)->isVisible(), i == 6) << i;
    EXPECT_EQ(d->okButton()->text(), "OK");
    EXPECT_EQ(d->cancelButton()->text(), "Cancel");
    EXPECT_EQ(d->defaultsButton()->text(), "Defaults");
    // Only the Transform page scrolls.
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(qobject_cast<QScrollArea*>(d->PageWidget(i)) != nullptr, i == 4) << i;
    // Escape is Cancel.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(d.get(), &escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Rejected);
}

TEST_F(PreferencesTest, EveryRowHasItsCaptionAndOnlyOfferedFormatsShow) {
    auto d = Open();
    int rows = 0;
    for (const PreferencePage& page : PreferencePages()) {
        std::vector<const PreferenceRow*> all;
        for (const PreferenceRow& r : page.rows)
            all.push_back(&r);
        for (const PreferenceArea& a : page.areas)
            for (const PreferenceRow& r : a.rows)
                all.push_back(&r);
        for (const PreferenceRow* r : all) {
            ++rows;
            ASSERT_NE(d->Control(r->Id()), nullptr) << r->Id().toStdString();
            auto* caption = qobject_cast<QLabel*>(d->Companion(r->Id(), "caption"));
            ASSERT_NE(caption, nullptr);
            EXPECT_EQ(caption->text(), GetText("Preferences", r->caption));
            EXPECT_NE(caption->text(), "%NO_STRING_ERROR%") << r->caption;
            if (r->group) {
                EXPECT_NE(FindSetting(r->group, r->key), nullptr) << r->key;
            }
        }
    }
    EXPECT_GT(rows, 90);
    d->ShowPage(2);
    EXPECT_TRUE(d->AreaWidget("Input", "dds")->isVisible());
    for (const char* other : {"gif", "ico", "raw", "tiff"})
        EXPECT_FALSE(d->AreaWidget("Input", other)->isVisible()) << other;
    d->ShowPage(3);
    EXPECT_TRUE(d->AreaWidget("Output", "jpg")->isVisible());
    for (const char* other : {"bmp", "png", "pcx", "tiff", "webp"})
        EXPECT_FALSE(d->AreaWidget("Output", other)->isVisible()) << other;
    // Keep Subfolders has its row on the Advanced page.
    d->ShowPage(8);
    EXPECT_TRUE(d->Control("Advanced/Keep Subfolders")->isVisible());
    EXPECT_TRUE(Check(*d, "Advanced/Keep Subfolders")->isChecked());
}

TEST_F(PreferencesTest, OkWithoutEditsKeepsEveryValueAndSavesConfig) {
    // Values away from the defaults in every kind of row.
    settings.updateRange = 4;
    settings.saveWindowPosition = 0;
    settings.uiSize = 0;
    settings.ddsLoadAs = 2;
    settings.jpgBpp = 8;
    settings.jpgQuality = 42;
    settings.jpgChroma = 3;
    settings.jpgSaveAs = 2;
    settings.doImageRotation = 1;
    settings.imageRotationType = 1;
    settings.imageRotation = 275;
    settings.imageRotationBackColor = "12AB34";
    settings.doImageResize = 1;
    settings.imageWidth = 640;
    settings.imageHeightUnit = 1;
    settings.imageHeight = 50;
    settings.keepAspectRatio = 0;
    settings.imageResizeAlgorithm = 5;
    settings.imageBrightness = -37;
    settings.imageContrast = 12;
    settings.imageGamma = 2.25f;
    settings.doImageThreshold = 1;
    settings.imageThreshold = 200;
    settings.doFrame = 1;
    settings.solidLeft = 7;
    settings.solidTopColor = "00FF00";
    settings.solidOpacity = 99;
    settings.doWatermark = 2;
    settings.text = "two words";
    settings.fontColor = "FF0000";
    settings.fontStyle = 3;
    settings.textPosition = 4;
    settings.textXOffset = 33;
    settings.image = "/tmp/logo.png";
    settings.imageOpacity = 17;
    settings.filenameMask = "%filename%_x.%ext%";
    settings.fileTimestamp = 2;
    settings.customTimestamp = 1546344000; // 2019-01-01 12:00
    settings.outFoldersHistory = 0;
    settings.outFoldersNumber = 9;
    const Settings before = settings;

    auto d = Open();
    d->okButton()->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    // Only what OK always recomputes differs: the language, colour correction,
    // and the theme, which is empty while no theme is installed.
    Settings want = before;
    want.language = "en";
    want.doImageColorCorrection = 1;
    want.uiTheme = "";
    EXPECT_EQ(ConfigDifference(settings, want), "(none)");
    // And config.ini holds it.
    Settings loaded;
    LoadConfiguration(loaded, settings.configPath);
    EXPECT_EQ(ConfigDifference(loaded, want), "(none)");
}

TEST_F(PreferencesTest, DependencyRules) {
    settings.doImageRotation = 0;
    settings.doImageResize = 1;
    auto d = Open();
    EXPECT_FALSE(Enabled(*d, "Transform/Image Rotation Type"));
    EXPECT_FALSE(Enabled(*d, "Transform/Image Rotation"));
    EXPECT_FALSE(d->Companion("Transform/Image Rotation", "spin")->isEnabled());
    EXPECT_FALSE(d->Companion("Transform/Image Rotation Back Color", "button")->isEnabled());
    Check(*d, "Transform/Do Image Rotation")->setChecked(true);
    EXPECT_TRUE(Enabled(*d, "Transform/Image Rotation Type"));
    EXPECT_TRUE(Enabled(*d, "Transform/Image Rotation Back Color"));

    for (const char* id :
         {"Transform/Image Width", "Transform/Image Height", "Transform/Keep Aspect Ratio",
          "Transform/Image Resize Type", "Transform/Image Resize Algorithm"})
        EXPECT_TRUE(Enabled(*d, id)) << id;
    Check(*d, "Transform/Do Image Resize")->setChecked(false);
    EXPECT_FALSE(Enabled(*d, "Transform/Image Width"));
    EXPECT_FALSE(d->Companion("Transform/Image Width", "unit")->isEnabled());
    EXPECT_FALSE(Enabled(*d, "Transform/Image Resize Algorithm"));

    EXPECT_FALSE(Enabled(*d, "Adjustment/Image Threshold"));
    Check(*d, "Adjustment/Do Image Threshold")->setChecked(true);
    EXPECT_TRUE(Enabled(*d, "Adjustment/Image Threshold"));

    d->ShowPage(6);
    EXPECT_FALSE(d->AreaWidget("Frame", "solid")->isVisible());
    Combo(*d, "Frame/Do Frame")->setCurrentIndex(1);
    EXPECT_TRUE(d->AreaWidget("Frame", "solid")->isVisible());

    d->ShowPage(7);
    QComboBox* type = Combo(*d, "Watermark/Do Watermark");
    const auto shown = [&] {
        return std::pair{d->AreaWidget("Watermark", "text")->isVisible(),
                         d->AreaWidget("Watermark", "image")->isVisible()};
    };
    EXPECT_EQ(shown(), std::pair(false, false));
    type->setCurrentIndex(1);
    EXPECT_EQ(shown(), std::pair(true, false));
    type->setCurrentIndex(2);
    EXPECT_EQ(shown(), std::pair(false, true));
    // The Scale rows stay hidden: Size offers only "Fixed".
    type->setCurrentIndex(1);
    EXPECT_EQ(Combo(*d, "Watermark/Text Size")->count(), 1);
    EXPECT_FALSE(Track(*d, "Watermark/Text Scale")->isVisible());
    EXPECT_FALSE(d->Companion("Watermark/Text Scale", "caption")->isVisible());

    EXPECT_FALSE(Enabled(*d, "Advanced/Custom Timestamp"));
    Combo(*d, "Advanced/File Timestamp")->setCurrentIndex(2);
    EXPECT_TRUE(Enabled(*d, "Advanced/Custom Timestamp"));
    Combo(*d, "Advanced/File Timestamp")->setCurrentIndex(1);
    EXPECT_FALSE(Enabled(*d, "Advanced/Custom Timestamp"));

    // RAW rows follow their "Load As" even though RAW is not offered.
    QComboBox* raw = Combo(*d, "Input/RAW Load As");
    const auto rawState = [&] {
        return std::pair{Enabled(*d, "Input/RAW Header Size"),
                         Enabled(*d, "Input/RAW Tone Mapping")};
    };
    raw->setCurrentIndex(1);
    EXPECT_EQ(rawState(), std::pair(true, false));
    raw->setCurrentIndex(5);
    EXPECT_EQ(rawState(), std::pair(false, true));
    raw->setCurrentIndex(3);
    EXPECT_EQ(rawState(), std::pair(false, false));
}

TEST_F(PreferencesTest, SlidersAndSpinBoxesStayInStep) {
    auto d = Open(kPageOutput);
    QAbstractSpinBox* quality = Spin(*d, "Output/JPG Quality");
    Type(quality, "150");
    EXPECT_EQ(SpinText(quality), "100");
    EXPECT_EQ(Track(*d, "Output/JPG Quality")->value(), 100);
    Type(quality, "37");
    EXPECT_EQ(Track(*d, "Output/JPG Quality")->value(), 37);

    QAbstractSpinBox* rotation = Spin(*d, "Transform/Image Rotation");
    Type(rotation, "-5");
    EXPECT_EQ(SpinText(rotation), "0");
    EXPECT_EQ(Track(*d, "Transform/Image Rotation")->value(), 0);

    // Brightness: the track holds value + 100.
    Track(*d, "Adjustment/Image Brightness")->setValue(30);
    EXPECT_EQ(static_cast<QSpinBox*>(Spin(*d, "Adjustment/Image Brightness"))->value(), -70);
    Type(Spin(*d, "Adjustment/Image Contrast"), "25");
    EXPECT_EQ(Track(*d, "Adjustment/Image Contrast")->value(), 125);

    // Gamma: hundredths on the track, two decimals in the spin box.
    QAbstractSpinBox* gamma = Spin(*d, "Adjustment/Image Gamma");
    EXPECT_EQ(SpinText(gamma), "1.00");
    Type(gamma, "2.5", true);
    EXPECT_EQ(Track(*d, "Adjustment/Image Gamma")->value(), 250);
    EXPECT_EQ(SpinText(gamma), "2.50");
    Type(gamma, "12", true);
    EXPECT_EQ(SpinText(gamma), "9.99");
    Track(*d, "Adjustment/Image Gamma")->setValue(250);
    EXPECT_EQ(SpinText(gamma), "2.50");

    d->okButton()->click();
    EXPECT_EQ(settings.jpgQuality, 37);
    EXPECT_EQ(settings.imageRotation, 0);
    EXPECT_EQ(settings.imageBrightness, -70);
    EXPECT_EQ(settings.imageContrast, 25);
    EXPECT_FLOAT_EQ(settings.imageGamma, 2.5f);
    EXPECT_EQ(settings.doImageColorCorrection, 1);
}

TEST_F(PreferencesTest, NeutralAdjustmentsClearColourCorrection) {
    settings.doImageColorCorrection = 1;
    auto d = Open();
    d->okButton()->click();
    EXPECT_EQ(settings.doImageColorCorrection, 0);
    for (auto set : std::vector<std::function<void(PreferencesDialog&)>>{
             [](PreferencesDialog& p) { Check(p, "Adjustment/Image Invert")->setChecked(true); },
             [](PreferencesDialog& p) { Track(p, "Adjustment/Image Gamma")->setValue(99); },
             [](PreferencesDialog& p) {
                 Track(p, "Adjustment/Image Brightness")->setValue(101);
             }}) {
        ResetSettings(settings, false);
        settings.configPath = dir.path() + "/config.ini";
        auto p = Open();
        set(*p);
        p->okButton()->click();
        EXPECT_EQ(settings.doImageColorCorrection, 1);
    }
}

TEST_F(PreferencesTest, ColourControlsAndLists) {
    settings.fontColors = "000000, FF0000 ,FF8000";
    settings.fontColor = "123456"; // not in the list: the first shows and is stored
    settings.imageRotationBackColor = "zz";
    auto d = Open();
    QComboBox* fontColor = Combo(*d, "Watermark/Font Color");
    ASSERT_EQ(fontColor->count(), 3);
    EXPECT_EQ(fontColor->itemText(2), "Orange");
    EXPECT_EQ(fontColor->currentIndex(), 0);
    EXPECT_EQ(Edit(*d, "Transform/Image Rotation Back Color")->text(), "000000");

    std::optional<QColor> answer = QColor(0xFF, 0x00, 0x00);
    d->chooseColor = [&](const QColor&) { return answer; };
    // A colour already listed is only selected.
    qobject_cast<QAbstractButton*>(d->Companion("Watermark/Font Color", "button"))->click();
    EXPECT_EQ(fontColor->count(), 3);
    EXPECT_EQ(fontColor->currentIndex(), 1);
    EXPECT_EQ(settings.fontColors, "000000, FF0000 ,FF8000");
    // A new one is appended at once, to the list and to the setting.
    answer = QColor(0x12, 0x34, 0x56);
    qobject_cast<QAbstractButton*>(d->Companion("Watermark/Font Color", "button"))->click();
    EXPECT_EQ(fontColor->count(), 4);
    EXPECT_EQ(fontColor->currentText(), "Color #123456");
    EXPECT_EQ(settings.fontColors, "000000, FF0000 ,FF8000,123456");
    // Cancelling the chooser changes nothing.
    answer.reset();
    qobject_cast<QAbstractButton*>(d->Companion("Watermark/Back Color", "button"))->click();
    qobject_cast<QAbstractButton*>(d->Companion("Frame/Solid Left Color", "button"))->click();
    EXPECT_EQ(Edit(*d, "Frame/Solid Left Color")->text(), "000000");
    // The swatch writes the chosen colour into its field.
    answer = QColor(0xAB, 0xCD, 0xEF);
    qobject_cast<QAbstractButton*>(d->Companion("Frame/Solid Left Color", "button"))->click();
    EXPECT_EQ(Edit(*d, "Frame/Solid Left Color")->text(), "ABCDEF");

    // Cancel keeps the list addition and stores nothing else.
    d->cancelButton()->click();
    EXPECT_EQ(settings.fontColors, "000000, FF0000 ,FF8000,123456");
    EXPECT_EQ(settings.fontColor, "123456");
    EXPECT_EQ(settings.solidLeftColor, "000000");
    EXPECT_FALSE(QFile::exists(settings.configPath));

    settings.fontColor = "123456";
    auto again = Open();
    EXPECT_EQ(Combo(*again, "Watermark/Font Color")->currentText(), "Color #123456");
    again->okButton()->click();
    EXPECT_EQ(settings.fontColor, "123456");
    EXPECT_EQ(settings.imageRotationBackColor, "000000");
}

TEST_F(PreferencesTest, FontChooserAddsToTheListAndSetsSizeAndStyle) {
    settings.fonts = "Arial, DejaVu Sans";
    settings.font = "Nowhere Sans"; // not listed: the first shows and is stored
    auto d = Open();
    QComboBox* font = Combo(*d, "Watermark/Font");
    EXPECT_EQ(font->currentText(), "Arial");
    QFont chosen("Liberation Serif");
    chosen.setPointSize(31);
    chosen.setBold(true);
    chosen.setItalic(true);
    QFont started;
    d->chooseFont = [&](const QFont& start) {
        started = start;
        return std::optional<QFont>(chosen);
    };
    qobject_cast<QAbstractButton*>(d->Companion("Watermark/Font", "button"))->click();
    EXPECT_EQ(started.family(), "Arial");
    EXPECT_EQ(started.pointSize(), 14);
    EXPECT_EQ(font->currentText(), "Liberation Serif");
    EXPECT_EQ(font->count(), 3);
    EXPECT_EQ(settings.fonts, "Arial, DejaVu Sans,Liberation Serif");
    EXPECT_EQ(Edit(*d, "Watermark/Font Size")->text(), "31");
    EXPECT_EQ(Combo(*d, "Watermark/Font Style")->currentText(), "Bold Italic");
    // An underlined choice matches no style item: the style stays.
    chosen = QFont("Arial");
    chosen.setPointSize(9);
    chosen.setUnderline(true);
    qobject_cast<QAbstractButton*>(d->Companion("Watermark/Font", "button"))->click();
    EXPECT_EQ(font->count(), 3); // already listed
    EXPECT_EQ(Combo(*d, "Watermark/Font Style")->currentText(), "Bold Italic");
    EXPECT_EQ(Combo(*d, "Watermark/Font Effect")->currentIndex(), 0);
    // A stored font that is not installed opens the chooser on a stand-in;
    // OK on the stand-in keeps the stored name.
    font->setItemText(font->currentIndex(), "No Such Font Family");
    d->chooseFont = [](QFont start) {
        start.setFamily(QFontInfo(start).family());
        return std::optional<QFont>(start);
    };
    qobject_cast<QAbstractButton*>(d->Companion("Watermark/Font", "button"))->click();
    EXPECT_EQ(font->currentText(), "No Such Font Family");
    font->setItemText(font->currentIndex(), "Arial");
    Combo(*d, "Watermark/Font Style")->setCurrentIndex(3); // the stand-in was plain
    d->okButton()->click();
    EXPECT_EQ(settings.font, "Arial");
    EXPECT_EQ(settings.fontSize, 9);
    EXPECT_EQ(settings.fontStyle, 3);
}

TEST_F(PreferencesTest, ImageChooserAndTextsOnOneLine) {
    auto d = Open();
    QString start, filter;
    QString answer;
    d->chooseImage = [&](const QString& s, const QString& f) {
        start = s;
        filter = f;
        return answer;
    };
    Edit(*d, "Watermark/Image")->setText("  /pictures/old.png ");
    qobject_cast<QAbstractButton*>(d->Companion("Watermark/Image", "button"))->click();
    EXPECT_EQ(start, "/pictures/old.png");
    EXPECT_EQ(filter, "All Supported Files (*.jpg *.jpeg *.jpe *.jif *.png *.bmp *.rle *.dib);;"
                      "JPEG File (*.jpg *.jpeg *.jpe *.jif);;Portable Network Graphics (*.png);;"
                      "Windows or OS/2 Bitmap (*.bmp *.rle *.dib);;All Files (*)");
    EXPECT_EQ(Edit(*d, "Watermark/Image")->text(), "  /pictures/old.png "); // cancelled
    answer = "/pictures/logo.png";
    qobject_cast<QAbstractButton*>(d->Companion("Watermark/Image", "button"))->click();
    EXPECT_EQ(Edit(*d, "Watermark/Image")->text(), "/pictures/logo.png");

    Edit(*d, "Watermark/Text")->setText(" first\r\nsecond\tthird ");
    Edit(*d, "Advanced/Filename Mask")->setText("\t%filename%\n.%ext% ");
    Edit(*d, "Frame/Solid Left")->setText("");
    d->okButton()->click();
    EXPECT_EQ(settings.image, "/pictures/logo.png");
    EXPECT_EQ(settings.text, "firstsecondthird");
    EXPECT_EQ(settings.filenameMask, "%filename%.%ext%");
    EXPECT_EQ(settings.solidLeft, 0);
}

TEST_F(PreferencesTest, WhateverConfigHoldsShowsAndStoresValidValues) {
    settings.jpgQuality = 500;
    settings.jpgChroma = 9;
    settings.imageRotation = -40;
    settings.imageGamma = std::numeric_limits<float>::quiet_NaN();
    settings.jpgBpp = 17; // not a depth the format has
    settings.imageWidth = -12;
    settings.uiTheme = "no-such-theme";
    settings.text = QString(100 * 1024, QLatin1Char('w'));
    auto d = Open();
    EXPECT_EQ(Track(*d, "Output/JPG Quality")->value(), 100);
    EXPECT_EQ(Combo(*d, "Output/JPG Chroma")->currentIndex(), 0);
    EXPECT_EQ(Combo(*d, "Interface/UI Theme")->currentText(), "None");
    d->okButton()->click();
    EXPECT_EQ(settings.jpgQuality, 100);
    EXPECT_EQ(settings.jpgChroma, 0);
    EXPECT_EQ(settings.imageRotation, 0);
    EXPECT_FLOAT_EQ(settings.imageGamma, 1.0f);
    EXPECT_EQ(settings.jpgBpp, 0);
    EXPECT_EQ(settings.imageWidth, -12); // no range: kept as it was
    EXPECT_EQ(settings.text.size(), 100 * 1024);
    EXPECT_EQ(settings.uiTheme, "");
}

TEST_F(PreferencesTest, ThemesAndIconSizeRebuildTheWindow) {
    const QList<ThemeEntry> themes = {{"zeta", "Zeta Look"}, {"alpha", "Alpha Look"}, {"x", ""}};
    settings.uiTheme = "zeta";
    settings.uiSize = 2;
    auto d = Open(1, themes);
    QComboBox* theme = Combo(*d, "Interface/UI Theme");
    ASSERT_EQ(theme->count(), 2); // sorted by id; a theme without a name is left out
    EXPECT_EQ(theme->itemText(0), "Alpha Look");
    EXPECT_EQ(theme->currentText(), "Zeta Look");
    // Only the size: the toolbar is rebuilt at the new size, the menu stays.
    QMenuBar* menu = window->menuBar();
    Combo(*d, "Interface/UI Size")->setCurrentIndex(0);
    d->okButton()->click();
    EXPECT_EQ(settings.uiSize, 0);
    EXPECT_EQ(window->mainToolbar()->iconSize(), QSize(16, 16));
    EXPECT_EQ(window->menuBar(), menu);
    // The theme: everything is rebuilt.
    auto again = Open(1, themes);
    Combo(*again, "Interface/UI Theme")->setCurrentIndex(0);
    again->okButton()->click();
    EXPECT_EQ(settings.uiTheme, "alpha");
    EXPECT_NE(window->menuBar(), menu);
}

TEST_F(PreferencesTest, DefaultsAskFirst) {
    settings.jpgQuality = 50;
    auto d = Open();
    Track(*d, "Output/JPG Quality")->setValue(60);
    {
        MessageBoxCloser closer(QMessageBox::No);
        d->defaultsButton()->click();
        EXPECT_EQ(closer.seen.count, 1);
        EXPECT_EQ(closer.seen.caption, "Reset to Defaults");
        EXPECT_EQ(closer.seen.text,
                  "Are you sure you want to reset all your settings to the default values?");
        EXPECT_EQ(closer.seen.icon, QMessageBox::Question);
    }
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(Track(*d, "Output/JPG Quality")->value(), 60); // the edit survives
    EXPECT_EQ(settings.jpgQuality, 50);
    {
        MessageBoxCloser closer(QMessageBox::Yes);
        d->defaultsButton()->click();
    }
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(settings.jpgQuality, 95);
    EXPECT_EQ(settings.configPath, dir.path() + "/config.ini");
    Settings loaded;
    LoadConfiguration(loaded, settings.configPath);
    EXPECT_EQ(loaded.jpgQuality, 95);
}

TEST_F(PreferencesTest, ASettingsFileThatCannotBeWrittenIsReported) {
    ASSERT_TRUE(WriteBytes(dir.path() + "/plain-file", "x"));
    settings.configPath = dir.path() + "/plain-file/config.ini"; // no folder can be there
    auto d = Open();
    Track(*d, "Output/JPG Quality")->setValue(70);
    MessageBoxCloser closer;
    d->okButton()->click();
    EXPECT_EQ(closer.seen.count, 1);
    EXPECT_EQ(closer.seen.text, "Unable to save the file: " + settings.configPath + "!");
    EXPECT_EQ(settings.jpgQuality, 70); // kept for this session
}

TEST_F(PreferencesTest, WindowCommandsOpenTheDialogOnTheirPages) {
    int seenPage = -1;
    auto inspect = [&] {
        WaitUntil(
            [&] { return qobject_cast<PreferencesDialog*>(QApplication::activeModalWidget()); });
        auto* d = qobject_cast<PreferencesDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        seenPage = d->CurrentPage();
        d->cancelButton()->click();
    };
    QTimer::singleShot(0, inspect);
    window->Dispatch(kCommandFormatOptions);
    EXPECT_EQ(seenPage, kPageOutput);
    QTimer::singleShot(0, inspect);
    window->Dispatch(kCommandPreferences);
    EXPECT_EQ(seenPage, kPageGeneral);
}

TEST_F(PreferencesTest, ChangesInTheDialogShapeTheNextConversion) {
    ASSERT_TRUE(WriteBytes(dir.path() + "/pic.dds", DdsBgra32(TestPicture(64, 48))));
    ASSERT_TRUE(window->AcceptInputFile(dir.path() + "/pic.dds"));
    QTimer::singleShot(0, [&] {
        WaitUntil(
            [&] { return qobject_cast<PreferencesDialog*>(QApplication::activeModalWidget()); });
        auto* d = qobject_cast<PreferencesDialog*>(QApplication::activeModalWidget());
        Type(Spin(*d, "Output/JPG Quality"), "20");
        Combo(*d, "Frame/Do Frame")->setCurrentIndex(1);
        Edit(*d, "Frame/Solid Left")->setText("8");
        d->chooseColor = [](const QColor&) { return std::optional<QColor>(QColor(255, 0, 0)); };
        qobject_cast<QAbstractButton*>(d->Companion("Frame/Solid Left Color", "button"))->click();
        d->okButton()->click();
    });
    window->Dispatch(kCommandPreferences);
    EXPECT_EQ(settings.jpgQuality, 20);
    EXPECT_EQ(settings.doFrame, 1);

    ProgressWatch watch;
    window->Dispatch(kCommandConvert);
    EXPECT_EQ(watch.label, "Files converted: 1 of 1");
    const QString out = dir.path() + "/pic.jpg";
    EXPECT_EQ(InspectJpeg(out).luminanceTable, ExpectedLuminanceTable(20));
    FIBITMAP* jpeg = FreeImage_Load(FIF_JPEG, QFile::encodeName(out).constData(), 0);
    ASSERT_NE(jpeg, nullptr);
    RGBQUAD left{}, middle{};
    FreeImage_GetPixelColor(jpeg, 2, 24, &left);
    FreeImage_GetPixelColor(jpeg, 32, 24, &middle);
    EXPECT_GT(left.rgbRed, 200);
    EXPECT_LT(left.rgbGreen, 60);
    EXPECT_FALSE(middle.rgbRed > 200 && middle.rgbGreen < 60 && middle.rgbBlue < 60);
    FreeImage_Unload(jpeg);
    // And the next start sees them.
    Settings loaded;
    LoadConfiguration(loaded, settings.configPath);
    EXPECT_EQ(loaded.jpgQuality, 20);
    EXPECT_EQ(loaded.solidLeftColor, "FF0000");
}

// Every slider offers the range config.ini values are held to on load.
TEST(PreferencePages, EverySliderOffersItsSettingsRange) {
    int sliders = 0;
    auto check = [&](const PreferenceRow& row) {
        if (row.kind != RowKind::Slider) return;
        ++sliders;
        const SettingDef* def =
            FindSetting(QString::fromLatin1(row.group), QString::fromLatin1(row.key));
        ASSERT_NE(def, nullptr) << row.key;
        ASSERT_TRUE(def->ranged) << row.key;
        const double factor = row.scale == SliderScale::Gamma ? 100.0 : 1.0;
        EXPECT_EQ(row.minimum, std::lround(def->minimum * factor)) << row.key;
        EXPECT_EQ(row.maximum, std::lround(def->maximum * factor)) << row.key;
        EXPECT_LT(row.minimum, row.maximum) << row.key;
    };
    for (const PreferencePage& page : PreferencePages()) {
        for (const PreferenceRow& row : page.rows)
            check(row);
        for (const PreferenceArea& area : page.areas)
            for (const PreferenceRow& row : area.rows)
                check(row);
    }
    EXPECT_EQ(sliders, 17);
}

// Scrolling a long page with the wheel leaves its drop-downs, spin boxes and
// sliders alone unless one of them has the focus.
TEST_F(PreferencesTest, TheWheelScrollsLongPagesUntilAControlIsFocused) {
    settings.doImageRotation = settings.doImageResize = 1; // their rows enabled
    auto d = Open(4);                                      // Transform: longer than the dialog
    QComboBox* type = Combo(*d, "Transform/Image Resize Algorithm");
    QSlider* angle = Track(*d, "Transform/Image Rotation");
    const int before = type->currentIndex(), angleBefore = angle->value();
    auto wheel = [](QWidget* w) {
        QWheelEvent event(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
    };
    wheel(type);
    wheel(angle);
    EXPECT_EQ(type->currentIndex(), before);
    EXPECT_EQ(angle->value(), angleBefore);
    QApplication::setActiveWindow(d.get());
    type->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(WaitUntil([&] { return type->hasFocus(); }, 2000));
    wheel(type);
    EXPECT_NE(type->currentIndex(), before);
}
