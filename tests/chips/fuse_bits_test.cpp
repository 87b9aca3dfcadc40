// Fuse and lock bits: read requests, bytes read → check marks, check marks → write entries,
// calibration bytes and the AT90S socket's byte images.
#include "chips/fuse_bits.h"
#include "chips/identification.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace tarvik::chips {
namespace {

using Entries = std::vector<FuseEntryBytes>;

std::vector<bool> marks(std::size_t size, std::initializer_list<int> checkedPositions) {
    std::vector<bool> list(size, false);
    for (int p : checkedPositions)
        list.at(p) = true;
    return list;
}

std::vector<int> checkedPositions(const std::vector<bool>& list) {
    std::vector<int> out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i])
            out.push_back(static_cast<int>(i));
    }
    return out;
}

TEST(FuseReadRequest, EntriesPerChip) {
    EXPECT_EQ(fuseReadRequest("ATmega8"), (Entries{{0x58, 0x00, 0x00},
                                                   {0x50, 0x00, 0x00},
                                                   {0x58, 0x08, 0x00},
                                                   {0x38, 0x00, 0x00},
                                                   {0x38, 0x00, 0x01},
                                                   {0x38, 0x00, 0x02},
                                                   {0x38, 0x00, 0x03}}));
    EXPECT_EQ(fuseReadRequest("ATtiny2313"), (Entries{{0x58, 0x00, 0x00},
                                                      {0x50, 0x00, 0x00},
                                                      {0x58, 0x08, 0x00},
                                                      {0x50, 0x08, 0x00},
                                                      {0x38, 0x00, 0x00},
                                                      {0x38, 0x00, 0x01}}));
    EXPECT_EQ(fuseReadRequest("AT90S/LS4433"), (Entries{{0x58, 0x00, 0x00}, {0x50, 0x00, 0x00}}));

    const std::pair<std::string_view, std::size_t> counts[] = {
        {"AT90S/LS2323", 1}, {"ATtiny22", 1},  {"AT90S/LS2333", 2},    {"ATtiny15L", 3},
        {"ATmega16", 4},     {"ATtiny26", 7},  {"ATmega165", 5},       {"ATmega128", 8},
        {"AT90S8515", 0},    {"AT90S1200", 0}, {"Device locked !", 0}, {"AT89C51", 0},
    };
    for (const auto& [name, count] : counts)
        EXPECT_EQ(fuseReadRequest(name).size(), count) << name;
}

struct WriteCase {
    std::string_view chip;
    std::size_t listSize;
    std::initializer_list<int> checked;
    Entries expected;
};

