// The home entry of every chip identification names, in the identification table's order:
// the AT89 families in the socket, AT90S1200 and AT90S2313 in their socket entry, every other
// AVR on the ISP connector.
#include "chips/home_entries.h"

#include <algorithm>
#include <array>
#include <string>

namespace tarvik::chips {
namespace {

struct HomeRow {
    std::string_view chip;  // the AutoDevice text identification gives
    std::string_view entry; // the Device menu entry's name
};

constexpr auto kHomeTable = std::to_array<HomeRow>({
    {"AT89C1051", "n89Cx051"},   {"AT89C2051", "n89Cx051"},   {"AT89C4051", "n89Cx051"},
    {"AT89C51", "n89C5x"},       {"AT89C52", "n89C5x"},       {"AT89S53", "n89Sxx"},
    {"AT89C55", "n89C5x"},       {"AT89LV51", "n89C5x"},      {"AT89LV52", "n89C5x"},
    {"AT89LV55", "n89C5x"},      {"AT89S8252", "n89Sxx"},     {"AT90S1200", "N90S1200"},
    {"ATtiny12", "nAVRISP"},     {"ATtiny15L", "nAVRISP"},    {"ATtiny13", "nAVRISP"},
    {"AT90S2313", "N90S1200"},   {"AT90S/LS2323", "nAVRISP"}, {"AT90S/LS2343", "nAVRISP"},
    {"AT90S/LS2333", "nAVRISP"}, {"ATtiny22", "nAVRISP"},     {"ATtiny26", "nAVRISP"},
    {"ATtiny2313", "nAVRISP"},   {"AT90S/LS4433", "nAVRISP"}, {"ATmega48", "nAVRISP"},
    {"AT90S8515", "nAVRISP"},    {"AT90S/LS8535", "nAVRISP"}, {"ATmega8515", "nAVRISP"},
    {"ATmega8", "nAVRISP"},      {"ATmega8535", "nAVRISP"},   {"ATmega88", "nAVRISP"},
    {"ATmega16", "nAVRISP"},     {"ATmega162", "nAVRISP"},    {"ATmega169", "nAVRISP"},
    {"ATmega168", "nAVRISP"},    {"ATmega165", "nAVRISP"},    {"ATmega32", "nAVRISP"},
    {"ATmega64", "nAVRISP"},     {"ATmega128", "nAVRISP"},
});

} // namespace

const DeviceEntry* homeEntry(std::string_view chipName) {
    const auto* row = std::ranges::find(kHomeTable, chipName, &HomeRow::chip);
    return row == kHomeTable.end() ? nullptr : findDeviceEntry(row->entry);
}

const DeviceEntry* serialEepromEntry(std::uint32_t bytes, std::uint16_t pageSize) {
    const std::string size = std::to_string(bytes);
    const auto entries = deviceEntries();
    const auto entry = std::ranges::find_if(entries, [&](const DeviceEntry& e) {
        return e.kind == DeviceKind::SerialEeprom && e.codeSize == size &&
               e.eepromPageSize == pageSize;
    });
    return entry == entries.end() ? nullptr : &*entry;
}

} // namespace tarvik::chips
