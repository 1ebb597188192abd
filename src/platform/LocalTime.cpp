#include "platform/LocalTime.h"

namespace tarvix {

int64_t ToLocalSeconds(std::time_t instant) {
    std::tm local{};
    if (!localtime_r(&instant, &local)) return 0;
    return static_cast<int64_t>(timegm(&local));
}

int64_t LocalNowSeconds() {
    return ToLocalSeconds(std::time(nullptr));
}

std::time_t FromLocalSeconds(int64_t localSeconds) {
    std::time_t asUtc = static_cast<std::time_t>(localSeconds);
    std::tm fields{};
    if (!gmtime_r(&asUtc, &fields)) return 0;
    fields.tm_isdst = -1; // let the zone rules decide summer time
    return mktime(&fields);
}

} // namespace tarvix
