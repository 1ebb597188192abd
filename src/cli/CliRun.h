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

} // namespace tarvix
