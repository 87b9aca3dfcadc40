// tarvik-cli: runs one command of the engine without a window. The commands live in their own
// files behind runCli; this only hands it the arguments (as UTF-8) and the console.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/child_process.h"
#include "platform/console.h"
#include "platform/program_arguments.h"

int main(int argc, char** argv) {
    tarvik::platform::useUtf8Console();
    const std::vector<std::string> args = tarvik::platform::utf8Arguments(argc, argv);
    tarvik::cli::CliIo io{std::cout, std::cerr, tarvik::platform::standardErrorIsTerminal(),
                          tarvik::platform::thisProgram(), &std::cin};
    return tarvik::cli::runCli(args, io);
}
