#include "ui/PreviewWindow.h"

#include "core/AppInfo.h"
#include "core/FormatRegistry.h"
#include "core/StringTable.h"
#include "platform/Paths.h"
#include "platform/Plugins.h"
#include "request/InputSelection.h"
#include "ui/MainWindow.h"
#include "ui/ProgressWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tarvix {
namespace {

QString Dlg(const char* key) {
    return GetText(QStringLiteral("Dialog"), QString::fromLatin1(key));
}

} // namespace

PreviewWindow::PreviewWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(Dlg("Preview"));
    // Beside the main window, which stays usable.
    setModal(false);
    setWindowFlag(Qt::Window);
    resize(560, 460);
    setMinimumSize(320, 240);
    auto* layout = new QVBoxLayout(this);
    area_ = new QScrollArea(this);
    area_->setAlignment(Qt::AlignCenter);
    area_->setBackgroundRole(QPalette::Dark);
    view_ = new QLabel;
    view_->setObjectName(QStringLiteral("PreviewPicture"));
    view_->setAlignment(Qt::AlignCenter);
    view_->setWordWrap(true);
    area_->setWidget(view_);
    area_->setWidgetResizable(true);
    layout->addWidget(area_, 1);
    auto* row = new QHBoxLayout;
    info_ = new QLabel(this);
    info_->setObjectName(QStringLiteral("PreviewInfo"));
    info_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(info_, 1);
    actual_ = new QCheckBox(Dlg("Actual Size"), this);
    actual_->setObjectName(QStringLiteral("ActualSize"));
    row->addWidget(actual_);
    layout->addLayout(row);
    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("PreviewDescription"));
    description_->setWordWrap(true);
    description_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(description_);
    connect(actual_, &QCheckBox::toggled, this, [this] { ShowPicture(); });
    // The room for the picture changes with the window and with the lines below it.
    area_->viewport()->installEventFilter(this);
}

PreviewWindow::~PreviewWindow() {
    pending_.reset();
    if (worker_.joinable()) worker_.join();
}

void PreviewWindow::Request(std::shared_ptr<const ConversionRequest> request,
                            const QString& input) {
    pending_ = Job{std::move(request), input};
    if (!running_) StartNext();
    if (picture_.isNull()) view_->setText(Dlg("Preview Working"));
}

void PreviewWindow::ShowText(const QString& text) {
    pending_.reset();
    picture_ = QImage();
    result_ = PreviewPicture();
    view_->setPixmap(QPixmap());
    view_->setWordWrap(true);
    view_->setText(text);
    info_->clear();
    description_->clear();
    if (!running_) Q_EMIT Shown();
}

void PreviewWindow::StartNext() {
    if (!pending_) return;
    if (worker_.joinable()) worker_.join();
    QString reason;
    const EngineApi* engine = Engine(&reason);
    if (!engine) {
        pending_.reset();
        ShowText(QStringLiteral("The conversion engine could not be loaded: ") + reason);
        return;
    }
    Job job = std::move(*pending_);
    pending_.reset();
    running_ = true;
    worker_ = std::thread([this, engine, job = std::move(job)] {
        PreviewPicture picture = engine->previewFile(*job.request, job.input);
        bool read = false;
        QStringList description = engine->describeTexture(job.input, &read);
        QMetaObject::invokeMethod(
            this,
            [this, picture = std::move(picture), description = std::move(description)]() mutable {
                Finished(std::move(picture), std::move(description));
            },
            Qt::QueuedConnection);
    });
}

void PreviewWindow::Finished(PreviewPicture picture, QStringList description) {
    running_ = false;
    if (worker_.joinable()) worker_.join();
    // An older answer is not worth showing when a newer question waits.
    if (pending_) return StartNext();
    result_ = std::move(picture);
    description_->setText(description.join(QLatin1Char('\n')));
    if (!result_.converted) {
        picture_ = QImage();
        view_->setPixmap(QPixmap());
        view_->setWordWrap(true);
        view_->setText(result_.failure);
        info_->setText(result_.output);
    } else {
        picture_ = QImage(reinterpret_cast<const uchar*>(result_.pixels.constData()), result_.width,
                          result_.height, result_.width * 4, QImage::Format_ARGB32)
                       .copy();
        info_->setText(FormatText(Dlg("Preview Size"), QString::number(result_.outputWidth),
                                  QString::number(result_.outputHeight),
                                  QLocale().toString(qlonglong(result_.encoded.size())),
                                  result_.output));
        ShowPicture();
    }
    Q_EMIT Shown();
}

void PreviewWindow::ShowPicture() {
    if (picture_.isNull()) return;
    const qreal ratio = devicePixelRatioF();
    QImage shown = picture_;
    if (!actual_->isChecked()) {
        // Fitted into the view, never enlarged.
        const QSize room = (area_->viewport()->size() - QSize(4, 4)) * ratio;
        if (picture_.width() > room.width() || picture_.height() > room.height())
            shown = picture_.scaled(room.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio,
                                    Qt::SmoothTransformation);
    }
    QPixmap pixmap = QPixmap::fromImage(shown);
    // One picture pixel is one screen pixel at 1:1, also at 2x scale.
    pixmap.setDevicePixelRatio(ratio);
    // Wrapping would make the label trade height for width around the picture.
    view_->setWordWrap(false);
    view_->setText(QString());
    view_->setPixmap(pixmap);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_->viewport() && event->type() == QEvent::Resize && !actual_->isChecked())
        ShowPicture();
    return QDialog::eventFilter(watched, event);
}

void MainWindow::ShowPreview() {
    if (!preview_) preview_ = new PreviewWindow(this);
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
    RefreshPreview();
}

void MainWindow::RefreshPreview() {
    if (!preview_ || !preview_->isVisible()) return;
    // The first file Convert would take: the input itself, or the first
    // texture of the first folder.
    QString input;
    InputEntry entry;
    for (const QString& path : InputPaths()) {
        if (!IsFolder(path)) {
            input = path;
            break;
        }
        const FolderScan scan =
            ScanInputFolder(path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/'),
                            state_.acceptedExtensions);
        if (!scan.files.isEmpty()) {
            input = scan.files.firstKey();
            entry = scan.files.first();
            break;
        }
    }
    if (input.isEmpty()) return preview_->ShowText(GetText("Dialog", "Preview Empty"));
    bool marksStatus = false;
    if (const QString problem = RunSettingsProblem(settings_, &marksStatus); !problem.isEmpty())
        return preview_->ShowText(problem);
    RunState state = state_;
    state.inputList.clear();
    state.inputList.insert(input, entry);
    state.outputFolder = outputFolderList()->currentText().trimmed();
    if (state.outputFolder.isEmpty()) state.outputFolder = FolderOf(input);
    if (!state.outputFolder.endsWith(QLatin1Char('/'))) state.outputFolder += QLatin1Char('/');
    state.conversionType = OutputExtensions().value(outputFormatList()->currentData().toInt());
    std::optional<ConversionRequest> request = BuildConversionRequest(state, settings_);
    if (!request)
        return preview_->ShowText(
            FormatText(GetText(QStringLiteral("Msg"), QStringLiteral("Invalid watermark font")),
                       settings_.font));
    preview_->Request(std::make_shared<const ConversionRequest>(std::move(*request)), input);
}

} // namespace tarvix
