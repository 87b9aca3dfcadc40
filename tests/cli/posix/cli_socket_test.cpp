// tarvik-cli across processes: serve-emulator in a child process, reached through the socket
// backend by the command line core and by the program itself.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "buffer/intel_hex.h"
#include "cli_fixture.h"
#include "served_emulator.h"

namespace tarvik::cli::test {
namespace {

using namespace std::chrono_literals;

class Socket : public CliTest {
protected:
    std::string socketPath = path("programmer.sock");

    // runCli with the program's own backends.
    int runReal(std::vector<std::string> args) {
        out.str("");
        err.str("");
        CliIo io{out, err, false, TARVIK_CLI_PATH, nullptr};
        return runCli(args, io);
    }
    // The program itself; its standard error goes to a file.
    int runProgram(const std::string& args) {
        const int raw = std::system(
            (std::string(TARVIK_CLI_PATH) + " " + args + " >/dev/null 2>" + path("stderr.txt"))
                .c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
};

TEST_F(Socket, JobsThroughAServedEmulator) {
    ServedEmulator server({"--socket", socketPath, "--chip", "ATtiny13"});
    ASSERT_EQ(server.firstLine(),
              "Serving a virtual programmer holding ATtiny13 on " + socketPath + "; Ctrl+C ends.");
    const std::string programmer = "--programmer=socket:" + socketPath;
    const auto image = pattern(1000);
    put("firmware.hex", writeIntelHex(image));

    EXPECT_EQ(runReal({programmer, "write", path("firmware.hex")}), 0) << out.str() << err.str();
    EXPECT_EQ(runReal({programmer, "read", path("back.bin")}), 0) << err.str();
    const std::vector<std::uint8_t> back = get("back.bin");
    ASSERT_EQ(back.size(), 1024u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), back.begin()));
    EXPECT_EQ(runReal({programmer, "detect"}), 0);
    const std::vector<std::string> printed = outLines();
    EXPECT_NE(std::ranges::find(printed, "Chip: ATtiny13"), printed.end());

    // The program itself, one connection after another.
    EXPECT_EQ(runProgram(programmer + " -q verify " + path("firmware.hex")), 0);
    EXPECT_EQ(runProgram(programmer + " write-fuses NOSUCH=1"), 2);
    EXPECT_EQ(runProgram(programmer + " --wait 0 verify " + path("missing.hex")), 2);
    EXPECT_EQ(server.stop(SIGTERM), 0);
    EXPECT_EQ(runProgram(programmer + " erase"), 3);
    EXPECT_EQ(get("stderr.txt"),
              std::vector<std::uint8_t>({'N', 'o', ' ', 'p', 'r', 'o', 'g', 'r', 'a', 'm', 'm',
                                         'e', 'r', ' ', 'f', 'o', 'u', 'n', 'd', '.', '\n'}));
}

// Another user's process listening on the path could collect the firmware: it is refused, with
// a message naming the path and the user.
TEST_F(Socket, PeerOfAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to serve the programmer as the user nobody";
    const std::string shared = path("shared");
    std::filesystem::create_directory(shared);
    std::filesystem::permissions(shared, std::filesystem::perms::all);
    const std::string foreign = shared + "/programmer.sock";
    ServedEmulator server({"--socket", foreign, "--chip", "ATtiny13"}, 65534);
    ASSERT_FALSE(server.firstLine().empty());
    EXPECT_EQ(runReal({"--programmer", "socket:" + foreign, "--lang", "en", "detect"}), 3);
    EXPECT_EQ(err.str(), "No programmer found.\nThe programmer at \"" + foreign +
                             "\" runs as another user (uid 65534) and is not used.\n");
    EXPECT_TRUE(out.str().empty());
}

TEST_F(Socket, ServerGoneMidJobEndsTheJobWithAnError) {
    ServedEmulator server({"--socket", socketPath, "--chip", "24AA512", "--latency", "usb"});
    ASSERT_FALSE(server.firstLine().empty());
    put("big.bin", pattern(65536));
    std::thread killer([&server] {
        std::this_thread::sleep_for(700ms);
        server.stop(SIGTERM);
    });
    const auto start = std::chrono::steady_clock::now();
    const int status = runReal(
        {"--programmer", "socket:" + socketPath, "--device", "24AA512", "write", path("big.bin")});
    killer.join();
    EXPECT_EQ(status, 1) << out.str();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(outLines().front(), "writing...");
    // The unplug is seen either as such or first as a write the socket no longer takes.
    const std::vector<std::string> failedWrite{"writing...", "Writing to the programmer failed.",
                                               "", "Error."};
    if (err.str().empty()) {
        EXPECT_TRUE(std::equal(failedWrite.begin(), failedWrite.end(), outLines().begin()))
            << out.str();
    } else {
        EXPECT_EQ(err.str(), "The programmer was disconnected before the job finished.\n");
    }
}

TEST_F(Socket, ServeEmulatorRefusesWhatItCannotServe) {
    EXPECT_EQ(runProgram("serve-emulator --socket " + socketPath + " --chip ATmega9"), 2);
    const std::vector<std::uint8_t> message = get("stderr.txt");
    EXPECT_TRUE(
        std::string(message.begin(), message.end()).starts_with("Unknown chip \"ATmega9\""));
    EXPECT_EQ(runProgram("serve-emulator --socket " + path("no/such/dir/p.sock")), 2);
}

} // namespace
} // namespace tarvik::cli::test
