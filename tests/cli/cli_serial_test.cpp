// Serial numbers: each format laid out, the --serial option parsed, and write --serial with a
// serial file that moves on only when the chip's job succeeded and is locked while a job uses it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli/serial_numbers.h"
#include "cli_fixture.h"
#include "common/user_error.h"

namespace tarvik::cli::test {
namespace {

using emulator::Fault;
using Bytes = std::vector<std::uint8_t>;

struct EncodeCase {
    std::uint64_t number;
    std::size_t bytes;
    SerialFormat format;
    std::optional<Bytes> expected;
};

TEST(EncodeSerial, LaysOutEachFormatAndRefusesWhatDoesNotFit) {
    const EncodeCase cases[] = {
        {0x1234, 4, SerialFormat::Le, Bytes{0x34, 0x12, 0x00, 0x00}},
        {0x1234, 2, SerialFormat::Be, Bytes{0x12, 0x34}},
        {0xFF, 1, SerialFormat::Le, Bytes{0xFF}},
        {0x100, 1, SerialFormat::Le, std::nullopt},
        {0x10000, 2, SerialFormat::Be, std::nullopt},
        {~std::uint64_t{0}, 8, SerialFormat::Be, Bytes(8, 0xFF)},
        {1234, 3, SerialFormat::Bcd, Bytes{0x00, 0x12, 0x34}},
        {99, 1, SerialFormat::Bcd, Bytes{0x99}},
        {100, 1, SerialFormat::Bcd, std::nullopt},
        {42, 4, SerialFormat::Ascii, Bytes{'0', '0', '4', '2'}},
        {12345, 4, SerialFormat::Ascii, std::nullopt},
    };
    for (const EncodeCase& c : cases) {
        EXPECT_EQ(encodeSerial(c.number, c.bytes, c.format), c.expected)
            << c.number << " in " << c.bytes << " bytes, format " << static_cast<int>(c.format);
    }
}

TEST(ParseSerialOption, TakesTheSettingsAndRefusesAnythingElse) {
    const auto numbering = parseSerialOption("0x1F0=1000,bytes=2,format=bcd,step=5,memory=eeprom");
    ASSERT_TRUE(numbering);
    EXPECT_EQ(numbering->address, 0x1F0u);
    EXPECT_EQ(numbering->start, 1000u);
    EXPECT_EQ(numbering->bytes, 2u);
    EXPECT_EQ(numbering->format, SerialFormat::Bcd);
    EXPECT_EQ(numbering->step, 5u);
    EXPECT_EQ(numbering->memory, SerialMemory::Eeprom);
    const auto plain = parseSerialOption("16=1");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->bytes, 4u);
    EXPECT_EQ(plain->format, SerialFormat::Le);
    EXPECT_EQ(plain->step, 1u);
    EXPECT_EQ(plain->memory, SerialMemory::Flash);
    for (const char* bad : {"16", "=1", "16=", "x=1", "16=1,bytes=0", "16=1,bytes=9", "16=1,step=0",
                            "16=1,format=hex", "16=1,memory=ram", "16=1,", "16=1,colour=red"})
        EXPECT_FALSE(parseSerialOption(bad)) << bad;
}

class Serial : public CliTest {
protected:
    void SetUp() override { put("firmware.bin", Bytes(64, 0x00)); }
    int write(std::vector<std::string> options) {
        options.insert(options.end(),
                       {"--serial-file", path("serial.txt"), "write", path("firmware.bin")});
        return run(options);
    }
    std::string serialFile() const {
        std::ifstream file(path("serial.txt"));
        std::string text;
        std::getline(file, text);
        return text;
    }
    Bytes flashAt(std::size_t address, std::size_t count) const {
        const Bytes flash = programmer->flash();
        return Bytes(flash.begin() + static_cast<std::ptrdiff_t>(address),
                     flash.begin() + static_cast<std::ptrdiff_t>(address + count));
    }
};

TEST_F(Serial, EachChipGetsTheNextNumberAndOnlyASuccessUsesItUp) {
    const std::vector<std::string> serial{"--serial", "0x10=1000,bytes=2,format=be,step=3"};
    ASSERT_EQ(write(serial), 0) << err.str();
    EXPECT_EQ(flashAt(0x10, 2), (Bytes{0x03, 0xE8}));
    EXPECT_EQ(serialFile(), "1003");
    const std::vector<std::string> printed = outLines();
    EXPECT_NE(std::ranges::find(printed, "Serial number: 1000"), printed.end());
    EXPECT_EQ(get("firmware.bin"), Bytes(64, 0x00)); // never into the input file

    programmer->injectFault(Fault::ErrorAnswer, 4); // the write
    EXPECT_EQ(write(serial), 1);
    EXPECT_EQ(serialFile(), "1003");

    ASSERT_EQ(write(serial), 0) << err.str();
    EXPECT_EQ(flashAt(0x10, 2), (Bytes{0x03, 0xEB}));
    EXPECT_EQ(serialFile(), "1006");
    EXPECT_FALSE(std::filesystem::exists(path("serial.txt.lock")));
}

TEST_F(Serial, ANumberThatDoesNotFitOrLiesOutsideIsRefusedBeforeTheFirstReport) {
    EXPECT_EQ(write({"--serial", "0x10=256,bytes=1"}), 2);
    EXPECT_EQ(errLines().back(), "The serial number 256 does not fit in 1 bytes.");
    EXPECT_EQ(write({"--serial", "62=1,bytes=4"}), 2);
    EXPECT_EQ(errLines().back(), "The serial number at address 0x003E lies outside the image or "
                                 "the chip.");
    EXPECT_EQ(programmer->reportsReceived(), 0u);
    EXPECT_FALSE(std::filesystem::exists(path("serial.txt")));
}

TEST_F(Serial, ALockedFileIsNotShared) {
    SerialFile held(path("serial.txt"), 7, 1);
    EXPECT_THROW(SerialFile(path("serial.txt"), 7, 1, std::chrono::milliseconds(50)), UserError);
}

TEST_F(Serial, TheMemoryMustBeTheOneTheCommandWrites) {
    EXPECT_EQ(run({"--serial", "0=1,memory=eeprom", "write", path("firmware.bin")}), 2);
    EXPECT_EQ(run({"--serial", "0=1", "write-eeprom", path("firmware.bin")}), 2);
    EXPECT_EQ(run({"--serial", "0=1", "detect"}), 2);
    EXPECT_EQ(run({"--serial-file", path("serial.txt"), "write", path("firmware.bin")}), 2);
}

TEST_F(Serial, SeveralChipsWithoutASerialFileAreRefused) {
    for (const std::vector<std::string>& several :
         {std::vector<std::string>{"--repeat"}, std::vector<std::string>{"--programmer", "all"},
          std::vector<std::string>{"--programmer", "emulate", "--programmer", "emulate"}}) {
        std::vector<std::string> args = several;
        args.insert(args.end(), {"--serial", "0=1", "write", path("firmware.bin")});
        EXPECT_EQ(run(args), 2);
        EXPECT_EQ(errLines().front(), "With several chips (--programmer all, --programmer more "
                                      "than once, --repeat) --serial needs --serial-file, or "
                                      "every chip would get the same number.");
    }
}

} // namespace
} // namespace tarvik::cli::test
