// The command line of the desktop program.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvik {

struct ProgramOptions {
    enum class Programmer { Usb, Emulated, Socket };
    Programmer programmer = Programmer::Usb;
    std::string chip = "ATmega8";  // the virtual programmer's chip with --emulate
    std::string socketPath;        // --programmer socket:PATH
    std::string file;              // a HEX or binary file to open at start
    std::string screenshotDir;     // --screenshot DIR: render the windows to PNG files and exit
    bool benchmarkStartup = false; // print the start-up time and memory, then exit
    bool help = false;
};

// The options, or the text of what is wrong with them.
struct ParsedOptions {
    std::optional<ProgramOptions> options;
    std::string error;
};
ParsedOptions parseProgramOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string programUsage();

} // namespace tarvik
