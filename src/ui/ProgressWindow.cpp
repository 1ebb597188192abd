// The windowed conversion run: the checks of Convert, the progress window that
// watches the worker, and the outcome.

#include "ui/ProgressWindow.h"

#include "core/AppInfo.h"
#include "core/FormatRegistry.h"
#include "core/StringTable.h"
#include "platform/Console.h"
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
#include <QDesktopServices>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace tarvix {
namespace {

QString Msg(const char* key) {
    return GetText(QStringLiteral("Msg"), QString::fromLatin1(key));
}

QString Dlg(const char* key) {
    return GetText(QStringLiteral("Dialog"), QString::fromLatin1(key));
}

} // namespace

void FailureLog::FileFinished(const QString& input, const QString&, bool converted,
                              const QString& failure) {
    if (converted) return;
    const QString reason = failure.isEmpty() ? QStringLiteral("conversion failed") : failure;
    std::lock_guard guard(lock_);
    if (lines_.isEmpty()) firstReason_ = reason;
    lines_ << input + QStringLiteral(": ") + reason;
}

QString FailureLog::FirstReason() const {
    std::lock_guard guard(lock_);
    return firstReason_;
}

QStringList FailureLog::Lines() const {
    std::lock_guard guard(lock_);
    return lines_;
}

