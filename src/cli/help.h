// --help: the tool's overview and each command's page, with examples.
#pragma once

#include <cstdint>
#include <ostream>

#include "cli/cli_options.h"

namespace tarvik::cli {

// command nullptr: the overview of the tool; in the language of the code (0 German, 1 English,
// 2 Russian).
void printHelp(std::ostream& out, const CommandInfo* command, std::uint8_t language);

} // namespace tarvik::cli
