// The Intel HEX writer, and round trips through the reader.
#include <gtest/gtest.h>

#include "buffer/intel_hex.h"
#include "hex_test_support.h"

namespace tarvik {
namespace {

using test::Bytes;
using test::pattern;
using test::run;
using test::operator+;

TEST(IntelHexWrite, FiveBytesGiveOnePaddedRecordAndTheEndRecord) {
    EXPECT_EQ(writeIntelHex(Bytes{1, 2, 3, 4, 5}),
              ":100000000102030405FFFFFFFFFFFFFFFFFFFFFFEC\r\n:00000001FF");
}

TEST(IntelHexWrite, RecordLayout) {
    struct WriteCase {
        const char* name;
        Bytes bytes;
        std::string text;
    };
    const WriteCase cases[] = {
        {"empty buffer: the end record alone", {}, ":00000001FF"},
        {"32 bytes: two full records, no padding", run(32, 0xAB),
         ":10000000ABABABABABABABABABABABABABABABAB40\r\n"
         ":10001000ABABABABABABABABABABABABABABABAB30\r\n:00000001FF"},
        {"17 bytes: the second record holds one byte and 15 FF", run(17, 0),
         ":1000000000000000000000000000000000000000F0\r\n"
         ":1000100000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFEF\r\n:00000001FF"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(writeIntelHex(c.bytes), c.text);
    }
}

TEST(IntelHexWrite, ExtendedAddressRecordAtEach64KiBBoundary) {
    const std::string text = writeIntelHex(run(0x20001, 0x11));
    EXPECT_EQ(text.find(":02000004"), text.find(":020000040001F9\r\n:10000000"));
    EXPECT_NE(text.find(":020000040002F8\r\n:1000000011FFFF"), std::string::npos);
    EXPECT_EQ(text.find(":020000040000"), std::string::npos);
    // Exactly 64 KiB needs none.
    EXPECT_EQ(writeIntelHex(run(0x10000, 0)).find(":02000004"), std::string::npos);
}

TEST(IntelHexWrite, RoundTripsThroughTheReaderPaddedToSixteen) {
    for (const std::size_t size : {0u, 1u, 15u, 16u, 17u, 65535u, 65536u, 65537u, 131072u}) {
        SCOPED_TRACE(size);
        const Bytes original = pattern(size);
        const HexReadResult back = readIntelHex(writeIntelHex(original));
        ASSERT_EQ(back.status, HexStatus::Ok);
        const std::size_t padded = (size + 15) / 16 * 16;
        EXPECT_EQ(back.bytes, original + run(padded - size, 0xFF));
    }
}

} // namespace
} // namespace tarvik
