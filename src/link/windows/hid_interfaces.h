// The HID device interfaces of the system, through the bound services: listing their paths
// (SetupApi, nothing opened) and querying one device's attributes and report lengths over a
// handle opened without access, which never disturbs a program that is using the device.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/windows/hid_system_api.h"
#include "link/windows/interface_path.h"

namespace tarvik {

// The HID interface class: from HID.dll, else the built-in copy.
GUID hidInterfaceClass(const HidSystemApi& api);

// The device paths of the present HID device interfaces, in the system's order; none when the
// system does not give the set.
std::vector<std::wstring> listHidInterfaces(const HidSystemApi& api);

struct QueriedHidDevice {
    UsbIds ids;
    std::uint16_t version = 0;
    // Bytes per report including the report id; 0 when not read.
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
};

// Opens the path for queries only and reads its attributes, and its report lengths when its
// ids are lengthsFor. None when it cannot be opened or identified.
std::optional<QueriedHidDevice> queryHidDevice(const HidSystemApi& api, const std::wstring& path,
                                               UsbIds lengthsFor);

} // namespace tarvik
