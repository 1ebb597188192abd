#pragma once
// The console facility of the command-line paths. The program writes to its own
// standard streams: lines beginning with "Error: " or "Warning: " go to standard error, all
// others to standard output, each as UTF-8 followed by "\n".

#include <QString>

namespace tarvix {

// Prints text as one line; control characters in it (a file name may hold
// them) are written as \n, \t, \r or \xNN.
void PrintLine(const QString& text);
QString EscapeControls(const QString& text);
// A line that explains the "Error: " line just printed, on standard error,
// indented by two blanks.
void PrintErrorDetail(const QString& text);
void WaitForKey();

// One line on standard error redrawn in place while a long run works (only
// where standard error is a terminal). Every printed line erases it first, so
// the transcript reads as if it had never been there.
bool ErrorIsTerminal();
// The terminal's width in columns; 0 when unknown.
int ErrorColumns();
void ShowStatusLine(const QString& text);
void ClearStatusLine();

} // namespace tarvix
