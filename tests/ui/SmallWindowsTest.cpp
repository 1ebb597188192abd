// About, the converter finder, the uninstall dialog, the Help links and the
// screenshot start, driven on the offscreen platform.

#include "ui/SmallWindows.h"

#include "GuiSupport.h"
#include "TestSupport.h"
#include "request/ConversionRequest.h"
#include "ui/MainWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

class SmallWindowsTest : public ::testing::Test {
protected:
    Settings settings;
    RunState state;
    std::unique_ptr<MainWindow> window;
    QList<QUrl> opened;

    void SetUp() override {
        ResetSettings(settings, false);
        ResetRunState(state);
        window = std::make_unique<MainWindow>(settings, state);
        window->FinishSetup();
        window->openUrl = [this](const QUrl& url) { opened << url; };
    }
    void TearDown() override {
        window.reset();
        qunsetenv("TARVIX_DATA_DIR");
        qunsetenv("TARVIX_WEB_SITE");
    }
    // Runs a command whose dialog is modal; act works on the dialog once open.
    template <typename Dialog>
    void WithDialog(CommandId command, std::function<void(Dialog&)> act) {
        QTimer::singleShot(0, [&] {
            WaitUntil([] { return qobject_cast<Dialog*>(QApplication::activeModalWidget()); });
            auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            act(*d);
        });
        window->Dispatch(command);
    }
};

void Key(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

} // namespace

