// The fuse and lock bit tables: the read request per chip, the newer chips' byte-to-position
// mapping (used for reading and writing alike) and the older chips' reading and writing forms.
#include "chips/fuse_maps.h"

#include <algorithm>

namespace tarvik::chips::fuse_maps {
namespace {

using Names = std::span<const std::string_view>;

template <typename Row, std::size_t N>
const Row* rowFor(const std::array<Row, N>& table, std::string_view chipName) {
    for (const Row& row : table) {
        if (std::find(row.chips.begin(), row.chips.end(), chipName) != row.chips.end())
            return &row;
    }
    return nullptr;
}

// --- Read request -------------------------------------------------------------------------

constexpr FuseEntryBytes kLock{0x58, 0x00, 0x00}; // on start-up fuse chips: lock and fuse byte
constexpr FuseEntryBytes kLow{0x50, 0x00, 0x00};  // on older chips: the fuse byte
constexpr FuseEntryBytes kHigh{0x58, 0x08, 0x00};
constexpr FuseEntryBytes kExtended{0x50, 0x08, 0x00};
constexpr FuseEntryBytes kCal0{0x38, 0x00, 0x00};
constexpr FuseEntryBytes kCal1{0x38, 0x00, 0x01};
constexpr FuseEntryBytes kCal2{0x38, 0x00, 0x02};
constexpr FuseEntryBytes kCal3{0x38, 0x00, 0x03};

struct ReadRequestRow {
    Names chips;
    std::span<const FuseEntryBytes> entries;
};

constexpr std::string_view kReadLock[] = {"AT90S/LS2323", "AT90S/LS2343", "AT90S/LS8535",
                                          "ATtiny22"};
constexpr FuseEntryBytes kLockOnly[] = {kLock};
constexpr std::string_view kReadLockLow[] = {"AT90S/LS2333", "AT90S/LS4433"};
constexpr FuseEntryBytes kLockLow[] = {kLock, kLow};
constexpr std::string_view kReadTiny12[] = {"ATtiny12", "ATtiny15L"};
constexpr FuseEntryBytes kLockLowCal0[] = {kLock, kLow, kCal0};
constexpr std::string_view kReadTiny13[] = {"ATtiny13", "ATmega8515", "ATmega16"};
constexpr FuseEntryBytes kLockLowHighCal0[] = {kLock, kLow, kHigh, kCal0};
constexpr std::string_view kReadMega8[] = {"ATtiny26", "ATmega8", "ATmega8535", "ATmega32"};
constexpr FuseEntryBytes kLockLowHighCal4[] = {kLock, kLow, kHigh, kCal0, kCal1, kCal2, kCal3};
constexpr std::string_view kReadMega48[] = {"ATmega48",  "ATmega88",  "ATmega168",
                                            "ATmega162", "ATmega165", "ATmega169"};
constexpr FuseEntryBytes kFourBytesCal0[] = {kLock, kLow, kHigh, kExtended, kCal0};
constexpr std::string_view kReadTiny2313[] = {"ATtiny2313"};
constexpr FuseEntryBytes kFourBytesCal2[] = {kLock, kLow, kHigh, kExtended, kCal0, kCal1};
constexpr std::string_view kReadMega64[] = {"ATmega64", "ATmega128"};
constexpr FuseEntryBytes kFourBytesCal4[] = {kLock, kLow,  kHigh, kExtended,
                                             kCal0, kCal1, kCal2, kCal3};

constexpr auto kReadRequests = std::to_array<ReadRequestRow>({
    {kReadLock, kLockOnly},
    {kReadLockLow, kLockLow},
    {kReadTiny12, kLockLowCal0},
    {kReadTiny13, kLockLowHighCal0},
    {kReadMega8, kLockLowHighCal4},
    {kReadMega48, kFourBytesCal0},
    {kReadTiny2313, kFourBytesCal2},
    {kReadMega64, kFourBytesCal4},
});

// --- Newer chips: lock, extended, high and low byte ↔ positions -----------------------------

constexpr std::uint8_t kWriteLock = 0xE0;
constexpr std::uint8_t kWriteHigh = 0xA8;
constexpr std::uint8_t kWriteLow = 0xA0;
constexpr std::uint8_t kWriteExtended = 0xA4;

struct NewerMapRow {
    Names chips;
    ByteMap lock, extended, high, low;
    int spien;              // the locked SPIEN position
    std::uint8_t lockWrite; // instruction byte of the lock entry
};

constexpr std::string_view kMega8[] = {"ATmega8", "ATmega8515", "ATmega8535", "ATmega16",
                                       "ATmega32"};
constexpr std::string_view kMega64[] = {"ATmega64", "ATmega128"};
constexpr std::string_view kMega162[] = {"ATmega162"};
constexpr std::string_view kMega169[] = {"ATmega169", "ATmega165"};
constexpr std::string_view kMega88[] = {"ATmega88", "ATmega168"};
constexpr std::string_view kMega48[] = {"ATmega48", "ATtiny2313"};
constexpr std::string_view kTiny13[] = {"ATtiny13"};
constexpr std::string_view kTiny26[] = {"ATtiny26"};

constexpr ByteMap kBootLocks{bits(5, 0, 0)};
constexpr ByteMap kLockPairBits{bit(0, 0), bit(1, 1)};

// The ATtiny26 takes its lock bits in the older form, 1111 11ii as the entry's first byte
// (0xE0 there would program both lock bits).
constexpr auto kNewerMaps = std::to_array<NewerMapRow>({
    {kMega8, kBootLocks, kNoByte, bits(7, 0, 6), bits(7, 0, 14), 8, kWriteLock},
    {kMega64, kBootLocks, bits(1, 0, 6), bits(7, 0, 8), bits(7, 0, 16), 10, kWriteLock},
    {kMega162, kBootLocks, bits(4, 1, 6), bits(7, 0, 10), bits(7, 0, 18), 12, kWriteLock},
    {kMega169, kBootLocks, bits(3, 1, 6), bits(7, 0, 9), bits(7, 0, 17), 11, kWriteLock},
    {kMega88, kBootLocks, bits(2, 0, 6), bits(7, 0, 9), bits(7, 0, 17), 11, kWriteLock},
    {kMega48, kLockPairBits, bit(0, 2), bits(7, 0, 3), bits(7, 0, 11), 5, kWriteLock},
    {kTiny13, kLockPairBits, kNoByte, bits(4, 0, 2), bits(7, 0, 7), 7, kWriteLock},
    {kTiny26, kLockPairBits, kNoByte, bits(4, 0, 2), bits(7, 0, 7), 3, kValueFirst},
});

// --- Older chips: reading (R1, R2) and writing (lock entry, fuse entry) ---------------------

struct OlderMapRow {
    Names chips;
    ByteMap read1, read2;
    bool hasFuseEntry;
    WriteEntry fuse;
};

constexpr std::string_view kTiny12[] = {"ATtiny12"};
constexpr std::string_view kTiny15[] = {"ATtiny15L"};
constexpr std::string_view kS2333[] = {"AT90S/LS2333", "AT90S/LS4433"};
constexpr std::string_view kStartup[] = {"AT90S/LS2323", "AT90S/LS2343", "AT90S/LS8535",
                                         "ATtiny22"};
constexpr std::string_view kLockPairChips[] = {"AT90S1200", "AT90S2313", "AT90S8515"};

// ATtiny15L fuse byte: bits 3..2 have no entry and stay 1.
constexpr ByteMap kTiny15Fuse{bits(7, 4, 2), bits(1, 0, 6)};

constexpr auto kOlderMaps = std::to_array<OlderMapRow>({
    {kTiny12, kOlderLockBits, bits(7, 0, 2), true, {kWriteLow, 0xFF, bits(7, 0, 2)}},
    {kTiny15, kOlderLockBits, kTiny15Fuse, true, {kWriteLow, 0xFF, kTiny15Fuse}},
    {kS2333, kOlderLockBits, bits(0, 5, 2), true, {kValueFirst, 0xBF, bits(0, 4, 2)}},
    {kStartup,
     {bits(7, 6, 0), bit(0, 2), bit(5, 3)},
     kNoByte,
     true,
     {kValueFirst, 0xBF, bit(0, 2)}},
    {kLockPairChips, kNoByte, kNoByte, false, {}},
});

} // namespace

std::span<const FuseEntryBytes> readRequest(std::string_view chipName) {
    const ReadRequestRow* row = rowFor(kReadRequests, chipName);
    return row ? row->entries : std::span<const FuseEntryBytes>{};
}

std::optional<ChipFuseMap> findChipFuseMap(std::string_view chipName) {
    ChipFuseMap out;
    if (const NewerMapRow* row = rowFor(kNewerMaps, chipName)) {
        // Read in request order lock, low, high, extended; written lock, high, low, extended.
        out.reads = {row->lock, row->low, row->high, row->extended};
        out.writes = {
            WriteEntry{row->lockWrite, 0xFF, row->lock}, WriteEntry{kWriteHigh, 0xFF, row->high},
            WriteEntry{kWriteLow, 0xFF, row->low}, WriteEntry{kWriteExtended, 0xFF, row->extended}};
        out.writeCount = row->extended.empty() ? 3 : 4;
        out.keepUnprogrammed = row->spien;
        return out;
    }
    if (const OlderMapRow* row = rowFor(kOlderMaps, chipName)) {
        out.reads = {row->read1, row->read2, kNoByte, kNoByte};
        out.writes = {WriteEntry{kValueFirst, 0xFF, kOlderLockBits}, row->fuse};
        out.writeCount = row->hasFuseEntry ? 2 : 1;
        return out;
    }
    return std::nullopt;
}

} // namespace tarvik::chips::fuse_maps
