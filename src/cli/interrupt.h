// Requests to stop while tarvik-cli drives the programmer (SIGINT and SIGTERM; Ctrl+C and
// Ctrl+Break on Windows): the handler only notes the request, and the job loop stops the job,
// says how far it got and exits with 128 + the signal number it stands for.
#pragma once

#include "platform/termination_requests.h"

namespace tarvik::cli {

// Catches the requests for its lifetime and puts the previous handling back afterwards.
class InterruptGuard {
public:
    InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // The signal that arrived since the guard was made, or 0.
    static int pending();

private:
    platform::TerminationRequests requests_;
};

} // namespace tarvik::cli
