// Requests to end the program from outside: SIGINT and SIGTERM on POSIX; Ctrl+C, Ctrl+Break
// and closing the console window on Windows.
#pragma once

namespace tarvik::platform {

// The signal numbers a request stands for, the same on every system (exit status 128 + it).
constexpr int kInterruptRequest = 2;  // SIGINT: Ctrl+C, and Ctrl+Break on Windows
constexpr int kTerminateRequest = 15; // SIGTERM: kill, or the console window closed

// While it lives, a request calls onRequest with its number instead of ending the program; the
// previous handling comes back afterwards. onRequest runs in a signal handler or on a thread of
// the system's own: it may only store to lock-free atomics or write to a pipe. One at a time.
class TerminationRequests {
public:
    explicit TerminationRequests(void (*onRequest)(int request));
    ~TerminationRequests();
    TerminationRequests(const TerminationRequests&) = delete;
    TerminationRequests& operator=(const TerminationRequests&) = delete;
};

} // namespace tarvik::platform
