// The fuse-write plan: the lock bits in a write of their own after the fuses, no write for no
// change, the whole change judged for lock-out, and the entries the chip did not take.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "operations/engine_support.h"
#include "operations/fuse_write_plan.h"

namespace tarvik::scenario {
namespace {

class FuseWritePlanTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        form.N90S1200Click(); // the socket list: lock bits 1 and 2, SPIEN, RCEN/FSTRT
        chip = engine::fuseMarks(form.FuseList);
        form.ChipFuseMarks = chip;
    }
    std::vector<bool> chip;
};

TEST_F(FuseWritePlanTest, WritesTheFusesFirstAndTheLockBitsAfter) {
    std::vector<bool> wanted = chip;
    wanted[0] = true;     // Lock bit 1
    wanted[3] = !chip[3]; // a fuse
    const engine::FuseWritePlan plan = engine::planFuseWrite(form, wanted);
    ASSERT_EQ(plan.writes.size(), 2u);
    std::vector<bool> fusesOnly = chip;
    fusesOnly[3] = wanted[3];
    EXPECT_EQ(plan.writes[0], fusesOnly);
    EXPECT_EQ(plan.writes[1], wanted);
    EXPECT_TRUE(engine::locksOut(plan.changes));
    EXPECT_EQ(engine::fuseMarks(form.FuseList), chip); // the list is left as it was
}

TEST_F(FuseWritePlanTest, WritesOnceForOneKindAndNeverForNoChange) {
    std::vector<bool> wanted = chip;
    wanted[3] = !chip[3];
    EXPECT_EQ(engine::planFuseWrite(form, wanted).writes.size(), 1u);
    EXPECT_FALSE(engine::locksOut(engine::planFuseWrite(form, wanted).changes));
    wanted = chip;
    wanted[1] = true; // Lock bit 2 alone
    EXPECT_EQ(engine::planFuseWrite(form, wanted).writes, std::vector<std::vector<bool>>{wanted});
    EXPECT_TRUE(engine::planFuseWrite(form, chip).writes.empty());
}

TEST_F(FuseWritePlanTest, NamesTheEntriesTheChipDidNotTake) {
    std::vector<bool> written = chip;
    written[0] = true;
    written[3] = !chip[3];
    form.FuseList.items[3].checked = written[3]; // taken; lock bit 1 was not
    const std::vector<engine::FuseNotTaken> notTaken =
        engine::fusesNotTaken(written, form.FuseList);
    ASSERT_EQ(notTaken.size(), 1u);
    EXPECT_EQ(notTaken[0].index, 0u);
    EXPECT_TRUE(notTaken[0].written);
    EXPECT_FALSE(notTaken[0].readBack);
}

TEST(IsLockBitEntry, TellsLockBitsFromFuses) {
    for (const char* name : {"Lock bit 1", "Boot lock bit 02", "LOCK BIT 2"})
        EXPECT_TRUE(engine::isLockBitEntry(name)) << name;
    for (const char* name : {"SPIEN", "RSTDISBL", "Lock", "bit"})
        EXPECT_FALSE(engine::isLockBitEntry(name)) << name;
}

} // namespace
} // namespace tarvik::scenario
