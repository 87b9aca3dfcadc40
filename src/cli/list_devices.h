// list-devices: the Device menu entries --device selects, the chips the client identifies by
// their signature, the chips the virtual programmer can hold, and the programmers attached now.
#pragma once

#include "cli/cli.h"
#include "cli/cli_options.h"

namespace tarvik::cli {

// The attached programmers are looked for where --programmer says (USB by default).
int listDevices(const CliOptions& options, CliIo& io, const BackendFactory& openBackend);

} // namespace tarvik::cli
