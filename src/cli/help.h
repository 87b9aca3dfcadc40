// --help: the tool's overview and each command's page, with examples.
#pragma once

#include <ostream>

#include "cli/cli_options.h"

namespace tarvik::cli {

// command nullptr: the overview of the tool.
void printHelp(std::ostream& out, const CommandInfo* command);

} // namespace tarvik::cli
