// What a virtual chip holds when it is put on the programmer: a small program in the flash of
// a microcontroller and a few bytes of data in its EEPROM, text in a serial EEPROM, so that a
// first read shows something worth looking at. Every other byte is erased (0xFF).
#pragma once

#include <cstdint>
#include <vector>

#include "emulator/virtual_chip.h"

namespace tarvik::emulator {

// The flash (or a serial EEPROM's memory), chip.memorySize bytes.
std::vector<std::uint8_t> demoMemory(const VirtualChip& chip);
// The data EEPROM, chip.eepromSize bytes.
std::vector<std::uint8_t> demoEeprom(const VirtualChip& chip);

} // namespace tarvik::emulator
