#pragma once
// Helpers for driving modal boxes and waiting on the event loop.

#include <QAbstractButton>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWindow>
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

// A drag that enters, moves and drops onto the widget's centre, handed to its
// window as the platform hands them: the window picks the widget that takes it.
inline void DropOnto(QWidget* widget, const QList<QUrl>& urls, const QString& text = QString()) {
    QWidget* top = widget->window();
    const QPoint at = widget->mapTo(top, widget->rect().center());
    QMimeData mime;
    if (!urls.isEmpty()) mime.setUrls(urls);
    if (!text.isEmpty()) mime.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(top->windowHandle(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(top->windowHandle(), &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(top->windowHandle(), &drop);
}

// Watches for the progress window and reports what it showed at the end.
struct ProgressWatch {
    QString title, label;
    QString failure;      // the outcome's line about files not converted
    QStringList failures; // the details list
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
                failure = w->failureLabel()->isVisible() ? w->failureLabel()->text() : QString();
                failures = w->Failures();
                value = w->bar()->value();
                maximum = w->bar()->maximum();
                w->okButton()->click();
            }
        });
        timer.start();
    }
};

} // namespace tarvix::test
