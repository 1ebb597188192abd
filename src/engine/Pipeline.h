#pragma once
// One input file to one output file.

#include "core/RunState.h"
#include "settings/Settings.h"

namespace tarvix {

// Loads state.currentInputFile, runs the enabled steps in their fixed order,
// names the output and saves it. True exactly when the save succeeded.
bool ConvertFile(RunState& state, const Settings& settings);

} // namespace tarvix
