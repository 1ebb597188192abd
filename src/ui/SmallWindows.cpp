#include "ui/SmallWindows.h"

#include "core/AppInfo.h"
#include "core/StringTable.h"
#include "platform/Paths.h"
#include "ui/Dialogs.h"
#include "ui/Icons.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QFrame>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrlQuery>
#include <cmath>

namespace tarvix {
namespace {

QString Text(const char* group, const char* key) {
    return GetText(QString::fromLatin1(group), QString::fromLatin1(key));
}

QLabel* Label(QWidget* parent, const QString& text, const QRect& geometry,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

// A link drawn in pure blue, as the design has it, whatever the style.
QLabel* Link(QWidget* parent, const QString& shown, const QUrl& target, const QRect& geometry,
             const OpenUrl& open) {
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setTextFormat(Qt::RichText);
    label->setText(
        QStringLiteral("<a href=\"%1\" style=\"color:#0000ff;\">%2</a>")
            .arg(target.toString(QUrl::FullyEncoded).toHtmlEscaped(), shown.toHtmlEscaped()));
    label->setCursor(Qt::PointingHandCursor);
    // Reached with Tab and opened with Enter like any other control.
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(label, &QLabel::linkActivated, label,
                     [open, target](const QString&) { open(target); });
    return label;
}

void CentreOn(QWidget* window, QWidget* parent) {
    const QRect area = parent ? parent->geometry()
                       : QGuiApplication::primaryScreen()
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 800, 600);
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

// Written under a temporary name and renamed into place: a failed write never
// leaves half a picture.
bool SaveJpeg(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QImageWriter writer(&file, "jpg");
    writer.setQuality(90);
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

void OpenOnDesktop(const QUrl& url) {
    if (url.isValid() && !url.scheme().isEmpty() && !url.toString().isEmpty())
        QDesktopServices::openUrl(url);
}

QUrl FeedbackUrl() {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(SupportEmail());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), AppTitle() + QStringLiteral(" Feedback"));
    url.setQuery(query);
    return url;
}

QUrl ManualUrl() {
    const QString path = DataFolder() + QStringLiteral("manual/index.html");
    return QFileInfo(path).isFile() ? QUrl::fromLocalFile(path) : QUrl();
}

AboutWindow::AboutWindow(QWidget* parent, OpenUrl open) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(Text("About", "Title"));
    setFixedSize(360, 240);
    setModal(true);
    auto* banner = new QLabel(this);
    banner->setGeometry(0, 0, 360, 40);
    banner->setPixmap(QPixmap::fromImage(IconImage(0)));
    auto* panel = new QFrame(this);
    panel->setGeometry(0, 40, 360, 150);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    Label(this, AppTitle(), QRect(20, 50, 320, 20), Qt::AlignHCenter | Qt::AlignTop);
    Label(this, ProductNotice(), QRect(20, 70, 320, 20), Qt::AlignHCenter | Qt::AlignTop);
    Label(this, Text("About", "Website"), QRect(80, 100, 60, 20));
    Label(this, Text("About", "Email"), QRect(80, 120, 50, 20));
    web_ = Link(this, WebSite(), QUrl(WebSite(), QUrl::StrictMode), QRect(140, 100, 215, 20), open);
    mail_ = Link(this, SupportEmail(), QUrl(QStringLiteral("mailto:") + SupportEmail()),
                 QRect(140, 120, 215, 20), open);
    ok_ = new QPushButton(Text("Dialog", "OK"), this);
    ok_->setGeometry(140, 200, 80, 25);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    CentreOn(this, parent);
}

QString KeepAlphanumeric(const QString& text) {
    QString kept;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z'))
            kept += c;
    }
    return kept;
}

