// InterruptGuard over the system's termination requests.
#include "cli/interrupt.h"

#include <atomic>

namespace tarvik::cli {

namespace {

std::atomic<int> pendingSignal{0};

extern "C" void noteSignal(int signal) {
    pendingSignal.store(signal);
}

// Forgets an earlier request before the new handling is in place.
void (*freshHandler())(int) {
    pendingSignal.store(0);
    return noteSignal;
}

} // namespace

InterruptGuard::InterruptGuard() : requests_(freshHandler()) {}

int InterruptGuard::pending() {
    return pendingSignal.load();
}

} // namespace tarvik::cli
