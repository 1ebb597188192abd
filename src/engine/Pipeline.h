#pragma once
// One input file to one output file.

#include "core/RunState.h"
#include "settings/Settings.h"

namespace tarvix {

// Loads state.currentInputFile, runs the enabled steps in their fixed order,
// names the output and saves it. True exactly when the save succeeded.
bool ConvertFile(RunState& state, const Settings& settings);

// Makes the output name of the file whose picture is ready and checks that it
// may be written (inside the output folder, not the input itself, not taken by
// another file of the run), creating its subfolder. False with the reason in
// state.failure.
bool PrepareOutput(RunState& state, const Settings& settings);

} // namespace tarvix
