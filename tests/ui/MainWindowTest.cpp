#include "ui/MainWindow.h"
#include "request/ConversionRequest.h"

#include "DdsBuilder.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "core/AppInfo.h"
#include "core/StringTable.h"
#include "ui/ProgressWindow.h"
#include "ui/WindowedState.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    Settings settings;
    RunState state;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        ResetSettings(settings, false);
        ResetRunState(state);
        window = std::make_unique<MainWindow>(settings, state);
        window->FinishSetup();
        QApplication::processEvents();
    }
    void TearDown() override { window.reset(); }

    QString File(const QString& name, const QByteArray& bytes) {
        const QString path = dir.path() + "/" + name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    QString Dds(const QString& name = "pic.dds", int size = 32) {
        return File(name, DdsDxt1(TestPicture(size, size)));
    }
    // Dropped onto the widget under the pointer (the input field unless told),
    // routed by the window as the desktop's drops are.
    void Drop(const QList<QUrl>& urls, const QString& text = QString(), QWidget* onto = nullptr) {
        DropOnto(onto ? onto : window->inputFileField(), urls, text);
    }
    SeenMessage Convert() {
        MessageBoxCloser closer;
        window->Dispatch(kCommandConvert);
        return closer.seen;
    }
    QString Msg(const char* key) { return GetText("Msg", key); }
};

} // namespace

TEST_F(MainWindowTest, TitleControlsAndCaptions) {
    EXPECT_EQ(window->windowTitle(), AppTitle());
    EXPECT_EQ(window->size(), QSize(510, 260));
    EXPECT_TRUE(window->isVisible());
    const QList<QLabel*> labels = window->controlPanel()->findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* l : labels)
        texts << l->text();
    EXPECT_TRUE(texts.contains("Input File:"));
    EXPECT_TRUE(texts.contains("Output Folder:"));
    EXPECT_TRUE(texts.contains("Output Format:"));
    EXPECT_EQ(window->noticeLabel()->text(), ProductNotice());
    EXPECT_EQ(window->outputFormatList()->count(), 1);
    EXPECT_EQ(window->outputFormatList()->itemText(0), "JPG (JPEG File Format)");
    EXPECT_TRUE(window->inputFileField()->text().isEmpty());
    EXPECT_FALSE(window->convertButton()->icon().isNull());
}

TEST_F(MainWindowTest, MenusShortcutsAndToolbar) {
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), "File");
    EXPECT_EQ(menus[1]->text(), "Converter");
    EXPECT_EQ(menus[2]->text(), "Help");
    QStringList items;
    for (QAction* menu : menus)
        for (QAction* a : menu->menu()->actions())
            if (!a->isSeparator()) items << a->text() + "|" + a->shortcut().toString();
    EXPECT_EQ(items,
              (QStringList{"New|Ctrl+N", "Add Input File...|", "Add Input Folder...|Ctrl+Shift+O",
                           "Select Output Folder...|", "Exit|Alt+X", "Convert|F5", "Preview|F6",
                           "Find a File Converter...|", "Preferences...|", "User Manual...|F1",
                           "Send Feedback|", "Visit the Program's Homepage|",
                           "Check For a New Version|", "About...|"}));
    QStringList tips;
    for (QAction* a : window->mainToolbar()->actions())
        tips << (a->isSeparator() ? QString("-") : a->toolTip());
    EXPECT_EQ(tips, (QStringList{"New", "Add Input File...", "Add Input Folder...",
                                 "Select Output Folder...", "-", "Preferences...", "-", "Convert",
                                 "Preview", "-", "User Manual...", "Send Feedback",
                                 "Visit the Program's Homepage", "Check For a New Version"}));
    EXPECT_EQ(window->mainToolbar()->iconSize(), QSize(32, 32)); // "UI Size" 2
    EXPECT_EQ(window->optionButton(3)->actions().first()->toolTip(), "Options...");
}

TEST_F(MainWindowTest, TheNoticeStaysInsideAWindowTallerInConfig) {
    settings.height = 400; // the window cannot be taller than 260
    MainWindow tall(settings, state);
    tall.FinishSetup();
    QApplication::processEvents();
    EXPECT_EQ(tall.height(), 260);
    const QRect notice(tall.noticeLabel()->mapTo(&tall, QPoint(0, 0)), tall.noticeLabel()->size());
    EXPECT_TRUE(tall.rect().contains(notice)) << notice.y();
    EXPECT_EQ(tall.noticeLabel()->y(), 260 - 70 - tall.toolbarHeight());
}

