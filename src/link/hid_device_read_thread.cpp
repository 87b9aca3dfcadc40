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
    : device_(device), connection_(connection), mainThread_(mainThread),
      reportLength_(device.Caps().InputReportByteLength), sleepMs_(device.ReadThreadSleep()),
      handOff_(std::make_shared<HandOff>()), thread_([this] { run(); }) {}

THidDeviceReadThread::~THidDeviceReadThread() {
    {
        std::lock_guard lock(handOff_->mutex);
        handOff_->stopRequested = true;
    }
    handOff_->changed.notify_all();
    connection_.wakeUp();
    thread_.join();
}

bool THidDeviceReadThread::stopRequested() {
    std::lock_guard lock(handOff_->mutex);
    return handOff_->stopRequested;
}

void THidDeviceReadThread::run() {
    std::vector<std::uint8_t> buffer(reportLength_);
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
                                       [this] { return handOff_->stopRequested; });
            continue;
        }
        if (count == 0)
            continue;
        const auto length = std::min<std::size_t>(static_cast<std::size_t>(count), buffer.size());
        handOver(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + length));
    }
}

void THidDeviceReadThread::handOver(std::vector<std::uint8_t> report) {
    {
        std::lock_guard lock(handOff_->mutex);
        handOff_->handled = false;
    }
    mainThread_.post([state = handOff_, device = &device_, report = std::move(report)] {
        {
            std::lock_guard lock(state->mutex);
            if (state->stopRequested)
                return; // the device may be gone: drop the report
        }
        // The reader goes on when the handler returns, and also when it throws.
        struct MarkHandled {
            HandOff& state;
            ~MarkHandled() {
                {
                    std::lock_guard lock(state.mutex);
                    state.handled = true;
                }
                state.changed.notify_all();
            }
        } markHandled{*state};
        // A copy: the handler may release this very device, and the handler with it.
        const THidDataEvent handler = device->onData_;
        if (handler)
            handler(device, report[0], report.data() + 1,
                    static_cast<std::uint16_t>(report.size() - 1));
    });
    spinUntil([this] { return handOff_->handled.load(std::memory_order_acquire); });
    std::unique_lock lock(handOff_->mutex);
    handOff_->changed.wait(lock, [this] { return handOff_->handled || handOff_->stopRequested; });
}

} // namespace tarvik
