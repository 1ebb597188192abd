// The update check as the window runs it, against a server on 127.0.0.1.

#include "GuiSupport.h"
#include "TestHttpServer.h"
#include "TestSupport.h"
#include "platform/LocalTime.h"
#include "request/ConversionRequest.h"
#include "ui/MainWindow.h"

#include <QUrl>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

class UpdateWindowTest : public ::testing::Test {
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
        window->updateTimeoutMs = 1500;
    }
    void TearDown() override {
        window.reset();
        qunsetenv("TARVIX_WEB_SITE");
    }
    void PointAt(const QString& site) { qputenv("TARVIX_WEB_SITE", site.toUtf8()); }
    SeenMessage Check(QMessageBox::StandardButton answer = QMessageBox::Ok) {
        MessageBoxCloser closer(answer);
        window->Dispatch(kCommandUpdates);
        return closer.seen;
    }
};

QByteArray Answer(const QByteArray& body) {
    return "HTTP/1.0 200 OK\r\n\r\n" + body;
}

} // namespace

TEST_F(UpdateWindowTest, TheThreeAnswers) {
    {
        TestHttpServer server(Answer("271"));
        PointAt(server.Url());
        SeenMessage seen = Check(QMessageBox::No);
        EXPECT_EQ(seen.caption, "New Update");
        EXPECT_EQ(seen.text, "A new version of Orvella DDS to JPG is available! Are you ready to "
                             "download it right now?");
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_TRUE(opened.isEmpty());
        seen = Check(QMessageBox::Yes);
        ASSERT_EQ(opened.size(), 1);
        EXPECT_EQ(opened[0], QUrl(server.Url("/tarvix/")));
        EXPECT_TRUE(server.Request().startsWith("GET /files/tarvix.dat HTTP/1.0\r\n"));
        EXPECT_TRUE(server.Request().contains("User-Agent: Orvella DDS to JPG 2.7\r\n"));
    }
    {
        TestHttpServer server(Answer("270"));
        PointAt(server.Url());
        const SeenMessage seen = Check();
        EXPECT_EQ(seen.caption, "No Update");
        EXPECT_EQ(seen.text, "There is no update of Orvella DDS to JPG yet. You're using the most "
                             "recent version.");
        EXPECT_EQ(seen.icon, QMessageBox::Information);
    }
    PointAt(QStringLiteral("http://127.0.0.1:%1").arg(RefusingPort()));
    SeenMessage seen = Check();
    EXPECT_EQ(seen.caption, "Error");
    EXPECT_EQ(seen.text, "Internet connection problems!");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    // An address that is no URL at all opens nothing and says the same.
    PointAt("::: not a site :::");
    seen = Check();
    EXPECT_EQ(seen.text, "Internet connection problems!");
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(UpdateWindowTest, TheWindowWaitsWithoutFreezingAndChecksOnlyOnce) {
    TestHttpServer silent({}, TestHttpServer::Mode::Silent);
    PointAt(silent.Url());
    window->updateTimeoutMs = 600;
    bool disabledMeanwhile = false, painted = false;
    QTimer probe;
    probe.setInterval(50);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!window->isEnabled()) {
            disabledMeanwhile = true;
            painted = true;            // the event loop runs while the fetch waits
            window->CheckForUpdates(); // a second check does not start
        }
    });
    probe.start();
    const SeenMessage seen = Check();
    probe.stop();
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(painted);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(silent.Connections(), 1);
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.text, "Internet connection problems!");
}

TEST_F(UpdateWindowTest, TheStartUpCheckFollowsTheSchedule) {
    TestHttpServer server(Answer("269"));
    PointAt(server.Url());
    const int64_t now = LocalNowSeconds();
    settings.updateRange = 1;
    settings.updateDate = int32_t(now - 6 * 86400);
    {
        MessageBoxCloser closer(QMessageBox::Yes);
        window->ScheduledUpdateCheck();
        EXPECT_EQ(closer.seen.count, 0);
    }
    EXPECT_EQ(settings.updateDate, int32_t(now - 6 * 86400));

    settings.updateDate = int32_t(now - 8 * 86400);
    {
        MessageBoxCloser closer(QMessageBox::No);
        window->ScheduledUpdateCheck();
        EXPECT_EQ(closer.seen.count, 1);
        EXPECT_EQ(closer.seen.caption, "Check for Updates");
        EXPECT_EQ(closer.seen.text, "Do you want to check for updates?");
    }
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_GE(settings.updateDate, int32_t(now)); // moved to now, though declined

    settings.updateDate = int32_t(now - 8 * 86400);
    {
        MessageBoxCloser closer(QMessageBox::Yes);
        window->ScheduledUpdateCheck();
        EXPECT_EQ(closer.seen.count, 2); // the question, then the answer
        EXPECT_EQ(closer.seen.caption, "No Update");
    }
    EXPECT_EQ(server.Connections(), 1);

    settings.updateRange = 5;
    settings.updateDate = 0;
    MessageBoxCloser closer;
    window->ScheduledUpdateCheck();
    EXPECT_EQ(closer.seen.count, 0);
}
