// Identification by signature and the fuse list layouts.
#include "chips/identification.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvik::chips {
namespace {

struct IdentCase {
    std::uint8_t s1, s2, s3;
    bool named;
    std::string_view name;
    std::string_view codeSize;
    FuseLayout layout;
    std::string_view variantA;
    std::string_view variantB;
    std::string_view socketRename;
};

class IdentifyTable : public testing::TestWithParam<IdentCase> {};

TEST_P(IdentifyTable, NamesChipSizeAndLayout) {
    const IdentCase& c = GetParam();
    const ChipIdentity id = identify(c.s1, c.s2, c.s3);
    EXPECT_EQ(id.named, c.named);
    EXPECT_EQ(id.name, c.name);
    EXPECT_EQ(id.codeSize, c.codeSize);
    EXPECT_EQ(id.layout, c.layout);
    EXPECT_EQ(id.variantA, c.variantA);
    EXPECT_EQ(id.variantB, c.variantB);
    EXPECT_EQ(id.socketRename, c.socketRename);
}

using L = FuseLayout;
INSTANTIATE_TEST_SUITE_P(
    Rows, IdentifyTable,
    testing::Values(
        // AT89 rows look at S2 alone, before any AVR row.
        IdentCase{0x1E, 0x11, 0x00, true, "AT89C1051", "1024", L::Untouched, {}, {}, {}},
        IdentCase{0x1E, 0x21, 0x00, true, "AT89C2051", "2048", L::Untouched, {}, {}, {}},
        IdentCase{0x1E, 0x51, 0xFF, true, "AT89C51", "4096", L::Untouched, {}, {}, {}},
        IdentCase{0x1E, 0x72, 0x90, true, "AT89S8252", "10240", L::Untouched, {}, {}, {}},
        // AVR rows.
        IdentCase{0x1E, 0x90, 0x01, true, "AT90S1200", "1024", L::LockPair, {}, {}, "RCEN"},
        IdentCase{0x1E, 0x91, 0x01, true, "AT90S2313", "2048", L::LockPair, {}, {}, "FSTRT"},
        IdentCase{0x1E, 0x91, 0x02, true, "AT90S/LS2323", "2048", L::StartupFuse, "FSTRT", {}, {}},
        IdentCase{0x1E, 0x91, 0x06, true, "ATtiny22", "2048", L::StartupFuse, "RCEN", {}, {}},
        IdentCase{0x1E, 0x92, 0x03, true, "AT90S/LS4433", "4096", L::AT90S2333, {}, {}, {}},
        IdentCase{0x1E, 0x93, 0x01, true, "AT90S8515", "8192", L::LockPair, {}, {}, {}},
        IdentCase{0x1E,
                  0x93,
                  0x06,
                  true,
                  "ATmega8515",
                  "8192",
                  L::ATmega8,
                  "S8515C",
                  "WDT always on",
                  {}},
        IdentCase{
            0x1E, 0x93, 0x07, true, "ATmega8", "8192", L::ATmega8, "RSTDISBL", "WDT always on", {}},
        IdentCase{0x1E,
                  0x94,
                  0x03,
                  true,
                  "ATmega16",
                  "16384",
                  L::ATmega8,
                  "Enable OCD",
                  "Enable JTAG",
                  {}},
        IdentCase{0x1E, 0x94, 0x06, true, "ATmega168", "16384", L::ATmega88, {}, {}, {}},
        IdentCase{0x1E, 0x94, 0x07, true, "ATmega165", "16384", L::ATmega169, {}, {}, {}},
        IdentCase{0x1E, 0x97, 0x02, true, "ATmega128", "131072", L::ATmega64, {}, {}, {}},
        // A 0x1E signature that no row names, including a known S2 with an unknown S3.
        IdentCase{0x1E, 0x22, 0x00, false, {}, {}, L::Untouched, {}, {}, {}},
        IdentCase{0x1E, 0x93, 0x09, false, {}, {}, L::Untouched, {}, {}, {}},
        // The locked chip: named, size and list left alone.
        IdentCase{0x00, 0x01, 0x02, true, "Device locked !", {}, L::Untouched, {}, {}, {}},
        // S1 other than 0x1E: by S2 alone, else a failure.
        IdentCase{0x55, 0x21, 0x00, true, "AT89C2051", "2048", L::Untouched, {}, {}, {}},
        IdentCase{0x00, 0x41, 0x07, true, "AT89C4051", "4096", L::Untouched, {}, {}, {}},
        IdentCase{0x55, 0x22, 0x00, false, {}, {}, L::Untouched, {}, {}, {}},
        IdentCase{0x00, 0x01, 0x03, false, {}, {}, L::Untouched, {}, {}, {}},
        IdentCase{0xFF, 0xFF, 0xFF, false, {}, {}, L::Untouched, {}, {}, {}}));

std::vector<std::string> texts(const std::vector<FuseListEntry>& list) {
    std::vector<std::string> out;
    for (const FuseListEntry& e : list)
        out.emplace_back(e.text);
    return out;
}

int lockedPosition(const std::vector<FuseListEntry>& list) {
    int found = -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].locked) {
            EXPECT_EQ(found, -1) << "more than one locked entry";
            found = static_cast<int>(i);
        }
    }
    return found;
}

