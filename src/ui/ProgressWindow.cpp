// The windowed conversion run: the checks of Convert, the progress window that
// watches the worker, and the outcome.

#include "ui/ProgressWindow.h"

#include "core/AppInfo.h"
#include "core/FormatRegistry.h"
#include "core/StringTable.h"
#include "platform/Paths.h"
#include "platform/Plugins.h"
#include "request/ConversionRequest.h"
#include "request/InputSelection.h"
#include "settings/OutputHistory.h"
#include "settings/Vocabulary.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace tarvix {
namespace {

QString Msg(const char* key) {
    return GetText(QStringLiteral("Msg"), QString::fromLatin1(key));
}

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent, const ConversionRequest& request)
    : QDialog(parent), request_(request) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(GetText(QStringLiteral("Dialog"), QStringLiteral("Convert Progress")));
    setFixedSize(300, 110);
    setModal(true);
    label_ = new QLabel(this);
    label_->setGeometry(10, 13, 280, 20);
    bar_ = new QProgressBar(this);
    bar_->setGeometry(10, 40, 280, 20);
    bar_->setTextVisible(false);
    ok_ = new QPushButton(GetText(QStringLiteral("Dialog"), QStringLiteral("OK")), this);
    ok_->setGeometry(110, 75, 80, 25);
    ok_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (finished_) accept();
    });
    timer_ = new QTimer(this);
    timer_->setInterval(15);
    connect(timer_, &QTimer::timeout, this, &ProgressWindow::Poll);
    if (parent) move(parent->geometry().center() - QPoint(150, 55));
}

ProgressWindow::~ProgressWindow() {
    if (worker_.joinable()) {
        progress_.Stop();
        progress_.Resume();
        worker_.join();
    }
}

bool ProgressWindow::Run() {
    total_ = int(request_.inputs.size());
    bar_->setRange(0, total_ + 1);
    bar_->setValue(0);
    const int average = QFontMetrics(font()).horizontalAdvance(QStringLiteral("abc123:\\-")) / 9;
    maxChars_ = 280 / std::max(1, average);
    averageWidth_ = std::max(1, average);

    progress_.Reset();
    workerDone_ = false;
    QString reason;
    const EngineApi* engine = Engine(&reason);
    if (!engine) {
        ShowWarning(parentWidget(),
                    QStringLiteral("The conversion engine could not be loaded: ") + reason);
        return false;
    }
    worker_ = std::thread([this, engine] {
        engine->batchWorker(request_, progress_, nullptr);
        workerDone_ = true;
    });
    timer_->start();
    exec();
    timer_->stop();
    if (worker_.joinable()) worker_.join();
    return !stopped_;
}

void ProgressWindow::Poll() {
    if (finished_) return;
    if (!workerDone_) {
        int index = 0;
        QString path;
        {
            std::lock_guard guard(progress_.lock);
            index = progress_.index;
            path = progress_.path;
        }
        if (index > shown_) {
            shown_ = index;
            ShowProgress(GetText(QStringLiteral("Dialog"), QStringLiteral("Convert Progress")),
                         index);
            label_->setText(path.size() * averageWidth_ > 280 ? ShortenForDisplay(path, maxChars_)
                                                              : path);
            bar_->setValue(index);
        }
        return;
    }
    // The worker has ended: once.
    finished_ = true;
    worker_.join();
    int converted = 0;
    {
        std::lock_guard guard(progress_.lock);
        converted = progress_.converted;
        shown_ = progress_.index;
    }
    auto* main = qobject_cast<MainWindow*>(parentWidget());
    if (stopped_) {
        if (main) main->SetStatusText(Msg("Conversion is not complete"));
        ShowProgress(Msg("Conversion is not complete"), shown_);
        label_->setText(Msg("Conversion is not complete"));
    } else {
        // Nothing converted is no completed conversion, whatever the counts say.
        const QString outcome =
            converted > 0 ? Msg("Conversion complete") : Msg("Conversion is not complete");
        if (main) main->SetStatusText(outcome);
        ShowProgress(outcome, shown_);
        label_->setText(FormatText(Msg("Files converted"), QString::number(converted),
                                   QString::number(total_)));
        bar_->setValue(total_ + 1);
    }
    ok_->setEnabled(true);
    ok_->setFocus();
}

void ProgressWindow::ShowProgress(const QString& prefix, int index) {
    setWindowTitle(prefix + QLatin1Char(' ') +
                   FormatText(Msg("Progress"), QString::number(index), QString::number(total_)));
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    event->ignore();
    AskToStop();
}

void ProgressWindow::reject() {
    // Escape is a close request like the close box.
    if (finished_)
        QDialog::reject();
    else
        AskToStop();
}

void ProgressWindow::AskToStop() {
    if (asking_ || stopped_) return;
    asking_ = true;
    progress_.Pause(); // the worker waits at its next step while the question is open
    const bool yes = AskYesNo(this, Msg("Warning"), Msg("Ask break conversion"));
    progress_.Resume();
    asking_ = false;
    if (yes) {
        stopped_ = true;
        progress_.Stop();
    }
}

void MainWindow::BatchRun() {
    // The request is what the window shows.
    state_.currentInputFile = inputFileField()->text().trimmed();
    state_.inputList.clear();
    const QString& path = state_.currentInputFile;
    if (FileSize(path) != 0 && state_.acceptedExtensions.contains(ExtensionOf(path).toLower()))
        state_.inputList.insert(path, InputEntry{});
    state_.outputFolder = outputFolderList()->currentText().trimmed();
    const int format = outputFormatList()->currentData().toInt();
    state_.conversionType = OutputExtensions().value(format);
    SetStatusText(GetText(QStringLiteral("General"), QStringLiteral("Preparing")));

    auto stop = [this](const QString& warning) {
        SetStatusText(Msg("Conversion is not complete"));
        ShowWarning(this, warning);
    };
    if (state_.inputList.isEmpty()) return stop(Msg("Empty input files"));
    if (state_.outputFolder.isEmpty()) return stop(Msg("Empty output folder"));
    if (!state_.outputFolder.endsWith(QLatin1Char('/'))) state_.outputFolder += QLatin1Char('/');
    if (!IsFolder(state_.outputFolder))
        return stop(FormatText(Msg("Invalid output folder"), state_.outputFolder));
    if (settings_.doImageResize) {
        if (settings_.imageWidth == 0) return stop(Msg("Invalid width"));
        if (settings_.imageHeight == 0) return stop(Msg("Invalid height"));
    }
    if (settings_.doWatermark == kWatermarkImage) {
        if (settings_.image.isEmpty()) return ShowWarning(this, Msg("Empty watermark image"));
        if (!FileExists(settings_.image) || IsFolder(settings_.image) ||
            FileSize(settings_.image) <= 0)
            return ShowWarning(this, FormatText(Msg("Invalid watermark image"), settings_.image));
    }
    // The run's output parameters, and a text watermark's font.
    const std::optional<ConversionRequest> request = BuildConversionRequest(state_, settings_);
    if (!request)
        return ShowWarning(this, FormatText(Msg("Invalid watermark font"), settings_.font));

    AddRecentOutputFolder(settings_, state_.outputFolder);
    RefreshOutputFolderList();
    SetStatusText(GetText(QStringLiteral("General"), QStringLiteral("Converting")));

    setEnabled(false);
    {
        ProgressWindow window(this, *request);
        window.Run();
    }
    setEnabled(true);
    activateWindow();
}

} // namespace tarvix
