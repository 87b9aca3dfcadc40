// The virtual chips' fuse and lock bytes: serial-programming instructions over ISP, the
// AT90S socket's lock and fuse images, and the socket lock-bit command.
#include <gtest/gtest.h>

#include "host.h"

namespace tarvik::emulator::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Sends a fuse command with these 3-byte entries; returns the answer code and any bytes.
Bytes fuseCommand(VirtualProgrammer& programmer, Command command,
                  std::initializer_list<Instruction> entries) {
    Host host{programmer, Family::AvrIsp};
    auto bytes = host.report(command, static_cast<std::uint8_t>(entries.size()));
    std::size_t at = report::kFuseEntries;
    for (const auto& entry : entries) {
        std::ranges::copy(entry, bytes.begin() + static_cast<std::ptrdiff_t>(at));
        at += 3;
    }
    const DeviceReply reply = host.send(bytes);
    EXPECT_EQ(reply.reports.size(), 1U);
    const auto& input = reply.reports.at(0);
    const std::size_t length = input[1] == rspFuses ? 1 + entries.size() : 1;
    return Bytes(input.begin() + 1, input.begin() + 1 + static_cast<std::ptrdiff_t>(length));
}

constexpr Instruction kReadLock{0x58, 0x00, 0x00};
constexpr Instruction kReadLow{0x50, 0x00, 0x00};
constexpr Instruction kReadHigh{0x58, 0x08, 0x00};
constexpr Instruction kReadExtended{0x50, 0x08, 0x00};
constexpr Instruction calibration(std::uint8_t n) {
    return {0x38, 0x00, n};
}

TEST(IspFuses, NewerChipReadsItsBytesInEntryOrder) {
    VirtualProgrammer mega8("ATmega8");
    EXPECT_EQ(fuseCommand(mega8, Command::ReadFuses,
                          {kReadLock, kReadLow, kReadHigh, calibration(0), calibration(1),
                           calibration(2), calibration(3)}),
              (Bytes{'r', 0xFF, 0xE1, 0xD9, 0xA9, 0xAD, 0xB0, 0xB5}));
    EXPECT_EQ(fuseCommand(mega8, Command::ReadFuses, {calibration(2), kReadHigh}),
              (Bytes{'r', 0xB0, 0xD9}));
    EXPECT_EQ(fuseCommand(mega8, Command::ReadFuses, {}), (Bytes{'r'}));

    VirtualProgrammer mega128("ATmega128");
    EXPECT_EQ(
        fuseCommand(mega128, Command::ReadFuses, {kReadLock, kReadLow, kReadHigh, kReadExtended}),
        (Bytes{'r', 0xFF, 0xE1, 0x99, 0xFD}));
}

TEST(IspFuses, InstructionsTheChipDoesNotHaveAreErrors) {
    struct Case {
        const char* chip;
        Command command;
        Instruction entry;
    };
    const Case cases[] = {
        {"ATmega8", Command::ReadFuses, kReadExtended},         // no extended byte
        {"ATmega8", Command::WriteFuses, {0xA4, 0x00, 0xFF}},   // no extended byte
        {"ATmega48", Command::ReadFuses, calibration(1)},       // one calibration byte
        {"AT90S/LS2323", Command::ReadFuses, kReadLow},         // combined byte only
        {"AT90S8515", Command::ReadFuses, kReadLock},           // lock bits not readable
        {"AT90S8515", Command::WriteFuses, {0xBE, 0x00, 0x00}}, // no fuse to write
        {"ATmega8", Command::ReadFuses, {0x30, 0x00, 0x00}},    // not a fuse instruction
        {"ATmega8", Command::WriteFuses, {0x80, 0x00, 0x00}},   // nor this
    };
    for (const auto& c : cases) {
        VirtualProgrammer programmer(c.chip);
        EXPECT_EQ(fuseCommand(programmer, c.command, {c.entry}), Bytes{'!'}) << c.chip;
    }
    // A rejected write changes nothing, not even the entries before the bad one.
    VirtualProgrammer mega8("ATmega8");
    EXPECT_EQ(fuseCommand(mega8, Command::WriteFuses, {{0xE0, 0x00, 0xFC}, {0xA4, 0x00, 0xFF}}),
              Bytes{'!'});
    EXPECT_EQ(mega8.fuses(), (FuseBytes{0xFF, 0xE1, 0xD9, 0xFF}));
}