TEST(FuseListLayout, ATmega8FromItsSignature) {
    const ChipIdentity id = identify(0x1E, 0x93, 0x07);
    const auto list = fuseListLayout(id.layout, id.variantA, id.variantB);
    ASSERT_EQ(list.size(), 22u);
    EXPECT_EQ(list[6].text, "RSTDISBL");
    EXPECT_EQ(list[7].text, "WDT always on");
    EXPECT_EQ(list[8].text, "SPIEN");
    EXPECT_EQ(lockedPosition(list), 8);
    EXPECT_EQ(list[4].text, "Lock bit 2");
    EXPECT_EQ(list[5].text, "Lock bit 1");
    EXPECT_EQ(list[21].text, "CKSEL0");
}

TEST(FuseListLayout, ATmega168UsesTheATmega88Layout) {
    const ChipIdentity id = identify(0x1E, 0x94, 0x06);
    const auto list = fuseListLayout(id.layout);
    ASSERT_EQ(list.size(), 25u);
    EXPECT_EQ(list[4].text, "Lock bit 2");
    EXPECT_EQ(list[5].text, "Lock bit 1");
    EXPECT_EQ(list[11].text, "SPIEN");
    EXPECT_EQ(lockedPosition(list), 11);
}

TEST(FuseListLayout, StartupFuseTakesTheChipsEntry) {
    EXPECT_EQ(texts(fuseListLayout(FuseLayout::StartupFuse, "FSTRT")),
              (std::vector<std::string>{"Lock bit 1", "Lock bit 2", "FSTRT", "SPIEN"}));
    EXPECT_EQ(lockedPosition(fuseListLayout(FuseLayout::StartupFuse, "RCEN")), 3);
}

struct LayoutShape {
    FuseLayout layout;
    std::size_t size;
    int locked;
    std::vector<std::string> firstAndLast; // first and last entry texts
};