TEST(FuseWriteEntries, ComposedFromCheckMarks) {
    const WriteCase cases[] = {
        // Newer chips: lock, high, low (, extended); unmapped bits are 1.
        {"ATmega8", 22, {}, {{0xE0, 0, 0xFF}, {0xA8, 0, 0xFF}, {0xA0, 0, 0xFF}}},
        {"ATmega8", 22, {21}, {{0xE0, 0, 0xFF}, {0xA8, 0, 0xFF}, {0xA0, 0, 0xFE}}},
        {"ATmega8", 22, {4, 5}, {{0xE0, 0, 0xFC}, {0xA8, 0, 0xFF}, {0xA0, 0, 0xFF}}},
        // The locked SPIEN entry shown checked never clears its bit.
        {"ATmega8", 22, {8, 11, 12}, {{0xE0, 0, 0xFF}, {0xA8, 0, 0xF9}, {0xA0, 0, 0xFF}}},
        {"ATmega32", 22, {6, 7}, {{0xE0, 0, 0xFF}, {0xA8, 0, 0x3F}, {0xA0, 0, 0xFF}}},
        {"ATmega128",
         24,
         {6},
         {{0xE0, 0, 0xFF}, {0xA8, 0, 0xFF}, {0xA0, 0, 0xFF}, {0xA4, 0, 0xFD}}},
        {"ATmega162",
         26,
         {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
          13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25},
         {{0xE0, 0, 0xC0}, {0xA8, 0, 0x20}, {0xA0, 0, 0x00}, {0xA4, 0, 0xE1}}},
        {"ATmega48",
         19,
         {0, 2, 5},
         {{0xE0, 0, 0xFE}, {0xA8, 0, 0xFF}, {0xA0, 0, 0xFF}, {0xA4, 0, 0xFE}}},
        {"ATtiny13", 15, {7}, {{0xE0, 0, 0xFF}, {0xA8, 0, 0xFF}, {0xA0, 0, 0xFF}}},
        {"ATtiny13", 15, {1, 2, 14}, {{0xE0, 0, 0xFD}, {0xA8, 0, 0xEF}, {0xA0, 0, 0xFE}}},
        // ATtiny26: the lock bits travel as 1111 11ii in the entry's first byte.
        {"ATtiny26", 15, {}, {{0xFF, 0, 0}, {0xA8, 0, 0xFF}, {0xA0, 0, 0xFF}}},
        {"ATtiny26", 15, {0}, {{0xFE, 0, 0}, {0xA8, 0, 0xFF}, {0xA0, 0, 0xFF}}},
        {"ATtiny26", 15, {0, 1, 3, 14}, {{0xFC, 0, 0}, {0xA8, 0, 0xFF}, {0xA0, 0, 0xFE}}},
        // Older chips: lock entry v 00 00 with bits 1 and 2, then the fuse entry.
        {"ATtiny12", 10, {4}, {{0xFF, 0, 0}, {0xA0, 0, 0xDF}}},
        {"ATtiny15L", 8, {0, 1, 2, 3, 4, 5, 6, 7}, {{0xF9, 0, 0}, {0xA0, 0, 0x0C}}},
        {"AT90S/LS2333", 8, {0, 1, 2, 3, 4, 5, 6, 7}, {{0xF9, 0, 0}, {0xA0, 0, 0}}},
        {"AT90S/LS4433", 8, {2}, {{0xFF, 0, 0}, {0xBE, 0, 0}}},
        {"AT90S/LS2323", 4, {2}, {{0xFF, 0, 0}, {0xBE, 0, 0}}},
        {"AT90S/LS2323", 4, {}, {{0xFF, 0, 0}, {0xBF, 0, 0}}},
        {"AT90S/LS2323", 4, {0}, {{0xFD, 0, 0}, {0xBF, 0, 0}}},
        {"AT90S/LS8535", 4, {1, 2, 3}, {{0xFB, 0, 0}, {0xBE, 0, 0}}},
        {"AT90S8515", 2, {}, {{0xFF, 0, 0}}},
        {"AT90S2313", 2, {0, 1}, {{0xF9, 0, 0}}},
        // Names outside the tables get no entries.
        {"Device locked !", 22, {}, {}},
        {"AT89C51", 2, {0}, {}},
        {"", 0, {}, {}},
        // A list shorter than the chip's mapping is not the chip's list: nothing is guessed.
        {"ATmega8", 21, {}, {}},
        {"ATmega8", 0, {}, {}},
    };
    for (const WriteCase& c : cases) {
        EXPECT_EQ(fuseWriteEntries(c.chip, marks(c.listSize, c.checked)), c.expected)
            << c.chip << " with " << c.listSize << " entries";
    }
}

TEST(FuseBits, EveryIdentifiedAvrHasItsRequestAndMapping) {
    // Each AVR the identification names is read (except the three never asked) and its mapping
    // covers exactly the list its identification builds.
    for (int s2 = 0x90; s2 <= 0x97; ++s2) {
        for (int s3 = 0; s3 <= 0x0A; ++s3) {
            const ChipIdentity id = identify(0x1E, s2, s3);
            if (!id.named)
                continue;
            SCOPED_TRACE(std::string(id.name));
            const bool neverRead =
                id.name == "AT90S1200" || id.name == "AT90S2313" || id.name == "AT90S8515";
            EXPECT_EQ(fuseReadRequest(id.name).empty(), neverRead);
            EXPECT_EQ(fuseListPositions(id.name),
                      fuseListLayout(id.layout, id.variantA, id.variantB).size());
        }
    }
    EXPECT_EQ(fuseListPositions("Device locked !"), 0u);
}

TEST(ApplyFuseBytes, ATmega8LockAndHighBytes) {
    std::vector<bool> list(22, false);
    applyFuseBytes("ATmega8", {0xFC, 0xFF, 0xD9}, list);
    EXPECT_EQ(checkedPositions(list), (std::vector<int>{4, 5, 8, 11, 12}));
}

