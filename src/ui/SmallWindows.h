#pragma once
// The small windows: About, the converter finder, the uninstall start and the
// screenshot start, and the links the Help menu hands to the desktop.

#include "core/RunState.h"
#include "settings/Settings.h"

#include <QDialog>
#include <QUrl>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvix {

using OpenUrl = std::function<void(const QUrl&)>;

// Hands a web page, mail link or file to the desktop's default handler; an
// address that is no usable URL opens nothing. The handler's result is not
// awaited.
void OpenOnDesktop(const QUrl& url);

// Help › Send Feedback: a mail to support with the subject "<title> Feedback".
QUrl FeedbackUrl();
// The manual shipped in the data folder; an empty URL when it is missing.
QUrl ManualUrl();

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(QWidget* parent, OpenUrl open);
    QLabel* webLink() const { return web_; }
    QLabel* mailLink() const { return mail_; }
    QPushButton* okButton() const { return ok_; }

private:
    QLabel* web_;
    QLabel* mail_;
    QPushButton* ok_;
};

// Only ASCII letters and digits of text.
QString KeepAlphanumeric(const QString& text);

class CustomConverterDialog : public QDialog {
    Q_OBJECT
public:
    CustomConverterDialog(QWidget* parent, OpenUrl open);
    QLineEdit* fromField() const { return from_; }
    QLineEdit* toField() const { return to_; }
    QPushButton* searchButton() const { return search_; }
    // The cleaned texts of the last Search.
    QString from, to;

private:
    OpenUrl open_;
    QLineEdit* from_;
    QLineEdit* to_;
    QPushButton* search_;
    void Search();
};

class UninstallDialog : public QDialog {
    Q_OBJECT
public:
    explicit UninstallDialog(OpenUrl open);
    QCheckBox* checkBox() const { return check_; }
    QPushButton* nextButton() const { return next_; }

private:
    QCheckBox* check_;
    QPushButton* next_;
};

// The "-T" start: the main window with sample values, rendered into
// "tarvix1.jpg" and a 180-pixel-wide "tarvix1x.jpg" in folder (the program
// folder when empty). Nothing is written when the folder does not exist.
void TakeScreenshots(const QString& folder, Settings& settings, RunState& state);

} // namespace tarvix
