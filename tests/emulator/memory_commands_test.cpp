// The virtual programmer's memory commands: signature, erase, chunked write and verify, reads.
#include <gtest/gtest.h>

#include "host.h"

namespace tarvik::emulator::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Signature, AnswersPerChipAndFamily) {
    struct Case {
        const char* chip;
        Family family;
        std::string answer; // code then signature bytes
    };
    const Case cases[] = {
        {"ATmega8", Family::AvrIsp, "s\x1E\x93\x07"},
        {"ATmega128", Family::AvrIsp, "s\x1E\x97\x02"},
        {"AT90S2313", Family::AT90S, "s\x1E\x91\x01"},
        {"AT90S2313", Family::AvrIsp, "s\x1E\x91\x01"},
        {"AT89C2051", Family::AT89Cx051, "s\x1E\x21\xFF"},
        {"AT89C51-5V", Family::AT89C5x, "s\x1E\x51\x05"},
        {"at89c51-12v", Family::AT89C5x, "s\x1E\x51\xFF"},
        {"locked", Family::AvrIsp, std::string("s\x00\x01\x02", 4)},
        {"locked", Family::AT89C5x, std::string("s\x00\x01\x02", 4)},
        {"unknown", Family::AT90S, "s\x1E\x9F\x0F"},
        // A chip answers only on its own family, and nothing answers from an empty socket.
        {"ATmega8", Family::AT90S, "!"},
        {"AT89C2051", Family::AT89C5x, "!"},
        {"24AA512", Family::SerialEeprom, "!"},
        {"none", Family::AvrIsp, "!"},
    };
    for (const auto& c : cases) {
        VirtualProgrammer programmer(c.chip);
        const DeviceReply reply = Host{programmer, c.family}.send(
            Host{programmer, c.family}.report(Command::ReadSignature));
        ASSERT_EQ(reply.reports.size(), 1U) << c.chip;
        const auto& input = reply.reports[0];
        EXPECT_EQ(input[0], 0) << c.chip;
        EXPECT_EQ(std::string(input.begin() + 1, input.begin() + 1 + c.answer.size()), c.answer)
            << c.chip;
    }
}

TEST(Signature, UnknownFamilyCommandOrReportIdIsAnError) {
    VirtualProgrammer programmer("ATmega8");
    Host host{programmer, Family::AvrIsp};
    auto bytes = host.report(Command::ReadSignature);
    bytes[report::kFamily] = 6;
    EXPECT_EQ(Host::codes(host.send(bytes)), "!");
    EXPECT_EQ(host.code(static_cast<Command>(11)), "!");
    EXPECT_EQ(host.code(static_cast<Command>(0)), "!");
    bytes = host.report(Command::ReadSignature);
    bytes[report::kReportId] = 1;
    EXPECT_EQ(Host::codes(host.send(bytes)), "!");
}

TEST(WriteVerify, ChunksAnswerStarThenWrittenOrVerified) {
    VirtualProgrammer programmer("ATmega8");
    Host host{programmer, Family::AvrIsp};
    ASSERT_EQ(host.code(Command::Erase), "e"); // flash bits only clear: start blank
    const Bytes data = pattern(130);
    EXPECT_EQ(host.chunks(Command::WriteFlash, data, 58, 0x20), "**w");
    EXPECT_EQ(host.chunks(Command::Verify, data), "**v");
    const Bytes flash = programmer.flash();
    EXPECT_TRUE(std::equal(data.begin(), data.end(), flash.begin()));
    EXPECT_EQ(flash[130], 0xFF);

    // A single full chunk marked last, and an empty buffer's lone chunk.
    EXPECT_EQ(host.chunks(Command::Verify, std::span(data).first(58)), "v");
    EXPECT_EQ(host.chunks(Command::Verify, Bytes{}), "v");
}

