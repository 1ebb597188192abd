#pragma once
// Converts the input list one file after the other on a thread of its own,
// sharing its progress with an observer.

#include "app/RunState.h"
#include "settings/Settings.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace tarvix {

struct BatchProgress {
    std::mutex lock;
    int32_t index = 0;     // 1-based number of the file being converted, 0 before the first
    QString path;          // that file
    int32_t converted = 0; // written once, when the worker ends
    std::atomic<uint8_t> running{0}; // cleared by the observer to stop between files

    void Reset();
    // Asks the worker to stop after the file it is on.
    void Stop();

    // Holds the worker at its next pause point (between files and between the
    // steps of a file) until Resume; it never waits while holding a resource.
    void Pause();
    void Resume();
    void WaitWhilePaused();

private:
    std::mutex gate_;
    std::condition_variable resumed_;
    bool paused_ = false;
};

// The worker procedure; returns 0. Run it on its own thread with the run's
// output parameters already in state and progress reset.
int BatchWorker(RunState& state, const Settings& settings, BatchProgress& progress);

// What the worker does to a saved file: the requested time stamp.
void ApplyFileTimestamp(const QString& input, const QString& output, const Settings& settings);

} // namespace tarvix
