#include "core/BatchProgress.h"

namespace tarvix {

void BatchProgress::Reset() {
    std::lock_guard guard(lock);
    index = 0;
    path.clear();
    converted = 0;
    running = 1;
}

void BatchProgress::Stop() {
    std::lock_guard guard(lock);
    running = 0;
}

void BatchProgress::Pause() {
    std::lock_guard guard(gate_);
    paused_ = true;
}

void BatchProgress::Resume() {
    {
        std::lock_guard guard(gate_);
        paused_ = false;
    }
    resumed_.notify_all();
}

void BatchProgress::WaitWhilePaused() {
    std::unique_lock guard(gate_);
    resumed_.wait(guard, [this] { return !paused_; });
}

} // namespace tarvix
