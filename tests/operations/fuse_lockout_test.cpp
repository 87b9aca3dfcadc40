// A fuse write lists what it changes, and asks before a change that locks the user out of the
// chip; nothing goes out until the user agrees.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/scenario.h"

namespace tarvik::scenario {
namespace {

constexpr std::uint8_t kWriteFuses = 7;

class FuseLockOut : public ::testing::Test {
protected:
    Scenario s;
    TMainForm& form = *s.form;
    std::shared_ptr<emulator::VirtualProgrammer> chip;

    // Puts the chip on the ISP connector and detects it.
    void detect(const char* chipName, void (TMainForm::*select)() = &TMainForm::nAVRISPClick) {
        chip = s.plugChip(chipName);
        std::invoke(select, form);
        ASSERT_TRUE(s.run(&TMainForm::bDetectDeviceClick));
    }
    // Sets an entry as the user would, and starts the fuse write.
    void set(std::string_view entry, bool programmed) {
        auto& items = form.FuseList.items;
        const auto it = std::ranges::find(items, entry, &CheckListItem::text);
        ASSERT_NE(it, items.end()) << entry;
        it->checked = programmed;
        form.FuseListClickCheck(static_cast<int>(it - items.begin()));
    }
    void startWrite() {
        chip->clearRecord();
        form.bWriteFuseClick();
    }
    // The log lines between the cleared start of the job and its end (or its question).
    std::vector<std::string> changeLines() const {
        std::vector<std::string> lines;
        for (const std::string& line : s.log()) {
            if (line.find(" → ") != std::string::npos)
                lines.push_back(line);
        }
        return lines;
    }
};

TEST_F(FuseLockOut, RstdisblAsksAndWritesNothingUnlessTheUserAgrees) {
    detect("ATmega8");
    const emulator::FuseBytes before = chip->fuses();
    set("RSTDISBL", true);
    set("CKSEL0", true);
    startWrite();
    EXPECT_EQ(changeLines(), (std::vector<std::string>{"RSTDISBL: unprogrammed → programmed",
                                                       "CKSEL0: unprogrammed → programmed"}));
    ASSERT_TRUE(form.FuseQuestion.asked);
    EXPECT_EQ(form.FuseQuestion.title, "Write fuse/lock bits");
    EXPECT_EQ(form.FuseQuestion.text, "This change can lock you out of the chip:\n"
                                      "RSTDISBL programmed: no more programming over ISP "
                                      "afterwards.\n"
                                      "Write anyway?");
    EXPECT_EQ(form.FuseQuestion.yesCaption, "Yes");
    EXPECT_EQ(form.FuseQuestion.noCaption, "No");
    // The job waits for the answer with the controls off and nothing sent.
    EXPECT_EQ(form.ProtocolState, stAskUser);
    EXPECT_FALSE(form.bProg.enabled);
    EXPECT_FALSE(form.nAuswahl.enabled);
    EXPECT_TRUE(sentCommands(*chip).empty());

    form.FuseQuestionAnswered(false);
    EXPECT_FALSE(form.FuseQuestion.asked);
    EXPECT_EQ(form.ProtocolState, stIdle);
    const auto& log = s.log();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[log.size() - 4], "Cancelled: no fuse/lock bits written.");
    EXPECT_EQ(log[log.size() - 2], "Error.");
    s.finishJob(100ms);
    EXPECT_TRUE(sentCommands(*chip).empty());
    EXPECT_EQ(chip->fuses(), before);

    // Asked again, and agreed to: the write goes out and the chip takes it.
    set("RSTDISBL", true);
    ASSERT_TRUE(s.runAnswering(&TMainForm::bWriteFuseClick, true));
    EXPECT_EQ(s.log()[s.log().size() - 2], "Successfully finished.");
    EXPECT_EQ(std::ranges::count(sentCommands(*chip), kWriteFuses), 1);
    EXPECT_EQ(chip->fuses().high & 0x80, 0); // RSTDISBL programmed
    EXPECT_EQ(chip->fuses().low & 0x01, 0);  // CKSEL0 programmed

