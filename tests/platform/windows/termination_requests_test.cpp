// Ctrl+C and Ctrl+Break reach the handler as an interrupt (SIGINT's number, so a job ends with
// status 130), and only while the requests are caught.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/termination_requests.h"

namespace tarvik::platform {
namespace {

std::atomic<int> received{0};

void note(int request) {
    received.store(request);
}

// The handler runs on a thread of the system's own: wait for it a little.
int waitForRequest() {
    for (int i = 0; i < 200 && received.load() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return received.exchange(0);
}

TEST(TerminationRequests, CtrlCAndCtrlBreakAreInterrupts) {
    // The test program may run without a console (a pipe to ctest): give it one of its own.
    AllocConsole();
    const DWORD events[] = {CTRL_C_EVENT, CTRL_BREAK_EVENT};
    for (const DWORD event : events) {
        SCOPED_TRACE(event);
        TerminationRequests requests(note);
        if (!GenerateConsoleCtrlEvent(event, 0))
            GTEST_SKIP() << "this system sends no console events here (wine without a console)";
        EXPECT_EQ(waitForRequest(), kInterruptRequest);
    }
    EXPECT_EQ(kInterruptRequest, 2);
    EXPECT_EQ(128 + kInterruptRequest, 130);
}

} // namespace
} // namespace tarvik::platform
