// The desktop program's command line.
#include <gtest/gtest.h>

#include "shell/program_options.h"

using namespace tarvik;
using Programmer = ProgramOptions::Programmer;

TEST(ProgramOptions, Accepted) {
    struct Case {
        std::vector<std::string> arguments;
        Programmer programmer;
        std::string chip, socketPath, file;
    };
    const Case cases[] = {
        {{}, Programmer::Usb, "ATmega8", "", ""},
        {{"--emulate"}, Programmer::Emulated, "ATmega8", "", ""},
        {{"--emulate=24AA512", "image.hex"}, Programmer::Emulated, "24AA512", "", "image.hex"},
        {{"--programmer", "socket:/tmp/p.sock"}, Programmer::Socket, "ATmega8", "/tmp/p.sock", ""},
        {{"--programmer=socket:rel/p"}, Programmer::Socket, "ATmega8", "rel/p", ""},
        {{"--emulate", "--programmer", "usb"}, Programmer::Usb, "ATmega8", "", ""},
    };
    for (const Case& c : cases) {
        const ParsedOptions parsed = parseProgramOptions(c.arguments);
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_EQ(parsed.options->programmer, c.programmer);
        EXPECT_EQ(parsed.options->chip, c.chip);
        EXPECT_EQ(parsed.options->socketPath, c.socketPath);
        EXPECT_EQ(parsed.options->file, c.file);
    }
    EXPECT_TRUE(parseProgramOptions({"--help"}).options->help);
    EXPECT_EQ(parseProgramOptions({"--screenshot", "out"}).options->screenshotDir, "out");
    EXPECT_TRUE(parseProgramOptions({"--benchmark-startup"}).options->benchmarkStartup);
    EXPECT_NE(programUsage().find("--emulate[=CHIP]"), std::string::npos);
}

TEST(ProgramOptions, RefusedWithAReason) {
    const std::vector<std::vector<std::string>> cases = {
        {"--programmer"},         {"--programmer", "serial:/dev/ttyS0"},
        {"--programmer=socket:"}, {"--frobnicate"},
        {"a.hex", "b.hex"},       {"--screenshot"},
    };
    for (const auto& arguments : cases) {
        const ParsedOptions parsed = parseProgramOptions(arguments);
        EXPECT_FALSE(parsed.options) << arguments.front();
        EXPECT_FALSE(parsed.error.empty());
    }
}
