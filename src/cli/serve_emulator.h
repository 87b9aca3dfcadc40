// serve-emulator: the virtual programmer in this process, served on a UNIX-domain socket until
// SIGINT or SIGTERM, for a client in another process (--programmer socket:PATH).
#pragma once

#include "cli/cli.h"
#include "cli/cli_options.h"

namespace tarvik::cli {

int serveEmulator(const CliOptions& options, CliIo& io);

} // namespace tarvik::cli
