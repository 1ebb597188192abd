#pragma once
// From process start to the end of a command-line path or the windowed mode.

#include "app/RunState.h"
#include "settings/Settings.h"

namespace tarvix {

// The windowed mode: given the settings and run state prepared by start-up,
// runs the main window until the user quits and returns the exit status.
using WindowedMain = int (*)(int argc, char** argv, Settings& settings, RunState& state);

// Exit statuses.
enum ExitStatus {
    kExitOk = 0,
    kExitNothingConverted = 1,
    kExitUsageError = 2,
    kExitAlreadyRunning = 3,
};

// The whole program. Without windowed, the windowed mode is looked up when a
// start needs it.
int RunApplication(int argc, char** argv, WindowedMain windowed = nullptr);

} // namespace tarvix
