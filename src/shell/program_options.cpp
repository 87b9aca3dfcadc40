// Parsing the desktop program's command line.
#include "shell/program_options.h"

#include "shell/shell_texts.h"

namespace tarvik {

std::string_view programUsage(std::uint8_t languageCode) {
    return pick(texts::kProgramUsage, languageCode);
}

ParsedOptions parseProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // "--name=value" or "--name value" for options that take a value.
        auto value = [&](const std::string& name) -> std::optional<std::string> {
            if (argument.starts_with(name + "="))
                return argument.substr(name.size() + 1);
            if (argument == name && i + 1 < arguments.size())
                return arguments[++i];
            return std::nullopt;
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--emulate" || argument.starts_with("--emulate=")) {
            options.programmer = ProgramOptions::Programmer::Emulated;
            if (argument.size() > 10)
                options.chip = argument.substr(10);
        } else if (argument == "--programmer" || argument.starts_with("--programmer=")) {
            const auto choice = value("--programmer");
            if (!choice)
                return {std::nullopt, fillInAll(texts::kProgrammerNeedsValue, {})};
            if (*choice == "usb") {
                options.programmer = ProgramOptions::Programmer::Usb;
            } else if (choice->starts_with("socket:") && choice->size() > 7) {
                options.programmer = ProgramOptions::Programmer::Socket;
                options.socketPath = choice->substr(7);
            } else {
                return {std::nullopt, fillInAll(texts::kUnknownProgrammer, {*choice})};
            }
        } else if (argument == "--screenshot" || argument.starts_with("--screenshot=")) {
            const auto dir = value("--screenshot");
            if (!dir || dir->empty())
                return {std::nullopt, fillInAll(texts::kScreenshotNeedsFolder, {})};
            options.screenshotDir = *dir;
        } else if (argument == "--benchmark-startup") {
            options.benchmarkStartup = true;
        } else if (argument.starts_with("-") && argument != "-") {
            return {std::nullopt, fillInAll(texts::kUnknownProgramOption, {argument})};
        } else if (options.file.empty()) {
            options.file = argument;
        } else {
            return {std::nullopt, fillInAll(texts::kOneFileOnly, {})};
        }
    }
    return {options, {}};
}

} // namespace tarvik
