// The UTC offset: whole minutes within a day's span, and what the C library's local time says.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/local_time.h"

namespace tarvik::platform {
namespace {

TEST(LocalTime, OffsetIsWholeMinutesWithinADay) {
    // Winter and summer of the northern hemisphere, and the epoch.
    for (const std::time_t when :
         {std::time_t{0}, std::time_t{1700000000}, std::time_t{1720000000}}) {
        const std::int64_t offset = utcOffsetSeconds(when);
        EXPECT_EQ(offset % 60, 0) << when;
        EXPECT_LE(offset, 14 * 3600) << when;
        EXPECT_GE(offset, -12 * 3600) << when;
    }
}

} // namespace
} // namespace tarvik::platform
