#pragma once
// Helpers for driving modal boxes and waiting on the event loop.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "ui/ProgressWindow.h"

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

// Watches for the progress window and reports what it showed at the end.
struct ProgressWatch {
    QString title, label;
    int value = -1, maximum = -1;
    bool seen = false;
    std::function<void(ProgressWindow*)> onOpen;
    QTimer timer;
    ProgressWatch() {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* w = qobject_cast<ProgressWindow*>(QApplication::activeModalWidget());
            if (!w) return;
            if (!seen) {
                seen = true;
                if (onOpen) onOpen(w);
            }
            if (w->okButton()->isEnabled()) {
                title = w->windowTitle();
                label = w->label()->text();
                value = w->bar()->value();
                maximum = w->bar()->maximum();
                w->okButton()->click();
            }
        });
        timer.start();
    }
};

} // namespace tarvix::test
