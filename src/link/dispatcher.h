// Hands work to the main thread. The read threads post each input report through this, and
// the main thread runs the tasks one at a time in posting order: the Qt event loop in the
// window, a plain loop in the command-line tool and the tests.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace tarvik {

class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    // Queue a task for the main thread. Safe from any thread; never blocks on the main thread.
    virtual void post(std::function<void()> task) = 0;
    // Queues the task once the delay has passed (from the main thread).
    virtual void postAfter(std::chrono::milliseconds delay, std::function<void()> task) = 0;
};

// The plain loop: whoever owns the main thread calls one of the run functions.
class PlainDispatcher : public Dispatcher {
public:
    void post(std::function<void()> task) override;
    void postAfter(std::chrono::milliseconds delay, std::function<void()> task) override;
    // Runs what is queued now (and what those tasks queue), without waiting.
    void runPending();
    // Runs tasks as they come until pred() holds after a task, or the timeout passes.
    // Returns pred()'s last value.
    bool runUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout);
    // Runs tasks as they come for the given time.
    void runFor(std::chrono::milliseconds duration);

private:
    using Clock = std::chrono::steady_clock;
    struct Delayed {
        Clock::time_point due;
        std::function<void()> task;
    };
    // Moves the delayed tasks that are due into the queue; returns when the next one is due.
    Clock::time_point queueDueTasks(Clock::time_point now);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    std::vector<Delayed> delayed_;        // in the order they fall due
    std::atomic<std::size_t> queued_ = 0; // tasks_.size(), readable without the mutex
};

} // namespace tarvik
