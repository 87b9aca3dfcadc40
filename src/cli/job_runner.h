// The commands that drive the programmer: a window-less TMainForm over the chosen backend,
// the Device menu entry selected, the programmer awaited, then the window's own handlers.
#pragma once

#include "cli/cli.h"
#include "cli/cli_options.h"

namespace tarvik::cli {

int runJobCommand(const CliOptions& options, CliIo& io, const BackendFactory& openBackend);

} // namespace tarvik::cli
