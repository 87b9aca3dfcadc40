// The Device menu's chip entries in menu order, one row per entry: what choosing it sets up.
#include "chips/device_menu.h"

#include <algorithm>
#include <array>

namespace tarvik::chips {
namespace {

using K = DeviceKind;
using P = FusePreset;

constexpr DeviceEntry socketMcu(std::string_view name, std::string_view caption,
                                std::string_view deviceText, FusePreset preset, bool eeprom,
                                int lastDevice) {
    return {name, caption, deviceText, K::SocketMcu, preset, eeprom, false, 0, 0, {}, lastDevice};
}

constexpr DeviceEntry serialEeprom(std::string_view name, std::string_view caption,
                                   std::string_view deviceText, std::uint16_t sizeCode,
                                   std::int16_t pageSize, std::string_view codeSize,
                                   int lastDevice) {
    return {name,  caption,  deviceText, K::SerialEeprom, P::None,   false,
            false, sizeCode, pageSize,   codeSize,        lastDevice};
}

constexpr DeviceEntry pic(std::string_view name, std::string_view text, bool setsIsPic,
                          bool eeprom) {
    return {name, text, text, K::Pic, P::None, eeprom, setsIsPic, 0, 0, {}, -1};
}

constexpr auto kDeviceEntries = std::to_array<DeviceEntry>({
    // Atmel MCU in the socket (a hidden submenu); index 3 is its separator.
    socketMcu("n89Cx051", "89Cx051 (автоопределение)", "89Cx051 (autodetect)", P::LockPair, false,
              0),
    socketMcu("n89C5x", "89C5x (автоопределение)", "89C5x (autodetect)", P::LockPair, false, 1),
    socketMcu("n89Sxx", "89Sxx (автоопределение)", "89Sxx (autodetect)", P::None, false, 2),
    socketMcu("N90S1200", "90S1200 / 90S2313 (автоопределение)", "90S1200 / 90S2313 (autodetect)",
              P::Socket, true, 4),
    // Serial EEPROMs in the socket.
    serialEeprom("N24AA00", "24AA00 / 24(L)C00", "24AA00 / 24(L)C00", 0, 1, "16", 5),
    serialEeprom("N24AA01", "24AA01 / 24(L)C01B", "24AA01 / 24(L)C01B", 1, 8, "128", 6),
    serialEeprom("N24C01C", "24C01C", "24C01C", 1, 16, "128", 7),
    serialEeprom("N24AA02", "24AA02 / 24(L)C02B", "24AA02 / 24(L)C02B", 2, 8, "256", 8),
    serialEeprom("N24C02C", "24C02C", "24C02C", 2, 16, "256", 9),
    serialEeprom("N24C04a", "24C04A", "24C04A", 4, 8, "512", 10),
    serialEeprom("N24AA04", "24AA04 / 24LC04B", "24AA04 / 24(L)C04B", 4, 16, "512", 11),
    serialEeprom("N24AA08", "24AA08 / 24(L)C08B", "24AA08 / 24(L)C08B", 8, 16, "1024", 12),
    serialEeprom("N24AA16", "24AA16 / 24(L)C16B", "24AA16 / 24(L)C16B", 16, 16, "2048", 13),
    serialEeprom("N24aa32", "24AA32A / 24LC32A", "24AA32A / 24LC32A", 32, 32, "4096", 14),
    serialEeprom("N24AA64", "24AA64 / 24(L)C64", "24AA64 / 24(L)C64", 64, 32, "8192", 15),
    serialEeprom("N24AA128", "24AA128 / 24(L/F)C128", "24AA128/24(L/F)C128", 128, 64, "16384", 16),
    serialEeprom("n24AA256", "24AA256 / 24(L/F)C256", "24AA256 / 24(L/F)C256", 129, 64, "32768",
                 17),
    serialEeprom("N24AA512", "24AA512 / 24(L/F)C512", "24AA512 / 24(L/F)C512", 130, 128, "65536",
                 18),
    // The AVR ISP connector.
    {"nAVRISP",
     "AVR (автоопределение)",
     "AVR ISP (автоопределение)",
     K::AvrIsp,
     P::None,
     true,
     false,
     0,
     0,
     {},
     19},
    // Microchip MCU (a hidden submenu): no jobs, no stored index.
    pic("N12C508", "12C508", true, false),
    pic("n12C508a", "12C508A", true, false),
    pic("n12c509", "12C509", true, false),
    pic("N12C509A", "12C509A", true, false),
    pic("N12CE518", "12CE518", true, false),
    pic("N12CE519", "12CE519", true, false),
    pic("N16C54", "16C54", true, false),
    pic("N16C56", "16C56", true, false),
    pic("N16C84", "16C84", true, true),
    pic("N16F83", "16F83", false, true),
    pic("N16F84", "16F84", false, true),
});

} // namespace

std::span<const DeviceEntry> deviceEntries() {
    return kDeviceEntries;
}

const DeviceEntry* findDeviceEntry(std::string_view name) {
    const auto* it = std::find_if(kDeviceEntries.begin(), kDeviceEntries.end(),
                                  [name](const DeviceEntry& e) { return e.name == name; });
    return it == kDeviceEntries.end() ? nullptr : &*it;
}

} // namespace tarvik::chips
