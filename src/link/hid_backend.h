// The seam below the controller: one backend enumerates devices, opens them and tells the
// controller when the set of devices may have changed. Real USB (hidapi + libudev), the
// in-process virtual programmer and the socket peer are backends behind this seam.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvik {

struct HidDeviceInfo {
    std::string path;     // what open() is given
    std::string identity; // stable for one plugged device, new for every plug-in
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::uint16_t inputReportLength = 0;  // bytes per report including the report id
    std::uint16_t outputReportLength = 0; // bytes per report including the report id
};

// A programmer the backend found but does not offer: a socket whose peer runs as another user
// (it could be a fake collecting the firmware written to it).
struct RefusedPeer {
    std::string path;
    std::uint32_t userId = 0;
    bool operator==(const RefusedPeer&) const = default;
};

// One opened device.
class HidConnection {
public:
    virtual ~HidConnection() = default;
    virtual bool readWriteAccess() const = 0;
    // One synchronous write of the whole report, report id first.
    virtual bool write(std::span<const std::uint8_t> report) = 0;
    // Waits up to timeoutMs for one input report. Returns the bytes read (report id first),
    // 0 when nothing arrived, -1 when the device is gone or failed. wakeUp() ends a wait at once.
    virtual int read(std::span<std::uint8_t> report, int timeoutMs) = 0;
    // Callable from any thread: makes a read that is waiting return promptly.
    virtual void wakeUp() = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // The present devices, learnt without opening any of them.
    virtual std::vector<HidDeviceInfo> enumerate() = 0;
    // Opens read/write, else for queries only; nullptr when it cannot be opened at all. Called
    // only for the device the client takes (and to look again at one it could not open).
    virtual std::unique_ptr<HidConnection> open(const HidDeviceInfo& info) = 0;
    // The backend calls onChange on the main thread whenever devices may have come or gone.
    virtual void watch(std::function<void()> onChange) = 0;
    // The last peer refused since no device was offered; callable from any thread. A new
    // refusal is a change for watch()'s handler.
    virtual std::optional<RefusedPeer> refusedPeer() const { return std::nullopt; }
};

} // namespace tarvik
