// ChangeNotifier: queued device-change notices that never outlive their watcher.
#include "link/change_notifier.h"

#include <utility>

namespace tarvik {

ChangeNotifier::ChangeNotifier(Dispatcher& mainThread)
    : mainThread_(mainThread), watcher_(std::make_shared<Watcher>()) {}

void ChangeNotifier::watch(std::function<void()> onChange) {
    watcher_->onChange = std::move(onChange);
}

void ChangeNotifier::notify() {
    mainThread_.post([watcher = watcher_] {
        if (watcher->onChange) {
            const auto onChange = watcher->onChange; // it may replace itself
            onChange();
        }
    });
}

} // namespace tarvik
