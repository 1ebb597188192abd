#include "platform/Terminal.h"

#include <cerrno>
#include <termios.h>
#include <unistd.h>

namespace tarvix {

void WriteStream(bool toError, const QByteArray& bytes) {
    const int fd = toError ? STDERR_FILENO : STDOUT_FILENO;
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return; // a closed stream is not worth failing the run for
        }
        data += n;
        left -= n;
    }
}

void WaitForKeyPress() {
    if (!::isatty(STDIN_FILENO)) return;
    termios saved{};
    if (::tcgetattr(STDIN_FILENO, &saved) != 0) return;
    termios raw = saved;
    raw.c_lflag &= ~tcflag_t(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) < 0 && errno == EINTR) {
    }
    ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

} // namespace tarvix
