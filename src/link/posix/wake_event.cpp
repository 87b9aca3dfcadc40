// WakeEvent on a non-blocking eventfd.
#include <poll.h>
#include <sys/eventfd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "link/posix/wake_event.h"

namespace tarvik {

WakeEvent::WakeEvent() : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (!fd_.valid())
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

void WakeEvent::signal() {
    const std::uint64_t one = 1;
    // Can only fail when the counter is saturated, and then it is readable anyway.
    [[maybe_unused]] const auto written = ::write(fd_.get(), &one, sizeof one);
}

void WakeEvent::clear() {
    std::uint64_t value = 0;
    [[maybe_unused]] const auto read = ::read(fd_.get(), &value, sizeof value);
}

bool WakeEvent::wait(int timeoutMs) const {
    pollfd wake{fd_.get(), POLLIN, 0};
    return ::poll(&wake, 1, timeoutMs) > 0;
}

} // namespace tarvik
