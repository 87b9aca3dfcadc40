// The UTC offset as the difference between local time read as if it were UTC and the moment.
#include "platform/local_time.h"

namespace tarvik::platform {

std::int64_t utcOffsetSeconds(std::time_t when) {
    std::tm local{};
    if (localtime_s(&local, &when) != 0)
        return 0;
    const std::time_t asUtc = _mkgmtime(&local);
    return asUtc == -1 ? 0 : static_cast<std::int64_t>(asUtc - when);
}

} // namespace tarvik::platform
