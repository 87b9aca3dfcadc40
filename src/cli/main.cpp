// tarvik-cli: runs one command of the engine without a window. The commands live in their own
// files behind runCli; this only hands it the arguments and the console.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    tarvik::cli::CliIo io{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};
    return tarvik::cli::runCli(args, io);
}
