// serve-emulator on Windows: there is no UNIX-domain socket and no uhid to serve on.
#include "cli/serve_emulator.h"

#include "cli/cli_texts.h"

namespace tarvik::cli {

int serveEmulator(const CliOptions& options, CliIo& io) {
    io.err << pick(texts::kNoServingHere, options.language) << '\n';
    return kExitUsage;
}

} // namespace tarvik::cli
