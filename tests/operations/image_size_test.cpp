// An image larger than the memory it is for is refused once the chip is known, before anything
// is erased or written: the log names both sizes and the chip, and the job ends with the error.
#include <gtest/gtest.h>

#include <functional>

#include "support/scenario.h"

namespace tarvik::scenario {
namespace {

struct SizeCase {
    const char* chip; // the virtual chip
    void (TMainForm::*select)();
    void (TMainForm::*job)();
    std::size_t image;
    std::vector<std::uint8_t> commands; // all the job sends
    const char* refusal;                // nothing: the job goes ahead
};

const SizeCase kSizeCases[] = {
    {"ATmega8",
     &TMainForm::nAVRISPClick,
     &TMainForm::bProgClick,
     8193,
     {1, 8},
     "The image (8193 bytes) is larger than the flash of the ATmega8 (8192 bytes); nothing "
     "erased or written."},
    {"ATmega8",
     &TMainForm::nAVRISPClick,
     &TMainForm::bVerglClick,
     12288,
     {1, 8},
     "The image (12288 bytes) is larger than the flash of the ATmega8 (8192 bytes); nothing "
     "erased or written."},
    {"ATmega8",
     &TMainForm::nAVRISPClick,
     &TMainForm::bprogeepromClick,
     513,
     {1, 8},
     "The image (513 bytes) is larger than the EEPROM of the ATmega8 (512 bytes); nothing "
     "erased or written."},
    {"AT89C2051",
     &TMainForm::n89Cx051Click,
     &TMainForm::bProgClick,
     2049,
     {1},
     "The image (2049 bytes) is larger than the flash of the AT89C2051 (2048 bytes); nothing "
     "erased or written."},
    {"AT90S1200",
     &TMainForm::N90S1200Click,
     &TMainForm::bprogeepromClick,
     65,
     {1},
     "The image (65 bytes) is larger than the EEPROM of the AT90S1200 (64 bytes); nothing "
     "erased or written."},
    {"24AA00",
     &TMainForm::N24AA00Click,
     &TMainForm::bProgClick,
     17,
     {},
     "The image (17 bytes) is larger than the serial EEPROM 24AA00 / 24(L)C00 (16 bytes); "
     "nothing erased or written."},
    {"24AA00",
     &TMainForm::N24AA00Click,
     &TMainForm::bVerglClick,
     17,
     {},
     "The image (17 bytes) is larger than the serial EEPROM 24AA00 / 24(L)C00 (16 bytes); "
     "nothing erased or written."},
    // Exactly the memory's size goes ahead.
    {"ATmega8", &TMainForm::nAVRISPClick, &TMainForm::bProgClick, 8192, {}, nullptr},
    {"ATmega8", &TMainForm::nAVRISPClick, &TMainForm::bprogeepromClick, 512, {}, nullptr},
    {"24AA00", &TMainForm::N24AA00Click, &TMainForm::bProgClick, 16, {}, nullptr},
};

TEST(ImageSize, AnImageLargerThanTheMemoryIsRefusedBeforeAnythingIsErasedOrWritten) {
    for (const SizeCase& c : kSizeCases) {
        SCOPED_TRACE(std::string(c.chip) + " " + std::to_string(c.image));
        Scenario s;
        auto chip = s.plugChip(c.chip);
        std::invoke(c.select, *s.form);
        s.form->updatebuffer.checked = false;
        const std::vector<std::uint8_t> flashBefore = chip->flash();
        s.setBuffer(patternBytes(c.image));
        chip->clearRecord();
        ASSERT_TRUE(s.run(c.job));
        const std::vector<std::string>& log = s.log();
        ASSERT_GE(log.size(), 4u);
        if (c.refusal == nullptr) {
            EXPECT_EQ(log[log.size() - 2], "Successfully finished.") << testing::PrintToString(log);
            continue;
        }
        EXPECT_EQ(log[log.size() - 4], c.refusal);
        EXPECT_EQ(log[log.size() - 2], "Error.");
        EXPECT_EQ(sentCommands(*chip), c.commands); // signature and fuse read at most
        EXPECT_EQ(chip->flash(), flashBefore);
    }
}

TEST(ImageSize, TheRefusalIsInTheCurrentLanguage) {
    Scenario s;
    s.plugChip("ATmega8");
    s.form->nAVRISPClick();
    s.form->updatebuffer.checked = false;
    s.setBuffer(patternBytes(8200));
    const std::pair<void (TMainForm::*)(), const char*> languages[] = {
        {&TMainForm::sDeutschClick, "Das Abbild (8200 Byte) ist größer als der Flash des ATmega8 "
                                    "(8192 Byte); nichts gelöscht oder geschrieben."},
        {&TMainForm::sFranceClick, "Образ (8200 байт) больше flash памяти ATmega8 (8192 байт); "
                                   "ничего не стёрто и не записано."},
    };
    for (const auto& [language, refusal] : languages) {
        std::invoke(language, *s.form);
        ASSERT_TRUE(s.run(&TMainForm::bProgClick));
        EXPECT_EQ(s.log()[s.log().size() - 4], refusal);
    }
}

TEST(ImageSize, ALockedChipOfUnknownSizeIsNotRefused) {
    // "Device locked !" names no size: a program job erases the chip and so unlocks it.
    Scenario s;
    auto chip = s.plugChip("locked");
    s.form->n89Cx051Click();
    s.form->updatebuffer.checked = false;
    s.form->nverifynachprogrammieren.checked = false;
    s.setBuffer(patternBytes(64));
    chip->clearRecord();
    ASSERT_TRUE(s.run(&TMainForm::bProgClick));
    EXPECT_EQ(s.form->AutoDevice.text, "Device locked !");
    const std::vector<std::uint8_t> commands = sentCommands(*chip);
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(commands[1], 2); // the erase went out
}

} // namespace
} // namespace tarvik::scenario
