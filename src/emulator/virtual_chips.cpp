// The table of virtual chips: one row per chip the programmer can meet, with the factory state
// of its fuse bytes and calibration bytes, and the lookup by name.
#include "emulator/virtual_chip.h"

#include <algorithm>
#include <cctype>

namespace tarvik::emulator {
namespace {

constexpr std::uint8_t family(std::uint8_t code) {
    return static_cast<std::uint8_t>(1U << code);
}
constexpr std::uint8_t kAt89Cx051 = family(1);
constexpr std::uint8_t kAt89C5x = family(2);
constexpr std::uint8_t kSerial = family(3);
constexpr std::uint8_t kSocket = family(4);
constexpr std::uint8_t kIsp = family(5);
constexpr std::uint8_t kAnyMcu = kAt89Cx051 | kAt89C5x | kSocket | kIsp;

constexpr std::uint8_t kLow = 1;
constexpr std::uint8_t kHigh = 2;

// AT89: lock bits through the socket only, no fuses.
constexpr ProgrammingModel kAt89{LockWrite::None, FuseWrite::None, LockRead::None, 0, {}, {}};
// AT90S1200, AT90S2313, AT90S8515: lock bits only over ISP; SPIEN and RCEN/FSTRT in the socket.
constexpr ProgrammingModel kLockPair{
    LockWrite::OlderBits, FuseWrite::None, LockRead::None, 1, {kLow, 5}, {}};
// AT90S/LS2323, AT90S/LS2343, AT90S/LS8535, ATtiny22: one start-up fuse, combined read.
constexpr ProgrammingModel kStartup{
    LockWrite::OlderBits, FuseWrite::StartupBit, LockRead::Combined, 1, {kLow, 5}, {}};
// AT90S/LS2333, AT90S/LS4433: BODLEVEL, BODEN and CKSEL in the write instruction.
constexpr ProgrammingModel kFiveBits{
    LockWrite::OlderBits, FuseWrite::FiveBits, LockRead::LockByte, 1, {kLow, 5}, {}};
// ATtiny12, ATtiny15L: one fuse byte written with A0.
constexpr ProgrammingModel kTinyFuse{
    LockWrite::OlderBits, FuseWrite::FuseBytes, LockRead::LockByte, 1, {kLow, 5}, {}};
constexpr ProgrammingModel kTiny13{
    LockWrite::LockByte, FuseWrite::FuseBytes, LockRead::LockByte, 2, {kLow, 7}, {kLow, 6}};
constexpr ProgrammingModel kTiny26{
    LockWrite::Tiny26Bits, FuseWrite::FuseBytes, LockRead::LockByte, 2, {kHigh, 3}, {kHigh, 2}};
constexpr ProgrammingModel kTiny2313{
    LockWrite::LockByte, FuseWrite::FuseBytes, LockRead::LockByte, 3, {kHigh, 5}, {kHigh, 6}};
// ATmega with low and high fuse bytes.
constexpr ProgrammingModel kMega{
    LockWrite::LockByte, FuseWrite::FuseBytes, LockRead::LockByte, 2, {kHigh, 5}, {kHigh, 3}};
// ATmega with an extended fuse byte as well.
constexpr ProgrammingModel kMegaExt{
    LockWrite::LockByte, FuseWrite::FuseBytes, LockRead::LockByte, 3, {kHigh, 5}, {kHigh, 3}};

// AT89: programmed in the socket, lock bits only; with lock bit 2 programmed the signature
// reads like any other locked location.
constexpr VirtualChip at89(std::string_view name, std::uint8_t families, std::uint8_t s2,
                           std::uint8_t s3, std::uint32_t size, std::uint8_t voltage) {
    VirtualChip chip{};
    chip.name = name;
    chip.kind = ChipKind::Microcontroller;
    chip.families = families;
    chip.signature = {0x1E, s2, s3};
    chip.memorySize = size;
    chip.voltage = voltage;
    chip.model = &kAt89;
    chip.lockHidesSignature = true;
    return chip;
}

constexpr VirtualChip avr(std::string_view name, std::uint8_t families, std::uint8_t s2,
                          std::uint8_t s3, std::uint32_t flash, std::uint32_t eeprom,
                          std::uint8_t pageCode, const ProgrammingModel& model, FuseBytes factory,
                          std::array<std::uint8_t, 4> calibration = {},
                          std::uint8_t calibrationCount = 0) {
    VirtualChip chip{};
    chip.name = name;
    chip.kind = ChipKind::Microcontroller;
    chip.families = families;
    chip.signature = {0x1E, s2, s3};
    chip.memorySize = flash;
    chip.eepromSize = eeprom;
    chip.pageCode = pageCode;
    chip.model = &model;
    chip.factory = factory;
    chip.calibration = calibration;
    chip.calibrationCount = calibrationCount;
    return chip;
}

constexpr VirtualChip serialEeprom(std::string_view name, std::uint32_t size, std::uint16_t page) {
    VirtualChip chip{};
    chip.name = name;
    chip.kind = ChipKind::SerialEeprom;
    chip.families = kSerial;
    chip.memorySize = size;
    chip.eepromPage = page;
    chip.model = &kAt89;
    return chip;
}

// Both lock bits programmed: the signature reads 00 01 02 until a chip erase unlocks it,
// after which it is an AT89C51 (12 V) that answers on every microcontroller family.
constexpr VirtualChip lockedChip() {
    VirtualChip chip = at89("locked", kAnyMcu, 0x51, 0xFF, 4096, 12);
    chip.pageCode = 0x01;
    chip.model = &kLockPair;
    chip.factory = {0xF9, 0xDF};
    return chip;
}

// A signature no table knows.
constexpr VirtualChip unknownChip() {
    return avr("unknown", kAnyMcu, 0x9F, 0x0F, 1024, 64, 0x01, kLockPair, {0xFF, 0xDF});
}

// An empty socket.
constexpr VirtualChip noChip() {
    VirtualChip chip{};
    chip.name = "none";
    chip.kind = ChipKind::Absent;
    chip.model = &kAt89;
    return chip;
}

constexpr VirtualChip kChips[] = {
    at89("AT89C1051", kAt89Cx051, 0x11, 0xFF, 1024, 0),
    at89("AT89C2051", kAt89Cx051, 0x21, 0xFF, 2048, 0),
    at89("AT89C4051", kAt89Cx051, 0x41, 0xFF, 4096, 0),
    at89("AT89C51-5V", kAt89C5x, 0x51, 0x05, 4096, 5),
    at89("AT89C51-12V", kAt89C5x, 0x51, 0xFF, 4096, 12),
    at89("AT89C52-5V", kAt89C5x, 0x52, 0x05, 8192, 5),
    at89("AT89C52-12V", kAt89C5x, 0x52, 0xFF, 8192, 12),
    at89("AT89S53", kAt89C5x, 0x53, 0xFF, 12288, 12),
    at89("AT89C55-5V", kAt89C5x, 0x55, 0x05, 20480, 5),
    at89("AT89C55-12V", kAt89C5x, 0x55, 0xFF, 20480, 12),
    at89("AT89LV51-5V", kAt89C5x, 0x61, 0x05, 4096, 5),
    at89("AT89LV51-12V", kAt89C5x, 0x61, 0xFF, 4096, 12),
    at89("AT89LV52-5V", kAt89C5x, 0x62, 0x05, 8192, 5),
    at89("AT89LV52-12V", kAt89C5x, 0x62, 0xFF, 8192, 12),
    at89("AT89LV55-5V", kAt89C5x, 0x65, 0x05, 20480, 5),
    at89("AT89LV55-12V", kAt89C5x, 0x65, 0xFF, 20480, 12),
    // 8 KiB flash and the 2 KiB data EEPROM behind it, addressed as one memory.
    at89("AT89S8252", kAt89C5x, 0x72, 0xFF, 10240, 12),
    avr("AT90S1200", kSocket | kIsp, 0x90, 0x01, 1024, 64, 0x01, kLockPair, {0xFF, 0xDF}),
    avr("ATtiny12", kIsp, 0x90, 0x05, 1024, 64, 0x01, kTinyFuse, {0xFF, 0xD2}, {0x8C}, 1),
    avr("ATtiny15L", kIsp, 0x90, 0x06, 1024, 64, 0x01, kTinyFuse, {0xFF, 0xDC}, {0x6F}, 1),
    avr("ATtiny13", kIsp, 0x90, 0x07, 1024, 64, 0x81, kTiny13, {0xFF, 0x6A, 0xFF}, {0x5C, 0x68}, 2),
    avr("AT90S2313", kSocket | kIsp, 0x91, 0x01, 2048, 128, 0x01, kLockPair, {0xFF, 0xDF}),
    avr("AT90S/LS2323", kIsp, 0x91, 0x02, 2048, 128, 0x01, kStartup, {0xFF, 0xDF}),
    avr("AT90S/LS2343", kIsp, 0x91, 0x03, 2048, 128, 0x01, kStartup, {0xFF, 0xDE}),
    avr("AT90S/LS2333", kIsp, 0x91, 0x05, 2048, 128, 0x01, kFiveBits, {0xFF, 0xDA}),
    avr("ATtiny22", kIsp, 0x91, 0x06, 2048, 128, 0x01, kStartup, {0xFF, 0xDE}),
    avr("ATtiny26", kIsp, 0x91, 0x09, 2048, 128, 0x10, kTiny26, {0xFF, 0xE1, 0xF7},
        {0xA3, 0xA8, 0xAC, 0xB1}, 4),
    avr("ATtiny2313", kIsp, 0x91, 0x0A, 2048, 128, 0x81, kTiny2313, {0xFF, 0x64, 0xDF, 0xFF},
        {0x61, 0x6E}, 2),
    avr("AT90S/LS4433", kIsp, 0x92, 0x03, 4096, 256, 0x01, kFiveBits, {0xFF, 0xDA}),
    avr("ATmega48", kIsp, 0x92, 0x05, 4096, 256, 0x82, kMegaExt, {0xFF, 0x62, 0xDF, 0xFF}, {0x97},
        1),
    avr("AT90S8515", kIsp, 0x93, 0x01, 8192, 512, 0x01, kLockPair, {0xFF, 0xDF}),
    avr("AT90S/LS8535", kIsp, 0x93, 0x03, 8192, 512, 0x01, kStartup, {0xFF, 0xDF}),
    avr("ATmega8515", kIsp, 0x93, 0x06, 8192, 512, 0x20, kMega, {0xFF, 0xE1, 0xD9},
        {0xB4, 0xB8, 0xBB, 0xBF}, 4),
    avr("ATmega8", kIsp, 0x93, 0x07, 8192, 512, 0x20, kMega, {0xFF, 0xE1, 0xD9},
        {0xA9, 0xAD, 0xB0, 0xB5}, 4),
    avr("ATmega8535", kIsp, 0x93, 0x08, 8192, 512, 0x20, kMega, {0xFF, 0xE1, 0xD9},
        {0xA6, 0xAA, 0xAF, 0xB3}, 4),
    avr("ATmega88", kIsp, 0x93, 0x0A, 8192, 512, 0x82, kMegaExt, {0xFF, 0x62, 0xDF, 0xF9}, {0x91},
        1),
    avr("ATmega16", kIsp, 0x94, 0x03, 16384, 512, 0x40, kMega, {0xFF, 0xE1, 0x99},
        {0xAB, 0xAF, 0xB2, 0xB6}, 4),
    avr("ATmega162", kIsp, 0x94, 0x04, 16384, 512, 0x40, kMegaExt, {0xFF, 0x62, 0x99, 0xFF}, {0x7C},
        1),
    avr("ATmega169", kIsp, 0x94, 0x05, 16384, 512, 0x40, kMegaExt, {0xFF, 0x62, 0x99, 0xFF}, {0x83},
        1),
    avr("ATmega168", kIsp, 0x94, 0x06, 16384, 512, 0x83, kMegaExt, {0xFF, 0x62, 0xDF, 0xF9}, {0x94},
        1),
    avr("ATmega165", kIsp, 0x94, 0x07, 16384, 512, 0x40, kMegaExt, {0xFF, 0x62, 0x99, 0xFF}, {0x85},
        1),
    avr("ATmega32", kIsp, 0x95, 0x02, 32768, 1024, 0x40, kMega, {0xFF, 0xE1, 0x99},
        {0xAC, 0xB0, 0xB3, 0xB8}, 4),
    avr("ATmega64", kIsp, 0x96, 0x02, 65536, 2048, 0x80, kMegaExt, {0xFF, 0xE1, 0x99, 0xFD},
        {0xAD, 0xB1, 0xB4, 0xB9}, 4),
    avr("ATmega128", kIsp, 0x97, 0x02, 131072, 4096, 0x80, kMegaExt, {0xFF, 0xE1, 0x99, 0xFD},
        {0xAE, 0xB2, 0xB5, 0xBA}, 4),
    lockedChip(),
    unknownChip(),
    noChip(),
    serialEeprom("24AA00", 16, 1),
    serialEeprom("24AA01", 128, 8),
    serialEeprom("24C01C", 128, 16),
    serialEeprom("24AA02", 256, 8),
    serialEeprom("24C02C", 256, 16),
    serialEeprom("24C04A", 512, 8),
    serialEeprom("24AA04", 512, 16),
    serialEeprom("24AA08", 1024, 16),
    serialEeprom("24AA16", 2048, 16),
    serialEeprom("24AA32A", 4096, 32),
    serialEeprom("24AA64", 8192, 32),
    serialEeprom("24AA128", 16384, 64),
    serialEeprom("24AA256", 32768, 64),
    serialEeprom("24AA512", 65536, 128),
};

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::span<const VirtualChip> virtualChips() {
    return kChips;
}

std::vector<std::string_view> virtualChipNames() {
    std::vector<std::string_view> names;
    for (const VirtualChip& chip : kChips) {
        names.push_back(chip.name);
    }
    return names;
}

const VirtualChip* findVirtualChip(std::string_view name) {
    const auto* found = std::ranges::find_if(
        kChips, [name](const VirtualChip& chip) { return sameNameIgnoringCase(chip.name, name); });
    return found == std::end(kChips) ? nullptr : found;
}

} // namespace tarvik::emulator
