// The read thread of one device, its bounded queue, and the delivery of the queued reports on
// the main thread.
#include "link/hid_device_read_thread.h"

#include "link/spin_wait.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "link/hid_device_controller.h"

namespace tarvik {

namespace {

// Reports handed to the handler by one delivery task before the loop gets its turn again: as
// many as the queue holds, so that what a device sent before a change notice (an unplug) is
// delivered before the notice is handled, and a reader that never runs dry still lets user
// actions and repaints through now and then.
constexpr std::size_t kReportsPerDelivery = THidDeviceReadThread::kMaxQueuedReports;

} // namespace

THidDeviceReadThread::THidDeviceReadThread(THidDevice& device, HidConnection& connection,
                                           Dispatcher& mainThread,
                                           std::function<void()> onReadError)
    : connection_(connection), reportLength_(device.Caps().InputReportByteLength),
      sleepMs_(device.ReadThreadSleep()), onReadError_(std::move(onReadError)),
      inbox_(std::make_unique<Inbox>(device, mainThread)), thread_([this] { run(); }) {}

THidDeviceReadThread::~THidDeviceReadThread() {
    {
        std::lock_guard lock(inbox_->mutex);
        inbox_->stopRequested = true;
    }
    stopThread();
    // A delivery task still queued (or the one running, when its handler stopped this reader)
    // points at the inbox. The inbox follows it there: the main thread runs tasks in posting
    // order, so it is freed after that task, or with it when the queue is dropped unrun.
    std::unique_lock lock(inbox_->mutex);
    if (inbox_->deliveryPosted) {
        lock.unlock();
        Dispatcher& mainThread = inbox_->mainThread;
        mainThread.post([state = std::shared_ptr<Inbox>(std::move(inbox_))] {});
    }
}

void THidDeviceReadThread::stopThread() {
    inbox_->spaceFreed.notify_all();
    connection_.wakeUp();
    if (thread_.joinable())
        thread_.join();
}

void THidDeviceReadThread::deliverQueued() {
    Inbox& inbox = *inbox_;
    {
        std::lock_guard lock(inbox.mutex);
        inbox.readingStopped = true;
        // Counts as a delivery running: should the handler stop this reader, the inbox is kept
        // for this loop and for a delivery task that may still be queued.
        inbox.deliveryPosted = true;
    }
    stopThread();
    // Nothing is queued any more, so this empties the queue.
    while (deliverOne(inbox)) {
    }
    std::lock_guard lock(inbox.mutex);
    // A delivery task may still be queued; it finds the queue empty.
    if (!inbox.stopRequested)
        inbox.deliveryPosted = true;
}

bool THidDeviceReadThread::stopRequested() const {
    return inbox_->stopRequested.load(std::memory_order_acquire) ||
           inbox_->readingStopped.load(std::memory_order_acquire);
}

void THidDeviceReadThread::run() {
    std::vector<std::uint8_t> buffer(reportLength_);
    bool failing = false;
    while (!stopRequested()) {
        std::fill(buffer.begin(), buffer.end(), 0);
        const int count = connection_.read(buffer, sleepMs_);
        if (stopRequested())
            break;
        if (count < 0) {
            // The device failed or went away: the rescan asked for here closes it when it is
            // gone. Until then retry once per slice instead of spinning.
            if (!failing && onReadError_)
                onReadError_();
            failing = true;
            std::unique_lock lock(inbox_->mutex);
            inbox_->spaceFreed.wait_for(lock, std::chrono::milliseconds(sleepMs_),
                                        [this] { return stopRequested(); });
            continue;
        }
        failing = false;
        if (count == 0)
            continue;
        const auto length = std::min<std::size_t>(static_cast<std::size_t>(count), buffer.size());
        const std::size_t queued = enqueue(std::span(buffer).first(length));
        if (queued == 0)
            break;
        // An exchange passes to the main thread and back within microseconds: catching its
        // end here means the next read finds the answer waiting instead of going to sleep.
        if (queued == 1)
            spinUntil([this] { return inbox_->queued.load(std::memory_order_acquire) == 0; });
    }
}

std::size_t THidDeviceReadThread::enqueue(std::span<const std::uint8_t> report) {
    Inbox& inbox = *inbox_;
    bool post = false;
    std::size_t queued = 0;
    {
        std::unique_lock lock(inbox.mutex);
        inbox.spaceFreed.wait(lock, [&inbox] {
            return inbox.queued.load(std::memory_order_relaxed) < kMaxQueuedReports ||
                   inbox.stopRequested.load(std::memory_order_relaxed) ||
                   inbox.readingStopped.load(std::memory_order_relaxed);
        });
        if (inbox.stopRequested || inbox.readingStopped)
            return 0;
        queued = inbox.queued.load(std::memory_order_relaxed);
        // The slots from head on are the main thread's; the one after them is free.
        inbox.ring[(inbox.head + queued) % kMaxQueuedReports].assign(report.begin(), report.end());
        inbox.queued.store(++queued, std::memory_order_release);
        post = !std::exchange(inbox.deliveryPosted, true);
    }
    if (post)
        inbox.mainThread.post([state = &inbox] { deliver(*state); });
    return queued;
}

void THidDeviceReadThread::deliver(Inbox& inbox) {
    try {
        for (std::size_t i = 0; i < kReportsPerDelivery; ++i) {
            if (!deliverOne(inbox))
                return;
        }
    } catch (...) {
        // The failure goes to whoever runs the main loop; the reports after it still come.
        resume(inbox);
        throw;
    }
    resume(inbox);
}

bool THidDeviceReadThread::deliverOne(Inbox& inbox) {
    {
        std::lock_guard lock(inbox.mutex);
        if (inbox.stopRequested)
            return false; // the device may be gone: drop the reports
        if (inbox.queued.load(std::memory_order_relaxed) == 0) {
            inbox.deliveryPosted = false;
            return false;
        }
    }
    // The reader leaves queued slots alone, so the report is read without the lock.
    const std::vector<std::uint8_t>& report = inbox.ring[inbox.head];
    struct Pop {
        Inbox& inbox;
        ~Pop() {
            // Under the mutex, the last touch of a stopped inbox: once the stop is seen there,
            // only this task still points at it.
            std::lock_guard lock(inbox.mutex);
            if (inbox.stopRequested)
                return;
            inbox.head = (inbox.head + 1) % kMaxQueuedReports;
            inbox.queued.fetch_sub(1, std::memory_order_release);
            inbox.spaceFreed.notify_one();
        }
    } pop{inbox};
    // A copy: the handler may release this very device, and the handler with it. The stop
    // comes from the main thread too, so the device is there until the handler runs.
    const THidDataEvent handler = inbox.device.onData_;
    if (handler)
        handler(&inbox.device, report[0], report.data() + 1,
                static_cast<std::uint16_t>(report.size() - 1));
    return true;
}

void THidDeviceReadThread::resume(Inbox& inbox) {
    {
        std::lock_guard lock(inbox.mutex);
        if (inbox.stopRequested)
            return;
        if (inbox.queued.load(std::memory_order_relaxed) == 0) {
            inbox.deliveryPosted = false;
            return;
        }
    }
    inbox.mainThread.post([state = &inbox] { deliver(*state); });
}

} // namespace tarvik
