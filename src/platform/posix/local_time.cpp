// The UTC offset from the C library's broken-down local time.
#include "platform/local_time.h"

namespace tarvik::platform {

std::int64_t utcOffsetSeconds(std::time_t when) {
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr)
        return 0;
    return local.tm_gmtoff;
}

} // namespace tarvik::platform
