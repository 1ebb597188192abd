#include "core/RunState.h"

#include <mutex>
#include <random>

namespace tarvix {

int32_t DrawRandomNumber() {
    static std::mutex mutex;
    static std::mt19937 engine{std::random_device{}()};
    std::lock_guard lock(mutex);
    return std::uniform_int_distribution<int32_t>(1, 99999)(engine);
}

} // namespace tarvix
