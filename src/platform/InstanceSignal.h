#pragma once
// The running instance listens on a local socket beside its lock; a second start
// without parameters knocks there so the running window comes to the front.

#include <QString>

namespace tarvix {

QString InstanceSocketPath();
// True when a running instance took the knock.
bool SignalRunningInstance();

} // namespace tarvix
