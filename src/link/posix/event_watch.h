// A thread that waits on a source of device events (udev's monitor) and calls onEvent for each
// of them. It never ends on its own: a source that fails (an error or a hang-up on its
// descriptor, a poll that fails) is closed and, a retry interval later, opened anew; once it is
// back onEvent is called, since events may have been missed meanwhile. While opening fails it
// is tried again once per retry interval.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "link/posix/wake_event.h"

namespace tarvik {

class EventSource {
public:
    virtual ~EventSource() = default;
    // The descriptor that becomes readable when something is waiting.
    virtual int fd() const = 0;
    // Takes what is waiting. True when devices may have changed.
    virtual bool receive() = 0;
};

class EventWatch {
public:
    // open returns nullptr when the source cannot be opened now. onEvent is called from the
    // watch's thread. Opens the source at once; when that fails, onEvent follows the first
    // open that succeeds.
    EventWatch(std::function<std::unique_ptr<EventSource>()> open, std::function<void()> onEvent,
               std::chrono::milliseconds retryInterval = std::chrono::seconds(1));
    // Stops and joins the thread; no onEvent call is made after it returns.
    ~EventWatch();
    EventWatch(const EventWatch&) = delete;
    EventWatch& operator=(const EventWatch&) = delete;

private:
    void run(std::unique_ptr<EventSource> source);
    // Waits on the source until it fails (false) or a stop comes (true).
    bool watch(EventSource& source);

    std::function<std::unique_ptr<EventSource>()> open_;
    std::function<void()> onEvent_;
    int retryMs_;
    WakeEvent stop_;
    std::thread thread_;
};

} // namespace tarvik
