// Date-times are whole seconds since 1970-01-01 00:00:00 counted on the
// local wall clock (the local date and time read as they are).
#pragma once

#include <cstdint>
#include <ctime>

namespace tarvik {

std::int64_t LocalNow();

// Between a real instant (time_t, UTC based) and the local wall-clock count.
std::int64_t ToLocalSeconds(std::time_t instant);
std::time_t FromLocalSeconds(std::int64_t localSeconds);

// The local calendar fields of a wall-clock count.
std::tm LocalFields(std::int64_t localSeconds);

}  // namespace tarvik
