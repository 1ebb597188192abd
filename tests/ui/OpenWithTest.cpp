// Files handed over by the desktop's "open with": at start, and to a window
// that is already running.

#include "DdsBuilder.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "platform/InstanceSignal.h"
#include "request/ConversionRequest.h"
#include "ui/MainWindow.h"
#include "ui/WindowedMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocalServer>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

class OpenWithTest : public ::testing::Test {
protected:
    Settings settings;
    RunState state;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    QByteArray savedRuntime;

    void SetUp() override {
        savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        ResetSettings(settings, false);
        ResetRunState(state);
        window = std::make_unique<MainWindow>(settings, state);
        window->FinishSetup();
    }
    void TearDown() override {
        window.reset();
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
    }
    QString Texture(const QString& name) {
        const QString path = dir.path() + "/" + name;
        EXPECT_TRUE(WriteBytes(path, DdsDxt1(TestPicture(8, 8))));
        return path;
    }
};

} // namespace

TEST(FileOfKnock, OnlyWholeOpenMessages) {
    EXPECT_EQ(FileOfKnock("open /a/b c.dds\n"), "/a/b c.dds");
    EXPECT_EQ(FileOfKnock("raise\n"), "");
    EXPECT_EQ(FileOfKnock("open /cut/short"), "");
    EXPECT_EQ(FileOfKnock(""), "");
    EXPECT_EQ(FileOfKnock("open caf\xc3\xa9.dds\n"), QString::fromUtf8("caf\xc3\xa9.dds"));
}

TEST_F(OpenWithTest, AStartWithOneFileFillsTheInputField) {
    const QString file = Texture("start.dds");
    QByteArray arg = QFile::encodeName(file);
    char program[] = "tarvix";
    char* argv[] = {program, arg.data(), nullptr};
    OpenFileFromArguments(*window, 2, argv);
    EXPECT_EQ(window->inputFileField()->text(), file);
    EXPECT_EQ(window->outputFolderList()->currentText(), dir.path() + "/");
    // Options, folders and missing files are not opened.
    window->inputFileField()->clear();
    for (QByteArray other : {QByteArray("-q"), QFile::encodeName(dir.path()),
                             QFile::encodeName(dir.path() + "/missing.dds")}) {
        char* args[] = {program, other.data(), nullptr};
        OpenFileFromArguments(*window, 2, args);
        EXPECT_TRUE(window->inputFileField()->text().isEmpty()) << other.constData();
    }
}

TEST_F(OpenWithTest, ARunningWindowTakesTheFileHandedOver) {
    QLocalServer server;
    QLocalServer::removeServer(InstanceSocketPath());
    AcceptKnocks(server, *window);
    ASSERT_TRUE(server.listen(InstanceSocketPath()));
    const QString file = Texture("later.dds");
    EXPECT_TRUE(SignalRunningInstance(file));
    EXPECT_TRUE(WaitUntil([&] { return window->inputFileField()->text() == file; }, 5000));
    // A plain knock only raises.
    EXPECT_TRUE(SignalRunningInstance());
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(window->inputFileField()->text(), file);
}
