// Where each chip is programmed: the Device menu entry that a chip, named by identification or
// given by its serial EEPROM geometry, is reached through. Used to pick the selection that fits
// a chip known in advance (the virtual programmer's).
#pragma once

#include <cstdint>
#include <string_view>

#include "chips/device_menu.h"

namespace tarvik::chips {

// The entry for a chip of that name as identification gives it ("AT89C51", "ATmega8"; without
// a voltage suffix); nullptr for a name that is no chip (as "Device locked !").
const DeviceEntry* homeEntry(std::string_view chipName);
// The serial EEPROM entry of that size in bytes and write page size; nullptr when none has both.
const DeviceEntry* serialEepromEntry(std::uint32_t bytes, std::uint16_t pageSize);

} // namespace tarvik::chips
