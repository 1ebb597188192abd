#pragma once
// "Local date-time in seconds": the local wall-clock fields counted as if they were
// UTC. Stored settings (Custom Timestamp, Update Date) use this form.

#include <cstdint>
#include <ctime>

namespace tarvix {

int64_t LocalNowSeconds();
// The local date-time in seconds of a real instant.
int64_t ToLocalSeconds(std::time_t instant);
// The real instant whose local wall-clock reading is the given local seconds.
std::time_t FromLocalSeconds(int64_t localSeconds);

} // namespace tarvix
