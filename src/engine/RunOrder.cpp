#include "engine/RunOrder.h"

#include "core/RunState.h"

namespace tarvix {

RunOrder::RunOrder(size_t files, int32_t firstCounter, int32_t firstRandom, bool numbered)
    : firstCounter_(firstCounter), firstRandom_(firstRandom), numbered_(numbered),
      stage_(files, 0) {}

void RunOrder::Advance() {
    while (claimedUpTo_ < stage_.size() && stage_[claimedUpTo_] >= 1)
        ++claimedUpTo_;
    while (settledUpTo_ < stage_.size() && stage_[settledUpTo_] >= 2)
        converted_ += stage_[settledUpTo_++] == 3 ? 1 : 0;
}

RunOrder::Numbers RunOrder::NumbersFor(size_t index) {
    if (!numbered_) return {firstCounter_, firstRandom_};
    std::unique_lock guard(lock_);
    changed_.wait(guard, [&] { return settledUpTo_ >= index; });
    const int32_t before = converted_;
    guard.unlock();
    return {firstCounter_ + before, before == 0 ? firstRandom_ : DrawRandomNumber()};
}

bool RunOrder::Claim(size_t index, const QString& path) {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [&] { return claimedUpTo_ >= index; });
    const bool mine = !taken_.contains(path);
    taken_.insert(path);
    if (index < stage_.size() && stage_[index] == 0) {
        stage_[index] = 1;
        Advance();
    }
    guard.unlock();
    changed_.notify_all();
    return mine;
}

void RunOrder::Settle(size_t index, bool converted) {
    {
        std::lock_guard guard(lock_);
        if (index >= stage_.size()) return;
        stage_[index] = converted ? 3 : 2;
        Advance();
    }
    changed_.notify_all();
}

} // namespace tarvix
