#include "platform/Console.h"

#include "platform/Paths.h"
#include "platform/Terminal.h"
#include "platform/TerminationSignals.h"

#include <atomic>
#include <mutex>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tarvix {

QString EscapeControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!IsControlCharacter(c)) {
            out += c;
        } else if (u == '\n') {
            out += QLatin1String("\\n");
        } else if (u == '\t') {
            out += QLatin1String("\\t");
        } else if (u == '\r') {
            out += QLatin1String("\\r");
        } else {
            out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

namespace {

// Whether the status line is on the screen; guarded, as the workers print too
// (and atomic, as a signal handler reads it).
std::mutex gStatusLock;
std::atomic<bool> gStatusShown{false};

void EraseStatusLocked() {
    if (!gStatusShown) return;
    WriteStream(true, QByteArrayLiteral("\r\x1b[K"));
    gStatusShown = false;
}

// Ctrl-C, a closed terminal or a kill leaves the terminal without the line:
// the shell's prompt would follow it otherwise.
void EraseStatusOnSignal() {
    if (gStatusShown.exchange(false)) {
        static const char erase[] = "\r\x1b[K";
        (void)!::write(STDERR_FILENO, erase, sizeof erase - 1);
    }
}

} // namespace

bool ErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

int ErrorColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

void ShowStatusLine(const QString& text) {
    RunOnTerminationSignals(EraseStatusOnSignal);
    std::lock_guard guard(gStatusLock);
    WriteStream(true, "\r" + EscapeControls(text).toUtf8() + "\x1b[K");
    gStatusShown = true;
}

void ClearStatusLine() {
    std::lock_guard guard(gStatusLock);
    EraseStatusLocked();
}

void PrintLine(const QString& text) {
    // One call, one line: a name holding a line break or an escape sequence
    // can neither split a message nor pass for another one.
    QByteArray bytes = EscapeControls(text).toUtf8();
    bytes += '\n';
    const bool toError =
        text.startsWith(QLatin1String("Error: ")) || text.startsWith(QLatin1String("Warning: "));
    std::lock_guard guard(gStatusLock);
    EraseStatusLocked();
    WriteStream(toError, bytes);
}

void PrintErrorDetail(const QString& text) {
    std::lock_guard guard(gStatusLock);
    EraseStatusLocked();
    WriteStream(true, (QStringLiteral("  ") + EscapeControls(text)).toUtf8() + '\n');
}

void WaitForKey() {
    WaitForKeyPress();
}

} // namespace tarvix
