// What a HID device interface path tells without opening the device: the USB vendor and
// product ids that the system writes into it (…#vid_0451&pid_3210#…), and a spelling of the
// path that compares equal however the system capitalises it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

struct UsbIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    bool operator==(const UsbIds&) const = default;
};

// The first "VID_xxxx&PID_xxxx" in the path, in any case, with exactly four hexadecimal digits
// each; none when the path carries no such pair (a Bluetooth or a virtual device, for one).
std::optional<UsbIds> idsFromInterfacePath(std::wstring_view path);

// The path with ASCII letters in lower case: the key under which the link remembers a device.
std::wstring interfacePathKey(std::wstring_view path);

} // namespace tarvik