TEST_F(MainWindowTest, KeyboardReachesEveryControl) {
    window->activateWindow();
    window->inputFileField()->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return window->inputFileField()->hasFocus(); }, 2000));
    // Tab goes from each field to the small button that serves it.
    QStringList order;
    for (int i = 0; i < 7; ++i) {
        QWidget* w = QApplication::focusWidget();
        order << (w->parentWidget() && w->parentWidget()->objectName().startsWith("Option")
                      ? w->parentWidget()->objectName()
                      : w->objectName());
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(w, &tab);
    }
    EXPECT_EQ(order,
              (QStringList{"InputFileField", "OptionButton1", "OutputFolderList", "OptionButton2",
                           "OutputFormatList", "OptionButton3", "ConvertButton"}));
    // F10 opens the first menu.
    QShortcut* f10 = nullptr;
    for (QShortcut* s : window->findChildren<QShortcut*>())
        if (s->key() == QKeySequence(Qt::Key_F10)) f10 = s;
    ASSERT_TRUE(f10);
    Q_EMIT f10->activated();
    EXPECT_EQ(window->menuBar()->activeAction(), window->menuBar()->actions().first());
}

TEST_F(MainWindowTest, ChoosersOpenWhereTheLastChoiceWas) {
    const QString folder = dir.path() + "/textures";
    QDir().mkpath(folder);
    const QString texture = Dds("textures/t.dds");
    window->chooseInputFolder = [&](const QString&) { return folder; };
    window->Dispatch(kCommandAddInputFolder);
    EXPECT_EQ(window->inputFileField()->text(), folder + "/");
    QString started;
    window->chooseInputFile = [&](const QString&, const QString& start) {
        started = start;
        return texture;
    };
    window->Dispatch(kCommandAddInputFile);
    EXPECT_EQ(started, folder);
    window->outputFolderList()->setCurrentIndex(-1);
    window->chooseOutputFolder = [&](const QString& start) {
        started = start;
        return QString();
    };
    window->Dispatch(kCommandSelectOutputFolder);
    EXPECT_EQ(started, folder);
}

TEST_F(MainWindowTest, LayoutFollowsTheWidthOnly) {
    auto check = [&](int W) {
        EXPECT_EQ(window->width(), W);
        EXPECT_EQ(window->height(), 260);
        EXPECT_EQ(window->inputFileField()->width(), W - 160);
        EXPECT_EQ(window->outputFolderList()->width(), W - 160);
        EXPECT_EQ(window->outputFormatList()->width(), W - 160);
        EXPECT_EQ(window->convertButton()->x(), W - 110);
        EXPECT_EQ(window->convertButton()->y(), 20);
        for (int n = 1; n <= 3; ++n) {
            EXPECT_EQ(window->optionButton(n)->geometry().topLeft(),
                      QPoint(W - 146, 19 + 40 * (n - 1)));
            EXPECT_EQ(window->optionButton(n)->size(), QSize(24, 24));
        }
        EXPECT_EQ(window->controlPanel()->width(), W);
        EXPECT_EQ(window->controlPanel()->height(), 260 - window->menuBarHeight() -
                                                        window->toolbarHeight() -
                                                        window->statusBarHeight() - 40);
    };
    check(510);
    window->resize(800, 400);
    QApplication::processEvents();
    check(800);
    window->resize(300, 100);
    QApplication::processEvents();
    check(510);
}

TEST_F(MainWindowTest, ChoosingAnInputFileProposesItsFolder) {
    const QString file = Dds();
    window->chooseInputFile = [&](const QString& filter, const QString&) {
        EXPECT_EQ(filter,
                  "All Supported Files (*.dds);;DirectDraw Surface File (*.dds);;All Files (*.*)");
        return file;
    };
    window->Dispatch(kCommandAddInputFile);
    EXPECT_EQ(window->inputFileField()->text(), file);
    EXPECT_EQ(window->outputFolderList()->currentText(), dir.path() + "/");
    EXPECT_EQ(settings.recentOutFolders, dir.path() + "/");
    EXPECT_EQ(state.inputList.keys(), QStringList{file});
    EXPECT_TRUE(state.currentInputFile.isEmpty());

    // With a folder chosen, a second file leaves the folder alone.
    QDir(dir.path()).mkpath("other");
    const QString second = File("other/second.DDS", DdsDxt1(TestPicture(8, 8)));
    window->chooseInputFile = [&](const QString&, const QString&) { return second; };
    window->Dispatch(kCommandAddInputFile);
    EXPECT_EQ(window->inputFileField()->text(), second);
    EXPECT_EQ(window->outputFolderList()->currentText(), dir.path() + "/");
    // Cancelling changes nothing.
    window->chooseInputFile = [](const QString&, const QString&) { return QString(); };
    window->Dispatch(kCommandAddInputFile);
    EXPECT_EQ(window->inputFileField()->text(), second);
}

