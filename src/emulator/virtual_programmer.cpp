// The virtual programmer's outer shell: taking each output report, firing armed faults,
// keeping the record of reports, and the accessors tests look through.
#include "emulator/virtual_programmer.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tarvik::emulator {
namespace {

const VirtualChip& chipNamed(std::string_view name) {
    const VirtualChip* chip = findVirtualChip(name);
    if (chip == nullptr) {
        throw std::invalid_argument("no virtual chip named \"" + std::string(name) + "\"");
    }
    return *chip;
}

} // namespace

VirtualProgrammer::VirtualProgrammer(const VirtualChip& chip) : chip_(chip) {}

VirtualProgrammer::VirtualProgrammer(std::string_view chipName)
    : VirtualProgrammer(chipNamed(chipName)) {}

DeviceReply VirtualProgrammer::onOutputReport(std::span<const std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    ++received_;
    if (recording_) {
        record_.push_back({Direction::ToDevice, {report.begin(), report.end()}});
    }

    std::optional<Fault> fault;
    const auto armed = std::ranges::find(faults_, received_, &ArmedFault::report);
    if (armed != faults_.end()) {
        fault = armed->fault;
        faults_.erase(armed);
    }

    DeviceReply reply;
    if (!fault) {
        // A device always receives whole reports: a short one reads as zero-padded.
        OutputReportBytes bytes{};
        std::ranges::copy(report.first(std::min(report.size(), bytes.size())), bytes.begin());
        reply = execute(bytes);
    } else {
        // Whatever the fault, the host cannot go on with a transfer in progress: its next
        // chunked command begins a new one.
        transfer_.reset();
        if (*fault == Fault::ErrorAnswer) {
            InputReportBytes error{};
            error[1] = rspError;
            reply.reports.push_back(error);
        }
        reply.unplug = *fault == Fault::Unplug;
    }

    if (recording_) {
        for (const auto& input : reply.reports) {
            record_.push_back({Direction::FromDevice, {input.begin(), input.end()}});
        }
    }
    return reply;
}

void VirtualProgrammer::powerCycle() {
    std::lock_guard lock(mutex_);
    transfer_.reset();
    sizeCode_.reset();
}

void VirtualProgrammer::insertChip(const VirtualChip& chip) {
    std::lock_guard lock(mutex_);
    chip_ = ChipState(chip);
    transfer_.reset();
    sizeCode_.reset();
}

const VirtualChip& VirtualProgrammer::chip() const {
    std::lock_guard lock(mutex_);
    return chip_.chip();
}

std::vector<std::uint8_t> VirtualProgrammer::flash() const {
    std::lock_guard lock(mutex_);
    return chip_.memory();
}

std::vector<std::uint8_t> VirtualProgrammer::eeprom() const {
    std::lock_guard lock(mutex_);
    return chip_.eeprom();
}

FuseBytes VirtualProgrammer::fuses() const {
    std::lock_guard lock(mutex_);
    return chip_.fuses();
}

bool VirtualProgrammer::lockBitProgrammed(int bit) const {
    if (bit != 1 && bit != 2) {
        throw std::invalid_argument("lock bits are numbered 1 and 2");
    }
    std::lock_guard lock(mutex_);
    return chip_.lockBitProgrammed(bit);
}

void VirtualProgrammer::setFuses(const FuseBytes& fuses) {
    std::lock_guard lock(mutex_);
    chip_.setFuses(fuses);
}

bool VirtualProgrammer::loadFlash(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::lock_guard lock(mutex_);
    return chip_.loadMemory(offset, bytes);
}

bool VirtualProgrammer::loadEeprom(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::lock_guard lock(mutex_);
    return chip_.loadEeprom(offset, bytes);
}

void VirtualProgrammer::injectFault(Fault fault, std::size_t nthReport) {
    if (nthReport == 0) {
        throw std::invalid_argument("faults are armed for the 1st report from now on or later");
    }
    std::lock_guard lock(mutex_);
    faults_.push_back({fault, received_ + nthReport});
}

void VirtualProgrammer::clearFaults() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

std::vector<RecordedReport> VirtualProgrammer::record() const {
    std::lock_guard lock(mutex_);
    return record_;
}

void VirtualProgrammer::clearRecord() {
    std::lock_guard lock(mutex_);
    record_.clear();
}

void VirtualProgrammer::setRecording(bool on) {
    std::lock_guard lock(mutex_);
    recording_ = on;
}

std::size_t VirtualProgrammer::reportsReceived() const {
    std::lock_guard lock(mutex_);
    return received_;
}

} // namespace tarvik::emulator
