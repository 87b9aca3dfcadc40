// Carries a backend's "devices may have changed" notice to the main thread. Safe to notify
// from any thread; a notice still queued when the watcher has been cleared does nothing, and a
// queued notice never touches the backend itself.
#pragma once

#include <functional>
#include <memory>

#include "link/dispatcher.h"

namespace tarvik {

class ChangeNotifier {
public:
    explicit ChangeNotifier(Dispatcher& mainThread);
    ChangeNotifier(const ChangeNotifier&) = delete;
    ChangeNotifier& operator=(const ChangeNotifier&) = delete;

    // Main thread only. An empty function stops the notices.
    void watch(std::function<void()> onChange);
    // Any thread: queues one call of the watcher on the main thread.
    void notify();

private:
    // Touched on the main thread only, by watch() and by the queued notices.
    struct Watcher {
        std::function<void()> onChange;
    };
    Dispatcher& mainThread_;
    std::shared_ptr<Watcher> watcher_;
};

} // namespace tarvik