    // What the chip took is the state the next write is compared with: nothing to ask.
    set("BODEN", true);
    startWrite();
    EXPECT_FALSE(form.FuseQuestion.asked);
    EXPECT_EQ(changeLines(), (std::vector<std::string>{"BODEN: unprogrammed → programmed"}));
}

TEST_F(FuseLockOut, OnlyChangesThatLockOutAsk) {
    struct Case {
        const char* chip;
        const char* entry;
        bool programmed;
        const char* consequence; // the question's line; nothing: no question
    };
    const Case cases[] = {
        {"ATmega8", "RSTDISBL", true,
         "RSTDISBL programmed: no more programming over ISP afterwards."},
        {"ATmega88", "DWEN", true, "DWEN programmed: no more programming over ISP afterwards."},
        {"ATtiny12", "SPIEN", false,
         "SPIEN unprogrammed: no more programming over ISP afterwards."},
        {"ATmega8", "Lock bit 1", true,
         "Lock bit 1 programmed: no more reading or writing until a chip erase."},
        {"ATtiny2313", "Lock bit 2", true,
         "Lock bit 2 programmed: no more reading or writing until a chip erase."},
        {"ATmega8", "Boot lock bit 12", true, nullptr},
        {"ATmega8", "CKOPT", true, nullptr},
        {"ATtiny12", "RSTDISBL", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.chip) + " " + c.entry);
        detect(c.chip);
        set(c.entry, c.programmed);
        startWrite();
        EXPECT_EQ(form.FuseQuestion.asked, c.consequence != nullptr);
        if (c.consequence != nullptr) {
            EXPECT_NE(form.FuseQuestion.text.find(std::string("\n") + c.consequence + "\n"),
                      std::string::npos)
                << form.FuseQuestion.text;
            EXPECT_TRUE(sentCommands(*chip).empty());
            form.FuseQuestionAnswered(false);
        }
        ASSERT_TRUE(s.finishJob());
        s.unplug();
    }
}

TEST_F(FuseLockOut, AnEntryAlreadyProgrammedOnTheChipDoesNotAsk) {
    chip = s.plugChip("ATmega8");
    chip->setFuses({.lock = 0xFF, .low = 0xE1, .high = 0x59}); // RSTDISBL programmed
    form.nAVRISPClick();
    ASSERT_TRUE(s.run(&TMainForm::bDetectDeviceClick));
    set("EESAVE", true);
    startWrite();
    EXPECT_FALSE(form.FuseQuestion.asked);
    EXPECT_EQ(changeLines(), (std::vector<std::string>{"EESAVE: unprogrammed → programmed"}));
    ASSERT_TRUE(s.finishJob());
    EXPECT_EQ(s.log()[s.log().size() - 2], "Successfully finished.");
}

TEST_F(FuseLockOut, AChipWhoseFusesAreNotReadShowsEveryEntryAsNotRead) {
    // AT90S8515 over ISP: lock bits only, never read.
    detect("AT90S8515");
    set("Lock bit 1", true);
    startWrite();
    EXPECT_EQ(changeLines(), (std::vector<std::string>{"Lock bit 1: not read → programmed",
                                                       "Lock bit 2: not read → unprogrammed"}));
    EXPECT_TRUE(form.FuseQuestion.asked);
    form.FuseQuestionAnswered(true);
    ASSERT_TRUE(s.finishJob());
    EXPECT_TRUE(chip->lockBitProgrammed(1));
}

TEST_F(FuseLockOut, TheQuestionIsInTheCurrentLanguage) {
    detect("ATmega8");
    form.sDeutschClick();
    set("Lock bit 2", true);
    startWrite();
    EXPECT_EQ(changeLines(),
              (std::vector<std::string>{"Lock bit 2: nicht programmiert → programmiert"}));
    EXPECT_EQ(form.FuseQuestion.title, "Fuse-/Lockbits schreiben");
    EXPECT_EQ(form.FuseQuestion.text,
              "Diese Änderung kann den Chip unzugänglich machen:\n"
              "Lock bit 2 programmiert: danach kein Lesen oder Schreiben mehr bis zum Löschen des "
              "Chips.\nTrotzdem schreiben?");
    EXPECT_EQ(form.FuseQuestion.yesCaption, "Ja");
    form.sFranceClick();
    form.FuseQuestionAnswered(false);
    EXPECT_EQ(s.log()[s.log().size() - 4], "Отменено: fuse/lock биты не записаны.");
}

TEST_F(FuseLockOut, UnplugWhileAskingWithdrawsTheQuestion) {
    detect("ATmega8");
    set("RSTDISBL", true);
    startWrite();
    ASSERT_TRUE(form.FuseQuestion.asked);
    s.unplug();
    EXPECT_FALSE(form.FuseQuestion.asked);
    form.FuseQuestionAnswered(true); // a late answer from a box still open does nothing
    EXPECT_TRUE(sentCommands(*chip).empty());
}

} // namespace
} // namespace tarvik::scenario
