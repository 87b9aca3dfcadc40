// Flash page codes and chip EEPROM codes by chip name.
#include "chips/chip_codes.h"
#include "chips/identification.h"

#include <gtest/gtest.h>

namespace tarvik::chips {
namespace {

TEST(ChipCodes, AvrPageCode) {
    const std::pair<std::string_view, std::uint8_t> cases[] = {
        {"ATmega128", 0x80},       {"ATmega64", 0x80},     {"ATmega162", 0x40},
        {"ATmega169", 0x40},       {"ATmega8", 0x20},      {"ATmega8535", 0x20},
        {"ATtiny26", 0x10},        {"ATtiny13", 0x81},     {"ATtiny2313", 0x81},
        {"ATmega48", 0x82},        {"ATmega88", 0x82},     {"ATmega168", 0x83},
        {"ATtiny12", 0x01},        {"AT90S/LS8535", 0x01}, {"ATtiny22", 0x01},
        {"Device locked !", 0x01}, {"atmega8", 0x01},      {"", 0x01},
    };
    for (const auto& [name, code] : cases)
        EXPECT_EQ(avrPageCode(name), code) << name;
}

TEST(ChipCodes, ChipEepromCode) {
    const std::pair<std::string_view, std::uint8_t> cases[] = {
        {"AT90S1200", 0x40},       {"ATtiny15L", 0x40}, {"ATtiny2313", 0x80}, {"ATtiny22", 0x80},
        {"AT90S/LS4433", 0x81},    {"ATmega48", 0x81},  {"ATmega8", 0x82},    {"ATmega168", 0x82},
        {"ATmega32", 0x84},        {"ATmega64", 0x88},  {"ATmega128", 0x90},  {"AT89C51", 0x00},
        {"Device locked !", 0x00}, {"ATmega8 ", 0x00},
    };
    for (const auto& [name, code] : cases)
        EXPECT_EQ(chipEepromCode(name), code) << name;
}

TEST(ChipCodes, EveryIdentifiedAvrHasAnEepromCode) {
    // The names in the code table are the identification's names, letter for letter.
    for (int s2 = 0x90; s2 <= 0x97; ++s2) {
        for (int s3 = 0; s3 <= 0x0A; ++s3) {
            const ChipIdentity id = identify(0x1E, s2, s3);
            if (id.named) {
                EXPECT_NE(chipEepromCode(id.name), 0) << id.name;
            }
        }
    }
}

} // namespace
} // namespace tarvik::chips
