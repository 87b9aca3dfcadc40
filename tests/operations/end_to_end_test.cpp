// Whole jobs against the virtual programmer, one chip of each kind: program, verify, read back
// and compare; the chip EEPROM of the AVRs; fuse round trips; the socket chips' lock bits.
#include <gtest/gtest.h>

#include <functional>

#include <algorithm>
#include <iterator>
#include <vector>

#include "support/scenario.h"

namespace tarvik::scenario {
namespace {

struct ChipCase {
    const char* name;
    const char* chip; // the virtual chip
    void (TMainForm::*select)();
    std::size_t flashBytes;
    std::size_t eepromBytes; // 0: no EEPROM jobs
    int fuseToToggle;        // fuse list position the round trip programs; -1: none
    bool lockBits;           // a program job can set lock bits 1 and 2
};

const ChipCase kChips[] = {
    {"AT89C2051", "AT89C2051", &TMainForm::n89Cx051Click, 2048, 0, -1, true},
    {"AT89C51at5V", "AT89C51-5V", &TMainForm::n89C5xClick, 4096, 0, -1, true},
    {"AT89S53", "AT89S53", &TMainForm::n89SxxClick, 12288, 0, -1, false},
    {"AT90S2313InSocket", "AT90S2313", &TMainForm::N90S1200Click, 2048, 128, 3, true},
    {"ATmega8", "ATmega8", &TMainForm::nAVRISPClick, 8192, 512, 9, false},
    {"ATmega128", "ATmega128", &TMainForm::nAVRISPClick, 131072, 4096, 6, false},
    {"24AA01", "24AA01", &TMainForm::N24AA01Click, 128, 0, -1, false},
    {"24AA512", "24AA512", &TMainForm::N24AA512Click, 65536, 0, -1, false},
};

// The chips of the table that have what a test needs.
std::vector<ChipCase> chipsWith(bool (*has)(const ChipCase&)) {
    std::vector<ChipCase> chips;
    std::copy_if(std::begin(kChips), std::end(kChips), std::back_inserter(chips), has);
    return chips;
}

class EndToEnd : public ::testing::TestWithParam<ChipCase> {
protected:
    Scenario s;
    TMainForm& form = *s.form;
    std::shared_ptr<emulator::VirtualProgrammer> chip;

    void SetUp() override {
        chip = s.plugChip(GetParam().chip);
        std::invoke(GetParam().select, form);
        form.updatebuffer.checked = false;
        form.nverifynachprogrammieren.checked = true;
    }

