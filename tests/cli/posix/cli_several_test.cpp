// One job on several programmers at once: virtual programmers served in processes of their
// own, one holding a chip too small for the image and one unplugged in the middle of the job. The
// others finish; every line carries its programmer's label, and the summary, the production
// log and the exit status say which programmer did what.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

#include "cli/production_log.h"
#include "cli_fixture.h"
#include "served_emulator.h"

namespace tarvik::cli::test {
namespace {

class Several : public CliTest {
protected:
    int runProgrammers(std::vector<std::string> args) {
        out.str("");
        err.str("");
        CliIo io{out, err, false, TARVIK_CLI_PATH, nullptr};
        return runCli(args, io);
    }
    std::string sock(int k) const { return path(std::string("p") + std::to_string(k) + ".sock"); }
};

TEST_F(Several, EachProgrammerRunsTheJobAndTheSummarySaysWhichFailed) {
    ServedEmulator good({"--socket", sock(1), "--chip", "ATmega8"});
    ServedEmulator tooSmall({"--socket", sock(2), "--chip", "ATtiny13"}); // 1 KiB of flash
    ServedEmulator unplugged({"--socket", sock(3), "--chip", "ATmega8", "--unplug-after", "8"});
    ServedEmulator alsoGood({"--socket", sock(4), "--chip", "ATmega8"});
    put("firmware.bin", pattern(2000));
    const std::string log = path("production.csv");
    std::vector<std::string> args;
    for (int k = 1; k <= 4; ++k)
        args.insert(args.end(), {"--programmer", std::string("socket:") + sock(k)});
    args.insert(args.end(), {"--log-csv", log, "write", path("firmware.bin")});

    EXPECT_EQ(runProgrammers(args), 1) << out.str() << err.str();

    const std::vector<std::string> printed = outLines();
    for (const std::string& line : printed) {
        if (line.starts_with('[')) {
            EXPECT_TRUE(line[1] >= '1' && line[1] <= '4' && line[2] == ']') << line;
        }
    }
    EXPECT_NE(std::ranges::find(printed, "[1] Successfully finished."), printed.end()) << out.str();
    EXPECT_NE(std::ranges::find(printed, "[4] Successfully finished."), printed.end());
    // The summary: a heading, then one row per programmer in label order.
    const auto heading = std::ranges::find_if(
        printed, [](const std::string& line) { return line.starts_with("#  Programmer"); });
    ASSERT_NE(heading, printed.end()) << out.str();
    ASSERT_GE(printed.end() - heading, 5);
    const std::vector<std::string> rows(heading + 1, heading + 5);
    const auto expectRow = [&](int k, const std::string& result) {
        const std::string& row = rows[static_cast<std::size_t>(k - 1)];
        EXPECT_TRUE(row.starts_with(std::to_string(k) + " ")) << row;
        EXPECT_NE(row.find(result), std::string::npos) << row;
    };
    expectRow(1, "OK");
    expectRow(2, "FAILED (1)");
    expectRow(3, "FAILED (1)");
    expectRow(4, "OK");
    EXPECT_NE(rows[0].find("ATmega8"), std::string::npos) << rows[0];

    std::ifstream file(log, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    const auto records = readCsv(text.str());
    ASSERT_EQ(records.size(), 5u) << text.str(); // the header, one row per programmer
    for (std::size_t k = 1; k <= 4; ++k)
        EXPECT_EQ(records[k][1], std::to_string(k));
    EXPECT_EQ(records[1][9], "OK");
    EXPECT_EQ(records[2][9], "FAILED");
    EXPECT_EQ(records[3][9], "FAILED");
    EXPECT_EQ(records[4][9], "OK");
}

TEST_F(Several, CtrlCStopsEveryProgrammerAndEachSaysHowFarItGot) {
    ServedEmulator first({"--socket", sock(1), "--chip", "24AA512", "--latency", "usb"});
    ServedEmulator second({"--socket", sock(2), "--chip", "24AA512", "--latency", "usb"});
    put("big.bin", pattern(65536));
    std::thread stop([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        ::kill(::getpid(), SIGINT);
    });
    const int status = runProgrammers({"--programmer", std::string("socket:") + sock(1),
                                       "--programmer", std::string("socket:") + sock(2), "--device",
                                       "24AA512", "write", path("big.bin")});
    stop.join();
    EXPECT_EQ(status, 130) << out.str() << err.str();
    for (const char* label : {"[1] ", "[2] "}) {
        EXPECT_TRUE(has(err.str(), std::string(label) + "Interrupted while writing: "))
            << err.str();
    }
    EXPECT_EQ(std::ranges::count_if(outLines(),
                                    [](const std::string& line) {
                                        return line.find("FAILED (130)") != std::string::npos;
                                    }),
              2)
        << out.str();
}

TEST_F(Several, AReadWritesOneFilePerProgrammer) {
    ServedEmulator first({"--socket", sock(1), "--chip", "ATtiny13"});
    ServedEmulator second({"--socket", sock(2), "--chip", "ATtiny13"});
    EXPECT_EQ(runProgrammers({"--programmer", std::string("socket:") + sock(1), "--programmer",
                              std::string("socket:") + sock(2), "read", path("dump.bin")}),
              0)
        << out.str() << err.str();
    EXPECT_EQ(get("dump.1.bin").size(), 1024u);
    EXPECT_EQ(get("dump.2.bin").size(), 1024u);
}

} // namespace
} // namespace tarvik::cli::test
