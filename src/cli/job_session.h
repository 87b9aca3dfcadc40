// One session of tarvik-cli: the whole program of the window without its widgets. The plain
// main-thread loop, the backend, the HID controller, in-memory settings that say what the
// command line said, and TMainForm. The commands press the window's buttons; the loop runs
// until the job ends, the programmer goes away, or it stops answering.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "cli/cli_host.h"
#include "cli/cli_options.h"
#include "cli/fuse_assignments.h"
#include "cli/input_file.h"
#include "cli/interrupt.h"
#include "cli/job_output.h"
#include "cli/serial_numbers.h"
#include "form/main_form.h"
#include "form/settings_store.h"
#include "link/dispatcher.h"
#include "link/hid_device_controller.h"

namespace tarvik::cli {

enum class FileUse { None, Load, Save };

// Which of the window's buttons each command presses, and what it does with its file.
struct JobCommand {
    CommandId id;
    void (TMainForm::*handler)();
    Button TMainForm::*control; // the job is offered while this button is enabled
    FileUse file; // the file's image is the buffer: its CRC-32 is shown (after the read for a save)
    bool eeprom = false; // blank-check --eeprom
};

// The memory a command takes from a file that holds several (ELF).
inline MemoryPart partOf(const JobCommand& job) {
    return job.id == CommandId::WriteEeprom ? MemoryPart::Eeprom : MemoryPart::Flash;
}

enum class JobEnd { Succeeded, Failed, Unplugged, NoAnswer, Interrupted };

class JobSession {
public:
    JobSession(const CliOptions& options, CliIo& io)
        : options_(options), io_(io), language_(options.language),
          output_(io, options.quiet, io.errIsTerminal && !options.trace) {
        output_.setSilent(options.repeat);
    }

    ~JobSession() {
        form_.reset();
        dispatcher_.runPending();
    }

    // Finds the programmer, then runs the command once (with --log-csv appending its row to
    // the production log), or with --repeat on every chip inserted until interrupted.
    // fuseFile: write-fuses --from, whose bytes stand in for the assignments.
    int run(const JobCommand& job, std::span<const FuseAssignment> assignments,
            const FuseFile* fuseFile, const BackendFactory& openBackend);

private:
    // Starts the engine and waits for the programmer.
    int connect(const BackendFactory& openBackend);
    // The command on the chip there now, with its production log row.
    int runOnce(const JobCommand& job, std::span<const FuseAssignment> assignments);
    int runCommand(const JobCommand& job, std::span<const FuseAssignment> assignments);
    // --repeat (repeat_jobs.cpp).
    int runRepeated(const JobCommand& job, std::span<const FuseAssignment> assignments);
    // Whether a chip answers the signature read with one the table knows; nothing when the
    // programmer went away or a stop was requested.
    std::optional<bool> chipPresent();
    // Waits until a chip is there (or gone); false on a stop request or when the programmer
    // went away. Serial EEPROMs have no signature: the user presses Enter instead.
    bool awaitChip(bool present);
    int logProduction(const JobCommand& job, int status,
                      std::chrono::system_clock::time_point started,
                      std::chrono::steady_clock::time_point start);
    int patchSerialNumber();
    bool start(const BackendFactory& openBackend);
    void presetSettings();
    int loadFile(const std::string& fileName, MemoryPart part);
    int saveFile(const std::string& fileName);
    bool offered(const JobCommand& job) const;
    JobEnd runJob(void (TMainForm::*handler)());
    // The exit status of a job that did not succeed, after saying why.
    int failure(JobEnd end);
    bool fusesWereRead() const;
    void showChip();
    void showChecksum();
    int writeFuses(std::span<const FuseAssignment> assignments);
    std::optional<std::vector<FuseAssignment>> assignmentsFrom(const FuseFile& file);
    void error(std::string_view text);
    void error(const LangText& text, std::initializer_list<std::string_view> args = {}) {
        error(fillIn(pick(text, language_), args));
    }
    std::string say(const LangText& text, std::initializer_list<std::string_view> args = {}) const {
        return fillIn(pick(text, language_), args);
    }

    const CliOptions& options_;
    CliIo& io_;
    std::uint8_t language_;
    std::mutex errMutex_; // standard error is shared with the trace of the read thread
    InterruptGuard interrupts_;
    std::string interruption_; // the form's StoppedLine(), for failure()
    PlainDispatcher dispatcher_;
    std::unique_ptr<HidBackend> backend_;
    std::unique_ptr<THidDeviceController> controller_;
    MemorySettings settings_;
    CliHost host_;
    std::unique_ptr<TMainForm> form_;
    JobOutput output_;
    const FuseFile* fuseFile_ = nullptr; // write-fuses --from
    bool chipShown_ = false;
    // The buffer's CRC-32 follows the chip line (a job that writes or verifies the buffer).
    bool checksumWithChip_ = false;
    bool checksumShown_ = false;
    std::string node_;      // the programmer's node, once found
    std::string lastError_; // the last message on standard error
    std::unique_ptr<SerialFile> serialFile_;
    std::string serial_;  // the serial number patched in, or empty
    bool jobRan_ = false; // a job started on the chip (and so a production log row is due)
};

} // namespace tarvik::cli
