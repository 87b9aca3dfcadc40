// Fault injection, the record of reports, the chip lookup, and every virtual chip working
// end to end through its own family.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>
#include <thread>

#include "host.h"

namespace tarvik::emulator::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Faults, ErrorLostAndUnplugFireAtTheirReport) {
    VirtualProgrammer programmer("ATmega8");
    Host host{programmer, Family::AvrIsp};
    const Bytes data = pattern(200);

    programmer.injectFault(Fault::ErrorAnswer, 2);
    EXPECT_EQ(host.chunks(Command::WriteFlash, data, 58, 0x20), "*!");
    EXPECT_EQ(programmer.flash()[58], 0xFF); // the failed chunk was not written
    // The next transfer starts afresh, the fault is spent.
    EXPECT_EQ(host.chunks(Command::WriteFlash, data, 58, 0x20), "***w");

    programmer.injectFault(Fault::NoAnswer, 1);
    const DeviceReply lost = host.send(host.report(Command::Erase));
    EXPECT_TRUE(lost.reports.empty());
    EXPECT_FALSE(lost.unplug);
    EXPECT_EQ(programmer.flash()[0], data[0]); // nothing happened

    programmer.injectFault(Fault::Unplug, 2);
    EXPECT_EQ(host.code(Command::ReadSignature), "s");
    const DeviceReply gone = host.send(host.report(Command::Erase));
    EXPECT_TRUE(gone.reports.empty());
    EXPECT_TRUE(gone.unplug);

    // A lost chunk ends its transfer: the host's next write starts from the beginning.
    programmer.injectFault(Fault::NoAnswer, 2);
    EXPECT_EQ(host.chunks(Command::WriteEeprom, data), "*");
    EXPECT_EQ(host.chunks(Command::WriteEeprom, data), "***w");
    EXPECT_EQ(programmer.eeprom()[0], data[0]);

    programmer.injectFault(Fault::ErrorAnswer, 1);
    programmer.clearFaults();
    EXPECT_EQ(host.code(Command::Erase), "e");
    EXPECT_THROW(programmer.injectFault(Fault::NoAnswer, 0), std::invalid_argument);
}

TEST(Faults, PowerCycleForgetsATransferInProgress) {
    VirtualProgrammer programmer("24AA02");
    Host host{programmer, Family::SerialEeprom};
    const Bytes data = pattern(64);
    auto first = host.report(Command::WriteFlash, 32, 2, 8);
    std::ranges::copy(std::span(data).first(32), first.begin() + report::kData);
    ASSERT_EQ(Host::codes(host.send(first)), "*");
    programmer.powerCycle();
    EXPECT_EQ(host.chunks(Command::WriteFlash, data, 32, 8, 2), "*w");
    EXPECT_EQ(host.read(Command::ReadFlash, 2), [&] {
        Bytes expected(256, 0xFF);
        std::ranges::copy(data, expected.begin());
        return expected;
    }());
}

TEST(Record, HoldsEveryReportBothWaysInOrder) {
    VirtualProgrammer programmer("24AA01");
    programmer.setRecording(true);
    Host host{programmer, Family::SerialEeprom};
    const auto request = host.report(Command::ReadFlash, 1);
    host.send(request);
    programmer.injectFault(Fault::NoAnswer, 1);
    host.send(host.report(Command::Erase, 1, 8));

    const auto record = programmer.record();
    ASSERT_EQ(record.size(), 1U + 3U + 1U);
    EXPECT_EQ(record[0].direction, Direction::ToDevice);
    EXPECT_EQ(record[0].bytes, Bytes(request.begin(), request.end()));
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(record[i].direction, Direction::FromDevice);
        EXPECT_EQ(record[i].bytes.size(), report::kInputLength);
    }
    EXPECT_EQ(record[1].bytes[1], 63);
    EXPECT_EQ(record[3].bytes[1], 2);
    EXPECT_EQ(record[4].direction, Direction::ToDevice);
    EXPECT_EQ(programmer.reportsReceived(), 2U);

    programmer.clearRecord();
    programmer.setRecording(false);
    host.send(request);
    EXPECT_TRUE(programmer.record().empty());
}

