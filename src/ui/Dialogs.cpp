#include "ui/Dialogs.h"

#include "core/StringTable.h"

#include <QMessageBox>

namespace tarvix {

void ShowMessage(QWidget* parent, MessageKind kind, const QString& caption, const QString& text) {
    const QMessageBox::Icon icon = kind == MessageKind::Warning       ? QMessageBox::Warning
                                   : kind == MessageKind::Information ? QMessageBox::Information
                                                                      : QMessageBox::Critical;
    QMessageBox box(icon, caption,
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok, parent);
    box.exec();
}

void ShowWarning(QWidget* parent, const QString& text) {
    ShowMessage(parent, MessageKind::Warning,
                GetText(QStringLiteral("Msg"), QStringLiteral("Warning")), text);
}

bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    return box.exec() == QMessageBox::Yes;
}

} // namespace tarvix
