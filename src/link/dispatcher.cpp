// The plain main-thread loop: a queue of tasks guarded by a mutex, run by whoever owns the
// main thread (the command-line tool and the tests).
#include "link/dispatcher.h"

#include "link/spin_wait.h"

#include <utility>

namespace tarvik {

void PlainDispatcher::post(std::function<void()> task) {
    std::size_t queued = 0;
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        queued = tasks_.size();
    }
    // Published once the mutex is free, so a main thread spinning on the count finds it
    // unlocked instead of sleeping on it. A count gone stale this way only ends a spin early.
    queued_.store(queued, std::memory_order_release);
    wake_.notify_one();
}

void PlainDispatcher::runPending() {
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
            queued_.store(tasks_.size(), std::memory_order_release);
        }
        task();
    }
}

bool PlainDispatcher::runUntil(const std::function<bool()>& pred,
                               std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (pred())
            return true;
        std::function<void()> task;
        spinUntil([this] { return queued_.load(std::memory_order_acquire) > 0; });
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait_until(lock, deadline, [this] { return !tasks_.empty(); }))
                return pred();
            task = std::move(tasks_.front());
            tasks_.pop_front();
            queued_.store(tasks_.size(), std::memory_order_release);
        }
        task();
    }
}

void PlainDispatcher::runFor(std::chrono::milliseconds duration) {
    runUntil([] { return false; }, duration);
}

} // namespace tarvik
