#pragma once
// The heavy parts of the program live in private libraries loaded when a run
// needs them: the conversion engine (image library), the drawing of frames and
// watermarks (2D drawing and fonts) and the windows. Help, version and every
// command-line check then start without loading any of them.

#include "app/RunState.h"
#include "engine/BatchProgress.h"
#include "settings/Settings.h"

#include <FreeImage.h>
#include <QString>
#include <memory>

class QFont;

namespace tarvix {

struct EngineApi {
    int (*batchWorker)(RunState& state, const Settings& settings, BatchProgress& progress);
};

struct DrawApi {
    FIBITMAP* (*applyFrame)(FIBITMAP* image, int width, int height, const Settings& settings);
    FIBITMAP* (*applyWatermark)(FIBITMAP* image, int width, int height, const RunState& state,
                                const Settings& settings);
    void (*ensureFontSupport)();
    std::shared_ptr<QFont> (*createWatermarkFont)(const Settings& settings);
};

using WindowedEntry = int (*)(int argc, char** argv, Settings& settings, RunState& state);

// Each returns null (and the reason in error) when its library cannot be loaded.
const EngineApi* Engine(QString* error = nullptr);
const DrawApi* Drawing(QString* error = nullptr);
WindowedEntry Windowed(QString* error = nullptr);

} // namespace tarvix

// Defined by the libraries; weak here, so a program that links them in directly
// (the tests) uses them without loading anything.
extern "C" const tarvix::EngineApi* tarvix_engine_api() __attribute__((weak));
extern "C" const tarvix::DrawApi* tarvix_draw_api() __attribute__((weak));
extern "C" int tarvix_run_windowed(int argc, char** argv, tarvix::Settings& settings,
                                   tarvix::RunState& state) __attribute__((weak));
