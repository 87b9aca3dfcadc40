// The flash page code and the chip EEPROM code of each chip, looked up by chip name.
#include "chips/chip_codes.h"

#include <array>
#include <span>

namespace tarvik::chips {
namespace {

struct CodeRow {
    std::span<const std::string_view> chips;
    std::uint8_t code;
};

std::uint8_t lookUp(std::span<const CodeRow> table, std::string_view chipName,
                    std::uint8_t otherwise) {
    for (const CodeRow& row : table) {
        for (std::string_view chip : row.chips) {
            if (chip == chipName)
                return row.code;
        }
    }
    return otherwise;
}

// Flash page code, parameter 3 of the ISP flash write; every other chip gets 0x01.
constexpr auto kPage80 = std::to_array<std::string_view>({"ATmega128", "ATmega64"});
constexpr auto kPage40 = std::to_array<std::string_view>(
    {"ATmega32", "ATmega16", "ATmega162", "ATmega165", "ATmega169"});
constexpr auto kPage20 = std::to_array<std::string_view>({"ATmega8", "ATmega8515", "ATmega8535"});
constexpr auto kPage10 = std::to_array<std::string_view>({"ATtiny26"});
constexpr auto kPage81 = std::to_array<std::string_view>({"ATtiny13", "ATtiny2313"});
constexpr auto kPage82 = std::to_array<std::string_view>({"ATmega48", "ATmega88"});
constexpr auto kPage83 = std::to_array<std::string_view>({"ATmega168"});

constexpr auto kAvrPageCodes = std::to_array<CodeRow>({
    {kPage80, 0x80},
    {kPage40, 0x40},
    {kPage20, 0x20},
    {kPage10, 0x10},
    {kPage81, 0x81},
    {kPage82, 0x82},
    {kPage83, 0x83},
});
constexpr std::uint8_t kOtherPageCode = 0x01;

// Chip EEPROM code, parameter 1 of the EEPROM read; every other chip gets 0 (no EEPROM read).
constexpr auto kEeprom64 =
    std::to_array<std::string_view>({"AT90S1200", "ATtiny12", "ATtiny13", "ATtiny15L"});
constexpr auto kEeprom128 =
    std::to_array<std::string_view>({"AT90S2313", "AT90S/LS2323", "AT90S/LS2343", "AT90S/LS2333",
                                     "ATtiny26", "ATtiny2313", "ATtiny22"});
constexpr auto kEeprom256 = std::to_array<std::string_view>({"AT90S/LS4433", "ATmega48"});
constexpr auto kEeprom512 = std::to_array<std::string_view>(
    {"ATmega8", "ATmega16", "AT90S8515", "AT90S/LS8535", "ATmega8515", "ATmega8535", "ATmega162",
     "ATmega165", "ATmega169", "ATmega88", "ATmega168"});
constexpr auto kEeprom1k = std::to_array<std::string_view>({"ATmega32"});
constexpr auto kEeprom2k = std::to_array<std::string_view>({"ATmega64"});
constexpr auto kEeprom4k = std::to_array<std::string_view>({"ATmega128"});

constexpr auto kChipEepromCodes = std::to_array<CodeRow>({
    {kEeprom64, 0x40},
    {kEeprom128, 0x80},
    {kEeprom256, 0x81},
    {kEeprom512, 0x82},
    {kEeprom1k, 0x84},
    {kEeprom2k, 0x88},
    {kEeprom4k, 0x90},
});
constexpr std::uint8_t kOtherEepromCode = 0x00;

} // namespace

std::uint8_t avrPageCode(std::string_view chipName) {
    return lookUp(kAvrPageCodes, chipName, kOtherPageCode);
}

std::uint8_t chipEepromCode(std::string_view chipName) {
    return lookUp(kChipEepromCodes, chipName, kOtherEepromCode);
}

} // namespace tarvik::chips