    void expectSuccess(void (TMainForm::*job)()) {
        ASSERT_TRUE(s.run(job));
        ASSERT_GE(s.log().size(), 2u);
        EXPECT_EQ(s.log()[s.log().size() - 2], "Successfully finished.")
            << ::testing::PrintToString(s.log());
    }
};

TEST_P(EndToEnd, ProgramVerifyAndReadBack) {
    const auto image = patternBytes(GetParam().flashBytes, 1);
    s.setBuffer(image);
    expectSuccess(&TMainForm::bProgClick);
    EXPECT_EQ(chip->flash(), image);
    expectSuccess(&TMainForm::bVerglClick);

    s.setBuffer({});
    expectSuccess(&TMainForm::bAuslesenClick);
    EXPECT_EQ(form.Hexeditor.bytes(), image);

    // A changed byte is a verify failure.
    auto changed = image;
    changed[changed.size() / 2] ^= 0x01;
    s.setBuffer(changed);
    ASSERT_TRUE(s.run(&TMainForm::bVerglClick));
    EXPECT_EQ(s.log()[s.log().size() - 2], "Error.");
}

using EndToEndEeprom = EndToEnd;

TEST_P(EndToEndEeprom, ChipEepromWriteAndReadBack) {
    const auto image = patternBytes(GetParam().eepromBytes, 7);
    s.setBuffer(image);
    expectSuccess(&TMainForm::bprogeepromClick);
    EXPECT_EQ(chip->eeprom(), image);
    s.setBuffer({});
    expectSuccess(&TMainForm::breadeepromClick);
    EXPECT_EQ(form.Hexeditor.bytes(), image);
}

using EndToEndFuses = EndToEnd;

TEST_P(EndToEndFuses, FuseReadToggleWriteReadBack) {
    const int position = GetParam().fuseToToggle;
    expectSuccess(&TMainForm::bDetectDeviceClick);
    const auto before = chip->fuses();
    auto& entry = form.FuseList.items.at(static_cast<std::size_t>(position));
    ASSERT_TRUE(entry.enabled);
    const bool wasProgrammed = entry.checked;
    entry.checked = !wasProgrammed;
    form.FuseListClickCheck(position);
    ASSERT_TRUE(form.bWriteFuse.enabled);
    expectSuccess(&TMainForm::bWriteFuseClick);
    EXPECT_NE(chip->fuses(), before);

    expectSuccess(&TMainForm::bDetectDeviceClick);
    EXPECT_EQ(form.FuseList.items.at(static_cast<std::size_t>(position)).checked, !wasProgrammed);
    EXPECT_FALSE(form.bWriteFuse.enabled); // the next write needs a toggle again
}

using EndToEndLockBits = EndToEnd;

TEST_P(EndToEndLockBits, ProgramJobSetsTheTickedLockBits) {
    s.setBuffer(patternBytes(100));
    form.FuseList.items.at(0).checked = true;
    form.FuseList.items.at(1).checked = true;
    expectSuccess(&TMainForm::bProgClick);
    EXPECT_TRUE(chip->lockBitProgrammed(1));
    EXPECT_TRUE(chip->lockBitProgrammed(2));
    const auto& log = s.log();
    EXPECT_NE(std::find(log.begin(), log.end(), "programming lock bit 2..."), log.end());
}

const auto kChipName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(OneOfEachKind, EndToEnd, ::testing::ValuesIn(kChips), kChipName);
INSTANTIATE_TEST_SUITE_P(
    WithEeprom, EndToEndEeprom,
    ::testing::ValuesIn(chipsWith([](const ChipCase& c) { return c.eepromBytes > 0; })), kChipName);
INSTANTIATE_TEST_SUITE_P(WithFuses, EndToEndFuses,
                         ::testing::ValuesIn(chipsWith([](const ChipCase& c) {
                             return c.fuseToToggle >= 0;
                         })),
                         kChipName);
INSTANTIATE_TEST_SUITE_P(
    WithLockBits, EndToEndLockBits,
    ::testing::ValuesIn(chipsWith([](const ChipCase& c) { return c.lockBits; })), kChipName);

TEST(EndToEndUnplug, ProgrammerPulledMidWriteThenTheNextJobSucceeds) {
    Scenario s;
    auto chip = s.plugChip("ATmega8");
    s.form->nAVRISPClick();
    s.form->updatebuffer.checked = false;
    const auto image = patternBytes(8192, 4);
    s.setBuffer(image);
    // Signature, fuse read, erase, then ten chunks of the write before the cable goes.
    chip->injectFault(emulator::Fault::Unplug, 13);
    s.form->bProgClick();
    ASSERT_TRUE(s.runUntil([&] { return s.form->ProgrammerDevice == nullptr; }));
    EXPECT_EQ(s.form->ProtocolState, stWrite);
    EXPECT_TRUE(s.log().empty());
    EXPECT_FALSE(s.form->bProg.enabled);

    chip->clearFaults();
    s.plug(chip);
    ASSERT_TRUE(s.run(&TMainForm::bProgClick));
    EXPECT_EQ(s.log()[s.log().size() - 2], "Successfully finished.");
    EXPECT_EQ(chip->flash(), image);
}

} // namespace
} // namespace tarvik::scenario
