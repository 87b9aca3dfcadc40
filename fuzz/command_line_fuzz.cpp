// tarvik-cli's command-line parser on any arguments (NUL bytes separate them). A command line
// is taken with its command's argument count (unless it asks for help), or refused with one message
// that every language can show.
#include "cli/cli_options.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvik;
    fuzz::FuzzInput input(data, size);
    const std::vector<std::string> args = input.arguments();
    const cli::ParsedCommandLine parsed = cli::parseCommandLine(args);
    if (parsed.error) {
        for (std::uint8_t language = 0; language < 3; ++language)
            fuzz::require(!cli::describe(*parsed.error, language).empty(), "a usage error is told");
        return 0;
    }
    const cli::CliOptions& options = parsed.options;
    fuzz::require(options.language < 3, "the language is one of the three");
    if (options.command != nullptr && !options.help) // help needs no complete command line
        fuzz::require(options.args.size() >= options.command->minArgs &&
                          options.args.size() <= options.command->maxArgs,
                      "a command gets the arguments it takes");
    fuzz::require(options.wait.count() >= 0 && options.answerTimeout.count() >= 0,
                  "waits are not negative");
    return 0;
}
