// What the start-up measurement reads about this process from the system (posix/ or windows/).
#pragma once

namespace tarvik {

// Milliseconds since the system started this process.
double millisecondsSinceProcessStart();
// The memory the process holds in RAM (resident set, working set) in KiB; -1 when unknown.
long residentKiB();

} // namespace tarvik
