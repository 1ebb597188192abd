#pragma once
// Converts the input list one file after the other on a thread of its own,
// sharing its progress with an observer.

#include "app/RunState.h"
#include "settings/Settings.h"

#include "engine/BatchProgress.h"

#include <QString>

namespace tarvix {

// The worker procedure; returns 0. Run it on its own thread with the run's
// output parameters already in state and progress reset.
int BatchWorker(RunState& state, const Settings& settings, BatchProgress& progress);

// What the worker does to a saved file: the requested time stamp.
void ApplyFileTimestamp(const QString& input, const QString& output, const Settings& settings);

} // namespace tarvix
