// The programmer firmware's side of the ten commands: checking each report's family and
// parameters against the chip, carrying it out, and forming the answer reports.
#include <algorithm>

#include "emulator/virtual_programmer.h"
#include "protocol/encodings.h"

namespace tarvik::emulator {
namespace {

constexpr std::size_t kMaxFuseEntries = (report::kOutputLength - report::kFuseEntries) / 3;
constexpr std::size_t kSerialWriteChunk = 32;
constexpr std::uint8_t kLargestSizeCode = 130;

DeviceReply answer(std::uint8_t code, std::span<const std::uint8_t> data = {}) {
    InputReportBytes input{};
    input[1] = code;
    std::ranges::copy(data.first(std::min(data.size(), input.size() - 2)), input.begin() + 2);
    return {{input}, false};
}

DeviceReply error() {
    return answer(rspError);
}

// The data reports of a read: up to 63 bytes each, a lone empty report when there is nothing.
template <typename ByteAt>
DeviceReply dataReports(std::size_t total, ByteAt byteAt) {
    DeviceReply reply;
    std::size_t sent = 0;
    do {
        const std::size_t count = std::min(total - sent, report::kMaxReadPerReport);
        InputReportBytes input{};
        input[1] = static_cast<std::uint8_t>(count);
        for (std::size_t i = 0; i < count; ++i) {
            input[2 + i] = byteAt(sent + i);
        }
        reply.reports.push_back(input);
        sent += count;
    } while (sent < total);
    return reply;
}

bool fits(std::size_t offset, std::size_t count, std::size_t size) {
    return offset <= size && count <= size - offset;
}

// The AT89C5x family carries the programming voltage code; it must be the chip's own.
bool wrongVoltage(const VirtualChip& chip, Family family, std::uint8_t code) {
    return family == Family::AT89C5x && chip.voltage != 0 && code != chip.voltage;
}

std::span<const std::uint8_t> chunkData(const OutputReportBytes& report) {
    return std::span(report).subspan(report::kData, report[report::kParam1]);
}

} // namespace

DeviceReply VirtualProgrammer::execute(const OutputReportBytes& report) {
    const auto command = static_cast<Command>(report[report::kCommand]);
    const bool chunked = command == Command::WriteFlash || command == Command::Verify ||
                         command == Command::WriteEeprom;
    if (!chunked) {
        transfer_.reset();
    }
    const std::uint8_t familyCode = report[report::kFamily];
    if (report[report::kReportId] != 0 || familyCode < 1 || familyCode > 5 ||
        (chip_.chip().families & (1U << familyCode)) == 0) {
        transfer_.reset();
        return error();
    }
    const auto family = static_cast<Family>(familyCode);
    const std::uint8_t param1 = report[report::kParam1];
    switch (command) {
    case Command::ReadSignature:
        return family == Family::SerialEeprom ? error() : readSignature();
    case Command::Erase:
        return erase(report);
    case Command::WriteFlash:
    case Command::Verify:
    case Command::WriteEeprom:
        return chunk(report);
    case Command::ReadFlash:
        return readFlash(family, param1);
    case Command::WriteLockBit:
        return writeLockBit(family, report);
    case Command::WriteFuses:
        return writeFuses(family, report);
    case Command::ReadFuses:
        return readFuses(family, report);
    case Command::ReadEeprom:
        return family == Family::AT90S || family == Family::AvrIsp ? readEeprom(param1) : error();
    }
    return error();
}

DeviceReply VirtualProgrammer::readSignature() {
    return answer(rspSignature, chip_.readSignature());
}

DeviceReply VirtualProgrammer::erase(const OutputReportBytes& report) {
    const auto family = static_cast<Family>(report[report::kFamily]);
    const std::uint8_t param1 = report[report::kParam1];
    if (wrongVoltage(chip_.chip(), family, param1)) {
        return error();
    }
    if (family == Family::SerialEeprom) {
        if (param1 > kLargestSizeCode) {
            return error();
        }
        sizeCode_ = param1;
    }
    chip_.erase();
    return answer(rspErased);
}

// One chunk of a write or verify. A chunk continues the transfer of the same command that
// announced more chunks; any other report starts over at offset 0.
DeviceReply VirtualProgrammer::chunk(const OutputReportBytes& report) {
    const auto command = static_cast<Command>(report[report::kCommand]);
    const auto family = static_cast<Family>(report[report::kFamily]);
    const std::uint8_t count = report[report::kParam1];
    const std::uint8_t more = report[report::kParam2];
    const std::size_t offset =
        transfer_ && transfer_->command == command ? transfer_->next : std::size_t{0};
    transfer_.reset();

    const bool serial = family == Family::SerialEeprom;
    const std::size_t limit =
        serial && command == Command::WriteFlash ? kSerialWriteChunk : report::kDataCapacity;
    const bool hasEeprom = family == Family::AT90S || family == Family::AvrIsp;
    if (count > limit || (command == Command::WriteEeprom && !hasEeprom)) {
        return error();
    }
    // A serial EEPROM's more-chunks flag is its size code.
    if (serial && more != 0) {
        if (more > kLargestSizeCode) {
            return error();
        }
        sizeCode_ = more;
    }
    const bool done = command == Command::Verify ? verifyChunk(family, report, offset)
                                                 : writeChunk(family, report, offset);
    if (!done) {
        return error();
    }
    if (more == 0) {
        return answer(command == Command::Verify ? rspVerified : rspWritten);
    }
    transfer_ = Transfer{command, offset + count};
    return answer(rspNextChunk);
}

bool VirtualProgrammer::writeChunk(Family family, const OutputReportBytes& report,
                                   std::size_t offset) {
    const auto data = chunkData(report);
    const std::uint8_t param3 = report[report::kParam3];
    const VirtualChip& chip = chip_.chip();
    if (static_cast<Command>(report[report::kCommand]) == Command::WriteEeprom) {
        return chip_.writeEeprom(offset, data);
    }
    if (family == Family::SerialEeprom) {
        // The firmware sends page writes of the host's page size, each ending at a boundary
        // of that size; a page size larger than the chip's wraps inside the chip's page.
        if (param3 == 0 || !fits(offset, data.size(), serialAddressable())) {
            return false;
        }
        for (std::size_t pos = 0; pos < data.size();) {
            const std::size_t address = offset + pos;
            const std::size_t length = std::min(data.size() - pos, param3 - address % param3);
            chip_.writeSerialPage(address, data.subspan(pos, length));
            pos += length;
        }
        return true;
    }
    // Over ISP the page code tells the firmware how the chip's flash is paged.
    if (family == Family::AvrIsp && param3 != chip.pageCode) {
        return false;
    }
    return !wrongVoltage(chip, family, param3) && chip_.writeFlash(offset, data);
}

bool VirtualProgrammer::verifyChunk(Family family, const OutputReportBytes& report,
                                    std::size_t offset) const {
    const auto data = chunkData(report);
    const std::size_t size =
        family == Family::SerialEeprom ? serialAddressable() : chip_.memory().size();
    if (!fits(offset, data.size(), size)) {
        return false;
    }
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (chip_.readMemory(offset + i) != data[i]) {
            return false;
        }
    }
    return true;
}

