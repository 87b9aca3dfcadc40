// The window's fuse write against the virtual programmer: the fuses go out before the lock bits
// that would freeze them, a write asked for goes out even when nothing changes, and the fuses
// read back afterwards decide the result.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/scenario.h"

namespace tarvik::scenario {
namespace {

constexpr std::uint8_t kWriteFuses = 7, kReadFuses = 8;
using Bytes = std::vector<std::uint8_t>;

class WindowFuseWrite : public ::testing::Test {
protected:
    Scenario s;
    TMainForm& form = *s.form;
    std::shared_ptr<emulator::VirtualProgrammer> chip;

    void detect(const emulator::FuseBytes& fuses) {
        chip = s.plugChip("ATmega8");
        chip->setFuses(fuses);
        chip->setRecording(true);
        form.nAVRISPClick();
        ASSERT_TRUE(s.run(&TMainForm::bDetectDeviceClick));
        chip->clearRecord();
    }
    // Sets an entry as the user would.
    void set(std::string_view entry, bool programmed) {
        auto& items = form.FuseList.items;
        const auto it = std::ranges::find(items, entry, &CheckListItem::text);
        ASSERT_NE(it, items.end()) << entry;
        it->checked = programmed;
        form.FuseListClickCheck(static_cast<int>(it - items.begin()));
    }
    // The entries (count first) of every fuse write that went out.
    std::vector<Bytes> fuseWrites() const {
        std::vector<Bytes> writes;
        for (const emulator::RecordedReport& report : chip->record()) {
            if (report.direction == emulator::Direction::ToDevice && report.bytes[2] == kWriteFuses)
                writes.emplace_back(report.bytes.begin() + 3, report.bytes.begin() + 13);
        }
        return writes;
    }
    std::string resultLine() const { return s.log()[s.log().size() - 2]; }
};

TEST_F(WindowFuseWrite, WritesTheFusesBeforeTheLockBitsAndReadsThemBack) {
    detect({.lock = 0xFF, .low = 0xE1, .high = 0xD9});
    set("Lock bit 1", true);
    set("CKSEL0", true);
    ASSERT_TRUE(s.runAnswering(&TMainForm::bWriteFuseClick, true));
    EXPECT_EQ(sentCommands(*chip), (Bytes{kWriteFuses, kWriteFuses, kReadFuses}));
    // The first write leaves the lock byte alone, the second adds lock bit 1.
    EXPECT_EQ(fuseWrites(),
              (std::vector<Bytes>{{0x03, 0xE0, 0x00, 0xFF, 0xA8, 0x00, 0xF9, 0xA0, 0x00, 0xE0},
                                  {0x03, 0xE0, 0x00, 0xFE, 0xA8, 0x00, 0xF9, 0xA0, 0x00, 0xE0}}));
    EXPECT_EQ(chip->fuses().low, 0xE0);
    EXPECT_EQ(chip->fuses().lock, 0xFE);
    EXPECT_EQ(std::ranges::count(s.log(), "programming fuse/lock bis..."), 2);
    EXPECT_EQ(std::ranges::count(s.log(), "reading fuse bis..."), 1);
    EXPECT_EQ(resultLine(), "Successfully finished.");
    EXPECT_EQ(form.Outcome.result, JobResult::Succeeded);
}

TEST_F(WindowFuseWrite, AWriteWithoutChangeStillGoesOutOnce) {
    detect({.lock = 0xFF, .low = 0xE1, .high = 0xD9});
    set("CKSEL0", true);
    set("CKSEL0", false); // toggled and back: the chip holds every mark already
    ASSERT_TRUE(s.run(&TMainForm::bWriteFuseClick));
    EXPECT_EQ(sentCommands(*chip), (Bytes{kWriteFuses, kReadFuses}));
    EXPECT_EQ(fuseWrites(),
              (std::vector<Bytes>{{0x03, 0xE0, 0x00, 0xFF, 0xA8, 0x00, 0xF9, 0xA0, 0x00, 0xE1}}));
    EXPECT_EQ(std::ranges::count_if(
                  s.log(), [](const std::string& l) { return l.find(" → ") != std::string::npos; }),
              0);
    EXPECT_EQ(resultLine(), "Successfully finished.");
}

TEST_F(WindowFuseWrite, EntriesTheChipDidNotTakeFailTheJob) {
    // Lock bit 1 programmed: the chip answers fuse writes and changes nothing.
    detect({.lock = 0xFE, .low = 0xE1, .high = 0xD9});
    set("CKSEL0", true);
    set("EESAVE", true);
    ASSERT_TRUE(s.run(&TMainForm::bWriteFuseClick));
    const std::vector<std::string>& log = s.log();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(
        (std::vector<std::string>(log.end() - 5, log.end() - 3)),
        (std::vector<std::string>{"EESAVE did not take: written programmed, reads unprogrammed.",
                                  "CKSEL0 did not take: written programmed, reads unprogrammed."}));
    EXPECT_EQ(resultLine(), "Error.");
    EXPECT_EQ(form.Outcome.result, JobResult::Failed);
    EXPECT_EQ(form.Outcome.errorLine,
              "EESAVE did not take: written programmed, reads unprogrammed.");
    EXPECT_EQ(form.Outcome.failedStep, stReadFuses);
    // The list shows what the chip holds.
    const auto cksel0 = std::ranges::find(form.FuseList.items, "CKSEL0", &CheckListItem::text);
    EXPECT_FALSE(cksel0->checked);

    form.sDeutschClick();
    set("CKSEL0", true);
    ASSERT_TRUE(s.run(&TMainForm::bWriteFuseClick));
    EXPECT_EQ(s.log()[s.log().size() - 4],
              "CKSEL0 nicht übernommen: geschrieben programmiert, gelesen nicht programmiert.");
}

} // namespace
} // namespace tarvik::scenario
