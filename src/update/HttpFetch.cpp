#include "update/HttpFetch.h"

#include "settings/IniFile.h"

#include <QUrl>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tarvix {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    addrinfo* result = nullptr;
    ~Lookup() {
        if (result) freeaddrinfo(result);
    }
};

// The system's resolver cannot be given a time limit, so it runs on a thread
// of its own; when the limit passes first, the fetch goes on without it and
// the thread ends by itself later.
std::shared_ptr<Lookup> Resolve(const QByteArray& host, const QByteArray& port,
                                Clock::time_point deadline) {
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, port] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* result = nullptr;
        if (getaddrinfo(host.constData(), port.constData(), &hints, &result) != 0) result = nullptr;
        std::lock_guard guard(lookup->mutex);
        lookup->result = result;
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();
    std::unique_lock guard(lookup->mutex);
    if (!lookup->done.wait_until(guard, deadline, [&] { return lookup->finished; })) return nullptr;
    return lookup;
}

struct Socket {
    int fd = -1;
    ~Socket() {
        if (fd >= 0) ::close(fd);
    }
};

bool ConnectWithin(Socket& s, const addrinfo* address, Clock::time_point deadline) {
    s.fd = ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                    address->ai_protocol);
    if (s.fd < 0) return false;
    if (::connect(s.fd, address->ai_addr, address->ai_addrlen) == 0) return true;
    if (errno != EINPROGRESS) return false;
    pollfd p{s.fd, POLLOUT, 0};
    if (::poll(&p, 1, MillisecondsLeft(deadline)) <= 0) return false;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(s.fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

bool SendAll(int fd, const QByteArray& data, Clock::time_point deadline) {
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n =
            ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, MillisecondsLeft(deadline)) <= 0) return false;
            continue;
        }
        return false;
    }
    return true;
}

} // namespace

QString DefaultUserAgent() {
    return QStringLiteral("Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; en)");
}

UrlParts SplitUrl(const QString& text) {
    UrlParts parts;
    QString rest = text.trimmed();
    const qsizetype scheme = rest.indexOf(QLatin1String("://"));
    if (scheme >= 0) rest = rest.mid(scheme + 3);
    qsizetype end = rest.size();
    for (QChar stop : {QChar('/'), QChar('?'), QChar('#')}) {
        const qsizetype at = rest.indexOf(stop);
        if (at >= 0 && at < end) end = at;
    }
    QString site = rest.left(end);
    QString path = rest.mid(end);
    const qsizetype userInfo = site.lastIndexOf(QLatin1Char('@'));
    if (userInfo >= 0) site = site.mid(userInfo + 1);
    const qsizetype colon = site.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0 && !site.endsWith(QLatin1Char(']'))) {
        bool ok = false;
        const int port = site.mid(colon + 1).toInt(&ok);
        parts.port = ok && port > 0 && port < 65536 ? port : 80;
        site = site.left(colon);
    }
    if (site.startsWith(QLatin1Char('[')) && site.endsWith(QLatin1Char(']')))
        site = site.mid(1, site.size() - 2);
    parts.host = site;
    for (QChar stop : {QChar('?'), QChar('#')}) {
        const qsizetype at = path.indexOf(stop);
        if (at >= 0) path.truncate(at);
    }
    parts.path = path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
    return parts;
}

QByteArray BuildRequest(const UrlParts& url, const QString& agent) {
    return "GET " + url.path.toLatin1() + " HTTP/1.0\r\n" + "Host: " + url.host.toLatin1() +
           "\r\n" + "Accept: */*\r\n" + "User-Agent: " + agent.toUtf8() + "\r\n" +
           "Connection: close\r\n\r\n";
}

QString AnswerBody(const QByteArray& received) {
    const QString text = DecodeUnmarkedTextToNul(received.left(kFetchBufferBytes));
    const QString blank = QStringLiteral("\r\n\r\n");
    const qsizetype start = text.indexOf(blank);
    if (start < 0) return QString();
    // Only a "200" answer carries the version: an error page whose body happens
    // to begin with digits says nothing about the version.
    const QStringView status = QStringView(text).left(text.indexOf(QLatin1String("\r\n")));
    const QList<QStringView> words = status.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2 || !words[0].startsWith(QLatin1String("HTTP/")) ||
        words[1] != QLatin1String("200"))
        return QString();
    QString body = text.mid(start + blank.size());
    const qsizetype stop = body.indexOf(blank);
    if (stop >= 0) body.truncate(stop);
    qsizetype b = 0, e = body.size();
    while (b < e && body[b] == QLatin1Char(' '))
        ++b;
    while (e > b && body[e - 1] == QLatin1Char(' '))
        --e;
    return body.mid(b, e - b).left(3);
}

QString FetchUrlText(const QString& url, const QString& agent, int timeoutMs) {
    if (url.trimmed().isEmpty()) return QString();
    const UrlParts parts = SplitUrl(url);
    if (parts.host.isEmpty()) return QString();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);

    const std::shared_ptr<Lookup> lookup =
        Resolve(QUrl::toAce(parts.host).isEmpty() ? parts.host.toUtf8() : QUrl::toAce(parts.host),
                QByteArray::number(parts.port), deadline);
    if (!lookup || !lookup->result) return QString();
    Socket socket;
    bool connected = false;
    for (const addrinfo* a = lookup->result; a && !connected; a = a->ai_next) {
        Socket attempt;
        if (ConnectWithin(attempt, a, deadline)) {
            std::swap(socket.fd, attempt.fd);
            connected = true;
        }
    }
    if (!connected) return QString();
    if (!SendAll(socket.fd, BuildRequest(parts, agent.isEmpty() ? DefaultUserAgent() : agent),
                 deadline))
        return QString();

    QByteArray received(kFetchBufferBytes, '\0');
    qsizetype filled = 0;
    while (filled < kFetchBufferBytes) {
        pollfd p{socket.fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, MillisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break; // the time is up
        const ssize_t n =
            ::recv(socket.fd, received.data() + filled, size_t(kFetchBufferBytes - filled), 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) break; // closed, or failed
        filled += n;
    }
    received.truncate(filled);
    return AnswerBody(received);
}

} // namespace tarvix
