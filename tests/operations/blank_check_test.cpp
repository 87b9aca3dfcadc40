// Action → Blank check: the chip read into an image of its own, the verdict in the log and the
// outcome, the buffer left alone; and the entry's caption in each language.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "form/main_menu.h"

namespace tarvik::scenario {
namespace {

class BlankCheckTest : public ::testing::Test {
protected:
    Scenario s;
    TMainForm& form = *s.form;
    std::shared_ptr<emulator::VirtualProgrammer> programmer = s.plugChip("ATmega8");
    const std::vector<std::uint8_t> buffer = patternBytes(300);

    void SetUp() override {
        // The virtual chip comes with contents of its own: a blank one first.
        ASSERT_TRUE(programmer->loadFlash(std::vector<std::uint8_t>(8192, 0xFF)));
        ASSERT_TRUE(programmer->loadEeprom(std::vector<std::uint8_t>(512, 0xFF)));
        form.nAVRISPClick();
        s.setBuffer(buffer);
    }
};

TEST_F(BlankCheckTest, ABlankChipSucceedsAndTheBufferStays) {
    ASSERT_TRUE(s.run(&TMainForm::nBlankCheckClick));
    EXPECT_EQ(form.Outcome.result, JobResult::Succeeded);
    EXPECT_EQ(form.Outcome.notBlankBytes, 0u);
    EXPECT_EQ(s.log().at(s.log().size() - 4), "blank");
    EXPECT_EQ(form.Hexeditor.bytes(), buffer);
    EXPECT_FALSE(form.BlankChecking);

    // The next read goes into the buffer as ever.
    ASSERT_TRUE(s.run(&TMainForm::bAuslesenClick));
    EXPECT_EQ(form.Hexeditor.ByteCount(), 8192u);
}

TEST_F(BlankCheckTest, AChipThatIsNotBlankFailsWithTheCountAndTheBufferStays) {
    ASSERT_TRUE(programmer->loadFlash(std::vector<std::uint8_t>(16, 0x00), 0x1FF0));
    ASSERT_TRUE(programmer->loadEeprom(std::vector<std::uint8_t>{0x12}, 5));
    ASSERT_TRUE(s.run(&TMainForm::nBlankCheckClick));
    EXPECT_EQ(form.Outcome.result, JobResult::Failed);
    EXPECT_EQ(form.Outcome.notBlankBytes, 16u);
    EXPECT_EQ(form.Outcome.failedStep, stRead);
    EXPECT_EQ(form.Outcome.errorLine, "Bytes that are not blank (not 0xFF): 16");
    EXPECT_EQ(form.Hexeditor.bytes(), buffer);

    ASSERT_TRUE(s.run(&TMainForm::BlankCheckEeprom));
    EXPECT_EQ(form.Outcome.notBlankBytes, 1u);
    EXPECT_EQ(s.log().at(s.log().size() - 4), "0x0005: 12");
    EXPECT_EQ(form.Hexeditor.bytes(), buffer);
}

TEST_F(BlankCheckTest, TheEntryIsInTheActionMenuInEveryLanguage) {
    form.sDeutschClick();
    EXPECT_EQ(form.nBlankCheck.caption, "Leertest");
    form.sEnglishClick();
    EXPECT_EQ(form.nBlankCheck.caption, "Blank check");
    form.sFranceClick();
    EXPECT_EQ(form.nBlankCheck.caption, "Проверка чистоты");
    const menu::MenuEntry* entry = menu::findMenuEntry("nBlankCheck");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->handler, &TMainForm::nBlankCheckClick);
}

} // namespace
} // namespace tarvik::scenario
