// --log-csv: one row per job appended to the production log, read back with a CSV reader; and
// the quoting that keeps any field one field.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "buffer/crc32.h"
#include "cli/production_log.h"
#include "cli_fixture.h"

namespace tarvik::cli::test {
namespace {

using emulator::Fault;

std::string fileText(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(CsvLine, KeepsEveryFieldOneFieldWhateverItHolds) {
    const std::vector<std::string> fields{"plain", "with, comma", "say \"hi\"", "two\r\nlines",
                                          "",      "line\nfeed"};
    const std::string line = csvLine(fields);
    EXPECT_EQ(line.substr(0, 21), "plain,\"with, comma\",\"");
    EXPECT_EQ(readCsv(line), std::vector<std::vector<std::string>>{fields});
}

TEST(IsoLocalTime, HasTheDateTheTimeAndTheOffset) {
    const std::string text = isoLocalTime(std::chrono::system_clock::now());
    ASSERT_EQ(text.size(), 25u) << text;
    EXPECT_EQ(text[4], '-');
    EXPECT_EQ(text[10], 'T');
    EXPECT_TRUE(text[19] == '+' || text[19] == '-') << text;
    EXPECT_EQ(text[22], ':');
}

TEST(Crc32, IsTheOneZipUses) {
    const std::string check = "123456789";
    EXPECT_EQ(crc32(std::span(reinterpret_cast<const std::uint8_t*>(check.data()), check.size())),
              0xCBF43926u);
}

using ProductionLog = CliTest;

TEST_F(ProductionLog, AppendsOneRowPerJobUnderOneHeader) {
    const std::vector<std::uint8_t> image = pattern(300);
    put("firmware.bin", image);
    const std::string log = path("production.csv");
    EXPECT_EQ(run({"--log-csv", log, "write", path("firmware.bin")}), 0) << err.str();
    programmer->injectFault(Fault::ErrorAnswer, 3); // the erase
    EXPECT_EQ(run({"--log-csv", log, "write", path("firmware.bin")}), 1);
    EXPECT_EQ(run({"--log-csv", log, "detect"}), 0);

    const auto records = readCsv(fileText(log));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0],
              (std::vector<std::string>{"time", "label", "node", "job", "chip", "signature",
                                        "bytes", "crc32", "serial", "result", "seconds", "error"}));
    const std::vector<std::string>& written = records[1];
    ASSERT_EQ(written.size(), 12u);
    EXPECT_EQ(written[0].size(), 25u);
    EXPECT_EQ(written[1], "1");
    EXPECT_EQ(written[2], "emulated:1");
    EXPECT_EQ(written[3], "write");
    EXPECT_EQ(written[4], "ATmega8");
    EXPECT_EQ(written[5], "1E 93 07");
    EXPECT_EQ(written[6], "300");
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", crc32(image));
    EXPECT_EQ(written[7], crc);
    EXPECT_EQ(written[8], "");
    EXPECT_EQ(written[9], "OK");
    EXPECT_EQ(written[11], "");

    const std::vector<std::string>& failed = records[2];
    ASSERT_EQ(failed.size(), 12u);
    EXPECT_EQ(failed[9], "FAILED");
    EXPECT_EQ(failed[11], "erasing...");
    EXPECT_EQ(records[3][3], "detect");
    EXPECT_EQ(records[3][6], ""); // a detect moves no image
}

TEST_F(ProductionLog, AJobThatNeverStartedWritesNoRow) {
    plugged = false;
    const std::string log = path("production.csv");
    EXPECT_EQ(run({"--log-csv", log, "detect"}), 3);
    EXPECT_FALSE(std::filesystem::exists(log));
}

TEST_F(ProductionLog, ALogThatCannotBeWrittenIsAnError) {
    EXPECT_EQ(run({"--log-csv", path("no/such/folder.csv"), "detect"}), 2);
    EXPECT_EQ(errLines().back(),
              "The production log " + path("no/such/folder.csv") + " cannot be written.");
}

} // namespace
} // namespace tarvik::cli::test
