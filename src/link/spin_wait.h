// A short busy wait before a thread goes to sleep on a condition variable. An exchange with the
// programmer passes from the read thread to the main thread and back within microseconds;
// catching that hand-over on the CPU saves the two futex sleeps and wake-ups per report that
// would otherwise cost more than the work itself.
#pragma once

#include <chrono>

namespace tarvik {

constexpr std::chrono::microseconds kHandOverSpin{15};

// Polls ready() until it holds or the time is up; returns its last value.
template <class Ready>
bool spinUntil(Ready ready, std::chrono::microseconds limit = kHandOverSpin) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        for (int i = 0; i < 64; ++i) {
            if (ready())
                return true;
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return ready();
    }
}

} // namespace tarvik
