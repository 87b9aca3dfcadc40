// A virtual device made real to the Linux kernel through /dev/uhid: the kernel sees a USB HID
// device with the programmer's ids and report layout (or another device's ids, for tests), and
// udev, hidraw and every HID client treat it as plugged-in hardware. Output reports written to
// its hidraw node reach the virtual device; its answers go back as input reports, paced to
// USB full-speed frames like the hardware's (or a slower pace). Destroying the device is an unplug.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/posix/unique_fd.h"
#include "link/posix/wake_event.h"
#include "protocol/virtual_device.h"

namespace tarvik {

struct UhidSettings {
    std::string name = "Tarvik virtual programmer";
    std::uint16_t vendorId = 0x0451;
    std::uint16_t productId = 0x3210;
    std::size_t reportBytes = 64; // payload of the input and output reports, no report id
    // Between two input reports: one 1 ms frame like the hardware's, several for a slower
    // host's pace; 0: as fast as possible.
    std::chrono::milliseconds reportInterval{1};
};

// What the kernel did with the device, for whoever watches it.
enum class UhidEvent : std::uint8_t {
    Created,   // the device is on the bus
    Opened,    // a client opened it (the first open of its hidraw node)
    Closed,    // the last client closed it
    Unplugged, // the device dropped off the bus
};

// A vendor-defined report descriptor with one input and one output report of reportBytes
// bytes each (1 to 64) and no report ids, like the programmer's.
std::vector<std::uint8_t> vendorReportDescriptor(std::size_t reportBytes);

class UhidDevice {
public:
    using EventLog = std::function<void(UhidEvent)>;
    static constexpr const char* kDefaultPath = "/dev/uhid";

    // Opens the uhid node for reading and writing. Throws std::system_error with the errno
    // (ENOENT: no uhid module; EACCES: no access).
    static UniqueFd openNode(const std::string& path = kDefaultPath);

    // Creates the device on the node (throws std::system_error when the kernel refuses).
    // The device is used on the thread that calls run().
    UhidDevice(UniqueFd node, VirtualDevice& device, const UhidSettings& settings,
               EventLog log = {});
    // Destroys the device if it is still on the bus.
    ~UhidDevice();
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    // Serves the kernel until stop() or until the virtual device drops off the bus (true).
    bool run();
    // Any thread: makes run() return soon.
    void stop();

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        InputReportBytes report;
        Clock::time_point due;
    };

    bool handleEvent();
    void schedule(const DeviceReply& reply, Clock::time_point now);
    void sendDue(Clock::time_point now);
    void destroy();
    void tell(UhidEvent event) const;

    UniqueFd node_;
    VirtualDevice& device_;
    UhidSettings settings_;
    EventLog log_;
    WakeEvent stop_;
    std::deque<Pending> pending_;
    bool unplugAfterPending_ = false;
    bool created_ = false;
};

} // namespace tarvik