TEST_F(MainWindowTest, OutputFolderHistory) {
    const QString a = dir.path() + "/a", b = dir.path() + "/b";
    QDir().mkpath(a);
    QDir().mkpath(b);
    QString next = a;
    window->chooseOutputFolder = [&](const QString&) { return next; };
    window->Dispatch(kCommandSelectOutputFolder);
    next = b;
    window->Dispatch(kCommandSelectOutputFolder);
    EXPECT_EQ(settings.recentOutFolders, b + "/\t" + a + "/");
    EXPECT_EQ(window->outputFolderList()->count(), 2);
    EXPECT_EQ(window->outputFolderList()->currentText(), b + "/");
    EXPECT_EQ(state.outputFolder, b + "/");
    // A folder that does not exist is ignored.
    next = dir.path() + "/missing";
    window->Dispatch(kCommandSelectOutputFolder);
    EXPECT_EQ(window->outputFolderList()->count(), 2);
    // Picking an item makes it the output folder.
    window->outputFolderList()->setCurrentIndex(1);
    EXPECT_EQ(state.outputFolder, a + "/");
}

TEST_F(MainWindowTest, OutputFolderHistoryKeepsTheNewestUpToItsLimit) {
    settings.outFoldersNumber = 5;
    QStringList folders;
    for (int i = 1; i <= 7; ++i) {
        folders << dir.path() + QStringLiteral("/f%1").arg(i);
        QDir().mkpath(folders.last());
    }
    QString next;
    window->chooseOutputFolder = [&](const QString&) { return next; };
    for (const QString& f : folders) {
        next = f;
        window->Dispatch(kCommandSelectOutputFolder);
    }
    // Newest first; f1 and f2 dropped.
    const QStringList expected = {folders[6] + "/", folders[5] + "/", folders[4] + "/",
                                  folders[3] + "/", folders[2] + "/"};
    EXPECT_EQ(settings.recentOutFolders, expected.join('\t'));
    QComboBox* list = window->outputFolderList();
    ASSERT_EQ(list->count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->itemText(i), expected[i]) << i;
    EXPECT_EQ(list->currentText(), expected[0]);

    // Choosing one already listed moves it to the front without a duplicate.
    next = folders[3];
    window->Dispatch(kCommandSelectOutputFolder);
    const QStringList reordered = {expected[3], expected[0], expected[1], expected[2], expected[4]};
    EXPECT_EQ(settings.recentOutFolders, reordered.join('\t'));
    ASSERT_EQ(list->count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->itemText(i), reordered[i]) << i;
}

TEST_F(MainWindowTest, NewClearsTheRequestButKeepsTheHistory) {
    const QString file = Dds();
    ASSERT_TRUE(window->AcceptInputFile(file));
    window->Dispatch(kCommandNew);
    EXPECT_TRUE(window->inputFileField()->text().isEmpty());
    EXPECT_TRUE(window->outputFolderList()->currentText().isEmpty());
    EXPECT_EQ(window->outputFolderList()->count(), 1);
    EXPECT_TRUE(state.inputList.isEmpty());
    EXPECT_FALSE(settings.recentOutFolders.isEmpty());
}

