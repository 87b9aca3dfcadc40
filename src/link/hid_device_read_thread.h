// THidDeviceReadThread: the background reader of one checked-out device. It takes every input
// report from the system as soon as it arrives and queues it for the main thread, which hands
// the queued reports to the data handler one at a time, in arrival order. The reader never
// waits for the handler: the system's own input queue is small and drops reports while full.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "link/dispatcher.h"
#include "link/hid_backend.h"

namespace tarvik {

class THidDevice;

class THidDeviceReadThread {
public:
    // At most this many reports wait for the main thread; a full queue makes the reader wait
    // (nothing is dropped). A job has at most a whole flash read in flight: 128 KiB in 63-byte
    // pieces is 2081 reports.
    static constexpr std::size_t kMaxQueuedReports = 4096;

    // Starts reading at once. The device and the connection must outlive this object.
    // onReadError is called from the reader's thread when a read fails (once per run of
    // failures); it must be safe to call from any thread.
    THidDeviceReadThread(THidDevice& device, HidConnection& connection, Dispatcher& mainThread,
                         std::function<void()> onReadError);
    // Stops and joins the thread; reports still queued are dropped.
    ~THidDeviceReadThread();
    THidDeviceReadThread(const THidDeviceReadThread&) = delete;
    THidDeviceReadThread& operator=(const THidDeviceReadThread&) = delete;

    // Main thread, once the device has gone: stops reading, then hands the reports already
    // queued to the handler now, so that they come before the device is closed. The handler
    // may release the device, and this reader with it.
    void deliverQueued();

private:
    // What the reader shares with the delivery task it posts to the main thread: the queue of
    // reports, kept as a ring of buffers that are reused, so that steady reading allocates
    // nothing. A delivery task carries nothing but a pointer to this. One still queued when
    // the thread stops keeps the inbox alive (see the destructor), finds the stop flag and
    // drops its reports without touching the device, which may be gone.
    struct Inbox {
        Inbox(THidDevice& owner, Dispatcher& main) : device(owner), mainThread(main) {}
        std::mutex mutex; // guards everything below but the device and the dispatcher
        std::condition_variable spaceFreed;
        std::atomic<bool> stopRequested = false;  // also read without the mutex
        std::atomic<bool> readingStopped = false; // the reader ends, the queue stays
        std::atomic<std::size_t> queued = 0;      // also read without the mutex while spinning
        bool deliveryPosted = false;              // a delivery task is queued or running
        std::size_t head = 0; // the oldest queued report; only the main thread moves it
        std::vector<std::vector<std::uint8_t>> ring =
            std::vector<std::vector<std::uint8_t>>(kMaxQueuedReports);
        THidDevice& device;
        Dispatcher& mainThread;
    };

    void run();
    void stopThread();
    // Queues one report, waiting while the queue is full. Returns the reports now queued, 0
    // when a stop came instead.
    std::size_t enqueue(std::span<const std::uint8_t> report);
    // On the main thread: hands a batch of queued reports to the handler, then lets the loop
    // run other work before the next batch.
    static void deliver(Inbox& inbox);
    // Hands the oldest queued report to the handler. False when there was none (the delivery
    // is over) or the reader was stopped.
    static bool deliverOne(Inbox& inbox);
    // After a batch or a handler that threw: posts the next delivery if reports are waiting.
    static void resume(Inbox& inbox);
    // The reader's own test: the reader or all of it was stopped.
    bool stopRequested() const;

    HidConnection& connection_;
    std::size_t reportLength_;
    int sleepMs_;
    std::function<void()> onReadError_;
    std::unique_ptr<Inbox> inbox_;
    std::thread thread_;
};

} // namespace tarvik
