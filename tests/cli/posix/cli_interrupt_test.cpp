// Jobs that must not hang the command line: --timeout counts only reports that move the job
// on, and SIGINT or SIGTERM mid-job stop it with a line saying how far it got.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>

#include "cli_fixture.h"

namespace tarvik::cli::test {
namespace {

using namespace std::chrono_literals;
using emulator::VirtualProgrammer;

// The virtual programmer with a twist: it raises a signal when the nth output report arrives,
// or answers one command with a long stream of "*" instead of carrying it out.
class Twisted : public VirtualDevice {
public:
    explicit Twisted(std::shared_ptr<VirtualProgrammer> inner) : inner_(std::move(inner)) {}
    std::size_t signalAt = 0;
    int signal = SIGINT;
    int chatterCommand = -1;

    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        if (++count_ == signalAt)
            std::raise(signal);
        if (report[2] == chatterCommand) {
            DeviceReply reply;
            reply.reports.assign(5000, InputReportBytes{0, '*'});
            return reply;
        }
        return inner_->onOutputReport(report);
    }

private:
    std::shared_ptr<VirtualProgrammer> inner_;
    std::size_t count_ = 0;
};

class Interrupt : public CliTest {
protected:
    std::shared_ptr<Twisted> twisted = std::make_shared<Twisted>(programmer);
    void SetUp() override { model = twisted; }
    std::vector<std::string> folder() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path("")))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

TEST_F(Interrupt, ChatterThatMovesNothingOnIsNoProgress) {
    // The erase is answered with 5 s of "*" (one per 1 ms frame) and nothing else.
    latency = Latency::UsbFullSpeed;
    twisted->chatterCommand = 2;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run({"--timeout", "0.25", "erase"}), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(errLines().back(), "The programmer has not moved the job on for 0.25 s.");
}

TEST_F(Interrupt, SignalMidJobSaysHowFarItGotAndExits128PlusTheSignal) {
    put("image.bin", pattern(4000));
    struct Case {
        std::vector<std::string> args;
        std::size_t signalAt;
        int signal;
        std::string start; // the line, up to the count
        std::string end;   // and after it
    };
    const Case cases[] = {
        {{"write", path("image.bin")},
         20,
         SIGINT,
         "Interrupted while writing: ",
         " of 4000 bytes sent; the chip is now partly written."},
        {{"--lang", "de", "write", path("image.bin")},
         20,
         SIGTERM,
         "Unterbrochen beim Schreiben: ",
         " von 4000 Byte gesendet; der Chip ist jetzt teilweise beschrieben."},
        {{"--lang", "ru", "verify", path("image.bin")},
         3, // the first chunk
         SIGINT,
         "Прервано при верификации: отправлено ",
         " из 4000 байт; чип не изменён."},
        {{"read", path("dump.bin")},
         3,
         SIGTERM,
         "Interrupted while reading: ",
         " of 8192 bytes received; no file was written."},
        {{"erase"}, 3, SIGINT, "Interrupted while erasing; the chip may be partly erased.", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        programmer = std::make_shared<VirtualProgrammer>("ATmega8");
        // The chip holds the image already, so no verify step fails on its own.
        ASSERT_TRUE(programmer->loadFlash(pattern(4000)));
        twisted = std::make_shared<Twisted>(programmer);
        twisted->signalAt = c.signalAt;
        twisted->signal = c.signal;
        model = twisted;
        EXPECT_EQ(run(c.args), 128 + c.signal) << out.str() << err.str();
        ASSERT_FALSE(errLines().empty());
        const std::string line = errLines().back();
        EXPECT_TRUE(line.starts_with(c.start) && line.ends_with(c.end)) << line;
        if (!c.end.empty()) {
            const std::string count =
                line.substr(c.start.size(), line.size() - c.start.size() - c.end.size());
            EXPECT_FALSE(count.empty() || count.find_first_not_of("0123456789") != count.npos)
                << line;
        }
        EXPECT_EQ(folder(), std::vector<std::string>{"image.bin"}); // no dump, no temporary
    }
    // The previous handlers are back once the command has returned.
    struct sigaction now {};
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

// A serial EEPROM verify stalls: the programmer takes 0.3 s over the chunk the interrupt came
// at, then answers "v". The command must not end before that answer is in: the next command
// line to open the programmer would otherwise take it for its own verify's success.
class Stalling : public VirtualDevice {
public:
    explicit Stalling(std::shared_ptr<VirtualProgrammer> inner) : inner_(std::move(inner)) {}

    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        if (report[2] != 4) // anything but a verify chunk
            return inner_->onOutputReport(report);
        std::raise(SIGINT);
        DeviceReply reply;
        reply.reports.assign(300, InputReportBytes{0, 'q'}); // busy: 300 frames of noise
        reply.reports.push_back(InputReportBytes{0, 'v'});
        return reply;
    }

private:
    std::shared_ptr<VirtualProgrammer> inner_;
};

TEST_F(Interrupt, AnInterruptedJobEndsOnlyOnceTheProgrammerIsQuiet) {
    put("image.bin", pattern(200));
    programmer = std::make_shared<VirtualProgrammer>("24AA512");
    model = std::make_shared<Stalling>(programmer);
    latency = Latency::UsbFullSpeed;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run({"--device", "24AA512", "verify", path("image.bin")}), 130);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 1300ms); // the 0.3 s of answers, then a quiet second
    EXPECT_LT(took, 5s);
    EXPECT_EQ(outLines(),
              (std::vector<std::string>{
                  "verifying...", "Waiting for the programmer to finish its last command …"}));
    EXPECT_TRUE(errLines().back().starts_with("Interrupted while verifying: ")) << err.str();
}

} // namespace
} // namespace tarvik::cli::test