TEST(IspFuses, NewerChipWriteReadRoundTripKeepsSpien) {
    VirtualProgrammer mega8("ATmega8");
    // Written back unchanged, with SPIEN shown unprogrammed as the client sends it.
    EXPECT_EQ(fuseCommand(mega8, Command::WriteFuses,
                          {{0xE0, 0x00, 0xFF}, {0xA8, 0x00, 0xF9}, {0xA0, 0x00, 0xE1}}),
              Bytes{'f'});
    EXPECT_EQ(fuseCommand(mega8, Command::ReadFuses, {kReadLock, kReadLow, kReadHigh}),
              (Bytes{'r', 0xFF, 0xE1, 0xD9}));
    // CKSEL0 and EESAVE programmed, BOOTSZ unprogrammed.
    EXPECT_EQ(fuseCommand(mega8, Command::WriteFuses,
                          {{0xE0, 0x00, 0xFF}, {0xA8, 0x00, 0xF7}, {0xA0, 0x00, 0xFE}}),
              Bytes{'f'});
    EXPECT_EQ(mega8.fuses(), (FuseBytes{0xFF, 0xFE, 0xD7, 0xFF}));

    // ATtiny13 keeps SPIEN in low bit 7, ATtiny12 in bit 5 of its one fuse byte.
    VirtualProgrammer tiny13("ATtiny13");
    EXPECT_EQ(fuseCommand(tiny13, Command::WriteFuses,
                          {{0xE0, 0x00, 0xFF}, {0xA8, 0x00, 0xEF}, {0xA0, 0x00, 0xFF}}),
              Bytes{'f'});
    EXPECT_EQ(fuseCommand(tiny13, Command::ReadFuses, {kReadLow, kReadHigh}),
              (Bytes{'r', 0x7F, 0xEF}));
    VirtualProgrammer tiny12("ATtiny12");
    EXPECT_EQ(fuseCommand(tiny12, Command::WriteFuses, {{0xFF, 0x00, 0x00}, {0xA0, 0x00, 0xF0}}),
              Bytes{'f'});
    EXPECT_EQ(fuseCommand(tiny12, Command::ReadFuses, {kReadLock, kReadLow, calibration(0)}),
              (Bytes{'r', 0xFF, 0xD0, 0x8C}));

    // The extended byte of a chip that has one.
    VirtualProgrammer mega128("ATmega128");
    EXPECT_EQ(fuseCommand(mega128, Command::WriteFuses, {{0xA4, 0x00, 0xFF}}), Bytes{'f'});
    EXPECT_EQ(mega128.fuses().extended, 0xFF);
}

TEST(IspFuses, LockBitsOnlyProgramAndLockTheFusesUntilErased) {
    VirtualProgrammer mega8("ATmega8");
    Host host{mega8, Family::AvrIsp};
    // Lock bits 1 and 2 programmed in the same write as a new low byte: the lock entry comes
    // first, so the chip locks its fuses before the low byte arrives.
    EXPECT_EQ(fuseCommand(mega8, Command::WriteFuses, {{0xE0, 0x00, 0xFC}, {0xA0, 0x00, 0xE4}}),
              Bytes{'f'});
    EXPECT_EQ(mega8.fuses(), (FuseBytes{0xFC, 0xE1, 0xD9, 0xFF}));
    EXPECT_TRUE(mega8.lockBitProgrammed(1));
    EXPECT_TRUE(mega8.lockBitProgrammed(2));
    // Writing the lock byte as unprogrammed does not unlock the chip.
    EXPECT_EQ(fuseCommand(mega8, Command::WriteFuses, {{0xE0, 0x00, 0xFF}}), Bytes{'f'});
    EXPECT_EQ(mega8.fuses().lock, 0xFC);
    // A locked chip refuses programming, and reads back its addresses instead of its data.
    EXPECT_EQ(host.chunks(Command::WriteFlash, pattern(4), 58, 0x20), "!");
    EXPECT_EQ(host.chunks(Command::WriteEeprom, pattern(4)), "!");
    EXPECT_EQ(host.read(Command::ReadEeprom, 4), (Bytes{0, 1, 2, 3}));

    ASSERT_EQ(host.code(Command::Erase), "e");
    EXPECT_EQ(mega8.fuses(), (FuseBytes{0xFF, 0xE1, 0xD9, 0xFF}));
    EXPECT_EQ(host.chunks(Command::WriteFlash, pattern(4), 58, 0x20), "w");
}

