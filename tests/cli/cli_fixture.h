// Runs tarvik-cli's core in this process against a virtual programmer (plugged at once, late,
// or never), with the console captured and a folder of its own for files.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "emulator/virtual_programmer.h"
#include "link/emulated_backend.h"

namespace tarvik::cli::test {

class CliTest : public ::testing::Test {
protected:
    CliTest();
    ~CliTest() override;

    // The programmer the backend plugs; replace before run() to hold another chip.
    std::shared_ptr<emulator::VirtualProgrammer> programmer =
        std::make_shared<emulator::VirtualProgrammer>("ATmega8");
    // A second programmer on the bus (at "emulated:2", after programmer at "emulated:1").
    std::shared_ptr<emulator::VirtualProgrammer> second;
    // When set, plugged in place of programmer (a model that wraps or replaces it).
    std::shared_ptr<VirtualDevice> model;
    Latency latency = Latency::None;
    bool plugged = true;                    // false: no programmer ever appears
    std::chrono::milliseconds plugDelay{0}; // how long after start the programmer is plugged
    EmulatedDeviceOptions device;           // how it shows on the bus
    bool terminal = false;                  // pretend standard error is a terminal

    // Runs the command line; out and err hold what it printed.
    int run(std::vector<std::string> args);
    std::vector<std::string> outLines() const;
    std::vector<std::string> errLines() const;

    std::string path(const std::string& name) const;
    void put(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    void put(const std::string& name, const std::string& text) const;
    std::vector<std::uint8_t> get(const std::string& name) const;

    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in; // the terminal's input

private:
    std::filesystem::path dir_;
};

// A buffer of n bytes with no run of 0xFF for a blank chip to hide.
std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed = 0);
std::vector<std::string> lines(const std::string& text);
inline bool has(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

} // namespace tarvik::cli::test
