// Per-chip codes that travel as report parameters, chosen by the identified chip name
// (exact, case-sensitive, first match wins).
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvik::chips {

std::uint8_t avrPageCode(std::string_view chipName);    // parameter 3 of the ISP flash write
std::uint8_t chipEepromCode(std::string_view chipName); // parameter 1 of the EEPROM read

} // namespace tarvik::chips
