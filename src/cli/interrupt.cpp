// The signal handlers behind InterruptGuard.
#include "cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace tarvik::cli {

namespace {

std::atomic<int> pendingSignal{0};
struct sigaction previousInt {};
struct sigaction previousTerm {};

extern "C" void noteSignal(int signal) {
    pendingSignal.store(signal);
}

} // namespace

InterruptGuard::InterruptGuard() {
    pendingSignal.store(0);
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

int InterruptGuard::pending() {
    return pendingSignal.load();
}

} // namespace tarvik::cli