ProgressWindow::ProgressWindow(QWidget* parent, const ConversionRequest& request,
                               QStringList skipped)
    : QDialog(parent), request_(request), skipped_(std::move(skipped)) {
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
    // Shown once the run has ended.
    failure_ = new QLabel(this);
    failure_->setObjectName(QStringLiteral("FailureLabel"));
    failure_->setWordWrap(true);
    failure_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    failure_->hide();
    details_ = new QPushButton(Dlg("Details"), this);
    details_->setObjectName(QStringLiteral("DetailsButton"));
    details_->hide();
    connect(details_, &QPushButton::clicked, this, &ProgressWindow::ShowDetails);
    openFolder_ = new QPushButton(Dlg("Open Output Folder"), this);
    openFolder_->setObjectName(QStringLiteral("OpenFolderButton"));
    openFolder_->hide();
    connect(openFolder_, &QPushButton::clicked, this, [this] {
        const QUrl folder = QUrl::fromLocalFile(request_.outputFolder);
        auto* main = qobject_cast<MainWindow*>(parentWidget());
        if (main && main->openUrl)
            main->openUrl(folder);
        else
            QDesktopServices::openUrl(folder);
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
        engine->batchWorker(request_, progress_, &log_);
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
        const QString outcome = Msg("Conversion complete");
        if (main) main->SetStatusText(outcome);
        ShowProgress(outcome, shown_);
        label_->setText(FormatText(Msg("Files converted"), QString::number(converted),
                                   QString::number(total_)));
        bar_->setValue(total_ + 1);
    }
    ShowOutcomeControls();
    ok_->setEnabled(true);
    ok_->setFocus();
}

QStringList ProgressWindow::Failures() const {
    return skipped_ + log_.Lines();
}

void ProgressWindow::ShowOutcomeControls() {
    const QStringList failures = Failures();
    // Started from a terminal, the reasons are there too, as a command-line
    // run prints them.
    for (const QString& line : failures)
        PrintLine(QStringLiteral("Error: ") + line);
    int y = 75;
    if (!failures.isEmpty()) {
        // One file: its reason is the outcome; several: how many, and Details.
        const bool single = failures.size() == 1 && total_ <= 1 && skipped_.isEmpty();
        failure_->setText(single
                              ? log_.FirstReason()
                              : FormatText(Msg("Files failed"), QString::number(failures.size())));
        failure_->setToolTip(failures.size() == 1 ? failures.first() : QString());
        failure_->setGeometry(10, 64, 280, 2 * fontMetrics().lineSpacing() + 2);
        failure_->show();
        y = 66 + failure_->height() + 6;
    }
    // Left to right: Details (when something failed), Open Output Folder, OK.
    int x = 10;
    auto place = [&](QPushButton* button) {
        const int w = std::max(80, button->sizeHint().width());
        button->setGeometry(x, y, w, 25);
        button->show();
        x += w + 6;
    };
    if (!failures.isEmpty()) place(details_);
    place(openFolder_);
    place(ok_);
    setFixedSize(std::max(300, x - 6 + 10), y + 35);
}

void ProgressWindow::ShowDetails() {
    auto* dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("FailedFilesDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(Dlg("Failed Files"));
    dialog->resize(560, 260);
    auto* layout = new QVBoxLayout(dialog);
    auto* list = new QPlainTextEdit(Failures().join(QLatin1Char('\n')), dialog);
    list->setObjectName(QStringLiteral("FailedFilesList"));
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(list);
    auto* close = new QPushButton(Dlg("Close"), dialog);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    dialog->open();
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

QString RunSettingsProblem(const Settings& settings, bool* marksStatus) {
    *marksStatus = true;
    if (settings.doImageResize) {
        if (settings.imageWidth == 0) return Msg("Invalid width");
        if (settings.imageHeight == 0) return Msg("Invalid height");
    }
    *marksStatus = false;
    if (settings.doWatermark == kWatermarkImage) {
        if (settings.image.isEmpty()) return Msg("Empty watermark image");
        if (!FileExists(settings.image) || IsFolder(settings.image) ||
            FileSize(settings.image) <= 0)
            return FormatText(Msg("Invalid watermark image"), settings.image);
    }
    return QString();
}

void MainWindow::BatchRun() {
    // The request is what the window shows.
    const QStringList paths = InputPaths();
    state_.currentInputFile = paths.value(0);
    state_.inputList.clear();
    // Folders are taken as the command line takes them: every texture below,
    // with its subfolder; what cannot be taken is reported with the failures.
    FolderScan found;
    for (const QString& path : paths) {
        if (IsFolder(path))
            AddInputFolder(path, state_.acceptedExtensions, found);
        else if (FileSize(path) != 0 &&
                 state_.acceptedExtensions.contains(ExtensionOf(path).toLower()))
            found.files.insert(path, InputEntry{});
    }
    state_.inputList = found.files;
    const QStringList& skipped = found.problems;
    state_.outputFolder = outputFolderList()->currentText().trimmed();
    const int format = outputFormatList()->currentData().toInt();
    state_.conversionType = OutputExtensions().value(format);
    SetStatusText(GetText(QStringLiteral("General"), QStringLiteral("Preparing")));

    auto stop = [this](const QString& warning) {
        SetStatusText(Msg("Conversion is not complete"));
        ShowWarning(this, warning);
    };
    if (state_.inputList.isEmpty()) {
        // A folder that could not be read says why.
        QString text = Msg("Empty input files");
        if (!skipped.isEmpty())
            text +=
                QStringLiteral("\n\n") + QStringList(skipped.mid(0, 10)).join(QLatin1Char('\n'));
        return stop(text);
    }
    if (state_.outputFolder.isEmpty()) return stop(Msg("Empty output folder"));
    if (!state_.outputFolder.endsWith(QLatin1Char('/'))) state_.outputFolder += QLatin1Char('/');
    if (!IsFolder(state_.outputFolder))
        return stop(FormatText(Msg("Invalid output folder"), state_.outputFolder));
    bool marksStatus = false;
    if (const QString problem = RunSettingsProblem(settings_, &marksStatus); !problem.isEmpty())
        return marksStatus ? stop(problem) : ShowWarning(this, problem);
    // The run's output parameters, and a text watermark's font.
    const std::optional<ConversionRequest> request = BuildConversionRequest(state_, settings_);
    if (!request)
        return ShowWarning(this, FormatText(Msg("Invalid watermark font"), settings_.font));

    AddRecentOutputFolder(settings_, state_.outputFolder);
    RefreshOutputFolderList();
    SetStatusText(GetText(QStringLiteral("General"), QStringLiteral("Converting")));

    setEnabled(false);
    {
        ProgressWindow window(this, *request, skipped);
        window.Run();
    }
    setEnabled(true);
    activateWindow();
}

} // namespace tarvix
