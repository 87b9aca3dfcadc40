// The virtual programmer's target chips: what each chip is (signature, memories, fuse bytes
// and the way its serial-programming instructions are formed), as the chips' data sheets
// describe them. The programmer model reads these rows; it never asks the client's tables.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tarvik::emulator {

// What sits in the socket or on the ISP connector.
enum class ChipKind : std::uint8_t {
    Microcontroller,
    SerialEeprom,
    Absent, // nothing answers: every command fails
};

// How the chip takes a lock-bit write instruction (AC b2 b3 b4, the AC not sent).
enum class LockWrite : std::uint8_t {
    None,       // no serial-programming lock write (AT89)
    LockByte,   // AC 111x xxxx xxxx xxxx vvvv vvvv: the new lock byte in the last byte
    OlderBits,  // AC 1111 1 LB2 LB1 1 ...: lock bits in bits 2 and 1 of the second byte
    Tiny26Bits, // AC 1111 11 LB2 LB1 ...: lock bits in bits 1 and 0 of the second byte
};

// How the chip takes a fuse write instruction.
enum class FuseWrite : std::uint8_t {
    None,       // no fuse write over ISP
    FuseBytes,  // AC A0/A8/A4 00 v: low / high / extended fuse byte in the last byte
    StartupBit, // AC 1011 111F ...: the one start-up fuse (FSTRT or RCEN) in bit 0
    FiveBits,   // AC 101x xxxx ...: BODLEVEL, BODEN, CKSEL2..0 in bits 4..0
};

// What the read instruction 58 00 00 returns.
enum class LockRead : std::uint8_t {
    None,     // not readable over ISP
    LockByte, // the lock byte
    Combined, // bit 7 LB1, bit 6 LB2, bit 5 SPIEN, bit 0 the start-up fuse
};

// Which fuse byte holds a bit: index into FuseBytes (1 low, 2 high, 3 extended), 0 = none.
struct FuseBit {
    std::uint8_t byte = 0;
    std::uint8_t bit = 0;
};

// The chip's lock and fuse bytes as the chip holds them (0 = programmed).
struct FuseBytes {
    std::uint8_t lock = 0xFF;
    std::uint8_t low = 0xFF;
    std::uint8_t high = 0xFF;
    std::uint8_t extended = 0xFF;
    bool operator==(const FuseBytes&) const = default;
};

// How one family of chips is programmed: shared by the rows that behave alike.
struct ProgrammingModel {
    LockWrite lockWrite;
    FuseWrite fuseWrite;
    LockRead lockRead;
    std::uint8_t fuseByteCount; // low, high, extended: how many of them the chip has
    FuseBit spien;              // cannot be changed over ISP
    FuseBit eesave;             // keeps the EEPROM through a chip erase
};

struct VirtualChip {
    std::string_view name;
    ChipKind kind;
    std::uint8_t families; // bit n set: the chip answers on family code n
    std::array<std::uint8_t, 3> signature;
    std::uint32_t memorySize; // flash, or the whole memory of a serial EEPROM
    std::uint32_t eepromSize;
    std::uint8_t pageCode;    // flash page code an ISP write must carry
    std::uint8_t voltage;     // AT89C5x programming voltage code (5 or 12), 0 = not checked
    std::uint16_t eepromPage; // serial EEPROM internal write page
    const ProgrammingModel* model;
    FuseBytes factory;
    std::array<std::uint8_t, 4> calibration;
    std::uint8_t calibrationCount;
    bool lockHidesSignature; // with verification locked the signature reads 00 01 02
};

// Every virtual chip, in the order of the chip identification table, then the test chips
// ("locked", "unknown", "none") and the serial EEPROMs.
std::span<const VirtualChip> virtualChips();
// Their names, in the same order: what a user may pick from.
std::vector<std::string_view> virtualChipNames();

// The chip of that name, compared without regard to case; nullptr when there is none.
const VirtualChip* findVirtualChip(std::string_view name);

} // namespace tarvik::emulator
