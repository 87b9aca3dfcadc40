// Console control events through SetConsoleCtrlHandler: Ctrl+C and Ctrl+Break are an
// interrupt, closing the console window (or logging off, shutting down) a termination. The
// system calls the handler on a thread of its own.
#include "platform/termination_requests.h"

#include <windows.h>

#include <atomic>

namespace tarvik::platform {

namespace {

std::atomic<void (*)(int)> requestHandler{nullptr};

BOOL WINAPI onConsoleEvent(DWORD event) {
    const auto handler = requestHandler.load();
    if (handler == nullptr)
        return FALSE;
    handler(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? kInterruptRequest
                                                               : kTerminateRequest);
    return TRUE;
}

} // namespace

TerminationRequests::TerminationRequests(void (*onRequest)(int request)) {
    requestHandler.store(onRequest);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

TerminationRequests::~TerminationRequests() {
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    requestHandler.store(nullptr);
}

} // namespace tarvik::platform
