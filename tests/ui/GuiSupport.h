#pragma once
// Helpers for driving modal boxes and waiting on the event loop.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <functional>

namespace tarvix::test {

struct SeenMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int count = 0;
};

// Watches for message boxes while the test runs an action that may open one;
// each box is recorded and answered with the button.
class MessageBoxCloser {
public:
    explicit MessageBoxCloser(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : answer_(answer) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            seen.caption = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            ++seen.count;
            QAbstractButton* button = box->button(answer_);
            if (!button) button = box->buttons().value(0);
            button->click();
        });
        timer_.start();
    }
    void SetAnswer(QMessageBox::StandardButton answer) { answer_ = answer; }
    SeenMessage seen;

private:
    QTimer timer_;
    QMessageBox::StandardButton answer_;
};

// Processes events until the condition holds or the time is up.
inline bool WaitUntil(const std::function<bool()>& condition, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace tarvix::test
