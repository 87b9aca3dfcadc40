// The virtual programmer: the firmware's side of every command report, executed on one virtual
// target chip, with fault injection and a record of every report in both directions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "emulator/chip_state.h"
#include "emulator/virtual_chip.h"
#include "protocol/virtual_device.h"

namespace tarvik::emulator {

enum class Direction : std::uint8_t {
    ToDevice,   // an output report, report id first
    FromDevice, // an input report, report id first
};

struct RecordedReport {
    Direction direction;
    std::vector<std::uint8_t> bytes;
};

enum class Fault : std::uint8_t {
    ErrorAnswer, // the report is not carried out and answered '!'
    NoAnswer,    // the report is lost: nothing happens, nothing comes back
    Unplug,      // the programmer drops off the bus instead of carrying the report out
};

class VirtualProgrammer : public VirtualDevice {
public:
    explicit VirtualProgrammer(const VirtualChip& chip);
    // The chip of that name (case-insensitive); std::invalid_argument when there is none.
    explicit VirtualProgrammer(std::string_view chipName);

    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override;

    // What unplugging and plugging in again does: a transfer in progress and the last serial
    // EEPROM size code are forgotten; the chip keeps its contents.
    void powerCycle();
    // Puts another chip, in its factory state, on the programmer.
    void insertChip(const VirtualChip& chip);

    const VirtualChip& chip() const;
    std::vector<std::uint8_t> flash() const; // the flash, or a serial EEPROM's memory
    std::vector<std::uint8_t> eeprom() const;
    FuseBytes fuses() const;
    bool lockBitProgrammed(int bit) const; // 1 or 2
    void setFuses(const FuseBytes& fuses);
    // Starting contents for a test; false (and nothing changed) past the memory's end.
    bool loadFlash(std::span<const std::uint8_t> bytes, std::size_t offset = 0);
    bool loadEeprom(std::span<const std::uint8_t> bytes, std::size_t offset = 0);

    // Arms a fault for the nth output report from now on (1 = the next one).
    void injectFault(Fault fault, std::size_t nthReport);
    void clearFaults();

    std::vector<RecordedReport> record() const;
    void clearRecord();
    // Off by default: a programmer served for hours keeps no record growing without limit.
    void setRecording(bool on);
    std::size_t reportsReceived() const;

private:
    struct ArmedFault {
        Fault fault;
        std::size_t report; // the value of received_ it fires at
    };
    // A chunked write or verify in progress: where its next chunk goes.
    struct Transfer {
        Command command;
        std::size_t next = 0;
    };

    DeviceReply execute(const OutputReportBytes& report);
    DeviceReply readSignature();
    DeviceReply erase(const OutputReportBytes& report);
    DeviceReply chunk(const OutputReportBytes& report);
    bool writeChunk(Family family, const OutputReportBytes& report, std::size_t offset);
    bool verifyChunk(Family family, const OutputReportBytes& report, std::size_t offset) const;
    DeviceReply readFlash(Family family, std::uint8_t code);
    DeviceReply readEeprom(std::uint8_t code);
    DeviceReply writeLockBit(Family family, const OutputReportBytes& report);
    DeviceReply writeFuses(Family family, const OutputReportBytes& report);
    DeviceReply readFuses(Family family, const OutputReportBytes& report);
    std::size_t serialAddressable() const;

    mutable std::mutex mutex_; // guards everything below
    ChipState chip_;
    std::optional<Transfer> transfer_;
    std::optional<std::uint8_t> sizeCode_; // last serial EEPROM size code the host sent
    std::vector<ArmedFault> faults_;
    std::vector<RecordedReport> record_;
    bool recording_ = false;
    std::size_t received_ = 0;
};

} // namespace tarvik::emulator
