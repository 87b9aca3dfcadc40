// Size codes of the command parameters and the sizes they stand for.
#include "protocol/encodings.h"

#include <gtest/gtest.h>

namespace tarvik {
namespace {

TEST(Encodings, SerialEepromBytes) {
    const std::pair<std::uint16_t, std::int32_t> cases[] = {
        {0, 16}, {1, 128}, {2, 256}, {64, 8192}, {128, 16384}, {129, 32768}, {130, 65536},
    };
    for (const auto& [code, bytes] : cases)
        EXPECT_EQ(serialEepromBytes(code), bytes) << code;
}

TEST(Encodings, ChipEepromBytes) {
    const std::pair<std::uint8_t, std::int32_t> cases[] = {
        {0x00, 0},   {0x40, 64},   {0x80, 128},  {0x81, 256},
        {0x82, 512}, {0x84, 1024}, {0x90, 4096}, {0xFF, 127 * 256},
    };
    for (const auto& [code, bytes] : cases)
        EXPECT_EQ(chipEepromBytes(code), bytes) << int{code};
}

TEST(Encodings, FlashKibibytes) {
    const std::pair<std::int64_t, std::uint8_t> cases[] = {
        {131072, 128}, {1024, 1}, {8192, 8}, {20480, 20}, {12288, 12}, {1023, 0}, {0, 0}, {-5, 0},
    };
    for (const auto& [bytes, kib] : cases)
        EXPECT_EQ(flashKibibytes(bytes), kib) << bytes;
}

} // namespace
} // namespace tarvik
