#pragma once
// The message boxes of the windowed mode (warning, information, error, a
// yes/no question); callers take caption and text from the string table.

#include <QString>

class QWidget;

namespace tarvix {

enum class MessageKind { Warning, Information, Error, Question };

void ShowMessage(QWidget* parent, MessageKind kind, const QString& caption, const QString& text);
// Msg/"Warning" caption, warning icon, OK.
void ShowWarning(QWidget* parent, const QString& text);
// A question with Yes and No (a warning icon unless another is asked for); true
// for Yes.
bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
              MessageKind icon = MessageKind::Warning);

// Where the file and folder choosers open: the folder of the last file or
// folder chosen in any of them while the program runs (empty before the first).
QString LastChosenFolder();
void RememberChosen(const QString& path);

} // namespace tarvix
