// The read thread of one device and its abandonable hand-off to the main thread.
#include "link/hid_device_read_thread.h"

#include "link/spin_wait.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "link/hid_device_controller.h"

namespace tarvik {

THidDeviceReadThread::THidDeviceReadThread(THidDevice& device, HidConnection& connection,
                                           Dispatcher& mainThread)
    : connection_(connection), mainThread_(mainThread),
      reportLength_(device.Caps().InputReportByteLength), sleepMs_(device.ReadThreadSleep()),
      handOff_(std::make_unique<HandOff>(device)), thread_([this] { run(); }) {}

THidDeviceReadThread::~THidDeviceReadThread() {
    {
        std::lock_guard lock(handOff_->mutex);
        handOff_->stopRequested = true;
    }
    handOff_->changed.notify_all();
    connection_.wakeUp();
    thread_.join();
    // A report posted and not handled yet leaves a task on the main thread that points at the
    // state. The state follows it there: the main thread runs tasks in posting order, so it
    // is freed after that task, or with it when the queue is dropped unrun.
    std::unique_lock lock(handOff_->mutex);
    if (!handOff_->handled) {
        lock.unlock();
        mainThread_.post([state = std::shared_ptr<HandOff>(std::move(handOff_))] {});
    }
}

bool THidDeviceReadThread::stopRequested() const {
    return handOff_->stopRequested.load(std::memory_order_acquire);
}

void THidDeviceReadThread::run() {
    std::vector<std::uint8_t> buffer(reportLength_);
    handOff_->report.reserve(reportLength_);
    while (!stopRequested()) {
        std::fill(buffer.begin(), buffer.end(), 0);
        const int count = connection_.read(buffer, sleepMs_);
        if (stopRequested())
            break;
        if (count < 0) {
            // The device failed or went away; the rescan that follows will close it. Until
            // then retry once per slice instead of spinning.
            std::unique_lock lock(handOff_->mutex);
            handOff_->changed.wait_for(lock, std::chrono::milliseconds(sleepMs_),
                                       [this] { return stopRequested(); });
            continue;
        }
        if (count == 0)
            continue;
        const auto length = std::min<std::size_t>(static_cast<std::size_t>(count), buffer.size());
        handOff_->report.assign(buffer.begin(),
                                buffer.begin() + static_cast<std::ptrdiff_t>(length));
        handOver();
    }
}

void THidDeviceReadThread::handOver() {
    // No one waits for the flag to drop, so this store needs no lock.
    handOff_->handled.store(false, std::memory_order_relaxed);
    mainThread_.post([state = handOff_.get()] {
        // The stop comes from the main thread too, so it cannot change while this task runs.
        if (state->stopRequested.load(std::memory_order_acquire))
            return; // the device may be gone: drop the report
        // The reader goes on when the handler returns, and also when it throws.
        struct MarkHandled {
            HandOff& state;
            ~MarkHandled() {
                // The last touch of the state, under its mutex: once the flag is seen there,
                // the state may be freed.
                std::lock_guard lock(state.mutex);
                state.handled.store(true, std::memory_order_release);
                state.changed.notify_all();
            }
        } markHandled{*state};
        // A copy: the handler may release this very device, and the handler with it.
        const THidDataEvent handler = state->device.onData_;
        if (handler)
            handler(&state->device, state->report[0], state->report.data() + 1,
                    static_cast<std::uint16_t>(state->report.size() - 1));
    });
    // Seen while spinning, the flag needs no lock: taking it at once would mostly meet the
    // main thread still holding it, and sleep.
    if (spinUntil([this] { return handOff_->handled.load(std::memory_order_acquire); }))
        return;
    std::unique_lock lock(handOff_->mutex);
    handOff_->changed.wait(lock, [this] { return handOff_->handled || stopRequested(); });
}

} // namespace tarvik
