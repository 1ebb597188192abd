#pragma once
// From process start to the end of a command-line path or the windowed mode.

#include "core/PluginApi.h"

namespace tarvix {

// Exit statuses.
enum ExitStatus {
    kExitOk = 0,
    kExitNothingConverted = 1, // or, of a folder, not everything
    kExitUsageError = 2,
    kExitAlreadyRunning = 3,
};

// The whole program. Without windowed, the windowed mode is looked up when a
// start needs it.
int RunApplication(int argc, char** argv, WindowedEntry windowed = nullptr);

} // namespace tarvix
