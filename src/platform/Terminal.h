#pragma once
// Console streams of this process.

#include <QByteArray>

namespace tarvix {

// Writes the bytes to standard output or standard error, retrying short writes.
void WriteStream(bool toError, const QByteArray& bytes);
// Waits for one key press when standard input is a terminal (raw mode, restored
// afterwards); returns at once otherwise, so scripts never hang.
void WaitForKeyPress();

} // namespace tarvix
