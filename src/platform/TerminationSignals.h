#pragma once
// Last words before SIGINT, SIGTERM or SIGHUP ends the process: the parts that
// leave something behind (temporaries, a terminal line) register a cleanup.

namespace tarvix {

// Runs cleanup when one of the signals arrives, then whatever was to happen
// before (the window's own handler, or the end of the process with the
// signal's status). The cleanup must be async-signal-safe. A few cleanups at
// most; each runs once per signal, in the order registered.
void RunOnTerminationSignals(void (*cleanup)());

} // namespace tarvix
