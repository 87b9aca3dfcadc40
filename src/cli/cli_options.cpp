// Parsing tarvik-cli's arguments: one pass that sorts options from the command and its
// arguments, then the checks that need the whole line (argument counts, serve-only options).
#include "cli/cli_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "buffer/buffer_texts.h"
#include "cli/cli_texts.h"
#include "cli/device_names.h"

namespace tarvik::cli {
namespace {

struct LanguageName {
    std::string_view name;
    std::uint8_t code;
};
constexpr std::array kLanguageNames{LanguageName{"de", 0}, LanguageName{"en", 1},
                                    LanguageName{"ru", 2}};

// Options that take a value.
constexpr std::array<std::string_view, 18> kValueOptions{
    "--device",       "--programmer", "--lang",   "--wait",        "--timeout",      "--socket",
    "--chip",         "--latency",    "--vendor", "--product",     "--report-bytes", "--events",
    "--unplug-after", "--log-csv",    "--serial", "--serial-file", "--label",        "--from"};
// Options only serve-emulator takes.
constexpr std::array<std::string_view, 9> kServeOptions{
    "--socket",  "--uhid",         "--chip",   "--latency",     "--vendor",
    "--product", "--report-bytes", "--events", "--unplug-after"};
// Options only serve-emulator --uhid takes.
constexpr std::array<std::string_view, 4> kUhidOptions{"--vendor", "--product", "--report-bytes",
                                                       "--events"};

// Whole or fractional seconds, not negative, up to a day. Any time above 0 is at least 1 ms: only
// 0 itself means "no limit".
std::optional<std::chrono::milliseconds> parseSeconds(std::string_view text) {
    double seconds = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) ||
        seconds < 0 || seconds > 86400)
        return std::nullopt;
    const auto ms = static_cast<std::int64_t>(std::llround(seconds * 1000));
    return std::chrono::milliseconds(seconds > 0 ? std::max<std::int64_t>(ms, 1) : 0);
}

// A whole number in the given base, from 0 to max.
template <typename T>
std::optional<T> parseNumber(std::string_view text, int base, T max) {
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > max)
        return std::nullopt;
    return static_cast<T>(value);
}

std::optional<ProgrammerChoice> parseProgrammer(std::string_view text) {
    ProgrammerChoice choice;
    if (text == "hid") {
        choice.kind = ProgrammerChoice::Kind::Hid;
    } else if (text.starts_with("hid:") && text.size() > 4) {
        choice.kind = ProgrammerChoice::Kind::Hid;
        choice.hidPath = text.substr(4);
    } else if (text == "emulate") {
        choice.kind = ProgrammerChoice::Kind::Emulate;
    } else if (text.starts_with("emulate:") && text.size() > 8) {
        choice.kind = ProgrammerChoice::Kind::Emulate;
        choice.chip = text.substr(8);
    } else if (text.starts_with("socket:") && text.size() > 7) {
        choice.kind = ProgrammerChoice::Kind::Socket;
        choice.socketPath = text.substr(7);
    } else {
        return std::nullopt;
    }
    return choice;
}

// Applies one option with its value; false when the value is not one the option takes.
bool applyValue(CliOptions& options, std::string_view name, std::string_view value) {
    if (name == "--device") {
        const DeviceName* device = findDeviceName(value);
        if (device != nullptr)
            options.deviceEntry = device->entry;
        return device != nullptr;
    }
    if (name == "--programmer") {
        if (value == "all") {
            options.allProgrammers = true;
            return true;
        }
        const std::optional<ProgrammerChoice> choice = parseProgrammer(value);
        if (choice) {
            options.programmer = *choice;
            options.programmerValues.emplace_back(value);
        }
        return choice.has_value();
    }
    if (name == "--label") {
        options.label = value;
        return !value.empty();
    }
    if (name == "--lang") {
        for (const LanguageName& language : kLanguageNames) {
            if (value == language.name) {
                options.language = language.code;
                options.languageGiven = true;
                return true;
            }
        }
        return false;
    }
    if (name == "--wait" || name == "--timeout") {
        const std::optional<std::chrono::milliseconds> time = parseSeconds(value);
        if (time)
            (name == "--wait" ? options.wait : options.answerTimeout) = *time;
        return time.has_value();
    }
    if (name == "--from") {
        options.fuseFile = value;
        return !value.empty();
    }
    if (name == "--socket") {
        options.socketPath = value;
        return !value.empty();
    }
    if (name == "--chip") {
        options.chip = value;
        return !value.empty();
    }
    if (name == "--vendor" || name == "--product") {
        const auto id = parseNumber<std::uint16_t>(value, 16, 0xFFFF);
        if (id)
            (name == "--vendor" ? options.vendorId : options.productId) = *id;
        return id.has_value();
    }
    if (name == "--report-bytes") {
        const auto bytes = parseNumber<std::size_t>(value, 10, 64);
        if (bytes)
            options.reportBytes = *bytes;
        return bytes.has_value() && *bytes > 0;
    }
    if (name == "--unplug-after") {
        const auto reports = parseNumber<std::size_t>(value, 10, 1000000000);
        if (reports)
            options.unplugAfter = *reports;
        return reports.has_value() && *reports > 0;
    }
    if (name == "--serial") {
        options.serial = parseSerialOption(value);
        return options.serial.has_value();
    }
    if (name == "--serial-file") {
        options.serialFile = value;
        return !value.empty();
    }
    if (name == "--log-csv") {
        options.logCsv = value;
        return !value.empty();
    }
    if (name == "--events") {
        options.eventsPath = value;
        return !value.empty();
    }
    // --latency: none, usb, or the interval between reports as NUMBERms
    options.latencyGiven = true;
    if (value == "none" || value == "usb") {
        options.reportInterval = std::chrono::milliseconds(value == "usb" ? 1 : 0);
        return true;
    }
    if (!value.ends_with("ms"))
        return false;
    const auto interval = parseNumber<unsigned>(value.substr(0, value.size() - 2), 10, 1000);
    if (interval)
        options.reportInterval = std::chrono::milliseconds(*interval);
    return interval.has_value() && *interval > 0;
}