TEST_F(MainWindowTest, DropsOnAnyControlTakeEveryAcceptedLocalPath) {
    const QString first = Dds("first.dds"), second = Dds("second.dds");
    Drop({QUrl::fromLocalFile(first)});
    EXPECT_EQ(window->inputFileField()->text(), first);
    EXPECT_EQ(state.inputList.keys(), QStringList{first});
    // Files that are not accepted, remote URLs and plain text change nothing,
    // wherever they land.
    const QString png = File("x.png", "png");
    Drop({QUrl::fromLocalFile(png)});
    Drop({QUrl("http://example.org/a.dds")}, QString(), window->outputFormatList());
    Drop({}, "just some text");
    Drop({QUrl::fromLocalFile(File("empty.dds", ""))}, QString(), window->convertButton());
    EXPECT_EQ(window->inputFileField()->text(), first);
    EXPECT_EQ(state.inputList.keys(), QStringList{first});
    // Several at once, a folder among them: all kept, the field names the first.
    Drop({QUrl::fromLocalFile(second), QUrl::fromLocalFile(png), QUrl::fromLocalFile(dir.path()),
          QUrl::fromLocalFile(first)},
         QString(), window->outputFolderList());
    EXPECT_EQ(window->inputFileField()->text(), second + " and 2 more");
    EXPECT_EQ(window->InputPaths(), (QStringList{second, dir.path() + "/", first}));
    // Typing replaces the list.
    window->inputFileField()->end(false);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(window->inputFileField(), &key);
    EXPECT_EQ(window->InputPaths(), QStringList{second + " and 2 morex"});
}

TEST_F(MainWindowTest, UnknownCommandsAndExit) {
    MessageBoxCloser closer;
    window->Dispatch(CommandId(99)); // no such command: nothing
    EXPECT_EQ(closer.seen.count, 0);
    window->Dispatch(kCommandExit);
    EXPECT_TRUE(window->QuitRequested());
}

TEST_F(MainWindowTest, ConvertChecksInOrder) {
    SeenMessage seen = Convert();
    EXPECT_EQ(seen.caption, "Warning");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.text, Msg("Empty input files"));
    EXPECT_EQ(window->StatusText(), "Conversion stopped");

    window->inputFileField()->setText(File("zero.dds", ""));
    EXPECT_EQ(Convert().text, Msg("Empty input files"));

    const QString input = Dds();
    window->inputFileField()->setText("  " + input + " ");
    EXPECT_EQ(Convert().text, Msg("Empty output folder"));

    window->outputFolderList()->addItem(dir.path() + "/nowhere");
    window->outputFolderList()->setCurrentIndex(window->outputFolderList()->count() - 1);
    EXPECT_EQ(Convert().text, "The following output folder is invalid or doesn't exist:\n" +
                                  dir.path() +
                                  "/nowhere/\n\nPlease, correct the output path and try again!");

    window->outputFolderList()->addItem(dir.path());
    window->outputFolderList()->setCurrentIndex(window->outputFolderList()->count() - 1);
    settings.doImageResize = 1;
    settings.imageWidth = 0;
    EXPECT_EQ(Convert().text, "Invalid resize width value!");
    settings.imageWidth = 10;
    settings.imageHeight = 0;
    EXPECT_EQ(Convert().text, "Invalid resize height value!");
    settings.doImageResize = 0;

    settings.doWatermark = 1;
    settings.font = "No Such Family 4711";
    EXPECT_EQ(Convert().text, "Unable to load selected font for a watermark: No Such Family 4711");
    EXPECT_EQ(window->StatusText(), "Preparing...");
    settings.doWatermark = 2;
    settings.image = "";
    EXPECT_EQ(Convert().text, "Selected watermark image is invalid/empty!");
    settings.image = dir.path() + "/missing.png";
    EXPECT_EQ(Convert().text,
              "Unable to load selected file as a watermark image: " + dir.path() + "/missing.png");
    EXPECT_FALSE(QFile::exists(dir.path() + "/pic.jpg"));
}

TEST_F(MainWindowTest, ConversionThroughTheWindow) {
    ASSERT_TRUE(window->AcceptInputFile(Dds("run.dds", 64)));
    ProgressWatch watch;
    window->Dispatch(kCommandConvert);
    EXPECT_TRUE(watch.seen);
    EXPECT_EQ(watch.title, "Conversion complete (1/1)");
    EXPECT_EQ(watch.label, "Files converted: 1 of 1");
    EXPECT_EQ(watch.value, watch.maximum);
    EXPECT_EQ(watch.maximum, 2);
    EXPECT_EQ(window->StatusText(), "Conversion complete");
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(InspectJpeg(dir.path() + "/run.jpg").ok);
}

