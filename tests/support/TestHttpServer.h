#pragma once
// A server on 127.0.0.1 for the update check's tests: it records each request
// and answers as told, one connection at a time, until destroyed.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

namespace tarvix::test {

class TestHttpServer {
public:
    enum class Mode {
        Answer,      // send the answer, then close
        CloseAtOnce, // close without a byte
        Silent,      // read the request, then wait without answering
        Trickle,     // send the answer one byte at a time, 40 ms apart
    };
    explicit TestHttpServer(QByteArray answer = {}, Mode mode = Mode::Answer);
    ~TestHttpServer();
    int Port() const { return port_; }
    QString Url(const QString& path = QString()) const;
    // The bytes of the last request received.
    QByteArray Request() const;
    int Connections() const { return connections_; }

private:
    int listener_ = -1;
    int port_ = 0;
    QByteArray answer_;
    Mode mode_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    QByteArray request_;
    std::thread thread_;
    void Serve();
};

// A port on 127.0.0.1 that refuses connections.
int RefusingPort();

} // namespace tarvix::test
