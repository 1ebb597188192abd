// Folders and several files converted from the window, and the preview of what
// a conversion would write.

#include "request/ConversionRequest.h"
#include "ui/MainWindow.h"
#include "ui/PreviewWindow.h"

#include "DdsBuilder.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "core/StringTable.h"

#include <FreeImage.h>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>
#include <cstring>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

class WindowFoldersTest : public ::testing::Test {
protected:
    Settings settings;
    RunState state;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    QList<QUrl> opened;

    void SetUp() override {
        ResetSettings(settings, false);
        ResetRunState(state);
        window = std::make_unique<MainWindow>(settings, state);
        window->openUrl = [this](const QUrl& url) { opened << url; };
        window->FinishSetup();
        QApplication::processEvents();
    }
    void TearDown() override { window.reset(); }

    QString Put(const QString& name, const QByteArray& bytes) {
        const QString path = dir.path() + "/" + name;
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    void SetOutput(const QString& folder) {
        QDir().mkpath(folder);
        window->outputFolderList()->addItem(folder);
        window->outputFolderList()->setCurrentIndex(window->outputFolderList()->count() - 1);
    }
    static QMap<QString, QByteArray> Outputs(const QString& folder) {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files.insert(QDir(folder).relativeFilePath(path), ReadBytes(path));
        }
        return files;
    }
    // The preview's answer to the request in flight.
    void WaitForPreview() {
        ASSERT_TRUE(WaitUntil([&] { return !window->previewWindow()->Working(); }));
        QApplication::processEvents();
    }
};

QImage DecodeWithImageLibrary(const QString& path) {
    FIBITMAP* image = FreeImage_Load(FIF_JPEG, QFile::encodeName(path).constData(), 0);
    if (!image) return QImage();
    FIBITMAP* rgba = FreeImage_ConvertTo32Bits(image);
    FreeImage_Unload(image);
    const int w = int(FreeImage_GetWidth(rgba)), h = int(FreeImage_GetHeight(rgba));
    QImage out(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        std::memcpy(out.scanLine(y), FreeImage_GetScanLine(rgba, h - 1 - y), size_t(w) * 4);
    FreeImage_Unload(rgba);
    return out;
}

} // namespace

TEST_F(WindowFoldersTest, ADroppedFolderConvertsWhatTheCommandLineConverts) {
    const QString in = dir.path() + "/in";
    Put("in/top.dds", DdsDxt1(TestPicture(32, 16)));
    Put("in/walls/brick.DDS", DdsDxt1(TestPicture(24, 8)));
    Put("in/walls/old/moss.dds", DdsDxt1(TestPicture(8, 12)));
    Put("in/walls/broken.dds", QByteArray("DDS ") + QByteArray(60, '\x7f'));
    Put("in/readme.txt", "not a texture");
    settings.filenameMask = "%filename%-%n%.%ext%"; // the counter skips the broken file
    SetOutput(dir.path() + "/window");

    DropOnto(window->inputFileField(), {QUrl::fromLocalFile(in)});
    EXPECT_EQ(window->inputFileField()->text(), in + "/");
    ProgressWatch watch;
    window->Dispatch(kCommandConvert);
    EXPECT_EQ(watch.title, "Conversion complete (4/4)");
    EXPECT_EQ(watch.label, "Files converted: 3 of 4");
    EXPECT_EQ(watch.failure, "Not converted: 1 (see Details)");
    ASSERT_EQ(watch.failures.size(), 1);
    EXPECT_TRUE(watch.failures[0].startsWith(in + "/walls/broken.dds: "))
        << watch.failures[0].toStdString();

    Sandbox box;
    QDir().mkpath(dir.path() + "/cli");
    const ProcessResult cli = box.Run(
        {"-q", "-i", in, "-o", dir.path() + "/cli", "--filename-mask=%filename%-%n%.%ext%"});
    // The broken file's reason is the one the command line gives.
    EXPECT_TRUE(cli.err.contains("Error: " + watch.failures[0] + "\n")) << cli.err.toStdString();
    const QMap<QString, QByteArray> fromWindow = Outputs(dir.path() + "/window");
    EXPECT_EQ(fromWindow.keys(),
              (QStringList{"top-00001.jpg", "walls/brick-00002.jpg", "walls/old/moss-00003.jpg"}));
    EXPECT_TRUE(fromWindow == Outputs(dir.path() + "/cli"));
}

