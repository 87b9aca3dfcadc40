// Parameter encodings of the command reports.
#pragma once

#include <cstdint>

namespace tarvik {

// Bytes of a serial EEPROM size code: 0 → 16, 1..128 → code × 128, 129 → 32768, 130 → 65536.
std::int32_t serialEepromBytes(std::uint16_t sizeCode);
// Bytes of a chip EEPROM code: up to 128 the size itself, above (code − 128) × 256.
std::int32_t chipEepromBytes(std::uint8_t code);
// Flash size in bytes → the kibibyte byte of the flash read (131072 → 128).
std::uint8_t flashKibibytes(std::int64_t flashBytes);

} // namespace tarvik
