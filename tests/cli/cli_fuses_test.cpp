// read-fuses and write-fuses: the list as the chip holds it, the named entries written, and
// names refused before anything reaches the chip.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_fixture.h"

namespace tarvik::cli::test {
namespace {

using emulator::FuseBytes;
using emulator::VirtualProgrammer;

using Fuses = CliTest;

TEST_F(Fuses, ReadFusesShowsEveryEntryWithItsState) {
    programmer->setFuses({.lock = 0xFC, .low = 0xE1, .high = 0xD9});
    EXPECT_EQ(run({"read-fuses"}), 0) << err.str();
    const std::vector<std::string> printed = outLines();
    const auto first = std::ranges::find(printed, "  Boot lock bit 12  unprogrammed");
    ASSERT_NE(first, printed.end()) << out.str();
    const std::vector<std::string> expected{
        "  Boot lock bit 12  unprogrammed",        "  Boot lock bit 11  unprogrammed",
        "  Boot lock bit 02  unprogrammed",        "  Boot lock bit 01  unprogrammed",
        "  Lock bit 2        programmed",          "  Lock bit 1        programmed",
        "  RSTDISBL          unprogrammed",        "  WDT always on     unprogrammed",
        "  SPIEN             programmed (locked)", "  CKOPT             unprogrammed",
        "  EESAVE            unprogrammed",        "  BOOTSZ1           programmed",
        "  BOOTSZ0           programmed",          "  BOOTRST           unprogrammed",
        "  BODLEVEL          unprogrammed",        "  BODEN             unprogrammed",
        "  SUT1              unprogrammed",        "  SUT0              programmed",
        "  CKSEL3            programmed",          "  CKSEL2            programmed",
        "  CKSEL1            programmed",          "  CKSEL0            unprogrammed"};
    EXPECT_EQ(std::vector<std::string>(first, first + 22), expected);
    EXPECT_EQ(printed.at(printed.size() - 2), "Successfully finished.");
}

TEST_F(Fuses, ReadFusesOfAChipWithoutFuseReadIsRefused) {
    programmer = std::make_shared<VirtualProgrammer>("AT90S8515");
    EXPECT_EQ(run({"read-fuses"}), 2);
    EXPECT_EQ(err.str(), "The fuse bits of the AT90S8515 cannot be read.\n");
}

TEST_F(Fuses, WriteFusesSetsTheNamedEntriesOnly) {
    const FuseBytes before = programmer->fuses(); // lock FF, low E1, high D9
    EXPECT_EQ(run({"write-fuses", "cksel0=1", "BOOTRST=0", "sut0 = 0"}), 0)
        << out.str() << err.str();
    FuseBytes after = programmer->fuses();
    EXPECT_EQ(after.low, 0xF0);         // CKSEL0 programmed, SUT0 unprogrammed
    EXPECT_EQ(after.high, before.high); // BOOTRST was unprogrammed already, SPIEN kept
    EXPECT_EQ(after.lock, before.lock);
    const std::vector<std::string> printed = outLines();
    // The changes, before the write; then the fuses read back.
    const auto write = std::ranges::find(printed, "programming fuse/lock bis...");
    ASSERT_NE(write, printed.end()) << out.str();
    EXPECT_EQ(std::vector<std::string>(write - 2, write),
              (std::vector<std::string>{"SUT0: programmed → unprogrammed",
                                        "CKSEL0: unprogrammed → programmed"}));
    EXPECT_EQ(printed.back(), "Read back: every entry as written.");
    // detect, and the write that reads the fuses back
    EXPECT_EQ(std::ranges::count(printed, "Successfully finished."), 2);

    // A lock bit and a fuse together: the fuse is written before lock bit 1 locks the fuses.
    EXPECT_EQ(run({"--force", "write-fuses", "Lock bit 1=1", "BODEN=1"}), 0) << err.str();
    after = programmer->fuses();
    EXPECT_EQ(after.lock, 0xFE);
    EXPECT_EQ(after.low, 0xB0); // BODEN programmed too
    EXPECT_EQ(std::ranges::count(outLines(), "programming fuse/lock bis..."), 2);

    // Asking for what the chip already holds writes nothing.
    const std::size_t reports = programmer->reportsReceived();
    EXPECT_EQ(run({"write-fuses", "CKSEL0=1", "LOCK BIT 1=1"}), 0);
    EXPECT_EQ(outLines().back(), "The fuse/lock bits already have these values; nothing written.");
    EXPECT_EQ(programmer->reportsReceived() - reports, 2u); // signature and fuse read only
}

TEST_F(Fuses, AChangeThatLocksOutNeedsForce) {
    const FuseBytes before = programmer->fuses();
    programmer->clearRecord();
    EXPECT_EQ(run({"write-fuses", "RSTDISBL=1", "Lock bit 2=1", "EESAVE=1"}), 2);
    EXPECT_EQ(err.str(), "Lock bit 2 programmed: no more reading or writing until a chip erase.\n"
                         "RSTDISBL programmed: no more programming over ISP afterwards.\n"
                         "Not written: this change can lock you out of the chip; give --force "
                         "to write it anyway.\n");
    EXPECT_EQ(programmer->fuses(), before);
    for (const emulator::RecordedReport& report : programmer->record())
        EXPECT_NE(report.bytes[2], 7); // no fuse write went out

    EXPECT_EQ(run({"--force", "write-fuses", "RSTDISBL=1"}), 0) << err.str();
    EXPECT_EQ(programmer->fuses().high, before.high & 0x7F);
    EXPECT_EQ(outLines().back(), "Read back: every entry as written.");
}

TEST_F(Fuses, AnEntryTheChipDidNotTakeIsReported) {
    // Lock bit 1 programmed: the chip takes fuse writes and changes nothing.
    programmer->setFuses({.lock = 0xFE, .low = 0xE1, .high = 0xD9});
    EXPECT_EQ(run({"write-fuses", "CKSEL0=1", "EESAVE=1"}), 1);
    EXPECT_EQ(err.str(), "EESAVE did not take: written programmed, reads unprogrammed.\n"
                         "CKSEL0 did not take: written programmed, reads unprogrammed.\n");
    EXPECT_EQ(run({"--lang", "de", "write-fuses", "CKSEL0=1"}), 1);
    EXPECT_EQ(err.str(),
              "CKSEL0 nicht übernommen: geschrieben programmiert, gelesen nicht programmiert.\n");
}

TEST_F(Fuses, WriteFusesRefusesBeforeWriting) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"write-fuses", "CKSEL0=1", "NOSUCH=1"},
         "The chip ATmega8 has no fuse list entry \"NOSUCH\".\nNothing was written.\n"},
        {{"write-fuses", "spien=0"},
         "The entry \"SPIEN\" is locked and cannot be changed.\nNothing was written.\n"},
        {{"write-fuses", "CKSEL0=2"}, "\"CKSEL0=2\" is not an assignment NAME=0 or NAME=1.\n"},
        {{"write-fuses", "CKSEL0"}, "\"CKSEL0\" is not an assignment NAME=0 or NAME=1.\n"},
        {{"write-fuses", "CKSEL0=1", "cksel0=0"},
         "The entry \"cksel0\" is given more than once with different values.\n"},
        {{"--device", "89Cx051", "write-fuses", "Lock bit 1=1"},
         "\"write-fuses\" is not available for the device \"89Cx051 (autodetect)\".\n"},
    };
    const FuseBytes before = programmer->fuses();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        programmer->clearRecord();
        const std::size_t reports = programmer->reportsReceived();
        EXPECT_EQ(run(c.args), 2);
        EXPECT_EQ(err.str(), c.message);
        EXPECT_LE(programmer->reportsReceived() - reports, 2u); // at most signature and fuse read
        EXPECT_EQ(programmer->fuses(), before);
    }
}

} // namespace
} // namespace tarvik::cli::test
