// Fuse and lock bits: turning the bytes read into check marks and the check marks into the
// bytes written, by walking the chip's bit map (see fuse_maps.cpp for the tables).
#include "chips/fuse_bits.h"

#include <algorithm>

#include "chips/fuse_maps.h"

namespace tarvik::chips {
namespace {

using namespace fuse_maps;

constexpr std::uint8_t kCalibrationRead = 0x38;

// A checked position is a programmed bit, 0 in the chip.
void applyByte(const ByteMap& map, std::uint8_t value, std::vector<bool>& checked) {
    forEachBit(map, [&](int b, int position) {
        if (static_cast<std::size_t>(position) < checked.size())
            checked[position] = ((value >> b) & 1) == 0;
    });
}

// Positions missing from the list count as unchecked; `keep` is never cleared.
std::uint8_t composeByte(const ByteMap& map, std::uint8_t base, const std::vector<bool>& checked,
                         int keep = -1) {
    std::uint8_t value = base;
    forEachBit(map, [&](int b, int position) {
        if (position != keep && static_cast<std::size_t>(position) < checked.size() &&
            checked[position])
            value = static_cast<std::uint8_t>(value & ~(1u << b));
    });
    return value;
}

std::size_t positionsOf(const ChipFuseMap& map) {
    std::size_t count = 0;
    const auto note = [&](int, int position) {
        count = std::max(count, static_cast<std::size_t>(position) + 1);
    };
    for (const ByteMap& read : map.reads)
        forEachBit(read, note);
    for (std::uint8_t k = 0; k < map.writeCount; ++k)
        forEachBit(map.writes[k].map, note);
    return count;
}

} // namespace

std::vector<FuseEntryBytes> fuseReadRequest(std::string_view chipName) {
    const auto entries = readRequest(chipName);
    return {entries.begin(), entries.end()};
}

void applyFuseBytes(std::string_view chipName, const std::vector<std::uint8_t>& values,
                    std::vector<bool>& checked) {
    const auto map = findChipFuseMap(chipName);
    if (!map)
        return;
    const std::size_t count = std::min(values.size(), map->reads.size());
    for (std::size_t k = 0; k < count; ++k)
        applyByte(map->reads[k], values[k], checked);
}

bool applyFuseFileBytes(std::string_view chipName, const FuseFileBytes& bytes,
                        std::vector<bool>& checked) {
    // The read instruction (its first two bytes) of each byte a file can name.
    const struct {
        std::uint8_t instruction[2];
        const std::optional<std::uint8_t>& value;
    } kFileBytes[] = {{{0x58, 0x00}, bytes.lock},
                      {{0x50, 0x00}, bytes.low},
                      {{0x58, 0x08}, bytes.high},
                      {{0x50, 0x08}, bytes.extended}};
    const auto map = findChipFuseMap(chipName);
    const auto request = readRequest(chipName);
    const bool separateBytes = std::ranges::any_of(
        request, [](const FuseEntryBytes& entry) { return entry[0] == 0x58 && entry[1] == 0x08; });
    if (!map || !separateBytes)
        return false;
    for (std::size_t k = 0; k < request.size() && k < map->reads.size(); ++k) {
        for (const auto& fileByte : kFileBytes) {
            if (fileByte.value && request[k][0] == fileByte.instruction[0] &&
                request[k][1] == fileByte.instruction[1])
                applyByte(map->reads[k], *fileByte.value, checked);
        }
    }
    return true;
}

std::vector<std::uint8_t> calibrationBytes(std::string_view chipName,
                                           const std::vector<std::uint8_t>& values) {
    // The calibration bytes answer the request's calibration entries, calibration byte 0 first.
    std::vector<std::uint8_t> calibration;
    const auto request = readRequest(chipName);
    for (std::size_t k = 0; k < request.size() && k < values.size(); ++k) {
        if (request[k][0] == kCalibrationRead)
            calibration.push_back(values[k]);
    }
    return calibration;
}

std::size_t fuseListPositions(std::string_view chipName) {
    const auto map = findChipFuseMap(chipName);
    return map ? positionsOf(*map) : 0;
}

std::vector<FuseEntryBytes> fuseWriteEntries(std::string_view chipName,
                                             const std::vector<bool>& checked) {
    const auto map = findChipFuseMap(chipName);
    if (!map || checked.size() < positionsOf(*map))
        return {};
    std::vector<FuseEntryBytes> entries;
    for (std::uint8_t k = 0; k < map->writeCount; ++k) {
        const WriteEntry& entry = map->writes[k];
        const std::uint8_t v = composeByte(entry.map, entry.base, checked, map->keepUnprogrammed);
        if (entry.instruction == kValueFirst)
            entries.push_back({v, 0x00, 0x00});
        else
            entries.push_back({entry.instruction, 0x00, v});
    }
    return entries;
}

SocketFuseBytes socketFuseWrite(const std::vector<bool>& checked) {
    return {composeByte(kSocketLockImage, 0xFF, checked),
            composeByte(kSocketFuseImage, 0xFF, checked)};
}

void applySocketFuseByte(std::uint8_t r1, std::vector<bool>& checked) {
    applyByte(kSocketRead, r1, checked);
}

} // namespace tarvik::chips
