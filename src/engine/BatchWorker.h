#pragma once
// Converts the input list one file after the other, sharing its progress with an
// observer.

#include "core/BatchProgress.h"
#include "core/RunState.h"
#include "settings/Settings.h"

#include <QString>

namespace tarvix {

// The worker procedure; returns 0. Run it on its own thread with the run's
// output parameters already in state and progress reset. The observer, when
// given, hears of every file.
int BatchWorker(RunState& state, const Settings& settings, BatchProgress& progress,
                BatchObserver* observer = nullptr);

// What the worker does to a saved file: the requested time stamp.
void ApplyFileTimestamp(const QString& input, const QString& output, const Settings& settings);

} // namespace tarvix