TEST(IspFuses, OlderChipsTakeTheirBitsInTheSecondByte) {
    struct Case {
        const char* chip;
        std::vector<Instruction> writes;
        std::vector<Instruction> reads;
        Bytes answer;
    };
    const Case cases[] = {
        // Start-up fuse chips: one combined byte, bit 7 LB1, bit 6 LB2, bit 5 SPIEN, bit 0 FSTRT.
        {"AT90S/LS2323", {}, {kReadLock}, {'r', 0xDF}},
        {"AT90S/LS2323", {{0xFF, 0x00, 0x00}, {0xBE, 0x00, 0x00}}, {kReadLock}, {'r', 0xDE}},
        {"AT90S/LS2323", {{0xFF, 0x00, 0x00}, {0xBF, 0x00, 0x00}}, {kReadLock}, {'r', 0xDF}},
        {"AT90S/LS2323", {{0xFD, 0x00, 0x00}, {0xBF, 0x00, 0x00}}, {kReadLock}, {'r', 0x5F}},
        {"AT90S/LS2343", {{0xFB, 0x00, 0x00}}, {kReadLock}, {'r', 0x9E}},
        {"AT90S/LS8535", {{0xFF, 0x00, 0x00}, {0xBE, 0x00, 0x00}}, {kReadLock}, {'r', 0xDE}},
        {"ATtiny22", {{0xF9, 0x00, 0x00}}, {kReadLock}, {'r', 0x1E}},
        // AT90S/LS2333 and 4433: BODLEVEL, BODEN, CKSEL2..0 in bits 4..0; SPIEN stays.
        {"AT90S/LS2333", {}, {kReadLock, kReadLow}, {'r', 0xFF, 0xDA}},
        {"AT90S/LS2333", {{0xFF, 0x00, 0x00}, {0xA0, 0x00, 0x00}}, {kReadLow}, {'r', 0xC0}},
        {"AT90S/LS4433",
         {{0xFB, 0x00, 0x00}, {0xBE, 0x00, 0x00}},
         {kReadLock, kReadLow},
         {'r', 0xFB, 0xDE}},
        // ATtiny26 takes its lock bits from bits 1 and 0: E0 00 v programs both.
        {"ATtiny26", {{0xFE, 0x00, 0x00}}, {kReadLock}, {'r', 0xFE}},
        {"ATtiny26", {{0xE0, 0x00, 0xFF}}, {kReadLock}, {'r', 0xFC}},
        {"ATtiny26",
         {{0xFF, 0x00, 0x00}, {0xA8, 0x00, 0xF3}, {0xA0, 0x00, 0x24}},
         {kReadLock, kReadLow, kReadHigh, calibration(3)},
         {'r', 0xFF, 0x24, 0xF3, 0xB1}},
        // The lock-pair chips take a lock write and nothing else.
        {"AT90S1200", {{0xF9, 0x00, 0x00}}, {}, {'r'}},
    };
    for (const auto& c : cases) {
        VirtualProgrammer programmer(c.chip);
        Host host{programmer, Family::AvrIsp};
        auto write = host.report(Command::WriteFuses, static_cast<std::uint8_t>(c.writes.size()));
        for (std::size_t k = 0; k < c.writes.size(); ++k) {
            std::ranges::copy(c.writes[k], write.begin() + 4 + 3 * static_cast<std::ptrdiff_t>(k));
        }
        EXPECT_EQ(Host::codes(host.send(write)), "f") << c.chip;
        auto read = host.report(Command::ReadFuses, static_cast<std::uint8_t>(c.reads.size()));
        for (std::size_t k = 0; k < c.reads.size(); ++k) {
            std::ranges::copy(c.reads[k], read.begin() + 4 + 3 * static_cast<std::ptrdiff_t>(k));
        }
        const auto reply = host.send(read);
        ASSERT_EQ(reply.reports.size(), 1U);
        EXPECT_EQ(
            Bytes(reply.reports[0].begin() + 1,
                  reply.reports[0].begin() + 1 + static_cast<std::ptrdiff_t>(c.answer.size())),
            c.answer)
            << c.chip;
    }
    VirtualProgrammer tiny26("ATtiny26");
    fuseCommand(tiny26, Command::WriteFuses, {{0xE0, 0x00, 0xFF}});
    EXPECT_TRUE(tiny26.lockBitProgrammed(1));
    EXPECT_TRUE(tiny26.lockBitProgrammed(2));
}

