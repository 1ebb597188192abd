#pragma once
// Shows a running conversion: which file, how far, and the outcome; closing it
// while the worker runs asks whether to stop after the current file.

#include "core/BatchProgress.h"
#include "request/ConversionRequest.h"

#include <QDialog>
#include <atomic>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tarvix {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(QWidget* parent, const ConversionRequest& request);
    ~ProgressWindow() override;
    // Starts the worker and shows the window until it is closed; false when the
    // user stopped the run.
    bool Run();

    QLabel* label() const { return label_; }
    QProgressBar* bar() const { return bar_; }
    QPushButton* okButton() const { return ok_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    const ConversionRequest& request_;
    BatchProgress progress_;
    std::thread worker_;
    std::atomic<bool> workerDone_{false};
    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* ok_;
    QTimer* timer_;
    int total_ = 0;
    int shown_ = 0;
    int maxChars_ = 40;
    int averageWidth_ = 7;
    bool finished_ = false;
    bool stopped_ = false;
    bool asking_ = false;

    void Poll();
    void ShowProgress(const QString& prefix, int index);
    void AskToStop();
};

} // namespace tarvix
