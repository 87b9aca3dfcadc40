// An eventfd that wakes a thread waiting in poll(): readable once signalled until cleared.
#pragma once

#include "link/posix/unique_fd.h"

namespace tarvik {

// signal() is safe from any thread.
class WakeEvent {
public:
    WakeEvent(); // throws std::system_error when no eventfd can be made
    int fd() const { return fd_.get(); }
    void signal();
    void clear();
    // Waits up to timeoutMs for the signal; true when it came.
    bool wait(int timeoutMs) const;

private:
    UniqueFd fd_;
};

} // namespace tarvik
