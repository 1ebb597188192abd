#pragma once
// The running instance listens on a local socket beside its lock; a second start
// without parameters knocks there so the running window comes to the front, and
// a start from the desktop's "open with" hands over its file the same way.

#include <QString>

namespace tarvix {

// Where the running instance listens: in the runtime folder, or without one in
// a folder of this user's own (mode 0700) in the temporary folder, made when
// missing. Empty, with the reason in problem, when that folder exists but is
// not safely this user's (another owner, a link, open to others).
QString InstanceSocketPath(QString* problem = nullptr);
// Whether path may be connected to or listened on: absent, or a socket of this
// user's. Anything else (another user's socket, a file) is left alone.
bool IsOwnSocketOrAbsent(const QString& path, QString* problem = nullptr);
// True when a running instance took the knock: "raise", or "open" and the file.
bool SignalRunningInstance(const QString& file = QString());
// What a knock asks for: the file to open, empty for a plain raise.
QString FileOfKnock(const QByteArray& message);

} // namespace tarvix
