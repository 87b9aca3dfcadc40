// Fuse and lock bits: the read request for a chip, the mapping between the bytes read or
// written and the fuse list positions (one table, read and written by the same routine), the
// calibration bytes, and the socket's lock and fuse byte images. A checked position is a
// programmed bit, 0 in the chip.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvik::chips {

using FuseEntryBytes = std::array<std::uint8_t, 3>;

// Over the ISP connector, by chip name (exact); names outside the tables get no entries.
std::vector<FuseEntryBytes> fuseReadRequest(std::string_view chipName);
// values[k] is the answer to request entry k (payload bytes 1..). Sets checked[] for the
// positions the chip's mapping names; positions beyond checked.size() and values beyond
// values.size() are never touched.
void applyFuseBytes(std::string_view chipName, const std::vector<std::uint8_t>& values,
                    std::vector<bool>& checked);
// Fuse and lock bytes as a file names them (an ELF file's .fuse and .lock sections): each
// one the file holds.
struct FuseFileBytes {
    std::optional<std::uint8_t> lock, low, high, extended;
};
// Sets the marks of the positions those bytes cover, as a fuse read of them would; the other
// positions keep theirs. False, touching nothing, for a chip whose fuses are not read as
// separate low and high bytes (the older chips answer lock and fuse bits in one byte).
bool applyFuseFileBytes(std::string_view chipName, const FuseFileBytes& bytes,
                        std::vector<bool>& checked);

// The calibration bytes in the answer, calibration byte 0 first (only as many as arrived).
std::vector<std::uint8_t> calibrationBytes(std::string_view chipName,
                                           const std::vector<std::uint8_t>& values);
// The write entries composed from the check marks. A list shorter than the chip's mapping
// (see fuseListPositions) gets no entries rather than guessed bits.
std::vector<FuseEntryBytes> fuseWriteEntries(std::string_view chipName,
                                             const std::vector<bool>& checked);
// How many list positions the chip's mapping covers (0 for a name outside the tables): a
// list with fewer entries does not belong to the chip.
std::size_t fuseListPositions(std::string_view chipName);

// AT90S1200 / AT90S2313 socket: lock byte image and fuse byte image from positions 0..3
// (requires checked.size() >= 4), and the one byte a socket fuse read answers.
struct SocketFuseBytes {
    std::uint8_t lock = 0xFF;
    std::uint8_t fuse = 0xFF;
};
SocketFuseBytes socketFuseWrite(const std::vector<bool>& checked);
void applySocketFuseByte(std::uint8_t r1, std::vector<bool>& checked);

} // namespace tarvik::chips
