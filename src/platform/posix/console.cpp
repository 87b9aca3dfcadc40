// The terminal on POSIX systems: isatty, and UTF-8 as it is.
#include "platform/console.h"

#include <unistd.h>

namespace tarvik::platform {

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void useUtf8Console() {}

} // namespace tarvik::platform
