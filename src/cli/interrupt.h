// SIGINT and SIGTERM while tarvik-cli drives the programmer: the handlers only note the
// signal, and the job loop stops the job, says how far it got and exits with 128 + the signal.
#pragma once

namespace tarvik::cli {

// Installs the handlers for its lifetime and puts the previous ones back afterwards.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // The signal that arrived since the guard was made, or 0.
    static int pending();
};

} // namespace tarvik::cli
