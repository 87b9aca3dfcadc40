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
        ASSERT_TRUE(parsed.options) << parsed.error[1];
        EXPECT_EQ(parsed.options->programmer, c.programmer);
        EXPECT_EQ(parsed.options->chip, c.chip);
        EXPECT_EQ(parsed.options->socketPath, c.socketPath);
        EXPECT_EQ(parsed.options->file, c.file);
    }
    EXPECT_TRUE(parseProgramOptions({"--help"}).options->help);
    EXPECT_EQ(parseProgramOptions({"--screenshot", "out"}).options->screenshotDir, "out");
    EXPECT_TRUE(parseProgramOptions({"--benchmark-startup"}).options->benchmarkStartup);
    for (std::uint8_t language : {0, 1, 2})
        EXPECT_NE(programUsage(language).find("--emulate[=CHIP]"), std::string::npos);
}

TEST(ProgramOptions, RefusedWithAReasonInEveryLanguage) {
    struct Case {
        std::vector<std::string> arguments;
        std::string english;
    };
    const Case cases[] = {
        {{"--programmer"}, "--programmer needs a value: usb or socket:PATH"},
        {{"--programmer", "serial:/dev/ttyS0"},
         "unknown programmer \"serial:/dev/ttyS0\": use usb or socket:PATH"},
        {{"--programmer=socket:"}, "unknown programmer \"socket:\": use usb or socket:PATH"},
        {{"--frobnicate"}, "unknown option \"--frobnicate\""},
        {{"a.hex", "b.hex"}, "only one file can be opened"},
        {{"--screenshot"}, "--screenshot needs a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        const ParsedOptions parsed = parseProgramOptions(c.arguments);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error[1], c.english);
        EXPECT_FALSE(parsed.error[0].empty() || parsed.error[2].empty());
        EXPECT_NE(parsed.error[0], parsed.error[1]);
        EXPECT_NE(parsed.error[2], parsed.error[1]);
    }
    const ParsedOptions unknown = parseProgramOptions({"--frobnicate"});
    EXPECT_EQ(unknown.error[0], "unbekannte Option „--frobnicate“");
    EXPECT_EQ(unknown.error[2], "неизвестный параметр «--frobnicate»");
}
