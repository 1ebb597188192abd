#pragma once
// A conversion request as both front ends make it: a fresh run state, then the
// run's output parameters fixed once for the whole run.

#include "core/RunState.h"
#include "settings/Settings.h"

namespace tarvix {

// Clears every field but the run mode, restarts the counter at 1, draws a fresh
// random number, empties the input list and rebuilds the accepted extensions.
void ResetRunState(RunState& state);

// From state.conversionType and the settings: the format code, the target bits
// per pixel (0 asks for the automatic depth), the automatic-depth flag and the
// save flags; and, for a text watermark, the font (which loads the drawing
// library). False when a text watermark's font cannot be made: the run must not
// start. The output folder stays as the front end resolved it.
bool BuildConversionRequest(RunState& state, const Settings& settings);

} // namespace tarvix
