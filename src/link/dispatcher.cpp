// The plain main-thread loop: a queue of tasks (and of delayed ones) guarded by a mutex, run by
// whoever owns the main thread (the command-line tool and the tests).
#include "link/dispatcher.h"

#include "link/spin_wait.h"

#include <algorithm>
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

void PlainDispatcher::postAfter(std::chrono::milliseconds delay, std::function<void()> task) {
    std::lock_guard lock(mutex_);
    const Clock::time_point due = Clock::now() + delay;
    const auto later = std::upper_bound(delayed_.begin(), delayed_.end(), due,
                                        [](auto time, const Delayed& d) { return time < d.due; });
    delayed_.insert(later, Delayed{due, std::move(task)});
}

PlainDispatcher::Clock::time_point PlainDispatcher::queueDueTasks(Clock::time_point now) {
    auto due = delayed_.begin();
    for (; due != delayed_.end() && due->due <= now; ++due)
        tasks_.push_back(std::move(due->task));
    delayed_.erase(delayed_.begin(), due);
    queued_.store(tasks_.size(), std::memory_order_release);
    return delayed_.empty() ? Clock::time_point::max() : delayed_.front().due;
}

void PlainDispatcher::runPending() {
    {
        std::lock_guard lock(mutex_);
        queueDueTasks(Clock::now());
    }
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
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (pred())
            return true;
        std::function<void()> task;
        spinUntil([this] { return queued_.load(std::memory_order_acquire) > 0; });
        {
            std::unique_lock lock(mutex_);
            for (;;) {
                const Clock::time_point now = Clock::now();
                const Clock::time_point nextDue = queueDueTasks(now);
                if (!tasks_.empty())
                    break;
                if (now >= deadline) {
                    lock.unlock();
                    return pred();
                }
                wake_.wait_until(lock, std::min(deadline, nextDue));
            }
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