TEST(WriteVerify, MismatchIsAnErrorAtTheChunkWhereItLies) {
    VirtualProgrammer programmer("ATmega8");
    Host host{programmer, Family::AvrIsp};
    ASSERT_EQ(host.code(Command::Erase), "e");
    Bytes data = pattern(200);
    ASSERT_EQ(host.chunks(Command::WriteFlash, data, 58, 0x20), "***w");
    data[120] ^= 0x01; // third chunk
    EXPECT_EQ(host.chunks(Command::Verify, data), "**!");
    // After the error a new transfer starts at offset 0 again.
    data[120] ^= 0x01;
    EXPECT_EQ(host.chunks(Command::Verify, data), "***v");
}

TEST(WriteVerify, FlashBitsOnlyClearUntilErased) {
    VirtualProgrammer programmer("AT89C2051");
    Host host{programmer, Family::AT89Cx051};
    ASSERT_EQ(host.code(Command::Erase), "e");
    ASSERT_EQ(host.chunks(Command::WriteFlash, Bytes{0xF0, 0x0F}), "w");
    EXPECT_EQ(host.chunks(Command::WriteFlash, Bytes{0x3C, 0xFF}), "w");
    EXPECT_EQ(programmer.flash()[0], 0x30);
    EXPECT_EQ(programmer.flash()[1], 0x0F);
    EXPECT_EQ(host.chunks(Command::Verify, Bytes{0x3C, 0xFF}), "!");

    EXPECT_EQ(host.code(Command::Erase), "e");
    EXPECT_EQ(host.read(Command::ReadFlash, 2), Bytes(2048, 0xFF));
    EXPECT_EQ(host.chunks(Command::WriteFlash, Bytes{0x3C, 0xFF}), "w");
    EXPECT_EQ(host.chunks(Command::Verify, Bytes{0x3C, 0xFF}), "v");
}

TEST(WriteVerify, ParametersAndRangeAreChecked) {
    struct Case {
        const char* chip;
        Family family;
        Command command;
        std::size_t size;
        std::size_t chunk;
        std::uint8_t p3;
        std::string answers;
    };
    const Case cases[] = {
        // Data past the end of the flash.
        {"AT89C1051", Family::AT89Cx051, Command::WriteFlash, 1025, 58, 0,
         std::string(17, '*') + "!"},
        {"AT89C1051", Family::AT89Cx051, Command::Verify, 1025, 58, 0, std::string(17, '*') + "!"},
        // A chunk larger than a report holds.
        {"ATmega8", Family::AvrIsp, Command::WriteFlash, 59, 59, 0x20, "!"},
        // The ISP page code must be the chip's.
        {"ATmega8", Family::AvrIsp, Command::WriteFlash, 10, 58, 0x40, "!"},
        {"ATtiny2313", Family::AvrIsp, Command::WriteFlash, 10, 58, 0x81, "w"},
        // The AT89C5x programming voltage must be the chip's.
        {"AT89C51-5V", Family::AT89C5x, Command::WriteFlash, 10, 58, 12, "!"},
        {"AT89C51-5V", Family::AT89C5x, Command::WriteFlash, 10, 58, 5, "w"},
        {"AT89C51-12V", Family::AT89C5x, Command::WriteFlash, 10, 58, 5, "!"},
        // EEPROM writes exist on AVRs only.
        {"AT89C51-12V", Family::AT89C5x, Command::WriteEeprom, 10, 58, 12, "!"},
        {"24AA512", Family::SerialEeprom, Command::WriteEeprom, 10, 32, 128, "!"},
        {"ATmega8", Family::AvrIsp, Command::WriteEeprom, 513, 58, 0, std::string(8, '*') + "!"},
        {"AT90S1200", Family::AT90S, Command::WriteEeprom, 64, 58, 0, "*w"},
    };
    for (const auto& c : cases) {
        VirtualProgrammer programmer(c.chip);
        Host host{programmer, c.family};
        const Bytes data = pattern(c.size);
        programmer.loadFlash(
            std::span(data).first(std::min(data.size(), programmer.flash().size())));
        EXPECT_EQ(host.chunks(c.command, data, c.chunk, c.p3), c.answers) << c.chip;
    }
}