TEST(IspFuses, EntryCountIsBoundedByTheReport) {
    VirtualProgrammer mega8("ATmega8");
    Host host{mega8, Family::AvrIsp};
    auto bytes = host.report(Command::ReadFuses, 20);
    for (std::size_t k = 0; k < 20; ++k) {
        std::ranges::copy(kReadLow, bytes.begin() + 4 + 3 * static_cast<std::ptrdiff_t>(k));
    }
    const auto reply = host.send(bytes);
    ASSERT_EQ(reply.reports.size(), 1U);
    EXPECT_EQ(reply.reports[0][1], 'r');
    EXPECT_EQ(reply.reports[0][21], 0xE1);
    bytes[report::kParam1] = 21;
    EXPECT_EQ(Host::codes(host.send(bytes)), "!");
    bytes[report::kParam1] = 255;
    EXPECT_EQ(Host::codes(host.send(bytes)), "!");
}

TEST(SocketFuses, LockAndFuseImagesAndTheCombinedByte) {
    VirtualProgrammer programmer("AT90S2313");
    Host host{programmer, Family::AT90S};
    const auto r1 = [&] {
        const auto reply = host.send(host.report(Command::ReadFuses));
        return Bytes{reply.reports.at(0)[1], reply.reports.at(0)[2]};
    };
    EXPECT_EQ(r1(), (Bytes{'r', 0xDF}));
    // Lock bit 1 and FSTRT programmed, SPIEN unprogrammed (possible in the socket).
    EXPECT_EQ(host.code(Command::WriteFuses, 0xFD, 0xFE), "f");
    EXPECT_EQ(r1(), (Bytes{'r', 0x7E}));
    EXPECT_TRUE(programmer.lockBitProgrammed(1));
    EXPECT_FALSE(programmer.lockBitProgrammed(2));
    // Fuses are locked now; lock bit 2 can still be programmed.
    EXPECT_EQ(host.code(Command::WriteFuses, 0xF9, 0xDF), "f");
    EXPECT_EQ(r1(), (Bytes{'r', 0x3E}));
    ASSERT_EQ(host.code(Command::Erase), "e");
    EXPECT_EQ(r1(), (Bytes{'r', 0xFE}));
}

TEST(SocketFuses, FuseCommandsBelongToTheAvrFamilies) {
    VirtualProgrammer at89("AT89C2051");
    EXPECT_EQ((Host{at89, Family::AT89Cx051}.code(Command::ReadFuses)), "!");
    EXPECT_EQ((Host{at89, Family::AT89Cx051}.code(Command::WriteFuses, 0xFF, 0xFF)), "!");
    VirtualProgrammer eeprom("24AA16");
    EXPECT_EQ((Host{eeprom, Family::SerialEeprom}.code(Command::ReadFuses)), "!");
}

