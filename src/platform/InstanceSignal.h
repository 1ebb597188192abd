#pragma once
// The running instance listens on a local socket beside its lock; a second start
// without parameters knocks there so the running window comes to the front, and
// a start from the desktop's "open with" hands over its file the same way.

#include <QString>

namespace tarvix {

QString InstanceSocketPath();
// True when a running instance took the knock: "raise", or "open" and the file.
bool SignalRunningInstance(const QString& file = QString());
// What a knock asks for: the file to open, empty for a plain raise.
QString FileOfKnock(const QByteArray& message);

} // namespace tarvix
