// The Device menu's chip entries as data: what each selection sets (family, Device text,
// serial EEPROM geometry, preset fuse list, EEPROM actions) and its "Last Device" index.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tarvik::chips {

enum class DeviceKind : std::uint8_t { SocketMcu, AvrIsp, SerialEeprom, Pic };
enum class FusePreset : std::uint8_t { None, LockPair, Socket };

struct DeviceEntry {
    std::string_view name;       // the menu entry's name, e.g. "N24AA512"
    std::string_view caption;    // menu caption, the same in every language
    std::string_view deviceText; // text of the Device edit
    DeviceKind kind;
    FusePreset fusePreset = FusePreset::None;
    bool enableEepromActions = false;
    bool setsIsPic = false;           // and disables erasing
    std::uint16_t eepromSizeCode = 0; // serial EEPROMs
    std::int16_t eepromPageSize = 0;  // serial EEPROMs
    std::string_view codeSize;        // serial EEPROMs: CodeSize text
    int lastDeviceIndex = -1;         // index stored as "Last Device"; -1: none
};

// Every chip entry in menu order: the hidden Atmel socket entries, the serial EEPROMs, the
// AVR ISP entry, the hidden Microchip entries.
std::span<const DeviceEntry> deviceEntries();
// The entry with that name, or nullptr.
const DeviceEntry* findDeviceEntry(std::string_view name);

} // namespace tarvik::chips
