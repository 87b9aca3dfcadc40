// The Intel HEX reader: what it accepts, what it refuses, and with which message.
#include <gtest/gtest.h>

#include "buffer/intel_hex.h"
#include "hex_test_support.h"

namespace tarvik {
namespace {

using test::Bytes;
using test::record;
using test::run;
using test::operator+;

struct ReadCase {
    const char* name;
    std::string text;
    HexStatus status;
    Bytes bytes;          // the image when status is Ok
    std::size_t line = 0; // the failing line otherwise
};

const std::string kEnd = ":00000001FF";

std::vector<ReadCase> readCases() {
    return {
        {"end record alone", kEnd, HexStatus::Ok, {}},
        {"two records with a gap", ":02000000AABB99\r\n:02001000CCDD45\r\n" + kEnd, HexStatus::Ok,
         Bytes{0xAA, 0xBB} + run(14, 0xFF) + Bytes{0xCC, 0xDD}},
        {"one record at 0x100", record(0x100, 0, {0x42}) + "\n" + kEnd, HexStatus::Ok,
         run(0x100, 0xFF) + Bytes{0x42}},
        {"any record mark, lower case, LF only", "X02000000aabb99\n" + kEnd + "\n", HexStatus::Ok,
         Bytes{0xAA, 0xBB}},
        {"lone CR line ends", ":02000000AABB99\r" + kEnd, HexStatus::Ok, Bytes{0xAA, 0xBB}},
        {"a later record overwrites an earlier one",
         record(0, 0, {1, 2, 3}) + "\n" + record(1, 0, {9}) + "\n" + kEnd, HexStatus::Ok,
         Bytes{1, 9, 3}},
        {"lines after the end record are never read",
         ":02000000AABB99\n" + kEnd + "\nthis is not hex\n:02000000AABB00\n", HexStatus::Ok,
         Bytes{0xAA, 0xBB}},
        {"extended linear address",
         record(0, 0x04, {0x00, 0x01}) + "\n" + record(0x0002, 0, {0x42}) + "\n" + kEnd,
         HexStatus::Ok, run(0x10002, 0xFF) + Bytes{0x42}},
        {"extended segment address",
         record(0, 0x02, {0x10, 0x00}) + "\n" + record(0x0001, 0, {0x42}) + "\n" + kEnd,
         HexStatus::Ok, run(0x10001, 0xFF) + Bytes{0x42}},
        {"a segment offset wraps within 64 KiB",
         record(0, 0x02, {0x00, 0x10}) + "\n" + record(0xFFFF, 0, {1, 2}) + "\n" + kEnd,
         HexStatus::Ok, run(0x100, 0xFF) + Bytes{2} + run(0xFFFE, 0xFF) + Bytes{1}},
        {"start address records are ignored",
         record(0, 0x03, {0x12, 0x34, 0x56, 0x78}) + "\n" + record(0, 0x05, {0, 0, 1, 0}) + "\n" +
             record(0, 0, {7}) + "\n" + kEnd,
         HexStatus::Ok, Bytes{7}},
        {"unknown types are placed as data", record(0, 0x06, {5, 6}) + "\n" + kEnd, HexStatus::Ok,
         Bytes{5, 6}},

        {"blank line before the end record",
         ":02000000AABB99\n\n" + kEnd,
         HexStatus::NotHex,
         {},
         2},
        {"no end record", ":02000000AABB99\n", HexStatus::NotHex, {}, 2},
        {"empty file", "", HexStatus::NotHex, {}, 1},
        {"line too short for the type", ":0200000\n" + kEnd, HexStatus::NotHex, {}, 1},
        {"address not hex", ":02G0000AABB99\n" + kEnd, HexStatus::NotHex, {}, 1},
        {"address record without two bytes",
         record(0, 0x04, {1}) + "\n" + kEnd,
         HexStatus::NotHex,
         {},
         1},
        {"a bad field after a bad checksum is found first",
         ":02000000AABB98\n:zz\n" + kEnd,
         HexStatus::NotHex,
         {},
         2},

        {"bad checksum", ":02000000AABB98\n" + kEnd, HexStatus::BadChecksum, {}, 1},
        {"bad checksum on the end record", ":00000001FE", HexStatus::BadChecksum, {}, 1},

        {"data not hex", ":02000000AXBB99\n" + kEnd, HexStatus::ConversionError, {}, 1},
        {"checksum not hex", ":02000000AABB9Z\n" + kEnd, HexStatus::ConversionError, {}, 1},
        {"fewer data digits than counted",
         ":04000000AABB97\n" + kEnd,
         HexStatus::ConversionError,
         {},
         1},

        {"image above 16 MiB",
         record(0, 0x04, {0x01, 0x00}) + "\n" + record(0, 0, {1}) + "\n" + kEnd,
         HexStatus::TooLarge,
         {},
         0},
        {"address record far out, never used for data",
         record(0, 0x04, {0xFF, 0xFF}) + "\n" + record(0, 0x04, {0, 0}) + "\n" + record(0, 0, {1}) +
             "\n" + kEnd,
         HexStatus::Ok, Bytes{1}},
    };
}

TEST(IntelHexRead, Cases) {
    for (const ReadCase& c : readCases()) {
        SCOPED_TRACE(c.name);
        const HexReadResult result = readIntelHex(c.text);
        EXPECT_EQ(result.status, c.status);
        if (c.status == HexStatus::Ok)
            EXPECT_EQ(result.bytes, c.bytes);
        else
            EXPECT_EQ(result.line, c.line);
    }
}

TEST(IntelHexRead, ImageExactlyAtTheLimitIsAccepted) {
    const std::string text =
        record(0, 0x04, {0x00, 0xFF}) + "\n" + record(0xFFFF, 0, {0x42}) + "\n" + kEnd;
    const HexReadResult result = readIntelHex(text);
    ASSERT_EQ(result.status, HexStatus::Ok);
    EXPECT_EQ(result.bytes.size(), kMaxImageBytes);
    EXPECT_EQ(result.bytes.back(), 0x42);
}

TEST(IntelHexRead, MessagesInEveryLanguage) {
    struct MessageCase {
        HexStatus status;
        std::uint8_t language;
        std::string text;
    };
    const MessageCase cases[] = {
        {HexStatus::NotHex, 0, "Fehler in Datei. Keine Hex-Datei."},
        {HexStatus::NotHex, 1, "Error in file. No hex file."},
        {HexStatus::NotHex, 2, "Входной файл не hex файл."},
        {HexStatus::BadChecksum, 0, "Fehler in Datei. Falsche CSUM."},
        {HexStatus::BadChecksum, 1, "Error in file. Wrong CSUM."},
        {HexStatus::BadChecksum, 2, "Ошибка входного файла.Не правильная CheckSum."},
        {HexStatus::TooLarge, 1, "Error in file. The data are larger than 16 MiB."},
        {HexStatus::Ok, 1, ""},
    };
    for (const MessageCase& c : cases) {
        HexReadResult result;
        result.status = c.status;
        EXPECT_EQ(hexReadMessage(result, c.language), c.text);
    }
}

TEST(IntelHexRead, ConversionErrorNamesTheLineAndShowsItSafely) {
    const HexReadResult result = readIntelHex(":0000000000\n:02000000A\x01"
                                              "BB99\n" +
                                              kEnd);
    ASSERT_EQ(result.status, HexStatus::ConversionError);
    EXPECT_EQ(hexReadMessage(result, 1),
              "Error in file. Line 2 is not a valid hex record: :02000000A?BB99");
    for (const std::uint8_t language : {0, 2})
        EXPECT_NE(hexReadMessage(result, language).find(" 2 "), std::string::npos);
}

} // namespace
} // namespace tarvik
