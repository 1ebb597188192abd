#include "TestHttpServer.h"

#include <QString>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvix::test {
namespace {

int Listen(int* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

} // namespace

TestHttpServer::TestHttpServer(QByteArray answer, Mode mode)
    : answer_(std::move(answer)), mode_(mode) {
    listener_ = Listen(&port_);
    thread_ = std::thread([this] { Serve(); });
}

TestHttpServer::~TestHttpServer() {
    stop_ = true;
    thread_.join();
    if (listener_ >= 0) ::close(listener_);
}

QString TestHttpServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

QByteArray TestHttpServer::Request() const {
    std::lock_guard guard(mutex_);
    return request_;
}

void TestHttpServer::Serve() {
    while (!stop_ && listener_ >= 0) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const int peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0) continue;
        ++connections_;
        if (mode_ != Mode::CloseAtOnce) {
            // The request ends with an empty line.
            QByteArray request;
            char buffer[4096];
            while (!request.contains("\r\n\r\n") && !stop_) {
                pollfd q{peer, POLLIN, 0};
                if (::poll(&q, 1, 20) <= 0) continue;
                const ssize_t n = ::recv(peer, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, n);
            }
            {
                std::lock_guard guard(mutex_);
                request_ = request;
            }
            if (mode_ == Mode::Answer) {
                qsizetype sent = 0;
                while (sent < answer_.size() && !stop_) {
                    const ssize_t n = ::send(peer, answer_.constData() + sent,
                                             size_t(answer_.size() - sent), MSG_NOSIGNAL);
                    if (n <= 0) break;
                    sent += n;
                }
            } else if (mode_ == Mode::Trickle) {
                for (qsizetype i = 0; i < answer_.size() && !stop_; ++i) {
                    if (::send(peer, answer_.constData() + i, 1, MSG_NOSIGNAL) != 1) break;
                    ::usleep(40000);
                }
            } else {
                while (!stop_)
                    ::usleep(10000);
            }
        }
        ::close(peer);
    }
}

int RefusingPort() {
    int port = 0;
    const int fd = Listen(&port);
    if (fd >= 0) ::close(fd); // nobody listens there any more
    return port;
}

} // namespace tarvix::test
