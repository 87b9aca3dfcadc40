// What the link needs from a HID report descriptor and a HID device's ids, read from the
// system's text and bytes (untrusted: malformed input yields no result, never a crash).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tarvik {

struct ReportLengths {
    // Bytes of the longest report, including the report id byte (0 for devices without
    // numbered reports): what the device's capabilities call the report byte length.
    std::uint16_t input = 0;
    std::uint16_t output = 0;
    bool numbered = false; // the device's reports carry report ids
};

ReportLengths parseReportDescriptor(std::span<const std::uint8_t> descriptor);

struct HidIds {
    std::uint16_t bus = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// The kernel's HID_ID property, "BBBB:VVVVVVVV:PPPPPPPP" in hexadecimal.
std::optional<HidIds> parseHidId(std::string_view text);

} // namespace tarvik