TEST(Record, ShortAndLongReportsAreTakenAsWholeReports) {
    VirtualProgrammer programmer("ATmega8");
    programmer.setRecording(true);
    const Bytes shortReport{0, 5, 1};
    const DeviceReply reply = programmer.onOutputReport(shortReport);
    ASSERT_EQ(reply.reports.size(), 1U);
    EXPECT_EQ(reply.reports[0][1], 's');
    Bytes longReport(100, 0);
    longReport[1] = 5;
    longReport[2] = 2;
    EXPECT_EQ(Host::codes(programmer.onOutputReport(longReport)), "e");
    EXPECT_EQ(programmer.record()[0].bytes, shortReport);
}

TEST(Record, ReportsFromAnotherThreadAreSafeToInspect) {
    VirtualProgrammer programmer("ATmega8");
    programmer.setRecording(true);
    std::thread sender([&] {
        Host host{programmer, Family::AvrIsp};
        for (int i = 0; i < 200; ++i) {
            host.send(host.report(Command::ReadFlash, 1));
        }
    });
    std::size_t seen = 0;
    while (seen < 200) {
        seen = programmer.reportsReceived();
        (void)programmer.record().size();
    }
    sender.join();
    EXPECT_EQ(programmer.record().size(), 200U * (1 + 17));
}

TEST(Chips, NamesAreUniqueAndFoundWithoutRegardToCase) {
    std::set<std::string> names;
    for (const auto name : virtualChipNames()) {
        std::string lower(name);
        std::ranges::transform(lower, lower.begin(),
                               [](unsigned char c) { return std::tolower(c); });
        EXPECT_TRUE(names.insert(lower).second) << name;
        EXPECT_EQ(findVirtualChip(lower), findVirtualChip(name));
    }
    EXPECT_EQ(findVirtualChip("ATMEGA8")->name, "ATmega8");
    EXPECT_EQ(findVirtualChip("at90s/ls2323")->signature,
              (std::array<std::uint8_t, 3>{0x1E, 0x91, 0x02}));
    EXPECT_EQ(findVirtualChip("ATmega9"), nullptr);
    EXPECT_THROW(VirtualProgrammer("nothing"), std::invalid_argument);

    VirtualProgrammer programmer("ATmega8");
    programmer.insertChip(*findVirtualChip("ATtiny13"));
    EXPECT_EQ(programmer.chip().name, "ATtiny13");
    EXPECT_EQ(programmer.flash().size(), 1024U);
}

// Every microcontroller, through each family it answers on: erase, write its whole flash
// and EEPROM, verify, and read both back.
TEST(Chips, EveryMicrocontrollerProgramsEndToEnd) {
    for (const VirtualChip& chip : virtualChips()) {
        if (chip.kind != ChipKind::Microcontroller) {
            continue;
        }
        for (std::uint8_t code = 1; code <= 5; ++code) {
            if ((chip.families & (1U << code)) == 0) {
                continue;
            }
            const auto family = static_cast<Family>(code);
            VirtualProgrammer programmer(chip);
            Host host{programmer, family};
            const std::uint8_t p3 = family == Family::AvrIsp ? chip.pageCode : chip.voltage;
            const Bytes flash = pattern(chip.memorySize, code);
            const std::string chunks((chip.memorySize + 57) / 58 - 1, '*');
            ASSERT_EQ(host.code(Command::Erase, chip.voltage), "e") << chip.name;
            EXPECT_EQ(host.chunks(Command::WriteFlash, flash, 58, p3), chunks + "w") << chip.name;
            EXPECT_EQ(host.chunks(Command::Verify, flash), chunks + "v") << chip.name;
            EXPECT_EQ(
                host.read(Command::ReadFlash, static_cast<std::uint8_t>(chip.memorySize / 1024)),
                flash)
                << chip.name;
            if (family == Family::AT90S || family == Family::AvrIsp) {
                const Bytes eeprom = pattern(chip.eepromSize, 7);
                const std::uint8_t eepromCode = static_cast<std::uint8_t>(
                    chip.eepromSize <= 128 ? chip.eepromSize : 128 + chip.eepromSize / 256);
                EXPECT_EQ(host.chunks(Command::WriteEeprom, eeprom).back(), 'w') << chip.name;
                EXPECT_EQ(host.read(Command::ReadEeprom, eepromCode), eeprom) << chip.name;
            }
        }
    }
}

} // namespace
} // namespace tarvik::emulator::test
