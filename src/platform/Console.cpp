#include "platform/Console.h"

#include "platform/Terminal.h"

#include <QMutex>

namespace tarvix {
namespace {

QMutex& SinkMutex() {
    static QMutex mutex;
    return mutex;
}

std::function<void(const QString&)>& Sink() {
    static std::function<void(const QString&)> sink;
    return sink;
}

} // namespace

void PrintLine(const QString& text) {
    {
        QMutexLocker lock(&SinkMutex());
        if (Sink()) {
            Sink()(text);
            return;
        }
    }
    QByteArray bytes = text.toUtf8();
    bytes += '\n';
    const bool toError =
        text.startsWith(QLatin1String("Error: ")) || text.startsWith(QLatin1String("Warning: "));
    WriteStream(toError, bytes);
}

void WaitForKey() {
    WaitForKeyPress();
}

void SetConsoleSink(std::function<void(const QString&)> sink) {
    QMutexLocker lock(&SinkMutex());
    Sink() = std::move(sink);
}

} // namespace tarvix