TEST(LockBits, SocketLockBitsProgramOneByOne) {
    struct Case {
        const char* chip;
        Family family;
        std::uint8_t bit;
        std::uint8_t voltage;
        std::string answer;
    };
    const Case cases[] = {
        {"AT89C2051", Family::AT89Cx051, 1, 0, "1"}, {"AT89C2051", Family::AT89Cx051, 2, 0, "2"},
        {"AT89C52-5V", Family::AT89C5x, 1, 5, "1"},  {"AT89C52-5V", Family::AT89C5x, 2, 12, "!"},
        {"AT89S8252", Family::AT89C5x, 2, 12, "2"},  {"AT90S1200", Family::AT90S, 2, 0, "2"},
        {"AT90S1200", Family::AT90S, 3, 0, "!"},     {"AT90S1200", Family::AT90S, 0, 0, "!"},
        {"AT90S1200", Family::AvrIsp, 1, 0, "!"},
    };
    for (const auto& c : cases) {
        VirtualProgrammer programmer(c.chip);
        const Host host{programmer, c.family};
        EXPECT_EQ(host.code(Command::WriteLockBit, 0, c.bit, c.voltage), c.answer) << c.chip;
        if (c.bit == 1 || c.bit == 2) {
            EXPECT_EQ(programmer.lockBitProgrammed(c.bit), c.answer != "!") << c.chip;
        }
        EXPECT_FALSE(programmer.lockBitProgrammed(c.bit == 1 ? 2 : 1)) << c.chip;
    }
}

TEST(LockBits, At89LockBitsStopProgrammingThenVerification) {
    VirtualProgrammer programmer("AT89C51-12V");
    Host host{programmer, Family::AT89C5x};
    ASSERT_EQ(host.code(Command::Erase, 12), "e"); // flash bits only clear: start blank
    const Bytes data = pattern(100);
    ASSERT_EQ(host.chunks(Command::WriteFlash, data, 58, 12), "*w");
    ASSERT_EQ(host.code(Command::WriteLockBit, 0, 1, 12), "1");
    EXPECT_EQ(host.chunks(Command::WriteFlash, data, 58, 12), "!");
    EXPECT_EQ(host.chunks(Command::Verify, data), "*v");
    ASSERT_EQ(host.code(Command::WriteLockBit, 0, 2, 12), "2");
    EXPECT_EQ(host.chunks(Command::Verify, data), "!");
    EXPECT_EQ(host.read(Command::ReadFlash, 1)[200], 200);
    const auto signature = host.send(host.report(Command::ReadSignature)).reports.at(0);
    EXPECT_EQ((Bytes(signature.begin() + 1, signature.begin() + 5)), (Bytes{'s', 0, 1, 2}));

    ASSERT_EQ(host.code(Command::Erase, 12), "e");
    EXPECT_FALSE(programmer.lockBitProgrammed(1));
    EXPECT_FALSE(programmer.lockBitProgrammed(2));
    const auto unlocked = host.send(host.report(Command::ReadSignature)).reports.at(0);
    EXPECT_EQ((Bytes(unlocked.begin() + 1, unlocked.begin() + 5)), (Bytes{'s', 0x1E, 0x51, 0xFF}));
}

TEST(LockBits, LockedChipUnlocksOnErase) {
    VirtualProgrammer programmer("locked");
    for (const Family family : {Family::AT89Cx051, Family::AT90S, Family::AvrIsp}) {
        const auto reply =
            Host{programmer, family}.send(Host{programmer, family}.report(Command::ReadSignature));
        EXPECT_EQ((Bytes(reply.reports.at(0).begin() + 1, reply.reports.at(0).begin() + 5)),
                  (Bytes{'s', 0, 1, 2}));
    }
    Host host{programmer, Family::AT89C5x};
    EXPECT_EQ(host.chunks(Command::WriteFlash, pattern(10), 58, 12), "!");
    ASSERT_EQ(host.code(Command::Erase, 12), "e");
    const auto reply = host.send(host.report(Command::ReadSignature));
    EXPECT_EQ((Bytes(reply.reports.at(0).begin() + 1, reply.reports.at(0).begin() + 5)),
              (Bytes{'s', 0x1E, 0x51, 0xFF}));
    EXPECT_EQ(host.chunks(Command::WriteFlash, pattern(10), 58, 12), "w");
}

} // namespace
} // namespace tarvik::emulator::test
