#pragma once
// Converts a request's input list, sharing its progress with an observer.

#include "core/BatchProgress.h"
#include "request/ConversionRequest.h"

#include <QString>

namespace tarvix {

// The worker procedure; returns 0. Run it on its own thread with progress
// reset. The observer, when given, hears of every file. The files are taken in
// list order by as many threads as "Jobs" asks for (this one among them).
int BatchWorker(const ConversionRequest& request, BatchProgress& progress,
                BatchObserver* observer = nullptr);

// What the worker does to a saved file: the requested time stamp.
void ApplyFileTimestamp(const QString& input, const QString& output, const Settings& settings);

} // namespace tarvix