TEST_F(SmallWindowsTest, AboutWindowLinksAndKeys) {
    WithDialog<AboutWindow>(kCommandAbout, [&](AboutWindow& about) {
        EXPECT_EQ(about.windowTitle(), "About...");
        EXPECT_EQ(about.size(), QSize(360, 240));
        EXPECT_TRUE(about.isModal());
        EXPECT_TRUE(about.webLink()->text().contains("color:#0000ff"));
        Q_EMIT about.webLink()->linkActivated(QString());
        Q_EMIT about.mailLink()->linkActivated(QString());
        EXPECT_TRUE(about.isVisible()); // links keep it open
        const QStringList texts = [&] {
            QStringList all;
            for (QLabel* l : about.findChildren<QLabel*>())
                all << l->text();
            return all;
        }();
        EXPECT_TRUE(texts.contains("Orvella DDS to JPG 2.7"));
        EXPECT_TRUE(texts.contains("Web:"));
        EXPECT_TRUE(texts.contains("E-mail:"));
        // Tab reaches both links from the OK button.
        QSet<QWidget*> reached;
        QApplication::setActiveWindow(&about);
        about.okButton()->setFocus();
        ASSERT_TRUE(WaitUntil([&] { return about.okButton()->hasFocus(); }, 2000));
        for (int i = 0; i < 3; ++i) {
            Key(QApplication::focusWidget() ? QApplication::focusWidget() : &about, Qt::Key_Tab);
            reached << QApplication::focusWidget();
        }
        EXPECT_TRUE(reached.contains(about.webLink()) && reached.contains(about.mailLink()));
        about.okButton()->setFocus();
        Key(&about, Qt::Key_Return);
    });
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl("http://orvella.example"));
    EXPECT_EQ(opened[1], QUrl("mailto:support@orvella.example"));
    WithDialog<AboutWindow>(kCommandAbout,
                            [&](AboutWindow& about) { Key(&about, Qt::Key_Escape); });
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(SmallWindowsTest, FindAConverter) {
    EXPECT_EQ(KeepAlphanumeric(".DDS-2 ü?"), "DDS2");
    struct Case {
        QString from, to, url;
    };
    const QList<Case> cases = {
        {".DDS", "jpeg", "http://orvella.example/find/dds-jpeg/"},
        {"a.b.c.d.e.f.g.h", "png", "http://orvella.example/find/abcdef-png/"},
    };
    for (const Case& c : cases) {
        opened.clear();
        WithDialog<CustomConverterDialog>(kCommandCustomConverter, [&](CustomConverterDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Find a File Converter");
            EXPECT_TRUE(d.fromField()->text().isEmpty());
            EXPECT_TRUE(d.searchButton()->isDefault());
            d.fromField()->setText(c.from);
            d.toField()->setText(c.to);
            Key(d.toField(), Qt::Key_Return); // Return searches
        });
        ASSERT_EQ(opened.size(), 1) << c.from.toStdString();
        EXPECT_EQ(opened[0], QUrl(c.url));
    }
    // Nothing left after cleaning: the warning, and the dialog stays.
    opened.clear();
    WithDialog<CustomConverterDialog>(kCommandCustomConverter, [&](CustomConverterDialog& d) {
        d.fromField()->setText("????");
        d.toField()->setText("jpg");
        {
            MessageBoxCloser closer;
            d.searchButton()->click();
            EXPECT_EQ(closer.seen.count, 1);
            EXPECT_EQ(closer.seen.text, "Please, fill all required fields and try again!");
        }
        EXPECT_TRUE(d.isVisible());
        Key(&d, Qt::Key_Escape);
    });
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(SmallWindowsTest, UninstallOpensThePageOnlyWhenChecked) {
    for (bool checked : {true, false}) {
        opened.clear();
        UninstallDialog dialog([&](const QUrl& url) { opened << url; });
        EXPECT_EQ(dialog.windowTitle(), "Uninstall");
        EXPECT_EQ(dialog.checkBox()->text(), "Full Uninstall - Visit Uninstall Center");
        EXPECT_TRUE(dialog.checkBox()->isChecked());
        dialog.show();
        dialog.checkBox()->setChecked(checked);
        dialog.nextButton()->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(opened, checked
                              ? QList<QUrl>{QUrl("http://orvella.example/tarvix/uninstall.html")}
                              : QList<QUrl>{});
    }
    opened.clear();
    UninstallDialog closed([&](const QUrl& url) { opened << url; });
    closed.show();
    closed.close(); // the close box
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(SmallWindowsTest, HelpLinks) {
    window->Dispatch(kCommandHomepage);
    window->Dispatch(kCommandFeedback);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl("http://orvella.example/tarvix/"));
    EXPECT_EQ(opened[1].toEncoded(),
              "mailto:support@orvella.example?subject=Orvella%20DDS%20to%20JPG%202.7%20Feedback");

    // The manual: opened when it is there, nothing when it is not.
    QTemporaryDir data;
    qputenv("TARVIX_DATA_DIR", QFile::encodeName(data.path()));
    opened.clear();
    window->Dispatch(kCommandManual);
    EXPECT_TRUE(opened.isEmpty());
    QDir(data.path()).mkpath("manual");
    ASSERT_TRUE(WriteBytes(data.path() + "/manual/index.html", "<html></html>"));
    window->Dispatch(kCommandManual);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(data.path() + "/manual/index.html"));
}

TEST_F(SmallWindowsTest, ScreenshotsIntoAFolder) {
    QTemporaryDir folder;
    Settings s;
    ResetSettings(s, false);
    RunState st;
    ResetRunState(st);
    TakeScreenshots(" " + folder.path() + " ", s, st);
    const JpegInfo big = InspectJpeg(folder.path() + "/tarvix1.jpg");
    const JpegInfo small = InspectJpeg(folder.path() + "/tarvix1x.jpg");
    ASSERT_TRUE(big.ok);
    ASSERT_TRUE(small.ok);
    EXPECT_EQ(big.width, 510);
    EXPECT_EQ(big.height, 260);
    EXPECT_EQ(small.width, 180);
    EXPECT_EQ(small.height, 92); // 180 x 260 / 510 = 91.8
    EXPECT_EQ(big.luminanceTable, ExpectedLuminanceTable(90));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(st.runMode, RunMode::Screenshot);

    // A folder that is not there, or a file: nothing.
    TakeScreenshots(folder.path() + "/missing", s, st);
    ASSERT_TRUE(WriteBytes(folder.path() + "/file", "x"));
    TakeScreenshots(folder.path() + "/file", s, st);
    EXPECT_FALSE(QFile::exists(folder.path() + "/missing"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}
