#pragma once

#include "core/RunState.h"
#include "settings/Settings.h"

namespace tarvix {

// The windowed mode: settings from config.ini, the main window until the user
// quits, then the window's state and config.ini saved. Returns the exit status.
int RunWindowed(int argc, char** argv, Settings& settings, RunState& state);

} // namespace tarvix
