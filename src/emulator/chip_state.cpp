// What the chip does with the firmware's operations: erase, flash and EEPROM writes, serial
// EEPROM page writes, lock bits, and the AVR serial-programming fuse and lock instructions.
#include "emulator/chip_state.h"

#include "emulator/demo_contents.h"

#include <algorithm>

namespace tarvik::emulator {
namespace {

constexpr std::uint8_t kFuseLow = 1;
constexpr std::uint8_t kFuseHigh = 2;
constexpr std::uint8_t kFuseExtended = 3;

// The low, high or extended byte of a FuseBytes (const or not); nullptr for any other index.
template <typename Fuses>
auto* fuseByteIn(Fuses& fuses, std::uint8_t index) {
    switch (index) {
    case kFuseLow:
        return &fuses.low;
    case kFuseHigh:
        return &fuses.high;
    case kFuseExtended:
        return &fuses.extended;
    default:
        return static_cast<decltype(&fuses.low)>(nullptr);
    }
}

bool fits(std::size_t offset, std::size_t count, std::size_t size) {
    return offset <= size && count <= size - offset;
}

} // namespace

ChipState::ChipState(const VirtualChip& chip)
    : chip_(&chip), memory_(demoMemory(chip)), eeprom_(demoEeprom(chip)), fuses_(chip.factory) {}

bool ChipState::load(std::vector<std::uint8_t>& target, std::size_t offset,
                     std::span<const std::uint8_t> bytes) {
    if (!fits(offset, bytes.size(), target.size())) {
        return false;
    }
    std::ranges::copy(bytes, target.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

// Chips written with the newer lock byte keep LB1 and LB2 in bits 0 and 1, the older ones in
// bits 1 and 2.
std::uint8_t ChipState::lockMask(int bit) const {
    const LockWrite form = chip_->model->lockWrite;
    const bool lowBits = form == LockWrite::LockByte || form == LockWrite::Tiny26Bits;
    const int position = (lowBits ? 0 : 1) + (bit == 2 ? 1 : 0);
    return static_cast<std::uint8_t>(1U << position);
}

bool ChipState::lockBitProgrammed(int bit) const {
    return (fuses_.lock & lockMask(bit)) == 0;
}

void ChipState::programLockBit(int bit) {
    fuses_.lock &= static_cast<std::uint8_t>(~lockMask(bit));
}

bool ChipState::bitProgrammed(const FuseBit& bit) const {
    const auto value = fuseByte(bit.byte);
    return value && (*value & (1U << bit.bit)) == 0;
}

std::optional<std::uint8_t> ChipState::fuseByte(std::uint8_t index) const {
    if (index == 0 || index > chip_->model->fuseByteCount) {
        return std::nullopt;
    }
    return *fuseByteIn(fuses_, index);
}

std::array<std::uint8_t, 3> ChipState::readSignature() const {
    if (chip_->lockHidesSignature && lockBitProgrammed(2)) {
        return {readMemory(0), readMemory(1), readMemory(2)};
    }
    return chip_->signature;
}

std::uint8_t ChipState::readMemory(std::size_t address) const {
    if (lockBitProgrammed(2)) {
        return static_cast<std::uint8_t>(address);
    }
    if (memory_.empty()) {
        return 0xFF;
    }
    return memory_[address < memory_.size() ? address : address % memory_.size()];
}

std::uint8_t ChipState::readEeprom(std::size_t address) const {
    if (lockBitProgrammed(2)) {
        return static_cast<std::uint8_t>(address);
    }
    return address < eeprom_.size() ? eeprom_[address] : 0xFF;
}

void ChipState::erase() {
    std::ranges::fill(memory_, 0xFF);
    if (!bitProgrammed(chip_->model->eesave)) {
        std::ranges::fill(eeprom_, 0xFF);
    }
    fuses_.lock = 0xFF;
}

bool ChipState::writeFlash(std::size_t offset, std::span<const std::uint8_t> bytes) {
    if (programmingLocked() || !fits(offset, bytes.size(), memory_.size())) {
        return false;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        memory_[offset + i] &= bytes[i];
    }
    return true;
}

bool ChipState::writeEeprom(std::size_t offset, std::span<const std::uint8_t> bytes) {
    return !programmingLocked() && load(eeprom_, offset, bytes);
}

void ChipState::writeSerialPage(std::size_t address, std::span<const std::uint8_t> bytes) {
    if (memory_.empty()) {
        return;
    }
    const std::size_t page = std::max<std::size_t>(chip_->eepromPage, 1);
    const std::size_t pageStart = address - address % page;
    std::size_t inPage = address % page; // the address counter rolls over within the page
    for (const std::uint8_t byte : bytes) {
        const std::size_t cell = pageStart + inPage;
        memory_[cell < memory_.size() ? cell : cell % memory_.size()] = byte;
        inPage = inPage + 1 == page ? 0 : inPage + 1;
    }
}

std::optional<std::uint8_t> ChipState::executeRead(const Instruction& entry) const {
    const ProgrammingModel& model = *chip_->model;
    const auto [first, second, third] = entry;
    if (first == 0x58 && second == 0x00) {
        if (model.lockRead == LockRead::LockByte) {
            return fuses_.lock;
        }
        if (model.lockRead == LockRead::Combined) {
            return readCombined();
        }
        return std::nullopt;
    }
    if (first == 0x50 && second == 0x00) {
        const bool readable =
            model.fuseWrite == FuseWrite::FuseBytes || model.fuseWrite == FuseWrite::FiveBits;
        return readable ? fuseByte(kFuseLow) : std::nullopt;
    }
    if (first == 0x58 && second == 0x08) {
        return fuseByte(kFuseHigh);
    }
    if (first == 0x50 && second == 0x08) {
        return fuseByte(kFuseExtended);
    }
    if (first == 0x38 && second == 0x00 && third < chip_->calibrationCount) {
        return chip_->calibration[third];
    }
    return std::nullopt;
}

bool ChipState::executeWrites(std::span<const Instruction> entries) {
    const ProgrammingModel& model = *chip_->model;
    FuseBytes next = fuses_;
    for (const auto& [second, third, fourth] : entries) {
        (void)third; // address byte, not looked at by these instructions
        if ((second & 0xE0) == 0xE0) {
            // Lock bits can only be programmed; a chip erase clears them.
            switch (model.lockWrite) {
            case LockWrite::LockByte:
                next.lock &= fourth;
                break;
            case LockWrite::OlderBits:
                next.lock &= second | 0xF9;
                break;
            case LockWrite::Tiny26Bits:
                next.lock &= second | 0xFC;
                break;
            case LockWrite::None:
                return false;
            }
            continue;
        }
        FuseBytes written = next;
        switch (model.fuseWrite) {
        case FuseWrite::FuseBytes: {
            const std::uint8_t index = second == 0xA0   ? kFuseLow
                                       : second == 0xA8 ? kFuseHigh
                                       : second == 0xA4 ? kFuseExtended
                                                        : 0;
            if (index == 0 || index > model.fuseByteCount) {
                return false;
            }
            *fuseByteIn(written, index) = fourth;
            break;
        }
        case FuseWrite::StartupBit:
        case FuseWrite::FiveBits: {
            if ((second & 0xE0) != 0xA0) {
                return false;
            }
            const std::uint8_t mask = model.fuseWrite == FuseWrite::StartupBit ? 0x01 : 0x1F;
            written.low = static_cast<std::uint8_t>((written.low & ~mask) | (second & mask));
            break;
        }
        case FuseWrite::None:
            return false;
        }
        // SPIEN cannot be changed over ISP, and with lock bit 1 programmed the fuses are
        // locked too: the chip takes the instruction and changes nothing.
        if ((next.lock & lockMask(1)) == 0) {
            continue;
        }
        if (std::uint8_t* spien = fuseByteIn(written, model.spien.byte)) {
            const auto keep = static_cast<std::uint8_t>(1U << model.spien.bit);
            *spien = static_cast<std::uint8_t>((*spien & ~keep) |
                                               (*fuseByteIn(next, model.spien.byte) & keep));
        }
        next = written;
    }
    fuses_ = next;
    return true;
}

std::uint8_t ChipState::readCombined() const {
    std::uint8_t value = 0x1E | (fuses_.low & 0x21);
    if (!lockBitProgrammed(1)) {
        value |= 0x80;
    }
    if (!lockBitProgrammed(2)) {
        value |= 0x40;
    }
    return value;
}

void ChipState::writeSocketImages(std::uint8_t lockImage, std::uint8_t fuseImage) {
    if (!programmingLocked()) {
        fuses_.low = static_cast<std::uint8_t>((fuses_.low & ~0x21) | (fuseImage & 0x21));
    }
    if ((lockImage & 0x02) == 0) {
        programLockBit(1);
    }
    if ((lockImage & 0x04) == 0) {
        programLockBit(2);
    }
}

} // namespace tarvik::emulator
