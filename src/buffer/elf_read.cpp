// Reading an AVR ELF file: the file header, the program header table and each loadable
// segment's bytes, all checked against the file's size before they are read, placed by the
// memory region their load address falls in.
#include <algorithm>

#include "buffer/elf_image.h"

namespace tarvik {
namespace {

constexpr std::size_t kFileHeaderBytes = 52;
constexpr std::size_t kProgramHeaderBytes = 32;
constexpr std::uint32_t kLoadSegment = 1;

enum class Region { Flash, Eeprom, Fuses, Lock, Signature };

// Where avr-gcc's linker script puts each memory; a segment lies wholly in one of them.
struct RegionRange {
    Region region;
    std::uint32_t start;
    std::uint32_t end;
};
constexpr RegionRange kRegions[] = {
    {Region::Flash, 0x000000, 0x800000},     {Region::Eeprom, 0x810000, 0x820000},
    {Region::Fuses, 0x820000, 0x830000},     {Region::Lock, 0x830000, 0x840000},
    {Region::Signature, 0x840000, 0x850000},
};

std::uint32_t word32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}
std::uint16_t word16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

void place(std::vector<std::uint8_t>& memory, std::uint32_t offset,
           std::span<const std::uint8_t> data) {
    if (offset + data.size() > memory.size())
        memory.resize(offset + data.size(), 0xFF);
    std::ranges::copy(data, memory.begin() + offset);
}

ElfImage failed(ElfStatus status) {
    ElfImage image;
    image.status = status;
    return image;
}

} // namespace

ElfImage readElf(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderBytes || file[0] != 0x7F || file[1] != 'E' || file[2] != 'L' ||
        file[3] != 'F' || file[4] != 1 /* 32-bit */ || file[5] != 1 /* little-endian */)
        return failed(ElfStatus::NotElf32);
    const std::uint64_t tableOffset = word32(file, 28);
    const std::uint64_t entrySize = word16(file, 42);
    const std::uint64_t entries = word16(file, 44);
    if (entries != 0 &&
        (entrySize < kProgramHeaderBytes || tableOffset + entries * entrySize > file.size()))
        return failed(ElfStatus::Damaged);

    std::vector<std::uint8_t> flash, eeprom, fuses, lock, signature;
    std::vector<std::uint8_t>* memories[] = {&flash, &eeprom, &fuses, &lock, &signature};
    bool present[std::size(kRegions)] = {};
    for (std::uint64_t i = 0; i < entries; ++i) {
        const auto header = file.subspan(static_cast<std::size_t>(tableOffset + i * entrySize),
                                         kProgramHeaderBytes);
        const std::uint32_t type = word32(header, 0);
        const std::uint64_t offset = word32(header, 4);
        const std::uint64_t address = word32(header, 12); // the load address
        const std::uint64_t size = word32(header, 16);    // the bytes the file holds
        if (type != kLoadSegment || size == 0)
            continue;
        if (offset + size > file.size())
            return failed(ElfStatus::Damaged);
        const auto* range = std::ranges::find_if(
            kRegions, [&](const RegionRange& r) { return address >= r.start && address < r.end; });
        if (range == std::end(kRegions))
            continue; // RAM and anything else no programmer writes
        if (address + size > range->end)
            return failed(ElfStatus::Damaged);
        const auto index = static_cast<std::size_t>(range - std::begin(kRegions));
        present[index] = true;
        place(*memories[index], static_cast<std::uint32_t>(address - range->start),
              file.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size)));
    }

    ElfImage image;
    if (present[0])
        image.flash = std::move(flash);
    if (present[1])
        image.eeprom = std::move(eeprom);
    image.fuses = std::move(fuses);
    if (!lock.empty())
        image.lock = lock[0];
    if (signature.size() >= 3)
        image.signature = {signature[2], signature[1], signature[0]};
    return image;
}

} // namespace tarvik
