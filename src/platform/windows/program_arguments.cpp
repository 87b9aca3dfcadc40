// Windows hands main() the command line in the ANSI code page, which cannot hold every name:
// the wide command line is split as the C runtime would split it and converted to UTF-8.
#include "platform/program_arguments.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/file_name.h"

namespace tarvik::platform {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(utf8FromPath(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return arguments;
}

} // namespace tarvik::platform
