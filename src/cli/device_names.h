// The short names the command line gives the Device menu entries, in menu order: the AVR ISP
// connector first (the default), then the socket families, then the serial EEPROMs.
#pragma once

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace tarvik::cli {

struct DeviceName {
    std::string_view shortName;
    std::string_view entry; // the Device menu entry's name
};

inline constexpr std::array kDeviceNames{
    DeviceName{"avr-isp", "nAVRISP"},  DeviceName{"89Cx051", "n89Cx051"},
    DeviceName{"89C5x", "n89C5x"},     DeviceName{"89Sxx", "n89Sxx"},
    DeviceName{"90S1200", "N90S1200"}, DeviceName{"24AA00", "N24AA00"},
    DeviceName{"24AA01", "N24AA01"},   DeviceName{"24C01C", "N24C01C"},
    DeviceName{"24AA02", "N24AA02"},   DeviceName{"24C02C", "N24C02C"},
    DeviceName{"24C04A", "N24C04a"},   DeviceName{"24AA04", "N24AA04"},
    DeviceName{"24AA08", "N24AA08"},   DeviceName{"24AA16", "N24AA16"},
    DeviceName{"24AA32A", "N24aa32"},  DeviceName{"24AA64", "N24AA64"},
    DeviceName{"24AA128", "N24AA128"}, DeviceName{"24AA256", "n24AA256"},
    DeviceName{"24AA512", "N24AA512"},
};

// Equal texts when ASCII letter case is ignored.
inline bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The row of that short name (any letter case), or nullptr.
inline const DeviceName* findDeviceName(std::string_view shortName) {
    const auto* found = std::ranges::find_if(kDeviceNames, [&](const DeviceName& row) {
        return sameIgnoringCase(row.shortName, shortName);
    });
    return found == kDeviceNames.end() ? nullptr : found;
}

} // namespace tarvik::cli
