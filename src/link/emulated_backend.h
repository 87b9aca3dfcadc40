// The emulated bus: in-process virtual devices that can be plugged in and unplugged at any
// moment, from any thread. Every plug makes a new device with a fresh identity; plugging and
// unplugging tell the controller on the main thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/change_notifier.h"
#include "link/dispatcher.h"
#include "link/hid_backend.h"
#include "protocol/codes.h"
#include "protocol/virtual_device.h"

namespace tarvik {

// How reports cross the emulated bus.
enum class Latency {
    None,         // at once
    UsbFullSpeed, // each report, both ways, at the next 1 ms frame boundary
};

// What the plugged device looks like on the bus. The defaults are the programmer.
struct EmulatedDeviceOptions {
    std::uint16_t vendorId = kProgrammerVendorId;
    std::uint16_t productId = kProgrammerProductId;
    std::uint16_t version = 0x0100;
    std::uint16_t inputReportLength = report::kInputLength;
    std::uint16_t outputReportLength = report::kOutputLength;
    bool readWriteAccess = true; // false: it opens for queries only
};

class EmulatedBackend : public HidBackend {
public:
    using Handle = std::uint64_t;

    explicit EmulatedBackend(Dispatcher& mainThread);
    ~EmulatedBackend() override;

    Handle plug(std::shared_ptr<VirtualDevice> device, Latency latency = Latency::None,
                const EmulatedDeviceOptions& options = {});
    // Unplugs at once; reports not read yet are lost, as on a real bus. Unknown handles and
    // devices already gone are ignored.
    void unplug(Handle handle);
    // The device stops taking output reports while it stays plugged in (a failing cable or
    // hub): every write to it fails from now on.
    void refuseWrites(Handle handle);

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const HidDeviceInfo& info) override;
    void watch(std::function<void()> onChange) override;
    // The advice set with setAccessRemedy, none by default: the emulated bus has no access
    // rules of its own.
    std::vector<std::string> accessRemedy(std::uint8_t languageCode) const override;
    void setAccessRemedy(std::function<std::vector<std::string>(std::uint8_t)> remedy);

    struct Port; // one plugged device, shared with its connections

private:
    struct Bus; // the plugged ports, shared with ports that unplug themselves
    std::shared_ptr<Bus> bus_;
    std::function<std::vector<std::string>(std::uint8_t)> remedy_;
};

} // namespace tarvik
