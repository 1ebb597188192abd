#include "ui/Dialogs.h"

#include "core/StringTable.h"

#include <QFileInfo>
#include <QMessageBox>

namespace tarvix {
namespace {

QMessageBox::Icon BoxIcon(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Question:
        return QMessageBox::Question;
    case MessageKind::Error:
        break;
    }
    return QMessageBox::Critical;
}

} // namespace

void ShowMessage(QWidget* parent, MessageKind kind, const QString& caption, const QString& text) {
    QMessageBox box(BoxIcon(kind), caption,
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok, parent);
    box.exec();
}

void ShowWarning(QWidget* parent, const QString& text) {
    ShowMessage(parent, MessageKind::Warning,
                GetText(QStringLiteral("Msg"), QStringLiteral("Warning")), text);
}

bool AskYesNo(QWidget* parent, const QString& caption, const QString& text, MessageKind icon) {
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

namespace {
QString& ChosenFolder() {
    static QString folder;
    return folder;
}
} // namespace

QString LastChosenFolder() {
    return ChosenFolder();
}

void RememberChosen(const QString& path) {
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    ChosenFolder() = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

} // namespace tarvix
