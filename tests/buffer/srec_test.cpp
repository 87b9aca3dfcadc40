// The Motorola S-record reader and writer: what is read, what is refused with which message,
// and that written text reads back to the image.
#include <gtest/gtest.h>

#include <cctype>

#include "buffer/intel_hex.h"
#include "buffer/motorola_srec.h"
#include "hex_test_support.h"

namespace tarvik {
namespace {

using test::Bytes;
using test::pattern;
using test::run;
using test::srecord;
using test::operator+;

struct ReadCase {
    const char* name;
    std::string text;
    SRecordStatus status;
    Bytes bytes;          // the image when status is Ok
    std::size_t line = 0; // the failing line otherwise
};

const std::string kS9 = "S9030000FC";

std::string lowerDigits(std::string line) {
    for (std::size_t i = 2; i < line.size(); ++i)
        line[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(line[i])));
    return line;
}

std::vector<ReadCase> readCases() {
    const std::string header = srecord(0, 0, {'h', 'd', 'r'});
    return {
        {"header and end only", header + "\n" + kS9 + "\n", SRecordStatus::Ok, {}},
        {"S1 records with a gap, CR LF",
         srecord(1, 0, {0xAA, 0xBB}) + std::string("\r\n") + srecord(1, 0x10, {0xCC}) + "\r\n" +
             kS9,
         SRecordStatus::Ok, Bytes{0xAA, 0xBB} + run(14, 0xFF) + Bytes{0xCC}},
        {"S2 and S3 addresses, S8 end",
         srecord(2, 0x010000, {1}) + std::string("\n") + srecord(3, 0x00010002, {3}) +
             std::string("\n") + srecord(8, 0, {}),
         SRecordStatus::Ok, run(0x10000, 0xFF) + Bytes{1, 0xFF, 3}},
        {"lower-case digits, blank lines, later over earlier",
         std::string("\n") + srecord(1, 0, {1, 2, 3}) + std::string("\n\n") +
             lowerDigits(srecord(1, 1, {0xAB})) + "\n" + kS9,
         SRecordStatus::Ok, Bytes{1, 0xAB, 3}},
        {"a matching S5 count, S7 end",
         srecord(1, 0, {1, 2}) + std::string("\n") + srecord(1, 1, {9}) + std::string("\n") +
             srecord(5, 2, {}) + std::string("\n") + srecord(7, 0, {}),
         SRecordStatus::Ok, Bytes{1, 9}},
        {"lines after the end record are never read", srecord(1, 0, {7}) + "\n" + kS9 + "\nxyz",
         SRecordStatus::Ok, Bytes{7}},

        {"a count that differs",
         srecord(1, 0, {1}) + std::string("\n") + srecord(5, 2, {}) + "\n" + kS9,
         SRecordStatus::BadCount,
         {},
         2},
        {"a wrong checksum", "S1040000010A\n" + kS9, SRecordStatus::BadChecksum, {}, 1},
        {"fewer digits than counted", "S105000001FA\n" + kS9, SRecordStatus::BadLine, {}, 1},
        {"a count too small for the address", "S1020000FD\n" + kS9, SRecordStatus::BadLine, {}, 1},
        {"the reserved type S4", srecord(4, 0, {}) + "\n" + kS9, SRecordStatus::BadLine, {}, 1},
        {"a line that is no record",
         srecord(1, 0, {1}) + "\n:00000001FF\n" + kS9,
         SRecordStatus::BadLine,
         {},
         2},
        {"no end record, as srec_cat writes without a start address",
         srecord(1, 0, {1}) + std::string("\n") + srecord(5, 1, {}) + "\n", SRecordStatus::Ok,
         Bytes{1}},
        {"an address beyond 16 MiB",
         srecord(3, 0x01000000, {1}) + "\n" + kS9,
         SRecordStatus::TooLarge,
         {},
         1},
    };
}

TEST(SRecordRead, Cases) {
    for (const ReadCase& c : readCases()) {
        SCOPED_TRACE(c.name);
        const SRecordReadResult result = readSRecord(c.text);
        EXPECT_EQ(result.status, c.status);
        if (c.status == SRecordStatus::Ok)
            EXPECT_EQ(result.bytes, c.bytes);
        else
            EXPECT_EQ(result.line, c.line);
    }
}

TEST(SRecordRead, MessagesNameTheLine) {
    const struct {
        std::string text;
        std::uint8_t language;
        std::string message;
    } cases[] = {
        {"S1040000010A\n" + kS9, 1, "Error in file. Wrong checksum in line 1."},
        {"S1040000010A\n" + kS9, 0, "Fehler in Datei. Falsche Prüfsumme in Zeile 1."},
        {"\nS1\x01x\n", 1, "Error in file. Line 2 is not a valid S-record: S1?x"},
        {srecord(1, 0, {1}) + std::string("\n") + srecord(5, 3, {}) + "\n", 1,
         "Error in file. The count record in line 2 says 3 data records, 1 come before it."},
        {srecord(3, 0xFFFFFFFF, {1}) + "\n" + kS9, 1,
         "Error in file. The data are larger than 16 MiB."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(sRecordReadMessage(readSRecord(c.text), c.language), c.message);
    }
}

TEST(SRecordWrite, HeaderRecordsCountAndEnd) {
    EXPECT_EQ(writeSRecord(Bytes{1, 2, 3}), srecord(0, 0, {'t', 'a', 'r', 'v', 'i', 'k'}) +
                                                std::string("\r\n") + srecord(1, 0, {1, 2, 3}) +
                                                std::string("\r\n") + srecord(5, 1, {}) + "\r\n" +
                                                kS9 + "\r\n");
    const std::string empty = writeSRecord(Bytes{});
    EXPECT_NE(empty.find(std::string("\r\n") + srecord(5, 0, {}) + "\r\n" + kS9 + "\r\n"),
              std::string::npos);
}

// The record type follows the highest address; a count above 65,535 records takes S6.
TEST(SRecordWrite, TypeByHighestAddressAndReadsBack) {
    const struct {
        std::size_t size;
        const char* data;
        const char* count;
        const char* end;
    } cases[] = {
        {0x10000, "\r\nS113FFF0", "\r\nS5", "\r\nS9"},
        {0x10001, "\r\nS205010000", "\r\nS5", "\r\nS8"},
        {kMaxImageBytes, "\r\nS214FFFFF0", "\r\nS6", "\r\nS8"},
        {0x2000, "\r\nS1131FF0", "\r\nS5", "\r\nS9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const Bytes image = pattern(c.size);
        const std::string text = writeSRecord(image);
        EXPECT_NE(text.find(c.data), std::string::npos);
        EXPECT_NE(text.find(c.count), std::string::npos);
        EXPECT_NE(text.find(c.end), std::string::npos);
        const SRecordReadResult back = readSRecord(text);
        ASSERT_EQ(back.status, SRecordStatus::Ok) << sRecordReadMessage(back, 1);
        EXPECT_EQ(back.bytes, image);
    }
    const std::string wide = writeSRecord(run(0x1000001, 0));
    EXPECT_NE(wide.find("\r\nS30601000000"), std::string::npos);
    EXPECT_NE(wide.find("\r\nS705"), std::string::npos);
}

TEST(SRecordWrite, NamesThatSaveAsSRecord) {
    for (const char* name : {"a.s19", "a.S28", "b.s37", "dir/c.SREC", "d.mot"})
        EXPECT_TRUE(isSRecordName(name)) << name;
    for (const char* name : {"a.hex", "a.bin", "s19", "a.s19.hex", "a.srec2", "mot"})
        EXPECT_FALSE(isSRecordName(name)) << name;
}

} // namespace
} // namespace tarvik
