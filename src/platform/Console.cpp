#include "platform/Console.h"

#include "platform/Terminal.h"

namespace tarvix {

void PrintLine(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes += '\n';
    const bool toError =
        text.startsWith(QLatin1String("Error: ")) || text.startsWith(QLatin1String("Warning: "));
    WriteStream(toError, bytes);
}

void WaitForKey() {
    WaitForKeyPress();
}

} // namespace tarvix