TEST(EraseAndRead, ErasedChipsReadBackBlankInPiecesOf63) {
    struct Case {
        const char* chip;
        Family family;
        Command command;
        std::uint8_t code;
        std::size_t bytes;
        std::size_t reports;
    };
    const Case cases[] = {
        {"24AA00", Family::SerialEeprom, Command::ReadFlash, 0, 16, 1},
        {"24AA01", Family::SerialEeprom, Command::ReadFlash, 1, 128, 3},
        {"24AA512", Family::SerialEeprom, Command::ReadFlash, 130, 65536, 1041},
        {"24AA256", Family::SerialEeprom, Command::ReadFlash, 129, 32768, 521},
        {"ATmega128", Family::AvrIsp, Command::ReadFlash, 128, 131072, 2081},
        {"AT89C55-12V", Family::AT89C5x, Command::ReadFlash, 20, 20480, 326},
        {"ATmega128", Family::AvrIsp, Command::ReadEeprom, 0x90, 4096, 66},
        {"ATtiny2313", Family::AvrIsp, Command::ReadEeprom, 0x80, 128, 3},
        {"AT90S/LS4433", Family::AvrIsp, Command::ReadEeprom, 0x81, 256, 5},
        {"ATtiny13", Family::AvrIsp, Command::ReadEeprom, 0x40, 64, 2},
        {"AT90S1200", Family::AT90S, Command::ReadEeprom, 0x40, 64, 2},
        {"ATmega8", Family::AvrIsp, Command::ReadEeprom, 0, 0, 1},
    };
    for (const auto& c : cases) {
        VirtualProgrammer programmer(c.chip);
        Host host{programmer, c.family};
        programmer.loadFlash(pattern(100));
        programmer.loadEeprom(pattern(20));
        ASSERT_EQ(host.code(Command::Erase, c.family == Family::SerialEeprom ? c.code : 12), "e")
            << c.chip;
        std::size_t reports = 0;
        EXPECT_EQ(host.read(c.command, c.code, &reports), Bytes(c.bytes, 0xFF)) << c.chip;
        EXPECT_EQ(reports, c.reports) << c.chip;
    }
}

// A chip comes with a small program (an LED blinking on port pin 0) and a line of data, the
// rest erased.
TEST(EraseAndRead, ChipsComeWithADemoProgramAndData) {
    struct Case {
        const char* chip;
        Bytes flashStart;
        std::string eepromStart;
        std::size_t used; // flash bytes before the first erased one
    };
    const Case cases[] = {
        // ldi r16,1; out DDRB,r16; in r17,PORTB: port B at 0x17/0x18, or 0x04/0x05.
        {"ATmega8", {0x01, 0xE0, 0x07, 0xBB, 0x18, 0xB3, 0x10, 0x27}, "Blink PB0\n", 26},
        {"AT90S1200", {0x01, 0xE0, 0x07, 0xBB, 0x18, 0xB3}, "Blink PB0\n", 26},
        {"ATmega88", {0x01, 0xE0, 0x04, 0xB9, 0x15, 0xB1, 0x10, 0x27}, "Blink PB0\n", 26},
        // The last word: rjmp back to the loop.
        {"ATtiny13", {0x01, 0xE0}, "Blink PB0\n", 26},
        // cpl P1.0; mov R7,#8
        {"AT89C2051", {0xB2, 0x90, 0x7F, 0x08}, "", 16},
        {"AT89S8252", {0xB2, 0x90, 0x7F, 0x08}, "", 16},
        {"24AA256", Bytes{'2', '4', 'A', 'A', '2', '5', '6', ' '}, "", 47},
        {"24AA00", Bytes{'2', '4', 'A', 'A', '0', '0', ' '}, "", 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chip);
        const VirtualProgrammer programmer(c.chip);
        const Bytes flash = programmer.flash();
        EXPECT_TRUE(std::equal(c.flashStart.begin(), c.flashStart.end(), flash.begin()));
        EXPECT_NE(flash[c.used - 1], 0xFF);
        EXPECT_TRUE(
            std::all_of(flash.begin() + c.used, flash.end(), [](auto b) { return b == 0xFF; }));
        const Bytes eeprom = programmer.eeprom();
        EXPECT_EQ(std::string(eeprom.begin(), eeprom.begin() + c.eepromStart.size()),
                  c.eepromStart);
    }
    EXPECT_EQ(VirtualProgrammer("ATmega8").flash()[24], 0xF5); // rjmp loop: CFF5
    EXPECT_EQ(VirtualProgrammer("ATmega8").flash()[25], 0xCF);
}

