// The command line as UTF-8, whatever the system hands to main().
#pragma once

#include <string>
#include <vector>

namespace tarvik::platform {

// The arguments after the program's name. On Windows they are taken from the wide command
// line, so names in any script survive; elsewhere they are argv as it is.
std::vector<std::string> utf8Arguments(int argc, char** argv);

} // namespace tarvik::platform
