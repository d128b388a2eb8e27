#include "core/clock.h"

namespace tarvik {

std::int64_t ToLocalSeconds(std::time_t instant) {
    std::tm local{};
    localtime_r(&instant, &local);
    return static_cast<std::int64_t>(instant) + local.tm_gmtoff;
}

std::int64_t LocalNow() {
    return ToLocalSeconds(std::time(nullptr));
}

std::tm LocalFields(std::int64_t localSeconds) {
    // The count already holds local time, so it is split without a zone.
    const std::time_t t = static_cast<std::time_t>(localSeconds);
    std::tm fields{};
    gmtime_r(&t, &fields);
    return fields;
}

std::time_t FromLocalSeconds(std::int64_t localSeconds) {
    std::tm fields = LocalFields(localSeconds);
    fields.tm_isdst = -1;
    return std::mktime(&fields);
}

}  // namespace tarvik
