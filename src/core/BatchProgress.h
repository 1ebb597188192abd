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

// Hears of each file the worker converts, on the worker's thread. The worker
// itself never prints: the command line prints what it hears, the window polls
// BatchProgress instead.
class BatchObserver {
public:
    virtual ~BatchObserver() = default;
    virtual void FileStarted(const QString& input) = 0;
    // output: the path the file was saved as (or would have been); failure: why
    // it was not, in plain words (empty when converted).
    virtual void FileFinished(const QString& input, const QString& output, bool converted,
                              const QString& failure) = 0;
};

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
