// CRC-32 against values zlib and crc32(1) give.
#include <gtest/gtest.h>

#include <string_view>

#include "buffer/crc32.h"
#include "hex_test_support.h"

namespace tarvik {
namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(Crc32, KnownValues) {
    const struct {
        test::Bytes bytes;
        const char* text;
    } cases[] = {
        {{}, "00000000"},
        {test::Bytes{0x00}, "D202EF8D"},
        {test::Bytes(32, 0xFF), "FF6CAB0B"},
        {test::pattern(1000), "721746A6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(crc32Text(c.bytes), c.text) << c.bytes.size();
    EXPECT_EQ(crc32(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32(bytesOf("The quick brown fox jumps over the lazy dog")), 0x414FA339u);
}

} // namespace
} // namespace tarvik
