// tarvik-cli convert run as a program: its exit status and its message on standard error.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

#include "convert_fixture.h"

namespace tarvik {
namespace {

TEST_F(Convert, TheProgramReturnsTheStatusAndPrintsTheMessage) {
    put("bad.hex", "not hex");
    const auto status = [&](const std::string& args) {
        const int raw = std::system(
            (std::string(TARVIK_CLI_PATH) + " " + args + " 2>" + path("stderr.txt")).c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status("convert " + path("bad.hex") + " " + path("out.bin")), 2);
    EXPECT_EQ(get("stderr.txt"), path("bad.hex") + ": Error in file. No hex file.\n");
    EXPECT_EQ(status("convert " + path("bad.hex") + " " + path("out.bin") + " --lang de"), 2);
    EXPECT_EQ(get("stderr.txt"), path("bad.hex") + ": Fehler in Datei. Keine Hex-Datei.\n");
}

} // namespace
} // namespace tarvik
