// tarvik-cli: runs one command of the engine without a window. Each command lives in its own
// file; this only picks it by its name.
#include <array>
#include <iostream>
#include <span>
#include <string_view>
#include <vector>

#include "cli/convert_command.h"

namespace {

struct Command {
    std::string_view name;
    std::string_view synopsis;
    int (*run)(std::span<const std::string_view> args, std::ostream& err);
};

constexpr std::array<Command, 1> kCommands{{
    {"convert", "convert IN OUT [--lang de|en|ru]", tarvik::runConvert},
}};

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (const Command& command : kCommands) {
        if (!args.empty() && args[0] == command.name)
            return command.run(std::span(args).subspan(1), std::cerr);
    }
    std::cerr << "Usage: tarvik-cli COMMAND ...\nCommands:\n";
    for (const Command& command : kCommands)
        std::cerr << "  " << command.synopsis << '\n';
    return 1;
}
