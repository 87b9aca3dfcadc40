// Parsing the desktop program's command line.
#include "shell/program_options.h"

namespace tarvik {

std::string programUsage() {
    return "Usage: tarvik [OPTIONS] [FILE]\n"
           "Client for the USB HID chip programmer. FILE (Intel HEX or binary) is opened at "
           "start.\n"
           "\n"
           "  --emulate[=CHIP]           use the built-in virtual programmer holding CHIP\n"
           "                             (default ATmega8) instead of the one on USB\n"
           "  --programmer usb           use the programmer on USB (the default)\n"
           "  --programmer socket:PATH   use a virtual programmer served on the UNIX socket PATH\n"
           "                             (tarvik-cli serve-emulator --socket PATH)\n"
           "  --help                     show this text and exit\n";
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
                return {std::nullopt, "--programmer needs a value: usb or socket:PATH"};
            if (*choice == "usb") {
                options.programmer = ProgramOptions::Programmer::Usb;
            } else if (choice->starts_with("socket:") && choice->size() > 7) {
                options.programmer = ProgramOptions::Programmer::Socket;
                options.socketPath = choice->substr(7);
            } else {
                return {std::nullopt,
                        "unknown programmer \"" + *choice + "\": use usb or socket:PATH"};
            }
        } else if (argument == "--screenshot" || argument.starts_with("--screenshot=")) {
            const auto dir = value("--screenshot");
            if (!dir || dir->empty())
                return {std::nullopt, "--screenshot needs a folder"};
            options.screenshotDir = *dir;
        } else if (argument == "--benchmark-startup") {
            options.benchmarkStartup = true;
        } else if (argument.starts_with("-") && argument != "-") {
            return {std::nullopt, "unknown option \"" + argument + "\""};
        } else if (options.file.empty()) {
            options.file = argument;
        } else {
            return {std::nullopt, "only one file can be opened"};
        }
    }
    return {options, {}};
}

} // namespace tarvik
