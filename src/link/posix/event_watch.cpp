// EventWatch: poll the source and a stop event; reopen a source that failed.
#include "link/posix/event_watch.h"

#include <poll.h>

#include <cerrno>
#include <utility>

namespace tarvik {

EventWatch::EventWatch(std::function<std::unique_ptr<EventSource>()> open,
                       std::function<void()> onEvent, std::chrono::milliseconds retryInterval)
    : open_(std::move(open)), onEvent_(std::move(onEvent)),
      retryMs_(static_cast<int>(retryInterval.count())) {
    auto source = open_();
    thread_ = std::thread([this, source = std::move(source)]() mutable { run(std::move(source)); });
}

EventWatch::~EventWatch() {
    stop_.signal();
    thread_.join();
}

void EventWatch::run(std::unique_ptr<EventSource> source) {
    for (;;) {
        if (source) {
            if (watch(*source))
                return;
            source.reset(); // failed: closed before it is opened anew
        }
        if (stop_.wait(retryMs_))
            return;
        source = open_();
        if (source)
            onEvent_(); // what happened while there was no source
    }
}

bool EventWatch::watch(EventSource& source) {
    pollfd fds[2] = {{source.fd(), POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (fds[1].revents & POLLIN)
            return true;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            return false;
        if ((fds[0].revents & POLLIN) && source.receive())
            onEvent_();
    }
}

} // namespace tarvik
