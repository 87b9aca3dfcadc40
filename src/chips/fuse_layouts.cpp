// The fuse list layouts: the entries each chip's list shows, in position order, and which of
// them is locked against the user's toggling.
#include "chips/identification.h"

#include <array>
#include <span>

namespace tarvik::chips {
namespace {

// Stand-ins for the entries whose text the chip's identification row supplies.
constexpr std::string_view kA = "<A>";
constexpr std::string_view kB = "<B>";
constexpr std::string_view kX = kA; // the start-up fuse layout's chip-specific entry

constexpr std::string_view kLockPair[] = {"Lock bit 1", "Lock bit 2"};
constexpr std::string_view kStartupFuse[] = {"Lock bit 1", "Lock bit 2", kX, "SPIEN"};
constexpr std::string_view kAT90S2333[] = {"Lock bit 1", "Lock bit 2", "CKSEL0",   "CKSEL1",
                                           "CKSEL2",     "BODEN",      "BODLEVEL", "SPIEN"};
constexpr std::string_view kATtiny12[] = {"Lock bit 1", "Lock bit 2", "BODLEVEL", "BODEN",
                                          "SPIEN",      "RSTDISBL",   "CKSEL3",   "CKSEL2",
                                          "CKSEL1",     "CKSEL0"};
constexpr std::string_view kATtiny15L[] = {"Lock bit 1", "Lock bit 2", "BODLEVEL", "BODEN",
                                           "SPIEN",      "RSTDISBL",   "CKSEL1",   "CKSEL0"};
constexpr std::string_view kATtiny13[] = {"Lock bit 1", "Lock bit 2",    "SELFPRGEN", "DWEN",
                                          "BODLEVEL1",  "BODLEVEL0",     "RSTDISBL",  "SPIEN",
                                          "EESAVE",     "WDT always on", "CKDIV8",    "SUT1",
                                          "SUT0",       "CKSEL1",        "CKSEL0"};
constexpr std::string_view kATtiny26[] = {
    "Lock bit 1", "Lock bit 2", "RSTDISBL", "SPIEN",  "EESAVE", "BODLEVEL", "BODEN", "PLLCK",
    "CKOPT",      "SUT1",       "SUT0",     "CKSEL3", "CKSEL2", "CKSEL1",   "CKSEL0"};
constexpr std::string_view kATtiny2313[] = {
    "Lock bit 1", "Lock bit 2", "SELFPRGEN", "DWEN",     "EESAVE", "SPIEN", "WDT always on",
    "BODLEVEL2",  "BODLEVEL1",  "BODLEVEL0", "RSTDISBL", "CKDIV8", "CKOUT", "SUT1",
    "SUT0",       "CKSEL3",     "CKSEL2",    "CKSEL1",   "CKSEL0"};
constexpr std::string_view kATmega48[] = {
    "Lock bit 1", "Lock bit 2", "SELFPRGEN", "RSTDISBL",  "DWEN",   "SPIEN", "WDT always on",
    "EESAVE",     "BODLEVEL2",  "BODLEVEL1", "BODLEVEL0", "CKDIV8", "CKOUT", "SUT1",
    "SUT0",       "CKSEL3",     "CKSEL2",    "CKSEL1",    "CKSEL0"};
constexpr std::string_view kATmega8[] = {"Boot lock bit 12",
                                         "Boot lock bit 11",
                                         "Boot lock bit 02",
                                         "Boot lock bit 01",
                                         "Lock bit 2",
                                         "Lock bit 1",
                                         kA,
                                         kB,
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
                                         "CKSEL0"};
constexpr std::string_view kATmega64[] = {"Boot lock bit 12",
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
                                          "CKSEL0"};
constexpr std::string_view kATmega162[] = {"Boot lock bit 12",
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
                                           "CKSEL0"};
constexpr std::string_view kATmega169[] = {"Boot lock bit 12",
                                           "Boot lock bit 11",
                                           "Boot lock bit 02",
                                           "Boot lock bit 01",
                                           "Lock bit 2",
                                           "Lock bit 1",
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
                                           "CKSEL0"};
constexpr std::string_view kATmega88[] = {"Boot lock bit 12",
                                          "Boot lock bit 11",
                                          "Boot lock bit 02",
                                          "Boot lock bit 01",
                                          "Lock bit 2",
                                          "Lock bit 1",
                                          "BOOTSZ1",
                                          "BOOTSZ0",
                                          "BOOTRST",
                                          "RSTDISBL",
                                          "DWEN",
                                          "SPIEN",
                                          "WDT always on",
                                          "EESAVE",
                                          "BODLEVEL2",
                                          "BODLEVEL1",
                                          "BODLEVEL0",
                                          "CKDIV8",
                                          "CKOUT",
                                          "SUT1",
                                          "SUT0",
                                          "CKSEL3",
                                          "CKSEL2",
                                          "CKSEL1",
                                          "CKSEL0"};
constexpr std::string_view kSocket[] = {"Lock bit 1", "Lock bit 2", "SPIEN", "RCEN/FSTRT"};

constexpr int kNoneLocked = -1;

struct LayoutRow {
    FuseLayout layout;
    std::span<const std::string_view> entries;
    int lockedPosition; // the entry added disabled, or kNoneLocked
};

using L = FuseLayout;
constexpr auto kLayouts = std::to_array<LayoutRow>({
    {L::LockPair, kLockPair, kNoneLocked},
    {L::StartupFuse, kStartupFuse, 3},
    {L::AT90S2333, kAT90S2333, 7},
    {L::ATtiny12, kATtiny12, kNoneLocked},
    {L::ATtiny15L, kATtiny15L, kNoneLocked},
    {L::ATtiny13, kATtiny13, 7},
    {L::ATtiny26, kATtiny26, 3},
    {L::ATtiny2313, kATtiny2313, 5},
    {L::ATmega48, kATmega48, 5},
    {L::ATmega8, kATmega8, 8},
    {L::ATmega64, kATmega64, 10},
    {L::ATmega162, kATmega162, 12},
    {L::ATmega169, kATmega169, 11},
    {L::ATmega88, kATmega88, 11},
    {L::Socket, kSocket, kNoneLocked},
});

} // namespace

std::vector<FuseListEntry> fuseListLayout(FuseLayout layout, std::string_view variantA,
                                          std::string_view variantB) {
    std::vector<FuseListEntry> list;
    for (const LayoutRow& row : kLayouts) {
        if (row.layout != layout)
            continue;
        for (const std::string_view text : row.entries) {
            const bool locked = static_cast<int>(list.size()) == row.lockedPosition;
            list.push_back({text == kA ? variantA : text == kB ? variantB : text, locked});
        }
    }
    return list;
}

} // namespace tarvik::chips
