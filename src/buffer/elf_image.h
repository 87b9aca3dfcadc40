// The memories an AVR ELF file holds (32-bit, little-endian, as avr-gcc writes it), taken from
// its loadable segments by their load (physical) addresses: flash below 0x800000, EEPROM at
// 0x810000, the fuse bytes at 0x820000, the lock byte at 0x830000 and the signature at
// 0x840000. A pure function over the file's bytes; every offset and size is checked.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarvik {

enum class ElfStatus {
    Ok,
    NotElf32, // not ELF, or not 32-bit little-endian
    Damaged,  // a header, table or segment that lies beyond the file's end, or overlaps a region
};

struct ElfImage {
    ElfStatus status = ElfStatus::Ok;
    std::optional<std::vector<std::uint8_t>> flash;  // 0xFF where no segment writes
    std::optional<std::vector<std::uint8_t>> eeprom; // from offset 0 of the EEPROM
    std::vector<std::uint8_t> fuses;                 // low, high, extended: as many as there are
    std::optional<std::uint8_t> lock;
    // The signature the chip reports, first byte first (the file holds it last byte first).
    std::optional<std::array<std::uint8_t, 3>> signature;
};

ElfImage readElf(std::span<const std::uint8_t> file);

} // namespace tarvik
