// avr-gcc's ELF on the command line: each command takes the memory it needs, the file's
// signature guards the chip, and write-fuses --from takes the fuse and lock bytes.
#include <gtest/gtest.h>

#include <algorithm>

#include "buffer/file_io.h"
#include "cli_fixture.h"

namespace tarvik::cli::test {
namespace {

using emulator::VirtualProgrammer;

std::string fixture(const char* name) {
    return std::string(TARVIK_FIXTURES_DIR) + "/toolchains/" + name;
}
std::vector<std::uint8_t> bytesOf(const char* name) {
    return readWholeFile(fixture(name), 1);
}
bool startsWith(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}
bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::ranges::find(lines, line) != lines.end();
}

using Elf = CliTest;

TEST_F(Elf, WriteTakesTheFlashAndWriteEepromTheEeprom) {
    const std::string elf = fixture("blink_atmega8.elf");
    EXPECT_EQ(run({"write", elf}), 0) << out.str() << err.str();
    EXPECT_TRUE(startsWith(programmer->flash(), bytesOf("blink_atmega8.flash.bin")));
    EXPECT_TRUE(contains(outLines(), "EEPROM 37 bytes; fuses low E2, high D9; lock FF; built for "
                                     "signature 1E 93 07"))
        << out.str();

    EXPECT_EQ(run({"-q", "write-eeprom", elf}), 0) << out.str() << err.str();
    EXPECT_TRUE(startsWith(programmer->eeprom(), bytesOf("blink_atmega8.eeprom.bin")));
    EXPECT_EQ(run({"verify", fixture("blink_atmega8.hex")}), 0) << out.str();

    EXPECT_EQ(run({"write-eeprom", fixture("blink_atmega8.no_eeprom.elf")}), 2);
    EXPECT_EQ(err.str(), std::string("The ELF file \"") + fixture("blink_atmega8.no_eeprom.elf") +
                             "\" holds no EEPROM data.\n");
}

// The ELF names the ATmega8's signature: on another chip nothing is erased or written, unless
// --force.
TEST_F(Elf, AFileBuiltForAnotherChipIsRefusedBeforeTheErase) {
    programmer = std::make_shared<VirtualProgrammer>("ATmega16");
    const std::vector<std::uint8_t> before = programmer->flash();
    programmer->clearRecord();
    EXPECT_EQ(run({"-q", "write", fixture("blink_atmega8.elf")}), 1);
    EXPECT_TRUE(contains(outLines(), "The file was built for the signature 1E 93 07, the chip "
                                     "ATmega16 has 1E 94 03: nothing is erased or written."))
        << out.str();
    for (const emulator::RecordedReport& report : programmer->record()) {
        if (report.direction == emulator::Direction::ToDevice) {
            EXPECT_EQ(report.bytes[2], 1) << "only the signature read goes out";
        }
    }
    EXPECT_EQ(programmer->flash(), before);

    EXPECT_EQ(run({"-q", "--force", "write", fixture("blink_atmega8.elf")}), 0) << out.str();
    EXPECT_TRUE(startsWith(programmer->flash(), bytesOf("blink_atmega8.flash.bin")));
    // A HEX file names no chip.
    EXPECT_EQ(run({"-q", "verify", fixture("blink_atmega8.hex")}), 0) << out.str();
}

TEST_F(Elf, WriteFusesFromTheFile) {
    programmer->setFuses({.lock = 0xFF, .low = 0xE1, .high = 0xD9});
    EXPECT_EQ(run({"write-fuses", "--from", fixture("blink_atmega8.elf")}), 0)
        << out.str() << err.str();
    EXPECT_EQ(programmer->fuses().low, 0xE2);
    EXPECT_EQ(programmer->fuses().high, 0xD9);
    EXPECT_EQ(programmer->fuses().lock, 0xFF);
    EXPECT_TRUE(contains(outLines(), "CKSEL1: programmed → unprogrammed")) << out.str();
    EXPECT_TRUE(contains(outLines(), "CKSEL0: unprogrammed → programmed")) << out.str();
    EXPECT_EQ(outLines().back(), "Read back: every entry as written.");

    EXPECT_EQ(run({"write-fuses", "--from", fixture("blink_atmega8.elf")}), 0);
    EXPECT_EQ(outLines().back(), "The fuse/lock bits already have these values; nothing written.");
}

TEST_F(Elf, WriteFusesFromRefusals) {
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"write-fuses", "--from", fixture("blink_atmega8.hex")},
         std::string("write-fuses --from reads the fuse and lock bytes of an ELF file; \"") +
             fixture("blink_atmega8.hex") + "\" is none.\n"},
        {{"write-fuses", "--from", fixture("blink_atmega8.elf"), "EESAVE=1"},
         "write-fuses needs NAME=0|1 assignments or --from FILE, one of the two.\n"},
        {{"write-fuses"},
         "write-fuses needs NAME=0|1 assignments or --from FILE, one of the two.\n"},
        {{"write", "--from", fixture("blink_atmega8.elf"), fixture("blink_atmega8.hex")},
         "The option \"--from\" belongs to write-fuses.\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), 2);
        EXPECT_TRUE(err.str().starts_with(c.message)) << err.str();
    }
    EXPECT_EQ(programmer->fuses().low, 0xE1);

    programmer = std::make_shared<VirtualProgrammer>("ATmega16");
    EXPECT_EQ(run({"write-fuses", "--from", fixture("blink_atmega8.elf")}), 2);
    EXPECT_TRUE(err.str().ends_with(
        "The file was built for the signature 1E 93 07, the chip ATmega16 has 1E 94 03: nothing "
        "is erased or written.\nGive --force to write it anyway.\n"))
        << err.str();
}

} // namespace
} // namespace tarvik::cli::test
