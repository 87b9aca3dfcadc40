// One job on several programmers at once (--programmer all, or --programmer given more than
// once): each programmer gets a tarvik-cli of its own, so that one controller drives one
// programmer, and one programmer's crash or unplug touches none of the others. Every line the
// children print carries the programmer's label; a summary table follows at the end.
#pragma once

#include <span>
#include <string>

#include "cli/cli.h"
#include "cli/cli_options.h"

namespace tarvik::cli {

// Whether the command line asks for more than one programmer.
bool severalProgrammers(const CliOptions& options);

// args: the whole command line, as runCli got it.
int runOnSeveralProgrammers(const CliOptions& options, std::span<const std::string> args, CliIo& io,
                            const BackendFactory& openBackend);

} // namespace tarvik::cli
