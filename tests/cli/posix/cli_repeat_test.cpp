// --repeat: program on insert. A hand at the virtual programmer puts chips in and takes them
// out between signature reads and, once its script is done, stops the tool as Ctrl+C would.
// Serial EEPROMs have no signature: there the user's Enter announces the next chip.
#include <gtest/gtest.h>

#include <csignal>
#include <regex>

#include "cli_fixture.h"
#include "emulator/virtual_chip.h"

namespace tarvik::cli::test {
namespace {

class ChipHand : public VirtualDevice {
public:
    // script: the chip in the socket at each signature read ("none": an empty socket).
    ChipHand(std::shared_ptr<emulator::VirtualProgrammer> programmer,
             std::vector<std::string> script)
        : programmer_(std::move(programmer)), script_(std::move(script)) {}

    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        constexpr std::uint8_t kReadSignature = 1;
        if (report.size() > 2 && report[2] == kReadSignature) {
            if (next_ == script_.size()) {
                std::raise(SIGINT);
            } else if (script_[next_++] != inserted_) {
                inserted_ = script_[next_ - 1];
                programmer_->insertChip(*emulator::findVirtualChip(inserted_));
            }
        }
        return programmer_->onOutputReport(report);
    }

private:
    std::shared_ptr<emulator::VirtualProgrammer> programmer_;
    std::vector<std::string> script_;
    std::size_t next_ = 0;
    std::string inserted_ = "ATmega8";
};

TEST_F(CliTest, RepeatProgramsEveryChipInsertedUntilStopped) {
    put("firmware.bin", pattern(2000));
    model = std::make_shared<ChipHand>(
        programmer, std::vector<std::string>{
                        "ATmega8", "ATmega8",           // waiting for a chip, the job
                        "none",                         // taken out
                        "none", "ATtiny13", "ATtiny13", // an empty socket, a chip too small
                        "unknown",                      // taken out: an unknown signature
                        "ATmega8", "ATmega8",           // the third chip and its job
                    });
    EXPECT_EQ(run({"--repeat", "write", path("firmware.bin")}), 1) << err.str();
    const std::vector<std::string> printed = outLines();
    ASSERT_EQ(printed.size(), 4u) << out.str();
    EXPECT_TRUE(std::regex_match(printed[0], std::regex(R"(#1 ATmega8 OK \d+\.\d\d s)")))
        << printed[0];
    EXPECT_EQ(printed[1], "#2 ATtiny13 FAILED: The image (2000 bytes) is larger than the flash "
                          "of the ATtiny13 (1024 bytes); nothing erased or written.");
    EXPECT_TRUE(std::regex_match(printed[2], std::regex(R"(#3 ATmega8 OK \d+\.\d\d s)")))
        << printed[2];
    EXPECT_EQ(printed[3], "2 programmed, 1 failed");
}

TEST_F(CliTest, RepeatWaitsForEnterBetweenSerialEeproms) {
    programmer = std::make_shared<emulator::VirtualProgrammer>("24AA256");
    put("data.bin", pattern(300));
    in.str("\n\n"); // two more chips, then the input ends
    EXPECT_EQ(run({"--repeat", "--device", "24AA256", "write", path("data.bin")}), 0) << err.str();
    const std::vector<std::string> printed = outLines();
    ASSERT_EQ(printed.size(), 7u) << out.str();
    EXPECT_TRUE(printed[0].starts_with("#1 24AA256")) << printed[0];
    EXPECT_EQ(printed[1], "Insert the next chip and press Enter.");
    EXPECT_TRUE(printed[2].starts_with("#2 24AA256")) << printed[2];
    EXPECT_TRUE(printed[4].starts_with("#3 24AA256")) << printed[4];
    EXPECT_EQ(printed[5], "Insert the next chip and press Enter."); // and the input ends
    EXPECT_EQ(printed[6], "3 programmed, 0 failed");
}

} // namespace
} // namespace tarvik::cli::test
