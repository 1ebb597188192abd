#include "update/UpdateCheck.h"
#include "update/HttpFetch.h"

#include "TestHttpServer.h"
#include "TestSupport.h"
#include "core/AppInfo.h"
#include "fuzz/UpdateFuzzBody.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace tarvix;
using namespace tarvix::test;

namespace {

QByteArray Answer(const QByteArray& body) {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

} // namespace

TEST(SplitUrl, HostPortAndPath) {
    UrlParts u = SplitUrl("http://orvella.example/files/tarvix.dat");
    EXPECT_EQ(u.host, "orvella.example");
    EXPECT_EQ(u.port, 80);
    EXPECT_EQ(u.path, "/files/tarvix.dat");
    u = SplitUrl("http://127.0.0.1:8080/files/tarvix.dat?x=1#top");
    EXPECT_EQ(u.host, "127.0.0.1");
    EXPECT_EQ(u.port, 8080);
    EXPECT_EQ(u.path, "/files/tarvix.dat");
    u = SplitUrl("example.org");
    EXPECT_EQ(u.host, "example.org");
    EXPECT_EQ(u.path, "/");
    u = SplitUrl("http://[::1]:81/a");
    EXPECT_EQ(u.host, "::1");
    EXPECT_EQ(u.port, 81);
    EXPECT_EQ(SplitUrl("http://host:notaport/").port, 80);
}

TEST(BuildRequest, ByteForByte) {
    EXPECT_EQ(
        BuildRequest(SplitUrl("http://orvella.example/files/tarvix.dat"), "Orvella DDS to JPG 2.7"),
        "GET /files/tarvix.dat HTTP/1.0\r\nHost: orvella.example\r\nAccept: */*\r\n"
        "User-Agent: Orvella DDS to JPG 2.7\r\nConnection: close\r\n\r\n");
}

TEST(AnswerBody, BetweenTheBlankLinesTrimmedToThreeCharacters) {
    EXPECT_EQ(AnswerBody(Answer("271")), "271");
    EXPECT_EQ(AnswerBody(Answer("  271  ")), "271");
    EXPECT_EQ(AnswerBody(Answer("2715")), "271");
    EXPECT_EQ(AnswerBody(Answer("\r\n271")), "\r\n2");
    EXPECT_EQ(AnswerBody(Answer("27\r\n\r\nmore")), "27");
    EXPECT_EQ(AnswerBody("no blank line at all"), "");
    EXPECT_EQ(AnswerBody(QByteArray("HTTP/1.0 200\r\n\r\n2\0"
                                    "71",
                                    21)),
              "2");
    // Only a 200 answer counts: any other status is a connection problem.
    for (const char* status : {"HTTP/1.0 404 Not Found", "HTTP/1.1 500 Oops", "HTTP/1.0 2000",
                               "ICY 200 OK", "HTTP/1.0"})
        EXPECT_EQ(AnswerBody(QByteArray(status) + "\r\n\r\n271"), "") << status;
    EXPECT_EQ(AnswerBody("HTTP/1.1 200 OK\r\n\r\n271"), "271");
    // Only the first 2048 bytes count.
    EXPECT_EQ(AnswerBody(QByteArray(2100, 'h') + "\r\n\r\n271"), "");
}

TEST(UpdateCheck, VersionTextsAndTheirAnswers) {
    const struct {
        const char* text;
        UpdateAnswer answer;
    } cases[] = {
        {"271", UpdateAnswer::NewVersion},        {"270", UpdateAnswer::UpToDate},
        {"269", UpdateAnswer::UpToDate},          {"2.7", UpdateAnswer::UpToDate},
        {"$FF", UpdateAnswer::UpToDate},          {"%11", UpdateAnswer::UpToDate},
        {"-5", UpdateAnswer::UpToDate},           {"", UpdateAnswer::ConnectionProblem},
        {"<ht", UpdateAnswer::ConnectionProblem}, {"\r\n2", UpdateAnswer::ConnectionProblem},
        {"999", UpdateAnswer::NewVersion},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyVersionText(c.text), c.answer) << c.text;
}

TEST(UpdateCheck, Schedule) {
    Settings s;
    ResetSettings(s, false);
    const int64_t now = 1'800'000'000;
    const int64_t day = 86400;
    s.updateRange = 1; // every week
    s.updateDate = int32_t(now - 6 * day);
    EXPECT_FALSE(UpdateCheckDue(s, now));
    s.updateDate = int32_t(now - 8 * day);
    EXPECT_TRUE(UpdateCheckDue(s, now));
    s.updateDate = int32_t(now - 7 * day);
    EXPECT_FALSE(UpdateCheckDue(s, now)); // due only once more than the interval passed
    s.updateRange = 5;
    s.updateDate = 0;
    EXPECT_FALSE(UpdateCheckDue(s, now));
    s.updateRange = 42; // unknown codes: 30 days
    s.updateDate = int32_t(now - 29 * day);
    EXPECT_FALSE(UpdateCheckDue(s, now));
    s.updateDate = int32_t(now - 31 * day);
    EXPECT_TRUE(UpdateCheckDue(s, now));
    EXPECT_EQ(UpdateIntervalDays(0), 1);
    EXPECT_EQ(UpdateIntervalDays(4), 180);
}

TEST(FetchUrlText, AgainstARealServer) {
    const struct {
        QByteArray answer;
        QString expect;
    } cases[] = {
        {Answer("271"), "271"},
        {Answer("2.7.1"), "2.7"},
        {Answer("  271\r\n"), "271"},
        // An error page is no version, whatever its body begins with.
        {"HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<html>gone</html>", ""},
        {"HTTP/1.0 503 Busy\r\n\r\n271", ""},
        {Answer(QByteArray(1 << 20, '9')), "999"},
        {Answer(QByteArray("\0\1\2binary", 9)), ""},
    };
    for (const auto& c : cases) {
        TestHttpServer server(c.answer);
        EXPECT_EQ(FetchUrlText(server.Url("/files/tarvix.dat?x"), "Agent 1", 3000), c.expect);
        EXPECT_EQ(server.Request(),
                  "GET /files/tarvix.dat HTTP/1.0\r\nHost: 127.0.0.1\r\n"
                  "Accept: */*\r\nUser-Agent: Agent 1\r\nConnection: close\r\n\r\n");
    }
    // Without an agent the default one is sent.
    TestHttpServer plain(Answer("270"));
    EXPECT_EQ(FetchUrlText(plain.Url("/v"), QString(), 3000), "270");
    EXPECT_TRUE(plain.Request().contains("User-Agent: " + DefaultUserAgent().toLatin1() + "\r\n"));
}

TEST(FetchUrlText, FailuresAndSlowServersStayWithinTheLimit) {
    EXPECT_EQ(FetchUrlText("", "a", 300), "");
    EXPECT_EQ(FetchUrlText(QStringLiteral("http://127.0.0.1:%1/").arg(RefusingPort()), "a", 300),
              "");
    {
        TestHttpServer closer({}, TestHttpServer::Mode::CloseAtOnce);
        EXPECT_EQ(FetchUrlText(closer.Url("/"), "a", 3000), "");
    }
    QElapsedTimer timer;
    {
        TestHttpServer silent({}, TestHttpServer::Mode::Silent);
        timer.start();
        EXPECT_EQ(FetchUrlText(silent.Url("/"), "a", 300), "");
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_GE(timer.elapsed(), 250);
    }
    {
        // One byte every 40 ms: the limit ends the wait with what arrived.
        TestHttpServer trickle(Answer("271"), TestHttpServer::Mode::Trickle);
        timer.start();
        EXPECT_EQ(FetchUrlText(trickle.Url("/"), "a", 400), "");
        EXPECT_LT(timer.elapsed(), 2000);
    }
    // A name that cannot be resolved.
    EXPECT_EQ(FetchUrlText("http://no-such-host.invalid/", "a", 2000), "");
    EXPECT_EQ(FetchUrlText("http:///nohost", "a", 300), "");
}

TEST(UpdateFuzzFindings, StayFixed) {
    const QDir findings(QStringLiteral(TARVIX_SOURCE_DIR "/tests/update/fuzz/findings"));
    ASSERT_TRUE(findings.exists());
    for (const QString& name : findings.entryList(QDir::Files))
        if (!name.endsWith(".md")) ReadUpdateAnswer(ReadBytes(findings.filePath(name)));
}
