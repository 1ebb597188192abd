#pragma once
// A minimal HTTP/1.0 client: one GET, the first bytes of the answer, the start
// of its body. Every phase (name lookup, connect, the wait for data) shares
// one time limit, and no more than a fixed number of bytes is ever read.

#include <QByteArray>
#include <QString>

namespace tarvix {

struct UrlParts {
    QString host;
    int port = 80;
    QString path = QStringLiteral("/"); // without a query
};

// "http://host:port/path?query" -> host, port (80 when absent), "/path".
UrlParts SplitUrl(const QString& url);
// The request, byte for byte: request line, Host, Accept, User-Agent,
// Connection: close, each ended by CR LF, and an empty line.
QByteArray BuildRequest(const UrlParts& url, const QString& agent);
// What the answer says: the text between the first and the second empty line,
// blanks trimmed, its first three characters; empty unless the status line is
// "HTTP/1.x 200". The bytes count up to the first
// NUL, as UTF-8 when valid, else as ISO 8859-1.
QString AnswerBody(const QByteArray& received);

constexpr int kFetchBufferBytes = 2048;
constexpr int kFetchTimeoutMs = 10000;
// The user agent when the caller gives none.
QString DefaultUserAgent();

// One GET of url; AnswerBody of what came back, or empty on any failure.
// timeoutMs bounds the whole fetch.
QString FetchUrlText(const QString& url, const QString& agent = QString(),
                     int timeoutMs = kFetchTimeoutMs);

} // namespace tarvix