bool isOneOf(std::string_view name, std::span<const std::string_view> names) {
    return std::ranges::find(names, name) != names.end();
}

} // namespace

std::string describe(const UsageError& error, std::uint8_t language) {
    return fillIn(pick(*error.text, language), {error.arg1, error.arg2});
}

ParsedCommandLine parseCommandLine(std::span<const std::string> args) {
    ParsedCommandLine parsed;
    CliOptions& options = parsed.options;
    const auto fail = [&parsed](const LangText& text, std::string_view a1 = {},
                                std::string_view a2 = {}) {
        if (!parsed.error)
            parsed.error = UsageError{&text, std::string(a1), std::string(a2)};
    };
    std::vector<std::string_view> positional;
    std::vector<std::string_view> serveOptionsUsed;
    std::vector<std::string_view> uhidOptionsUsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "-q" || arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--no-verify") {
            options.verify = false;
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--repeat") {
            options.repeat = true;
        } else if (arg == "--eeprom") {
            options.eeprom = true;
        } else if (arg == "--uhid") {
            options.uhid = true;
            serveOptionsUsed.push_back(arg);
        } else {
            const std::size_t equals = arg.find('=');
            const std::string_view name = arg.substr(0, equals);
            if (!isOneOf(name, kValueOptions)) {
                fail(texts::kUnknownOption, arg);
                continue;
            }
            std::string_view value;
            if (equals != std::string_view::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                fail(texts::kMissingValue, name);
                continue;
            }
            if (!applyValue(options, name, value))
                fail(texts::kBadValue, name, value);
            if (isOneOf(name, kServeOptions))
                serveOptionsUsed.push_back(name);
            if (isOneOf(name, kUhidOptions))
                uhidOptionsUsed.push_back(name);
        }
    }

    if (!positional.empty()) {
        for (const CommandInfo& command : kCommands) {
            if (command.name == positional.front())
                options.command = &command;
        }
        if (options.command == nullptr)
            fail(texts::kUnknownCommand, positional.front());
        options.args.assign(positional.begin() + 1, positional.end());
    }
    if (options.help)
        return parsed; // help needs no complete command line
    if (options.command == nullptr) {
        fail(texts::kNoCommand);
        return parsed;
    }
    if (options.args.size() < options.command->minArgs ||
        options.args.size() > options.command->maxArgs)
        fail(texts::kArgumentCount, options.command->name);
    // write-fuses takes its values from the arguments or from a file, one of the two.
    const bool writesFuses = options.command->id == CommandId::WriteFuses;
    if (!options.fuseFile.empty() && !writesFuses)
        fail(texts::kFromWriteFusesOnly);
    if (writesFuses && options.args.empty() == options.fuseFile.empty())
        fail(texts::kAssignmentsOrFrom);
    const bool writes =
        options.command->id == CommandId::Write || options.command->id == CommandId::WriteEeprom;
    if ((options.serial || !options.serialFile.empty()) && !writes)
        fail(texts::kSerialNotForCommand);
    if (!options.serialFile.empty() && !options.serial)
        fail(texts::kSerialFileNeedsSerial);
    const bool severalChips =
        options.repeat || options.allProgrammers || options.programmerValues.size() > 1;
    if (options.serial && options.serialFile.empty() && severalChips)
        fail(texts::kSerialFileForSeveral);
    if (options.eeprom && options.command->id != CommandId::BlankCheck)
        fail(texts::kBlankCheckOnly, "--eeprom");
    if (options.command->id != CommandId::ServeEmulator && !serveOptionsUsed.empty())
        fail(texts::kServeOnly, serveOptionsUsed.front());
    if (options.command->id == CommandId::ServeEmulator) {
        if (options.socketPath.empty() == !options.uhid)
            fail(texts::kSocketRequired);
        if (!options.uhid && !uhidOptionsUsed.empty())
            fail(texts::kUhidOnly, uhidOptionsUsed.front());
        // The kernel-level device stands in for hardware: it answers at the hardware's pace
        // unless told otherwise.
        if (options.uhid && !options.latencyGiven)
            options.reportInterval = std::chrono::milliseconds(1);
    }
    return parsed;
}

} // namespace tarvik::cli
