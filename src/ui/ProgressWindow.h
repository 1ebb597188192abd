#pragma once
// Shows a running conversion: which file, how far, and the outcome; closing it
// while the worker runs asks whether to stop after the current file.

#include "core/BatchProgress.h"
#include "request/ConversionRequest.h"

#include <QDialog>
#include <QStringList>
#include <atomic>
#include <mutex>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tarvix {

// Hears, on the worker's threads, which files were not converted and why.
class FailureLog : public BatchObserver {
public:
    void FileStarted(const QString&) override {}
    void FileFinished(const QString& input, const QString& output, bool converted,
                      const QString& failure) override;
    // "PATH: reason", in the order they ended.
    QStringList Lines() const;
    // The reason alone of the first file that failed (empty when none did).
    QString FirstReason() const;

private:
    mutable std::mutex lock_;
    QStringList lines_;
    QString firstReason_;
};

// Why these settings cannot run, in Convert's words (empty when they can);
// marksStatus: whether Convert also shows "Conversion stopped" for it.
QString RunSettingsProblem(const Settings& settings, bool* marksStatus);

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    // skipped: what was found in the input folders but could not be taken
    // ("PATH: reason"), counted with the files that fail.
    ProgressWindow(QWidget* parent, const ConversionRequest& request, QStringList skipped = {});
    ~ProgressWindow() override;
    // Starts the worker and shows the window until it is closed; false when the
    // user stopped the run.
    bool Run();

    QLabel* label() const { return label_; }
    QProgressBar* bar() const { return bar_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* detailsButton() const { return details_; }
    QPushButton* openFolderButton() const { return openFolder_; }
    QLabel* failureLabel() const { return failure_; }
    // Every file not converted, "PATH: reason", in the order they ended.
    QStringList Failures() const;

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
    QPushButton* details_;
    QPushButton* openFolder_;
    QLabel* failure_;
    QTimer* timer_;
    QStringList skipped_;
    FailureLog log_;
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
    void ShowOutcomeControls();
    void ShowDetails();
};

} // namespace tarvix
