// The command line of the desktop program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/lang_text.h"

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

// The options, or the text of what is wrong with them in every language (the language the
// settings ask for is picked when it is shown).
struct ParsedOptions {
    std::optional<ProgramOptions> options;
    LangLine error;
};
ParsedOptions parseProgramOptions(const std::vector<std::string>& arguments);

// The text --help prints, in the language of the code (0 German, 1 English, 2 Russian).
std::string_view programUsage(std::uint8_t languageCode);

} // namespace tarvik
