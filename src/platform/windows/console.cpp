// The Windows console: a handle that has a console mode is one, and the output code page
// decides how the bytes written to it are shown.
#include "platform/console.h"

#include <windows.h>

namespace tarvik::platform {

bool standardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void useUtf8Console() {
    SetConsoleOutputCP(CP_UTF8);
}

} // namespace tarvik::platform
