// Serial EEPROMs on the virtual programmer: page writes through the host's page size, the
// size code deciding the addressable memory, and erase.
#include <gtest/gtest.h>

#include "host.h"

namespace tarvik::emulator::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SerialEeprom, EverySizeWritesVerifiesAndReadsBack) {
    struct Case {
        const char* chip;
        std::uint8_t sizeCode;
        std::uint8_t pageSize;
        std::size_t bytes;
    };
    const Case cases[] = {
        {"24AA00", 0, 1, 16},        {"24AA01", 1, 8, 128},        {"24C01C", 1, 16, 128},
        {"24AA02", 2, 8, 256},       {"24C02C", 2, 16, 256},       {"24C04A", 4, 8, 512},
        {"24AA04", 4, 16, 512},      {"24AA08", 8, 16, 1024},      {"24AA16", 16, 16, 2048},
        {"24AA32A", 32, 32, 4096},   {"24AA64", 64, 32, 8192},     {"24AA128", 128, 64, 16384},
        {"24AA256", 129, 64, 32768}, {"24AA512", 130, 128, 65536},
    };
    for (const auto& c : cases) {
        VirtualProgrammer programmer(c.chip);
        Host host{programmer, Family::SerialEeprom};
        const Bytes data = pattern(c.bytes, c.sizeCode);
        const std::size_t chunks = (c.bytes + 31) / 32;
        EXPECT_EQ(host.chunks(Command::WriteFlash, data, 32, c.pageSize, c.sizeCode),
                  std::string(chunks - 1, '*') + "w")
            << c.chip;
        if (c.sizeCode != 0) { // the 16-byte chip fits one chunk: its flag of 0 is no loss
            EXPECT_EQ(host.chunks(Command::Verify, data, 58, c.pageSize, c.sizeCode),
                      std::string((c.bytes + 57) / 58 - 1, '*') + "v")
                << c.chip;
        }
        EXPECT_EQ(host.read(Command::ReadFlash, c.sizeCode), data) << c.chip;
        EXPECT_EQ(host.code(Command::Erase, c.sizeCode, c.pageSize), "e") << c.chip;
        EXPECT_EQ(programmer.flash(), Bytes(c.bytes, 0xFF)) << c.chip;
    }
}

TEST(SerialEeprom, PageLargerThanTheChipsWrapsInsideItsPage) {
    // A 24AA01 has 8-byte pages; written with the 16-byte pages of a 24C01C, the second half
    // of each 16-byte write lands on the first half.
    VirtualProgrammer programmer("24AA01");
    Host host{programmer, Family::SerialEeprom};
    ASSERT_EQ(host.code(Command::Erase, 1, 8), "e"); // the chip's text off, to see where bytes land
    const Bytes data = pattern(32);
    EXPECT_EQ(host.chunks(Command::WriteFlash, data, 32, 16, 1), "w");
    const Bytes flash = programmer.flash();
    EXPECT_EQ(Bytes(flash.begin(), flash.begin() + 8), Bytes(data.begin() + 8, data.begin() + 16));
    EXPECT_EQ(Bytes(flash.begin() + 8, flash.begin() + 16), Bytes(8, 0xFF));
    EXPECT_EQ(host.chunks(Command::Verify, data, 58, 16, 1), "!");

    // Smaller pages than the chip's are fine, and so are writes that start mid-page.
    VirtualProgrammer larger("24C01C");
    Host largerHost{larger, Family::SerialEeprom};
    const Bytes odd = pattern(45, 3);
    EXPECT_EQ(largerHost.chunks(Command::WriteFlash, odd, 32, 8, 1), "*w");
    EXPECT_EQ(largerHost.chunks(Command::Verify, odd, 58, 8, 1), "v");
}

TEST(SerialEeprom, SizeCodeDecidesTheAddressableMemory) {
    // 160 bytes for a 128-byte code: the fifth chunk lies past the memory.
    VirtualProgrammer small("24AA01");
    EXPECT_EQ(
        (Host{small, Family::SerialEeprom}.chunks(Command::WriteFlash, pattern(160), 32, 8, 1)),
        "****!");
    // One chunk, no size code seen: the chip's own size limits it.
    VirtualProgrammer tiny("24AA00");
    EXPECT_EQ((Host{tiny, Family::SerialEeprom}.chunks(Command::WriteFlash, pattern(17), 32, 1)),
              "!");

    // Addresses past a chip's memory wrap to its start, as the chip ignores the upper bits.
    VirtualProgrammer wrapping("24AA01");
    Host host{wrapping, Family::SerialEeprom};
    const Bytes data = pattern(128);
    ASSERT_TRUE(wrapping.loadFlash(data));
    Bytes twice = data;
    twice.insert(twice.end(), data.begin(), data.end());
    EXPECT_EQ(host.read(Command::ReadFlash, 2), twice);

    // Bad size codes and page sizes.
    EXPECT_EQ(host.code(Command::Erase, 131, 8), "!");
    EXPECT_EQ(host.code(Command::ReadFlash, 200), "!");
    EXPECT_EQ(host.chunks(Command::WriteFlash, pattern(10), 32, 0), "!");
    EXPECT_EQ(host.chunks(Command::WriteFlash, pattern(40), 32, 8, 131), "!");
    EXPECT_EQ(host.chunks(Command::WriteFlash, pattern(33), 33, 8), "!");
}

} // namespace
} // namespace tarvik::emulator::test
