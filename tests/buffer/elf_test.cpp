// The ELF reader on files built here segment by segment: where each memory comes from, and
// that a header, table or segment beyond the file's end is refused.
#include <gtest/gtest.h>

#include "buffer/elf_image.h"
#include "hex_test_support.h"

namespace tarvik {
namespace {

using test::Bytes;

struct Segment {
    std::uint32_t type;
    std::uint32_t loadAddress;
    Bytes data;
};

void put32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void put16(Bytes& out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// A 32-bit little-endian ELF file: header, program header table, then the segments' bytes.
Bytes elfFile(const std::vector<Segment>& segments) {
    Bytes out(52 + 32 * segments.size(), 0);
    const Bytes ident{0x7F, 'E', 'L', 'F', 1, 1, 1};
    std::copy(ident.begin(), ident.end(), out.begin());
    put16(out, 16, 2);    // executable
    put16(out, 18, 0x53); // AVR
    put32(out, 28, 52);
    put16(out, 40, 52);
    put16(out, 42, 32);
    put16(out, 44, static_cast<std::uint16_t>(segments.size()));
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const std::size_t header = 52 + 32 * i;
        put32(out, header, segments[i].type);
        put32(out, header + 4, static_cast<std::uint32_t>(out.size()));
        put32(out, header + 8, segments[i].loadAddress | 0x800000); // a virtual address in RAM
        put32(out, header + 12, segments[i].loadAddress);
        put32(out, header + 16, static_cast<std::uint32_t>(segments[i].data.size()));
        put32(out, header + 20, static_cast<std::uint32_t>(segments[i].data.size()));
        out.insert(out.end(), segments[i].data.begin(), segments[i].data.end());
    }
    return out;
}

// As avr-gcc lays out an ATmega8 program: .text, .data after it, .eeprom, .fuse, .lock,
// .signature, and a segment in RAM that is no memory of the chip.
std::vector<Segment> avrSegments() {
    return {{1, 0x000000, {0x0C, 0x94, 0x2A, 0x00}},
            {1, 0x000006, {0xAA, 0xBB}},
            {1, 0x810000, {1, 2, 3}},
            {1, 0x820000, {0xE2, 0xD9}},
            {1, 0x830000, {0xFF}},
            {1, 0x840000, {0x07, 0x93, 0x1E}},
            {6, 0x000100, {7}},
            {1, 0x800100, {9, 9}}};
}

TEST(ElfRead, TakesEachMemoryFromItsRegion) {
    const ElfImage image = readElf(elfFile(avrSegments()));
    ASSERT_EQ(image.status, ElfStatus::Ok);
    EXPECT_EQ(image.flash, (Bytes{0x0C, 0x94, 0x2A, 0x00, 0xFF, 0xFF, 0xAA, 0xBB}));
    EXPECT_EQ(image.eeprom, (Bytes{1, 2, 3}));
    EXPECT_EQ(image.fuses, (Bytes{0xE2, 0xD9}));
    EXPECT_EQ(image.lock, 0xFF);
    ASSERT_TRUE(image.signature);
    EXPECT_EQ(*image.signature, (std::array<std::uint8_t, 3>{0x1E, 0x93, 0x07}));

    const ElfImage flashOnly = readElf(elfFile({{1, 0, {1}}}));
    EXPECT_TRUE(flashOnly.flash);
    EXPECT_FALSE(flashOnly.eeprom || flashOnly.lock || flashOnly.signature);
    EXPECT_TRUE(flashOnly.fuses.empty());
}

TEST(ElfRead, RefusesWhatIsNotThereOrNotItsKind) {
    const Bytes good = elfFile(avrSegments());
    const auto with = [&](std::size_t at, std::uint8_t value) {
        Bytes bytes = good;
        bytes[at] = value;
        return bytes;
    };
    const struct {
        const char* name;
        Bytes file;
        ElfStatus status;
    } cases[] = {
        {"cut inside the header", Bytes(good.begin(), good.begin() + 40), ElfStatus::NotElf32},
        {"64-bit", with(4, 2), ElfStatus::NotElf32},
        {"big-endian", with(5, 2), ElfStatus::NotElf32},
        {"no magic", with(1, 'e'), ElfStatus::NotElf32},
        {"cut inside the program headers", Bytes(good.begin(), good.begin() + 100),
         ElfStatus::Damaged},
        {"cut inside the last segment", Bytes(good.begin(), good.end() - 1), ElfStatus::Damaged},
        {"program header table beyond the end", with(31, 0x7F), ElfStatus::Damaged},
        {"entries smaller than a program header", with(42, 16), ElfStatus::Damaged},
        {"a segment offset beyond the end", with(52 + 7, 0xFF), ElfStatus::Damaged},
        {"a segment size beyond the end", with(52 + 19, 0x10), ElfStatus::Damaged},
        {"flash running into RAM", elfFile({{1, 0x7FFFFF, {1, 2}}}), ElfStatus::Damaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readElf(c.file).status, c.status);
    }
}

} // namespace
} // namespace tarvik
