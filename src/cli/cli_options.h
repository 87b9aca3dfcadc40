// The command line of tarvik-cli: the commands with their argument counts, the options, and
// the parser that turns the arguments into CliOptions or one usage error.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/serial_numbers.h"
#include "common/lang_text.h"

namespace tarvik::cli {

enum class CommandId {
    Detect,
    Erase,
    Write,
    Verify,
    Read,
    WriteEeprom,
    ReadEeprom,
    ReadFuses,
    WriteFuses,
    BlankCheck,
    Convert,
    ServeEmulator,
    ListDevices,
};

struct CommandInfo {
    std::string_view name;
    CommandId id;
    std::size_t minArgs;
    std::size_t maxArgs;
};

inline constexpr std::size_t kAnyCount = 1000;

inline constexpr CommandInfo kCommands[] = {
    {"detect", CommandId::Detect, 0, 0},
    {"erase", CommandId::Erase, 0, 0},
    {"write", CommandId::Write, 1, 1},
    {"verify", CommandId::Verify, 1, 1},
    {"read", CommandId::Read, 1, 1},
    {"write-eeprom", CommandId::WriteEeprom, 1, 1},
    {"read-eeprom", CommandId::ReadEeprom, 1, 1},
    {"read-fuses", CommandId::ReadFuses, 0, 0},
    {"write-fuses", CommandId::WriteFuses, 0, kAnyCount},
    {"blank-check", CommandId::BlankCheck, 0, 0},
    {"convert", CommandId::Convert, 2, 2},
    {"serve-emulator", CommandId::ServeEmulator, 0, 0},
    {"list-devices", CommandId::ListDevices, 0, 0},
};

struct CliOptions {
    const CommandInfo* command = nullptr; // none: only --help, or a usage error
    std::vector<std::string> args;        // the command's own arguments
    std::string_view deviceEntry = "nAVRISP";
    ProgrammerChoice programmer; // the last --programmer given
    // Every --programmer value in order; with more than one, or --programmer all, the job runs
    // on each programmer in a tarvik-cli of its own.
    std::vector<std::string> programmerValues;
    bool allProgrammers = false;
    std::string label = "1"; // the programmer's label in the production log
    bool repeat = false;     // run the job again on every chip inserted, until interrupted
    bool verify = true;
    bool force = false;   // write-fuses: write a change that can lock the user out of the chip;
                          // write, verify, write-eeprom: a file built for another chip
    std::string fuseFile; // write-fuses --from: the fuse and lock bytes of this (ELF) file
    bool eeprom = false;  // blank-check: the AVR chip's data EEPROM instead of its flash
    std::string logCsv;   // the production log to append a row to; empty: none
    std::optional<SerialNumbering> serial; // write, write-eeprom: the serial number to patch in
    std::string serialFile;                // the file holding the next serial number; empty: none
    std::uint8_t language = 1;             // 0 German, 1 English, 2 Russian
    bool languageGiven = false;
    bool trace = false;
    bool quiet = false;
    bool help = false;
    std::chrono::milliseconds wait{0};
    std::chrono::milliseconds answerTimeout{std::chrono::seconds(30)}; // 0: wait for ever
    // serve-emulator
    std::string socketPath;
    bool uhid = false; // serve on /dev/uhid instead of a socket
    std::string chip = "ATmega8";
    // Time between two input reports of one answer: 0 answers at once, 1 ms is the pace of
    // USB full-speed frames; a longer one stands in for a slow host.
    std::chrono::milliseconds reportInterval{0};
    bool latencyGiven = false;
    std::size_t unplugAfter = 0; // drop off the bus at that output report (0: never)
    // serve-emulator --uhid: the ids and report length the kernel sees, and where to note
    // what the kernel does with the device
    std::uint16_t vendorId = 0x0451;
    std::uint16_t productId = 0x3210;
    std::size_t reportBytes = 64;
    std::string eventsPath;
};

// A usage error: the message pattern and what fills its %1, %2.
struct UsageError {
    const LangText* text;
    std::string arg1;
    std::string arg2;
};

// The message of a usage error in the language.
std::string describe(const UsageError& error, std::uint8_t language);

struct ParsedCommandLine {
    CliOptions options;
    std::optional<UsageError> error; // the first thing wrong, if any
};

// Options may stand before or after the command; "--" ends them. "--name=value" and
// "--name value" are both taken.
ParsedCommandLine parseCommandLine(std::span<const std::string> args);

} // namespace tarvik::cli
