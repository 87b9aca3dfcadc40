// runCli: parses the command line and hands it to the command's own file.
#include <array>
#include <exception>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_options.h"
#include "cli/cli_texts.h"
#include "cli/convert_command.h"
#include "cli/help.h"
#include "cli/job_runner.h"
#include "cli/list_devices.h"
#include "cli/serve_emulator.h"
#include "cli/several_programmers.h"

namespace tarvik::cli {

namespace {

int convert(const CliOptions& options, CliIo& io) {
    constexpr std::array<std::string_view, 3> kLanguageNames{"de", "en", "ru"};
    std::vector<std::string_view> args(options.args.begin(), options.args.end());
    args.push_back("--lang");
    args.push_back(kLanguageNames.at(options.language));
    const int status = runConvert(args, io.out, io.err);
    return status == 0 ? kExitSuccess : kExitUsage;
}

} // namespace

int runCli(std::span<const std::string> args, CliIo& io, const BackendFactory& openBackend) {
    const ParsedCommandLine parsed = parseCommandLine(args);
    const CliOptions& options = parsed.options;
    const bool unknownCommand = parsed.error && parsed.error->text == &texts::kUnknownCommand;
    if (options.help && !unknownCommand) {
        printHelp(io.out, options.command, options.language);
        return kExitSuccess;
    }
    if (parsed.error) {
        io.err << describe(*parsed.error, options.language) << '\n'
               << pick(texts::kSeeHelp, options.language) << '\n';
        return kExitUsage;
    }
    try {
        switch (options.command->id) {
        case CommandId::Convert:
            return convert(options, io);
        case CommandId::ServeEmulator:
            return serveEmulator(options, io);
        case CommandId::ListDevices:
            return listDevices(options, io, openBackend);
        default:
            if (severalProgrammers(options))
                return runOnSeveralProgrammers(options, args, io, openBackend);
            return runJobCommand(options, io, openBackend);
        }
    } catch (const std::exception& e) {
        // Nothing the commands expect: say what it was rather than end without a word.
        io.err << e.what() << '\n';
        return kExitJobFailed;
    }
}

} // namespace tarvik::cli
