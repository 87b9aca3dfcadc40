// Inside the chips library: the fuse and lock bit tables as data — which bits of a byte stand
// for which fuse list positions, the write entries built from them, and the read requests.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "chips/fuse_bits.h"

namespace tarvik::chips::fuse_maps {

// Bits fromBit..toBit of a byte (counting down or up) → positions firstPosition, +1, …
struct BitRun {
    std::uint8_t fromBit = 0;
    std::uint8_t toBit = 0;
    std::uint8_t firstPosition = 0;
};

constexpr BitRun bits(std::uint8_t fromBit, std::uint8_t toBit, std::uint8_t firstPosition) {
    return {fromBit, toBit, firstPosition};
}
constexpr BitRun bit(std::uint8_t b, std::uint8_t position) {
    return {b, b, position};
}

// The positions of one byte; empty when the chip has no such byte.
struct ByteMap {
    std::array<BitRun, 3> runs{};
    std::uint8_t count = 0;

    constexpr ByteMap() = default;
    constexpr ByteMap(BitRun a) : runs{a}, count(1) {}
    constexpr ByteMap(BitRun a, BitRun b) : runs{a, b}, count(2) {}
    constexpr ByteMap(BitRun a, BitRun b, BitRun c) : runs{a, b, c}, count(3) {}

    constexpr bool empty() const { return count == 0; }
};
constexpr ByteMap kNoByte{}; // the chip has no such byte

// Calls fn(bit, position) for every bit the map names: the one walk that both reading and
// writing use.
template <typename Fn>
constexpr void forEachBit(const ByteMap& map, Fn&& fn) {
    for (std::uint8_t r = 0; r < map.count; ++r) {
        const BitRun& run = map.runs[r];
        const int step = run.fromBit <= run.toBit ? 1 : -1;
        int position = run.firstPosition;
        for (int b = run.fromBit;; b += step, ++position) {
            fn(b, position);
            if (b == run.toBit)
                break;
        }
    }
}

// One write entry: the value starts as `base`, the bit of every checked position is cleared.
// The value travels as the entry's third byte after the instruction byte, or — in the older
// instruction form — as its first byte followed by two zeros.
constexpr std::uint8_t kValueFirst = 0x00;
struct WriteEntry {
    std::uint8_t instruction = kValueFirst;
    std::uint8_t base = 0xFF;
    ByteMap map;
};

// Everything the read and write routines need for one chip name.
struct ChipFuseMap {
    std::array<ByteMap, 4> reads{};     // read value k (request entry k) → positions
    std::array<WriteEntry, 4> writes{}; // in the order they are sent
    std::uint8_t writeCount = 0;
    int keepUnprogrammed = -1; // the locked SPIEN position: its bit is always written as 1
};

// The chip's map, or nothing for a name outside the tables.
std::optional<ChipFuseMap> findChipFuseMap(std::string_view chipName);

// The read request for the chip (empty for a name outside the table).
std::span<const FuseEntryBytes> readRequest(std::string_view chipName);

// The older chips' lock bits, written as v 00 00: "Lock bit 1" is bit 1, "Lock bit 2" bit 2.
inline constexpr ByteMap kOlderLockBits{bit(1, 0), bit(2, 1)};

// The AT90S socket: the lock and fuse byte images written, and the one byte a read answers.
inline constexpr ByteMap kSocketLockImage = kOlderLockBits;
inline constexpr ByteMap kSocketFuseImage{bit(5, 2), bit(0, 3)};
inline constexpr ByteMap kSocketRead{bits(7, 5, 0), bit(0, 3)};

} // namespace tarvik::chips::fuse_maps
