#pragma once
// Shows the current input as a conversion would write it, before anything is
// written: the picture decoded from the encoded file, its size in pixels and
// bytes, and what the texture holds. The work runs off the window's thread; a
// newer request replaces one that has not started.

#include "core/PluginApi.h"
#include "request/ConversionRequest.h"

#include <QDialog>
#include <QImage>
#include <memory>
#include <optional>
#include <thread>

class QCheckBox;
class QLabel;
class QScrollArea;

namespace tarvix {

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* parent);
    ~PreviewWindow() override;

    // Converts input with request and shows the result when done.
    void Request(std::shared_ptr<const ConversionRequest> request, const QString& input);
    // Shows a text instead of a picture (no input, or settings that cannot run).
    void ShowText(const QString& text);

    // The picture shown at full size (null while there is none).
    QImage Picture() const { return picture_; }
    // What the last finished request gave.
    const PreviewPicture& Result() const { return result_; }
    bool Working() const { return running_ || pending_.has_value(); }
    QLabel* infoLabel() const { return info_; }
    QLabel* pictureLabel() const { return view_; }
    QCheckBox* actualSizeBox() const { return actual_; }

Q_SIGNALS:
    // A result (picture or reason) is on screen.
    void Shown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Job {
        std::shared_ptr<const ConversionRequest> request;
        QString input;
    };
    std::thread worker_;
    bool running_ = false;
    std::optional<Job> pending_;
    PreviewPicture result_;
    QImage picture_;
    QScrollArea* area_;
    QLabel* view_;
    QLabel* info_;
    QLabel* description_;
    QCheckBox* actual_;

    void StartNext();
    void Finished(PreviewPicture picture, QStringList description);
    void ShowPicture();
};

} // namespace tarvix
