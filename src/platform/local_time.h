// The local time zone's offset from UTC.
#pragma once

#include <cstdint>
#include <ctime>

namespace tarvik::platform {

// Seconds the local time is ahead of UTC at that moment (east of Greenwich positive),
// daylight saving included.
std::int64_t utcOffsetSeconds(std::time_t when);

} // namespace tarvik::platform
