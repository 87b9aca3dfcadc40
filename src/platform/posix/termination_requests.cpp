// SIGINT and SIGTERM through sigaction, the previous actions kept for the destructor.
#include "platform/termination_requests.h"

#include <csignal>

namespace tarvik::platform {

namespace {

struct sigaction previousInt {};
struct sigaction previousTerm {};

} // namespace

TerminationRequests::TerminationRequests(void (*onRequest)(int request)) {
    struct sigaction action {};
    action.sa_handler = onRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

TerminationRequests::~TerminationRequests() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

} // namespace tarvik::platform
