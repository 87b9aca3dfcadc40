// The testable core of tarvik-cli: runCli takes the arguments, the two output streams and the
// way to reach the programmer, runs one command and returns the exit status. main() only
// converts argv; tests supply their own programmer (a virtual one with faults injected).
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <span>
#include <string>

#include "link/dispatcher.h"
#include "link/hid_backend.h"

namespace tarvik::cli {

// Exit statuses.
enum ExitStatus : int {
    kExitSuccess = 0,
    kExitJobFailed = 1, // the job ended with the error result, or the programmer went away
    kExitUsage = 2,     // bad usage, or a file that could not be read or written
    kExitNoProgrammer = 3,
};

struct CliIo {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // draw a progress bar on err
    // This program, to start it once per programmer.
    std::string program;
    // Where --repeat reads the Enter between two serial EEPROMs; nullptr: no terminal.
    std::istream* in = nullptr;
};

// Where the programmer is: the real one on USB, one emulated in this process, or one served
// by another process on a UNIX-domain socket.
struct ProgrammerChoice {
    enum class Kind { Hid, Emulate, Socket };
    Kind kind = Kind::Hid;
    std::string chip = "ATmega8"; // Emulate: the virtual chip on the programmer
    std::string socketPath;       // Socket
    std::string hidPath;          // Hid: the programmer at this node or identity; empty: any
};

// Makes the HID backend the controller enumerates. Throws UserError (for example an unknown
// chip name) to refuse the choice.
using BackendFactory = std::function<std::unique_ptr<HidBackend>(const ProgrammerChoice& choice,
                                                                 Dispatcher& mainThread)>;

// The backends of the real program: USB (when the build has a USB backend), in-process,
// socket (where the system has UNIX-domain sockets); nullptr for one it lacks.
std::unique_ptr<HidBackend> openProgrammerBackend(const ProgrammerChoice& choice,
                                                  Dispatcher& mainThread);
// Why a factory gave no backend for this choice.
const LangText& missingBackendText(const ProgrammerChoice& choice);

// args are the arguments after the program name.
int runCli(std::span<const std::string> args, CliIo& io,
           const BackendFactory& openBackend = openProgrammerBackend);

} // namespace tarvik::cli
