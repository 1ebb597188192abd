#pragma once
// The command-line conversion run: validation, debug echo, conversion, summary.

#include "core/RunState.h"
#include "settings/Settings.h"

namespace tarvix {

enum class RunOutcome {
    Converted, // every file was saved
    Partial,   // some files were saved, others failed (each named on standard error)
    Stopped,   // nothing converted ("Conversion stopped")
    Error,     // a validation error was printed
};

RunOutcome RunConversion(Settings& settings, RunState& state, bool quiet);

// The progress line of a long run at a terminal, e.g. "  812/2000 files,
// 3 failed, 41 files/s, about 29 s left": what fits in columns (0: no limit),
// the later parts left out first.
QString RunProgressText(int done, int total, int failed, double seconds, int columns);

} // namespace tarvix