TEST_F(MainWindowTest, AFileThatFailsShowsNoneConverted) {
    window->inputFileField()->setText(dir.path() + "/missing.dds");
    window->outputFolderList()->addItem(dir.path());
    window->outputFolderList()->setCurrentIndex(window->outputFolderList()->count() - 1);
    ProgressWatch watch;
    window->Dispatch(kCommandConvert);
    EXPECT_EQ(watch.label, "Files converted: 0 of 1");
    EXPECT_EQ(watch.title, "Conversion complete (1/1)");
    EXPECT_EQ(window->StatusText(), "Conversion complete");
    // The one file's reason is the outcome.
    EXPECT_FALSE(watch.failure.isEmpty());
    EXPECT_EQ(watch.failures, QStringList{dir.path() + "/missing.dds: " + watch.failure});
}

TEST(FitWindowToScreen, StoredPlacesThatNoScreenShows) {
    const QRect screen(0, 0, 1920, 1080);
    Settings s;
    ResetSettings(s, false, QSize(1920, 1080));
    s.x = 300, s.y = 200, s.width = 800, s.height = 260;
    FitWindowToScreen(s, screen);
    EXPECT_EQ(QRect(s.x, s.y, s.width, s.height), QRect(300, 200, 800, 260)); // fits: kept
    for (QRect bad : {QRect(5000, 200, 510, 260), QRect(-2000, 100, 510, 260),
                      QRect(100, 1070, 510, 260), QRect(0, 0, 99999999, 260)}) {
        s.x = bad.x(), s.y = bad.y(), s.width = bad.width(), s.height = bad.height();
        FitWindowToScreen(s, screen);
        EXPECT_EQ(QRect(s.x, s.y, s.width, s.height), QRect(705, 410, 510, 260));
    }
}

TEST_F(MainWindowTest, StoppingARun) {
    // A big picture with a slow step leaves time to close the window.
    ASSERT_TRUE(window->AcceptInputFile(File("slow.dds", DdsDxt1(TestPicture(2048, 2048)))));
    settings.doImageRotation = 1;
    settings.imageRotation = 33;
    settings.doImageResize = 1;
    settings.imageWidth = settings.imageHeight = 300;
    settings.imageWidthUnit = settings.imageHeightUnit = 1;
    settings.imageResizeAlgorithm = 5;
    MessageBoxCloser closer(QMessageBox::Yes);
    ProgressWatch watch;
    watch.onOpen = [](ProgressWindow* w) { w->close(); };
    window->Dispatch(kCommandConvert);
    EXPECT_EQ(closer.seen.text, "Do you want to break the conversion?");
    EXPECT_EQ(watch.title, "Conversion stopped (1/1)");
    EXPECT_EQ(watch.label, "Conversion stopped");
    EXPECT_EQ(window->StatusText(), "Conversion stopped");
    // The file being converted is finished all the same.
    EXPECT_TRUE(QFile::exists(dir.path() + "/slow.jpg"));
}

TEST_F(MainWindowTest, AnsweringNoLetsTheRunContinue) {
    ASSERT_TRUE(window->AcceptInputFile(File("slow2.dds", DdsDxt1(TestPicture(1024, 1024)))));
    settings.doImageRotation = 1;
    settings.imageRotation = 33;
    MessageBoxCloser closer(QMessageBox::No);
    ProgressWatch watch;
    watch.onOpen = [](ProgressWindow* w) { w->close(); };
    window->Dispatch(kCommandConvert);
    EXPECT_EQ(watch.title, "Conversion complete (1/1)");
}

TEST_F(MainWindowTest, WindowStateForTheNextStart) {
    window->resize(700, 260);
    window->move(40, 50);
    QApplication::processEvents();
    StoreWindowState(*window, settings);
    EXPECT_EQ(settings.isMaximized, 0);
    EXPECT_EQ(settings.width, 700);
    EXPECT_EQ(settings.height, 260);
    window->showMaximized();
    QApplication::processEvents();
    StoreWindowState(*window, settings);
    EXPECT_EQ(settings.isMaximized, 1);
    EXPECT_EQ(settings.width, 700); // unchanged while maximised
    window->showMinimized();
    QApplication::processEvents();
    settings.isMaximized = 0;
    StoreWindowState(*window, settings);
    EXPECT_EQ(settings.isMaximized, 0); // nothing is stored for a minimised window
}

TEST(ShortenForDisplay, KeepsBothEnds) {
    const QString sixty = QString(30, 'a') + QString(30, 'b');
    EXPECT_EQ(ShortenForDisplay(sixty, 40), QString(18, 'a') + "..." + QString(18, 'b'));
    EXPECT_EQ(ShortenForDisplay("short", 40), "short");
    EXPECT_EQ(ShortenForDisplay("", 3), "");
}
