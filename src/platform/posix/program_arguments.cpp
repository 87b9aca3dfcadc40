// POSIX hands main() the bytes of the command line: UTF-8 in any sane locale.
#include "platform/program_arguments.h"

namespace tarvik::platform {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

} // namespace tarvik::platform
