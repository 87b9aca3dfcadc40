// CRC-32 over a table of the 256 byte remainders, built at compile time, eight bytes a step
// (slicing by eight) so a many-MiB image costs milliseconds.
#include "buffer/crc32.h"

#include <array>

namespace tarvik {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320;

using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables kTables = [] {
    Tables tables{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = c & 1 ? kPolynomial ^ (c >> 1) : c >> 1;
        tables[0][i] = c;
    }
    for (std::size_t t = 1; t < tables.size(); ++t)
        for (std::size_t i = 0; i < 256; ++i)
            tables[t][i] = tables[t - 1][i] >> 8 ^ tables[0][tables[t - 1][i] & 0xFF];
    return tables;
}();

} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t c = 0xFFFFFFFF;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        const std::uint32_t low = c ^ (static_cast<std::uint32_t>(bytes[i]) |
                                       static_cast<std::uint32_t>(bytes[i + 1]) << 8 |
                                       static_cast<std::uint32_t>(bytes[i + 2]) << 16 |
                                       static_cast<std::uint32_t>(bytes[i + 3]) << 24);
        c = kTables[7][low & 0xFF] ^ kTables[6][low >> 8 & 0xFF] ^ kTables[5][low >> 16 & 0xFF] ^
            kTables[4][low >> 24] ^ kTables[3][bytes[i + 4]] ^ kTables[2][bytes[i + 5]] ^
            kTables[1][bytes[i + 6]] ^ kTables[0][bytes[i + 7]];
    }
    for (; i < bytes.size(); ++i)
        c = kTables[0][(c ^ bytes[i]) & 0xFF] ^ c >> 8;
    return c ^ 0xFFFFFFFF;
}

std::string crc32Text(std::span<const std::uint8_t> bytes) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    const std::uint32_t value = crc32(bytes);
    std::string text(8, '0');
    for (std::size_t i = 0; i < 8; ++i)
        text[i] = kDigits[value >> (28 - 4 * i) & 0xF];
    return text;
}

} // namespace tarvik
