// The event watch under udev's monitor: events become calls, and a source that fails or
// cannot be opened is opened again, followed by a call for what was missed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "link/posix/event_watch.h"
#include "link/posix/unique_fd.h"

using namespace std::chrono_literals;

namespace tarvik {
namespace {

// A pipe whose read end is the source; the test holds the write end. A byte is an event,
// closing the write end is the source failing.
class PipeSource : public EventSource {
public:
    explicit PipeSource(UniqueFd readEnd) : readEnd_(std::move(readEnd)) {}
    int fd() const override { return readEnd_.get(); }
    bool receive() override {
        char byte = 0;
        return ::read(readEnd_.get(), &byte, 1) == 1;
    }

private:
    UniqueFd readEnd_;
};

class Pipes {
public:
    // Opens a new pipe, or fails while refusals remain.
    std::unique_ptr<EventSource> open() {
        std::lock_guard lock(mutex_);
        ++opens_;
        if (refusals_ > 0) {
            --refusals_;
            return nullptr;
        }
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return nullptr;
        writeEnd_ = UniqueFd(fds[1]);
        return std::make_unique<PipeSource>(UniqueFd(fds[0]));
    }
    void refuse(int times) {
        std::lock_guard lock(mutex_);
        refusals_ = times;
    }
    void event() {
        std::lock_guard lock(mutex_);
        ASSERT_EQ(::write(writeEnd_.get(), "x", 1), 1);
    }
    void fail() {
        std::lock_guard lock(mutex_);
        writeEnd_.reset();
    }
    int opens() {
        std::lock_guard lock(mutex_);
        return opens_;
    }

private:
    std::mutex mutex_;
    UniqueFd writeEnd_;
    int refusals_ = 0;
    int opens_ = 0;
};

bool eventually(const std::function<bool()>& pred) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(EventWatchTest, EventsAreCalledAndAFailedSourceIsReopenedWithACall) {
    Pipes pipes;
    std::atomic<int> calls = 0;
    EventWatch watch([&] { return pipes.open(); }, [&] { ++calls; }, 10ms);
    EXPECT_EQ(pipes.opens(), 1);
    pipes.event();
    pipes.event();
    ASSERT_TRUE(eventually([&] { return calls == 2; }));

    pipes.refuse(2); // the source fails, and cannot be opened at first
    pipes.fail();
    ASSERT_TRUE(eventually([&] { return calls == 3; })); // the call for what was missed
    EXPECT_EQ(pipes.opens(), 4);
    pipes.event();
    ASSERT_TRUE(eventually([&] { return calls == 4; }));
}

TEST(EventWatchTest, ASourceThatCannotBeOpenedAtFirstIsTriedAgain) {
    Pipes pipes;
    pipes.refuse(1);
    std::atomic<int> calls = 0;
    EventWatch watch([&] { return pipes.open(); }, [&] { ++calls; }, 10ms);
    ASSERT_TRUE(eventually([&] { return calls == 1; }));
    EXPECT_EQ(pipes.opens(), 2);
}

} // namespace
} // namespace tarvik
