#pragma once
// What the worker and its observer share: which file, how many converted, and
// whether to go on. The index and path are read under the lock; the running
// flag is read between files without it.

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

} // namespace tarvix
