// The process's creation time and working set from the Windows process API.
#include "shell/process_figures.h"

#include <windows.h>

#include <psapi.h>

namespace tarvik {

namespace {

double milliseconds(const FILETIME& time) {
    const ULARGE_INTEGER ticks{{time.dwLowDateTime, time.dwHighDateTime}};
    return double(ticks.QuadPart) / 1e4; // 100 ns ticks
}

} // namespace

double millisecondsSinceProcessStart() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return -1;
    GetSystemTimeAsFileTime(&now);
    return milliseconds(now) - milliseconds(created);
}

long residentKiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return long(counters.WorkingSetSize / 1024);
}

} // namespace tarvik