CustomConverterDialog::CustomConverterDialog(QWidget* parent, OpenUrl open)
    : QDialog(parent), open_(std::move(open)) {
    setObjectName(QStringLiteral("CustomConverterDialog"));
    setWindowTitle(Text("Custom-Converter", "Title"));
    setFixedSize(370, 60);
    setModal(true);
    Label(this, Text("Custom-Converter", "From"), QRect(10, 23, 40, 20));
    from_ = new QLineEdit(this);
    from_->setGeometry(50, 20, 80, 20);
    Label(this, Text("Custom-Converter", "To"), QRect(150, 23, 30, 20));
    to_ = new QLineEdit(this);
    to_->setGeometry(180, 20, 80, 20);
    search_ = new QPushButton(Text("Custom-Converter", "Search"), this);
    search_->setGeometry(280, 18, 80, 25);
    search_->setDefault(true);
    search_->setAutoDefault(true);
    connect(search_, &QPushButton::clicked, this, &CustomConverterDialog::Search);
    CentreOn(this, parent);
    from_->setFocus();
}

void CustomConverterDialog::Search() {
    // At most twelve characters count, taken before the cleaning.
    from = KeepAlphanumeric(from_->text().left(12).toLower());
    to = KeepAlphanumeric(to_->text().left(12).toLower());
    if (from.isEmpty() || to.isEmpty()) {
        ShowWarning(this, Text("Msg", "Empty extensions"));
        return;
    }
    accept();
    open_(QUrl(WebSite() + QStringLiteral("/find/") + from + QLatin1Char('-') + to +
               QLatin1Char('/')));
}

UninstallDialog::UninstallDialog(OpenUrl open) {
    setObjectName(QStringLiteral("UninstallDialog"));
    setWindowTitle(Text("Uninstall", "Title"));
    setFixedSize(300, 100);
    check_ = new QCheckBox(Text("Uninstall", "Uninstall Text"), this);
    check_->setGeometry(30, 20, 250, 20);
    check_->setChecked(true);
    next_ = new QPushButton(Text("Uninstall", "Next"), this);
    next_->setGeometry(200, 60, 80, 25);
    next_->setDefault(true);
    connect(next_, &QPushButton::clicked, this, [this, open] {
        if (check_->isChecked()) open(QUrl(WebSite() + QStringLiteral("/tarvix/uninstall.html")));
        accept();
    });
    CentreOn(this, nullptr);
}

void TakeScreenshots(const QString& given, Settings& settings, RunState& state) {
    QString folder = given.trimmed();
    if (folder.isEmpty()) folder = state.programFolder;
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    if (!IsFolder(folder)) return;
    state.runMode = RunMode::Screenshot;

    MainWindow window(settings, state);
    window.move(400, 400);
    window.resize(510, 260);
    window.activateWindow();
    window.FinishSetup();
    window.inputFileField()->setText(QStringLiteral("/home/user/images/orvella.") +
                                     InputExtensions().value(0));
    QComboBox* folders = window.outputFolderList();
    folders->addItem(CommandIcon(MenuIds(), QStringLiteral("FavFolder")),
                     QStringLiteral("/home/user/converted/"));
    folders->setCurrentIndex(folders->count() - 1);
    window.outputFormatList()->setFocus();
    folders->setFocus();
    window.convertButton()->setFocus();

    QEventLoop wait;
    QTimer::singleShot(500, &wait, &QEventLoop::quit);
    wait.exec();

    // The window's own area: there is no frame of a window manager to take.
    QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The address is placed in the picture's own pixels: on a scaled screen
    // the grab holds more of them than the window has logical ones.
    const qreal scale = shot.devicePixelRatio();
    shot.setDevicePixelRatio(1);
    const int w = shot.width(), h = shot.height();
    {
        QPainter p(&shot);
        p.setRenderHint(QPainter::TextAntialiasing);
        QFont font = QApplication::font();
        font.setPointSizeF(8 * scale);
        p.setFont(font);
        p.setPen(Qt::black);
        const QString page = ProductPage();
        const int width = p.fontMetrics().horizontalAdvance(page);
        p.drawText(QRect(w - width - int(std::lround(35 * scale)), h - int(std::lround(26 * scale)),
                         width + 1, p.fontMetrics().height()),
                   Qt::AlignLeft | Qt::AlignTop, page);
    }
    SaveJpeg(shot, folder + QStringLiteral("tarvix1.jpg"));
    const int smallHeight = int(std::lround(180.0 * h / std::max(1, w)));
    SaveJpeg(
        shot.scaled(180, std::max(1, smallHeight), Qt::IgnoreAspectRatio, Qt::FastTransformation),
        folder + QStringLiteral("tarvix1x.jpg"));
}

} // namespace tarvix
