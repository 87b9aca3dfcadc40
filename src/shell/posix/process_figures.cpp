// The process's start time and resident memory from /proc (Linux).
#include "shell/process_figures.h"

#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace tarvik {

double millisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Field 22, counted after the command name's closing parenthesis (field 2).
    std::size_t pos = text.rfind(')');
    for (int field = 2; field < 22 && pos != std::string::npos; ++field)
        pos = text.find(' ', pos + 1);
    const double startTicks = pos == std::string::npos ? 0 : std::stod(text.substr(pos + 1));
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double nowMs = double(boot.tv_sec) * 1e3 + double(boot.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmRSS:"))
            return std::stol(line.substr(6));
    return -1;
}

} // namespace tarvik
