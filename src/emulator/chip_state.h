// The chip on the programmer as it is now: its memories, its lock and fuse bytes, and what the
// chip does with an erase, a write, a read and the serial-programming instructions it is sent.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "emulator/virtual_chip.h"

namespace tarvik::emulator {

using Instruction = std::array<std::uint8_t, 3>;

class ChipState {
public:
    explicit ChipState(const VirtualChip& chip);

    const VirtualChip& chip() const { return *chip_; }
    const std::vector<std::uint8_t>& memory() const { return memory_; }
    const std::vector<std::uint8_t>& eeprom() const { return eeprom_; }
    const FuseBytes& fuses() const { return fuses_; }
    void setFuses(const FuseBytes& fuses) { fuses_ = fuses; }
    // Puts bytes into a memory as they are, for a test's starting state; false past its end.
    static bool load(std::vector<std::uint8_t>& target, std::size_t offset,
                     std::span<const std::uint8_t> bytes);
    bool loadMemory(std::size_t offset, std::span<const std::uint8_t> bytes) {
        return load(memory_, offset, bytes);
    }
    bool loadEeprom(std::size_t offset, std::span<const std::uint8_t> bytes) {
        return load(eeprom_, offset, bytes);
    }

    // Lock bit 1 stops further programming, lock bit 2 verification as well.
    bool lockBitProgrammed(int bit) const;
    void programLockBit(int bit);
    bool programmingLocked() const { return lockBitProgrammed(1); }

    std::array<std::uint8_t, 3> readSignature() const;
    // A byte as the programmer reads it: with verification locked, the low address byte.
    std::uint8_t readMemory(std::size_t address) const;
    std::uint8_t readEeprom(std::size_t address) const;

    // Chip erase: flash to 0xFF, the EEPROM too unless EESAVE is programmed, lock bits cleared.
    void erase();
    // Flash programming only clears bits; false when out of range or locked.
    bool writeFlash(std::size_t offset, std::span<const std::uint8_t> bytes);
    // EEPROM cells take the new bytes; false when out of range or locked.
    bool writeEeprom(std::size_t offset, std::span<const std::uint8_t> bytes);
    // One serial EEPROM page write from address on: the chip's address counter wraps inside
    // its own write page, and addresses past the memory wrap to its start.
    void writeSerialPage(std::size_t address, std::span<const std::uint8_t> bytes);

    // The fourth byte of a read instruction, or nothing when the chip has no such instruction.
    std::optional<std::uint8_t> executeRead(const Instruction& entry) const;
    // Write instructions (their first byte AC implied), in order; nothing changes and false
    // comes back when one of them is not the chip's.
    bool executeWrites(std::span<const Instruction> entries);

    // The AT90S socket: the combined lock-and-fuse byte, and the lock and fuse byte images.
    std::uint8_t readCombined() const;
    void writeSocketImages(std::uint8_t lockImage, std::uint8_t fuseImage);

private:
    std::uint8_t lockMask(int bit) const;
    bool bitProgrammed(const FuseBit& bit) const;
    std::optional<std::uint8_t> fuseByte(std::uint8_t index) const;

    const VirtualChip* chip_;
    std::vector<std::uint8_t> memory_;
    std::vector<std::uint8_t> eeprom_;
    FuseBytes fuses_;
};

} // namespace tarvik::emulator