TEST_F(WindowFoldersTest, DetailsListTheFailuresAndTheFolderOpensOnTheDesktop) {
    const QString good = Put("a/good.dds", DdsDxt1(TestPicture(16, 16)));
    const QString bad = Put("b/bad.dds", "DDS not really");
    QDir().mkpath(dir.path() + "/empty");
    SetOutput(dir.path() + "/out");
    DropOnto(window->outputFormatList(), {QUrl::fromLocalFile(good), QUrl::fromLocalFile(bad),
                                          QUrl::fromLocalFile(dir.path() + "/empty")});
    EXPECT_EQ(window->inputFileField()->text(), good + " and 2 more");
    ProgressWatch watch;
    QStringList listed;
    watch.onOpen = [&](ProgressWindow* w) {
        // Once ended: Details lists each failed file; Open Output Folder hands
        // the folder to the desktop.
        ASSERT_TRUE(WaitUntil([&] { return w->okButton()->isEnabled(); }));
        EXPECT_TRUE(w->detailsButton()->isVisible());
        w->detailsButton()->click();
        auto* list = w->findChild<QPlainTextEdit*>("FailedFilesList");
        ASSERT_TRUE(list);
        listed = list->toPlainText().split('\n');
        list->window()->close();
        w->openFolderButton()->click();
    };
    window->Dispatch(kCommandConvert);
    EXPECT_EQ(watch.label, "Files converted: 1 of 2");
    ASSERT_EQ(listed.size(), 1);
    EXPECT_TRUE(listed[0].startsWith(bad + ": "));
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(dir.path() + "/out/")});
    EXPECT_TRUE(QFile::exists(dir.path() + "/out/good.jpg"));
}

TEST_F(WindowFoldersTest, EmptyFoldersAndStopBetweenFiles) {
    QDir().mkpath(dir.path() + "/nothing/deeper");
    SetOutput(dir.path() + "/out");
    window->inputFileField()->setText(dir.path() + "/nothing");
    {
        MessageBoxCloser closer;
        window->Dispatch(kCommandConvert);
        EXPECT_EQ(closer.seen.text, GetText("Msg", "Empty input files"));
    }
    // Stopped while the first of three slow files converts, on one job: that
    // file is finished and no other is started.
    for (const char* name : {"s1.dds", "s2.dds", "s3.dds"})
        Put(QString("slow/") + name, DdsDxt1(TestPicture(1024, 1024)));
    settings.jobs = 1;
    settings.doImageRotation = 1;
    settings.imageRotation = 33;
    window->inputFileField()->setText(dir.path() + "/slow");
    MessageBoxCloser closer(QMessageBox::Yes);
    ProgressWatch watch;
    watch.onOpen = [](ProgressWindow* w) { w->close(); };
    window->Dispatch(kCommandConvert);
    EXPECT_EQ(watch.label, "Conversion stopped");
    EXPECT_EQ(Outputs(dir.path() + "/out").keys(), QStringList{"s1.jpg"});
}

TEST_F(WindowFoldersTest, PreviewShowsTheDecodedFileAConversionWrites) {
    const QString input = Put("tex/pic.dds", DdsDxt1(TestPicture(96, 64)));
    SetOutput(dir.path() + "/out");
    window->AcceptInputFile(input);
    struct Case {
        const char* name;
        std::function<void(Settings&)> set;
        QSize size;
    };
    const Case cases[] = {
        {"default", [](Settings&) {}, QSize(96, 64)},
        {"steps",
         [](Settings& s) {
             s.doImageResize = 1;
             s.imageWidth = s.imageHeight = 50;
             s.imageWidthUnit = s.imageHeightUnit = 1; // percent
             s.doFrame = 1;
             s.jpgQuality = 40;
         },
         QSize(48, 32)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSettings(settings, false);
        c.set(settings);
        // Preferences closed with OK: the open preview follows.
        if (!window->previewWindow())
            window->Dispatch(kCommandPreview);
        else
            window->ApplyPreferences(-1);
        WaitForPreview();
        const QImage shown = window->previewWindow()->Picture();
        ASSERT_EQ(shown.size(), c.size);
        EXPECT_TRUE(window->previewWindow()->infoLabel()->text().startsWith(
            QString("%1 x %2 pixels").arg(c.size.width()).arg(c.size.height())));
        ASSERT_TRUE(Outputs(dir.path() + "/out").isEmpty()) << "the preview wrote a file";

        ProgressWatch watch;
        window->Dispatch(kCommandConvert);
        const QString written = dir.path() + "/out/pic.jpg";
        EXPECT_EQ(window->previewWindow()->Result().encoded, ReadBytes(written));
        EXPECT_TRUE(shown == DecodeWithImageLibrary(written));
        QFile::remove(written);
    }
    // A file that would fail shows why instead of a picture.
    const QString broken = Put("tex/broken.dds", "DDS broken");
    window->AcceptInputFile(broken);
    WaitForPreview();
    EXPECT_TRUE(window->previewWindow()->Picture().isNull());
    EXPECT_FALSE(window->previewWindow()->Result().failure.isEmpty());
    EXPECT_EQ(window->previewWindow()->pictureLabel()->text(),
              window->previewWindow()->Result().failure);
}