TEST(EraseAndRead, ReadsDeliverTheContentsInOrder) {
    VirtualProgrammer programmer("ATmega16");
    Host host{programmer, Family::AvrIsp};
    const Bytes flash = pattern(16384, 3);
    const Bytes eeprom = pattern(512, 9);
    ASSERT_TRUE(programmer.loadFlash(flash));
    ASSERT_TRUE(programmer.loadEeprom(eeprom));
    EXPECT_EQ(host.read(Command::ReadFlash, 16), flash);
    EXPECT_EQ(host.read(Command::ReadEeprom, 0x82), eeprom);
    // A smaller request gets the start of the memory.
    EXPECT_EQ(host.read(Command::ReadFlash, 1), (Bytes(flash.begin(), flash.begin() + 1024)));
}

TEST(EraseAndRead, ReadsPastTheMemoryAreErrors) {
    struct Case {
        const char* chip;
        Family family;
        Command command;
        std::uint8_t code;
    };
    const Case cases[] = {
        {"ATmega8", Family::AvrIsp, Command::ReadFlash, 9},
        {"ATmega8", Family::AvrIsp, Command::ReadEeprom, 0x84},
        {"AT89C2051", Family::AT89Cx051, Command::ReadEeprom, 0x40},
        {"24AA512", Family::SerialEeprom, Command::ReadFlash, 131},
        {"24AA512", Family::SerialEeprom, Command::ReadEeprom, 1},
    };
    for (const auto& c : cases) {
        VirtualProgrammer programmer(c.chip);
        const Host host{programmer, c.family};
        EXPECT_EQ(host.code(c.command, c.code), "!") << c.chip;
    }
}

TEST(EraseAndRead, EraseKeepsTheEepromOnlyWithEesaveProgrammed) {
    VirtualProgrammer programmer("ATmega8");
    Host host{programmer, Family::AvrIsp};
    const Bytes eeprom = pattern(512);
    programmer.loadEeprom(eeprom);
    FuseBytes fuses = programmer.fuses();
    fuses.high &= ~0x08; // EESAVE
    programmer.setFuses(fuses);
    ASSERT_EQ(host.code(Command::Erase), "e");
    EXPECT_EQ(programmer.eeprom(), eeprom);
    fuses.high |= 0x08;
    programmer.setFuses(fuses);
    ASSERT_EQ(host.code(Command::Erase), "e");
    EXPECT_EQ(programmer.eeprom(), Bytes(512, 0xFF));
    EXPECT_EQ(programmer.fuses(), fuses); // fuses survive an erase
}

TEST(EraseAndRead, EepromWriteSetsBytesWithoutErase) {
    VirtualProgrammer programmer("ATmega8");
    Host host{programmer, Family::AvrIsp};
    ASSERT_EQ(host.chunks(Command::WriteEeprom, pattern(130, 1)), "**w");
    const Bytes data = pattern(130, 5);
    ASSERT_EQ(host.chunks(Command::WriteEeprom, data), "**w");
    const Bytes eeprom = host.read(Command::ReadEeprom, 0x82);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), eeprom.begin()));
}

} // namespace
} // namespace tarvik::emulator::test
