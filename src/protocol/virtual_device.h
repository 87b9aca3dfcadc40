// The seam between the link's emulated and socket backends and a programmer model that runs
// in software (the virtual programmer, or any other model a test puts behind the client).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "protocol/codes.h"

namespace tarvik {

// What the device does in answer to one output report.
struct DeviceReply {
    std::vector<InputReportBytes> reports; // input reports in the order they are sent
    bool unplug = false;                   // the device drops off the bus after sending them
};

class VirtualDevice {
public:
    virtual ~VirtualDevice() = default;
    // One whole output report as the host wrote it, report id first (usually 65 bytes).
    virtual DeviceReply onOutputReport(std::span<const std::uint8_t> report) = 0;
};

} // namespace tarvik