TEST(FuseListLayout, LengthsLockedEntriesAndEnds) {
    const std::vector<LayoutShape> shapes = {
        {L::Untouched, 0, -1, {}},
        {L::LockPair, 2, -1, {"Lock bit 1", "Lock bit 2"}},
        {L::AT90S2333, 8, 7, {"Lock bit 1", "SPIEN"}},
        {L::ATtiny12, 10, -1, {"Lock bit 1", "CKSEL0"}},
        {L::ATtiny15L, 8, -1, {"Lock bit 1", "CKSEL0"}},
        {L::ATtiny13, 15, 7, {"Lock bit 1", "CKSEL0"}},
        {L::ATtiny26, 15, 3, {"Lock bit 1", "CKSEL0"}},
        {L::ATtiny2313, 19, 5, {"Lock bit 1", "CKSEL0"}},
        {L::ATmega48, 19, 5, {"Lock bit 1", "CKSEL0"}},
        {L::ATmega64, 24, 10, {"Boot lock bit 12", "CKSEL0"}},
        {L::ATmega162, 26, 12, {"Boot lock bit 12", "CKSEL0"}},
        {L::ATmega169, 25, 11, {"Boot lock bit 12", "CKSEL0"}},
        {L::ATmega88, 25, 11, {"Boot lock bit 12", "CKSEL0"}},
        {L::Socket, 4, -1, {"Lock bit 1", "RCEN/FSTRT"}},
    };
    for (const LayoutShape& s : shapes) {
        SCOPED_TRACE(static_cast<int>(s.layout));
        const auto list = fuseListLayout(s.layout);
        ASSERT_EQ(list.size(), s.size);
        EXPECT_EQ(lockedPosition(list), s.locked);
        if (!list.empty()) {
            EXPECT_EQ((std::vector<std::string>{std::string(list.front().text),
                                                std::string(list.back().text)}),
                      s.firstAndLast);
        }
    }
}

TEST(FuseListLayout, OrdersOfTheLargerLayouts) {
    EXPECT_EQ(texts(fuseListLayout(L::ATmega64)), (std::vector<std::string>{"Boot lock bit 12",
                                                                            "Boot lock bit 11",
                                                                            "Boot lock bit 02",
                                                                            "Boot lock bit 01",
                                                                            "Lock bit 2",
                                                                            "Lock bit 1",
                                                                            "ATmega103 comp. mode",
                                                                            "WDT always on",
                                                                            "Enable OCD",
                                                                            "Enable JTAG",
                                                                            "SPIEN",
                                                                            "CKOPT",
                                                                            "EESAVE",
                                                                            "BOOTSZ1",
                                                                            "BOOTSZ0",
                                                                            "BOOTRST",
                                                                            "BODLEVEL",
                                                                            "BODEN",
                                                                            "SUT1",
                                                                            "SUT0",
                                                                            "CKSEL3",
                                                                            "CKSEL2",
                                                                            "CKSEL1",
                                                                            "CKSEL0"}));
    EXPECT_EQ(texts(fuseListLayout(L::ATtiny26)),
              (std::vector<std::string>{"Lock bit 1", "Lock bit 2", "RSTDISBL", "SPIEN", "EESAVE",
                                        "BODLEVEL", "BODEN", "PLLCK", "CKOPT", "SUT1", "SUT0",
                                        "CKSEL3", "CKSEL2", "CKSEL1", "CKSEL0"}));
    EXPECT_EQ(texts(fuseListLayout(L::ATmega162)), (std::vector<std::string>{"Boot lock bit 12",
                                                                             "Boot lock bit 11",
                                                                             "Boot lock bit 02",
                                                                             "Boot lock bit 01",
                                                                             "Lock bit 2",
                                                                             "Lock bit 1",
                                                                             "ATmega161 comp. mode",
                                                                             "BODLEVEL2",
                                                                             "BODLEVEL1",
                                                                             "BODLEVEL0",
                                                                             "Enable OCD",
                                                                             "Enable JTAG",
                                                                             "SPIEN",
                                                                             "WDT always on",
                                                                             "EESAVE",
                                                                             "BOOTSZ1",
                                                                             "BOOTSZ0",
                                                                             "BOOTRST",
                                                                             "CKDIV8",
                                                                             "CKOUT",
                                                                             "SUT1",
                                                                             "SUT0",
                                                                             "CKSEL3",
                                                                             "CKSEL2",
                                                                             "CKSEL1",
                                                                             "CKSEL0"}));
}

} // namespace
} // namespace tarvik::chips
