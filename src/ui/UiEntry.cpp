// The windowed mode's entry, looked up by the program when it opens a window.

#include "core/PluginApi.h"
#include "ui/WindowedMain.h"

extern "C" int tarvix_run_windowed(int argc, char** argv, tarvix::Settings& settings,
                                   tarvix::RunState& state) {
    return tarvix::RunWindowed(argc, argv, settings, state);
}