TEST(ApplyFuseBytes, TouchesOnlyMappedPositionsAndWhatArrived) {
    // Only the lock byte arrived: the fuse positions keep their marks.
    std::vector<bool> list(22, true);
    applyFuseBytes("ATmega8", {0xFF}, list);
    EXPECT_EQ(checkedPositions(list),
              (std::vector<int>{6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));

    // A list shorter than the layout takes what fits.
    std::vector<bool> shortList(3, false);
    applyFuseBytes("ATmega8", {0x00, 0x00, 0x00, 0x00}, shortList);
    EXPECT_EQ(shortList, (std::vector<bool>{true, true, true}));

    // Unknown names and empty answers change nothing.
    std::vector<bool> untouched = marks(22, {1, 9});
    applyFuseBytes("Device locked !", {0x00, 0x00, 0x00}, untouched);
    applyFuseBytes("ATmega8", {}, untouched);
    EXPECT_EQ(checkedPositions(untouched), (std::vector<int>{1, 9}));
}

TEST(ApplyFuseBytes, OlderChipsReadingColumn) {
    struct ReadCase {
        std::string_view chip;
        std::size_t listSize;
        std::vector<std::uint8_t> values;
        std::vector<int> checked;
    };
    const ReadCase cases[] = {
        // R2 bits 0..5 → positions 2..7 (CKSEL0 … SPIEN).
        {"AT90S/LS4433", 8, {0xFB, 0xDE}, {1, 2, 7}},
        {"AT90S/LS2333", 8, {0xFD, 0xFF}, {0}},
        // The combined byte: bit 7 → 0, bit 6 → 1, bit 0 → 2, bit 5 → 3.
        {"AT90S/LS2323", 4, {0x5E}, {0, 2, 3}},
        {"ATtiny22", 4, {0xBF}, {1}},
        {"ATtiny12", 10, {0xFF, 0x7E}, {2, 9}},
        {"ATtiny15L", 8, {0xF9, 0x0C}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"ATtiny15L", 8, {0xFF, 0xF3}, {}},
        // Lock pair chips are not read.
        {"AT90S8515", 2, {0x00}, {}},
    };
    for (const ReadCase& c : cases) {
        std::vector<bool> list(c.listSize, false);
        applyFuseBytes(c.chip, c.values, list);
        EXPECT_EQ(checkedPositions(list), c.checked) << c.chip;
    }
}

// Reading bytes into a list and writing the list gives the bytes back, with every bit no
// position stands for, and SPIEN, written as 1.
TEST(FuseBits, ReadThenWriteRoundTripsEveryNewerLayout) {
    struct Chip {
        std::string_view name;
        std::uint8_t lockUnmapped, highKept, lowKept, extKept;
        bool hasExtended;
    };
    const Chip chips[] = {
        {"ATmega8", 0xC0, 0x20, 0x00, 0, false},      {"ATmega128", 0xC0, 0x20, 0x00, 0xFC, true},
        {"ATmega162", 0xC0, 0x20, 0x00, 0xE1, true},  {"ATmega165", 0xC0, 0x20, 0x00, 0xF1, true},
        {"ATmega168", 0xC0, 0x20, 0x00, 0xF8, true},  {"ATmega48", 0xFC, 0x20, 0x00, 0xFE, true},
        {"ATtiny2313", 0xFC, 0x20, 0x00, 0xFE, true}, {"ATtiny13", 0xFC, 0xE0, 0x80, 0, false},
        {"ATtiny26", 0xFC, 0xE8, 0x00, 0, false},
    };
    for (const Chip& chip : chips) {
        for (const std::uint8_t b : {0x00, 0xA5, 0x5A, 0xFF}) {
            SCOPED_TRACE(std::string(chip.name) + " " + std::to_string(b));
            const std::uint8_t lock = b, low = b ^ 0x0F, high = b ^ 0xF0, ext = ~b & 0xFF;
            std::vector<bool> list(fuseListPositions(chip.name), false);
            applyFuseBytes(chip.name, {lock, low, high, ext}, list);
            const Entries written = fuseWriteEntries(chip.name, list);
            ASSERT_EQ(written.size(), chip.hasExtended ? 4u : 3u);
            const std::uint8_t lockOut = lock | chip.lockUnmapped;
            const FuseEntryBytes lockEntry = chip.name == "ATtiny26"
                                                 ? FuseEntryBytes{lockOut, 0, 0}
                                                 : FuseEntryBytes{0xE0, 0, lockOut};
            EXPECT_EQ(written[0], lockEntry);
            EXPECT_EQ(written[1], (FuseEntryBytes{0xA8, 0, std::uint8_t(high | chip.highKept)}));
            EXPECT_EQ(written[2], (FuseEntryBytes{0xA0, 0, std::uint8_t(low | chip.lowKept)}));
            if (chip.hasExtended) {
                EXPECT_EQ(written[3], (FuseEntryBytes{0xA4, 0, std::uint8_t(ext | chip.extKept)}));
            }
        }
    }
}

TEST(FuseBits, ATmega8ReadBackWrittenUnchanged) {
    std::vector<bool> list(22, false);
    applyFuseBytes("ATmega8", {0xFF, 0xE1, 0xD9}, list);
    EXPECT_EQ(fuseWriteEntries("ATmega8", list),
              (Entries{{0xE0, 0x00, 0xFF}, {0xA8, 0x00, 0xF9}, {0xA0, 0x00, 0xE1}}));
}

TEST(CalibrationBytes, TakenFromTheCalibrationEntriesOfTheRequest) {
    struct CalCase {
        std::string_view chip;
        std::size_t arrived; // values 1, 2, 3 … (payload byte k carries k)
        std::vector<std::uint8_t> expected;
    };
    const CalCase cases[] = {
        {"ATtiny12", 63, {3}},          {"ATtiny15L", 63, {3}},
        {"ATmega16", 63, {4}},          {"ATmega8", 63, {4, 5, 6, 7}},
        {"ATtiny26", 63, {4, 5, 6, 7}}, {"ATmega88", 63, {5}},
        {"ATtiny2313", 63, {5, 6}},     {"ATmega64", 63, {5, 6, 7, 8}},
        {"ATmega64", 6, {5, 6}}, // a short answer gives what arrived
        {"AT90S/LS2323", 63, {}},       {"AT90S/LS4433", 63, {}},
        {"Device locked !", 63, {}},
    };
    for (const CalCase& c : cases) {
        std::vector<std::uint8_t> values;
        for (std::size_t k = 1; k <= c.arrived; ++k)
            values.push_back(static_cast<std::uint8_t>(k));
        EXPECT_EQ(calibrationBytes(c.chip, values), c.expected) << c.chip;
    }
}

TEST(SocketFuseBits, WriteImages) {
    const auto write = [](std::initializer_list<int> checked) {
        const SocketFuseBytes b = socketFuseWrite(marks(4, checked));
        return std::pair{b.lock, b.fuse};
    };
    EXPECT_EQ(write({}), (std::pair<std::uint8_t, std::uint8_t>{0xFF, 0xFF}));
    EXPECT_EQ(write({0, 3}), (std::pair<std::uint8_t, std::uint8_t>{0xFD, 0xFE}));
    EXPECT_EQ(write({1, 2}), (std::pair<std::uint8_t, std::uint8_t>{0xFB, 0xDF}));
    // A list that lost its socket entries writes nothing programmed for the missing ones.
    const SocketFuseBytes shortList = socketFuseWrite(marks(1, {0}));
    EXPECT_EQ(shortList.lock, 0xFD);
    EXPECT_EQ(shortList.fuse, 0xFF);
}

TEST(SocketFuseBits, ReadByte) {
    std::vector<bool> list(4, false);
    applySocketFuseByte(0x7E, list); // bit 7 → 0, bit 6 → 1, bit 5 → 2, bit 0 → 3
    EXPECT_EQ(checkedPositions(list), (std::vector<int>{0, 3}));
    applySocketFuseByte(0x1F, list);
    EXPECT_EQ(checkedPositions(list), (std::vector<int>{0, 1, 2}));
    std::vector<bool> shortList(2, false);
    applySocketFuseByte(0x00, shortList);
    EXPECT_EQ(shortList, (std::vector<bool>{true, true}));
}

} // namespace
} // namespace tarvik::chips
