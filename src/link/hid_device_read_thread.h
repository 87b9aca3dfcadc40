// THidDeviceReadThread: the background reader of one checked-out device. It reads one input
// report at a time and hands it to the main thread, waiting until the data handler has
// returned or until it is told to stop, whichever comes first.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "link/dispatcher.h"
#include "link/hid_backend.h"

namespace tarvik {

class THidDevice;

class THidDeviceReadThread {
public:
    // Starts reading at once. The device and the connection must outlive this object.
    THidDeviceReadThread(THidDevice& device, HidConnection& connection, Dispatcher& mainThread);
    // Stops and joins the thread.
    ~THidDeviceReadThread();
    THidDeviceReadThread(const THidDeviceReadThread&) = delete;
    THidDeviceReadThread& operator=(const THidDeviceReadThread&) = delete;

private:
    // What the reader shares with the task it posts to the main thread. Only one report is in
    // flight at a time, so the report lives here too and the task carries nothing but a
    // pointer: posting copies and allocates nothing. A task still queued when the thread stops
    // keeps the state alive (see the destructor), finds the stop flag and drops its report
    // without touching the device, which may be gone.
    struct HandOff {
        explicit HandOff(THidDevice& owner) : device(owner) {}
        std::mutex mutex; // taken to change the flags below, so that waiters see the change
        std::condition_variable changed;
        std::atomic<bool> stopRequested = false; // also read without the mutex
        std::atomic<bool> handled = true;        // also read without the mutex while spinning
        THidDevice& device;
        std::vector<std::uint8_t> report; // the reader writes it only while nothing is in flight
    };

    void run();
    // Posts the report in the hand-off to the main thread and waits until it was handled or a
    // stop came.
    void handOver();
    bool stopRequested() const;

    HidConnection& connection_;
    Dispatcher& mainThread_;
    std::size_t reportLength_;
    int sleepMs_;
    std::unique_ptr<HandOff> handOff_;
    std::thread thread_;
};

} // namespace tarvik