DeviceReply VirtualProgrammer::readFlash(Family family, std::uint8_t code) {
    std::size_t total = std::size_t{code} * 1024;
    if (family == Family::SerialEeprom) {
        if (code > kLargestSizeCode) {
            return error();
        }
        sizeCode_ = code;
        total = static_cast<std::size_t>(serialEepromBytes(code));
    } else if (total > chip_.memory().size()) {
        return error();
    }
    return dataReports(total, [this](std::size_t i) { return chip_.readMemory(i); });
}

DeviceReply VirtualProgrammer::readEeprom(std::uint8_t code) {
    const std::size_t total = static_cast<std::size_t>(chipEepromBytes(code));
    if (total > chip_.eeprom().size()) {
        return error();
    }
    return dataReports(total, [this](std::size_t i) { return chip_.readEeprom(i); });
}

DeviceReply VirtualProgrammer::writeLockBit(Family family, const OutputReportBytes& report) {
    const std::uint8_t bit = report[report::kParam2];
    const bool socket =
        family == Family::AT89Cx051 || family == Family::AT89C5x || family == Family::AT90S;
    if (!socket || (bit != 1 && bit != 2) ||
        wrongVoltage(chip_.chip(), family, report[report::kParam3])) {
        return error();
    }
    chip_.programLockBit(bit);
    return answer(bit == 1 ? rspLockBit1Done : rspLockBit2Done);
}

DeviceReply VirtualProgrammer::writeFuses(Family family, const OutputReportBytes& report) {
    if (family == Family::AT90S) {
        chip_.writeSocketImages(report[report::kParam1], report[report::kParam2]);
        return answer(rspFusesWritten);
    }
    const std::size_t count = report[report::kParam1];
    if (family != Family::AvrIsp || count > kMaxFuseEntries) {
        return error();
    }
    std::vector<Instruction> entries(count);
    for (std::size_t k = 0; k < count; ++k) {
        std::copy_n(report.begin() + static_cast<std::ptrdiff_t>(report::kFuseEntries + 3 * k), 3,
                    entries[k].begin());
    }
    return chip_.executeWrites(entries) ? answer(rspFusesWritten) : error();
}

DeviceReply VirtualProgrammer::readFuses(Family family, const OutputReportBytes& report) {
    if (family == Family::AT90S) {
        const std::uint8_t combined = chip_.readCombined();
        return answer(rspFuses, std::span(&combined, 1));
    }
    const std::size_t count = report[report::kParam1];
    if (family != Family::AvrIsp || count > kMaxFuseEntries) {
        return error();
    }
    std::vector<std::uint8_t> values;
    for (std::size_t k = 0; k < count; ++k) {
        Instruction entry;
        std::copy_n(report.begin() + static_cast<std::ptrdiff_t>(report::kFuseEntries + 3 * k), 3,
                    entry.begin());
        const auto value = chip_.executeRead(entry);
        if (!value) {
            return error();
        }
        values.push_back(*value);
    }
    return answer(rspFuses, values);
}

std::size_t VirtualProgrammer::serialAddressable() const {
    return sizeCode_ ? static_cast<std::size_t>(serialEepromBytes(*sizeCode_))
                     : chip_.memory().size();
}

} // namespace tarvik::emulator
