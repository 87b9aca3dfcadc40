// The seam below the controller: one backend enumerates devices, opens them and tells the
// controller when the set of devices may have changed. Real USB (hidapi + libudev on Linux,
// HID.dll on Windows), the in-process virtual programmer and the socket peer are backends
// behind this seam. What a backend has to say about a programmer it cannot give the client
// (why, and what the user can do) it says here in the interface languages, so nothing above
// the link knows the platform.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/lang_text.h"

namespace tarvik {

struct HidDeviceInfo {
    std::string path; // what open() is given
    // Stable for one plugged device, new for every plug-in: where the system reuses a path
    // for the next device plugged into the same port, the backend adds a plug counter.
    std::string identity;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::uint16_t inputReportLength = 0;  // bytes per report including the report id
    std::uint16_t outputReportLength = 0; // bytes per report including the report id
};

// A programmer the backend found but does not offer, e.g. a socket whose peer runs as another
// user (it could be a fake collecting the firmware written to it): where it is and why.
struct RefusedProgrammer {
    std::string path;
    LangLine reason; // one log line, filled in, per interface language
    bool operator==(const RefusedProgrammer&) const = default;
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
    // The last programmer refused since none was offered; callable from any thread. A new
    // refusal is a change for watch()'s handler.
    virtual std::optional<RefusedProgrammer> refusedProgrammer() const { return std::nullopt; }
    // What the user can do about a programmer that opens for queries only: whole log lines
    // in the given language (0 German, 1 English, 2 Russian), commands indented by four
    // spaces; none for codes outside 0..2 or when the backend has no advice. Main thread.
    virtual std::vector<std::string> accessRemedy(std::uint8_t languageCode) const {
        (void)languageCode;
        return {};
    }
};

} // namespace tarvik
