// blank-check: the flash, the data EEPROM and a serial EEPROM read into an image of their own,
// "blank" or the bytes that are not, and the exit status that says which.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_fixture.h"

namespace tarvik::cli::test {
namespace {

using BlankCheck = CliTest;

struct BlankCase {
    const char* name;
    const char* chip;
    std::vector<std::string> options;
    bool eeprom; // where the test puts its bytes
};

const BlankCase kBlankCases[] = {
    {"Flash", "ATmega8", {}, false},
    {"DataEeprom", "ATmega8", {"--eeprom"}, true},
    {"SerialEeprom", "24AA256", {"--device", "24AA256"}, false},
};

class BlankCheckOf : public CliTest, public ::testing::WithParamInterface<BlankCase> {
protected:
    // The chip of the case, blank (the virtual chips come with contents of their own).
    void insertBlankChip() {
        programmer = std::make_shared<emulator::VirtualProgrammer>(GetParam().chip);
        ASSERT_TRUE(
            programmer->loadFlash(std::vector<std::uint8_t>(programmer->flash().size(), 0xFF)));
        ASSERT_TRUE(
            programmer->loadEeprom(std::vector<std::uint8_t>(programmer->eeprom().size(), 0xFF)));
    }
    int check() {
        std::vector<std::string> args = GetParam().options;
        args.emplace_back("blank-check");
        return run(args);
    }
};

TEST_P(BlankCheckOf, SaysBlankOfABlankChip) {
    insertBlankChip();
    EXPECT_EQ(check(), 0) << out.str() << err.str();
    const std::vector<std::string> printed = outLines();
    ASSERT_GE(printed.size(), 4u);
    EXPECT_EQ(printed.at(printed.size() - 4), "blank");
    EXPECT_EQ(printed.at(printed.size() - 2), "Successfully finished.");
}

TEST_P(BlankCheckOf, NamesTheFirstTenBytesThatAreNotBlank) {
    insertBlankChip();
    std::vector<std::uint8_t> bytes(12, 0x3F);
    bytes[1] = 0xFF; // a blank byte among them is not counted
    const bool loaded = GetParam().eeprom ? programmer->loadEeprom(bytes, 0x01A3)
                                          : programmer->loadFlash(bytes, 0x01A3);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(check(), 1);
    const std::vector<std::string> printed = outLines();
    const auto count = std::ranges::find(printed, "Bytes that are not blank (not 0xFF): 11");
    ASSERT_NE(count, printed.end()) << out.str();
    const std::vector<std::string> listed(count + 1, count + 11);
    EXPECT_EQ(listed, (std::vector<std::string>{
                          "0x01A3: 3F", "0x01A5: 3F", "0x01A6: 3F", "0x01A7: 3F", "0x01A8: 3F",
                          "0x01A9: 3F", "0x01AA: 3F", "0x01AB: 3F", "0x01AC: 3F", "0x01AD: 3F"}));
    EXPECT_EQ(*(count + 11), "");
    EXPECT_EQ(*(count + 12), "Error.");
}

INSTANTIATE_TEST_SUITE_P(EveryMemory, BlankCheckOf, ::testing::ValuesIn(kBlankCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BlankCheck, TheEepromOptionBelongsToBlankCheckAndToChipsWithAnEeprom) {
    EXPECT_EQ(run({"--eeprom", "detect"}), 2);
    EXPECT_EQ(errLines().at(0), "The option \"--eeprom\" belongs to blank-check.");
    programmer = std::make_shared<emulator::VirtualProgrammer>("24AA256");
    EXPECT_EQ(run({"--device", "24AA256", "--eeprom", "blank-check"}), 2);
}

} // namespace
} // namespace tarvik::cli::test
