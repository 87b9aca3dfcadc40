// Running the programmer's jobs from the command line. One session is the whole program of the
// window without its widgets: the plain main-thread loop, the backend, the HID controller,
// in-memory settings that say what the command line said, and TMainForm. The commands press
// the window's buttons; the loop runs until the job ends, the programmer goes away, or it stops
// answering.
#include "cli/job_runner.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>

#include "buffer/buffer_texts.h"
#include "buffer/crc32.h"
#include "chips/device_menu.h"
#include "chips/fuse_bits.h"
#include "cli/attached_programmers.h"
#include "cli/cli_host.h"
#include "cli/cli_texts.h"
#include "cli/fuse_assignments.h"
#include "cli/input_file.h"
#include "cli/interrupt.h"
#include "cli/job_output.h"
#include "cli/trace_backend.h"
#include "common/user_error.h"
#include "emulator/virtual_chip.h"
#include "form/main_form.h"
#include "form/programmer_texts.h"
#include "link/hid_device_controller.h"
#include "operations/engine_support.h"
#include "operations/fuse_changes.h"
#include "operations/job_texts.h"

namespace tarvik::cli {

namespace {

using namespace std::chrono_literals;
using F = TMainForm;
using Clock = std::chrono::steady_clock;

enum class FileUse { None, Load, Save };

// Which of the window's buttons each command presses, and what it does with its file.
struct JobCommand {
    CommandId id;
    void (F::*handler)();
    Button F::*control; // the job is offered while this button is enabled
    FileUse file; // the file's image is the buffer: its CRC-32 is shown (after the read for a save)
};

constexpr JobCommand kJobCommands[] = {
    {CommandId::Detect, &F::bDetectDeviceClick, &F::bDetectDevice, FileUse::None},
    {CommandId::Erase, &F::bLoeschClick, &F::bLoesch, FileUse::None},
    {CommandId::Write, &F::bProgClick, &F::bProg, FileUse::Load},
    {CommandId::Verify, &F::bVerglClick, &F::bVergl, FileUse::Load},
    {CommandId::Read, &F::bAuslesenClick, &F::bAuslesen, FileUse::Save},
    {CommandId::WriteEeprom, &F::bprogeepromClick, &F::bprogeeprom, FileUse::Load},
    {CommandId::ReadEeprom, &F::breadeepromClick, &F::breadeeprom, FileUse::Save},
    {CommandId::ReadFuses, &F::bDetectDeviceClick, &F::bDetectDevice, FileUse::None},
    {CommandId::WriteFuses, &F::bDetectDeviceClick, &F::bDetectDevice, FileUse::None},
};

// The memory a command takes from a file that holds several (ELF).
MemoryPart partOf(const JobCommand& job) {
    return job.id == CommandId::WriteEeprom ? MemoryPart::Eeprom : MemoryPart::Flash;
}

// A backend that connects in the background (the socket) has this long to find the
// programmer even when the command line gives no --wait.
constexpr auto kSettle = 500ms;
// How often the loop looks at the clock while it waits for the programmer's answer.
constexpr auto kSlice = 50ms;

enum class JobEnd { Succeeded, Failed, Unplugged, NoAnswer, Interrupted };

// Seconds with as many decimals as the milliseconds need: 30, 0.3, 0.25, 0.001.
std::string secondsText(std::chrono::milliseconds time) {
    const auto ms = time.count();
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        std::string fraction = std::to_string(ms % 1000 + 1000).substr(1);
        while (fraction.back() == '0')
            fraction.pop_back();
        // Appended piece by piece: g++ 12 at -O3 takes "literal" + string for an overlapping copy.
        text += '.';
        text += fraction;
    }
    return text;
}

class JobSession {
public:
    JobSession(const CliOptions& options, CliIo& io)
        : options_(options), io_(io), language_(options.language),
          output_(io, options.quiet, io.errIsTerminal && !options.trace) {}

    ~JobSession() {
        form_.reset();
        dispatcher_.runPending();
    }

    // fuseFile: write-fuses --from, whose bytes stand in for the assignments.
    int run(const JobCommand& job, std::span<const FuseAssignment> assignments,
            const FuseFile* fuseFile, const BackendFactory& openBackend);

private:
    bool start(const BackendFactory& openBackend);
    void presetSettings();
    int loadFile(const std::string& fileName, MemoryPart part);
    int saveFile(const std::string& fileName);
    bool offered(const JobCommand& job) const;
    JobEnd runJob(void (F::*handler)());
    // The exit status of a job that did not succeed, after saying why.
    int failure(JobEnd end);
    bool fusesWereRead() const;
    void showChip();
    void showChecksum();
    int writeFuses(std::span<const FuseAssignment> assignments);
    std::optional<std::vector<FuseAssignment>> assignmentsFrom(const FuseFile& file);
    int readFusesBack();
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
    bool chipShown_ = false;
    // The buffer's CRC-32 follows the chip line (a job that writes or verifies the buffer).
    bool checksumWithChip_ = false;
    bool checksumShown_ = false;
};

void JobSession::error(std::string_view text) {
    std::lock_guard lock(errMutex_);
    output_.clearBar();
    io_.err << text << '\n';
    io_.err.flush();
}

void JobSession::presetSettings() {
    const auto set = [this](std::string_view name, std::int32_t value) {
        settings_.values.insert_or_assign(std::string(name), value);
    };
    set(setting::kVerifyAfterProgram, options_.verify ? 1 : 0);
    // The command loads its file once, just before the job: a reload inside the job would read
    // the file a second time, and what is written could differ from what was checked.
    set(setting::kUpdateBufferFromFile, 0);
    set(setting::kLanguage, options_.language + 1); // stored as 1 German, 2 English, 3 Russian
    const chips::DeviceEntry* device = chips::findDeviceEntry(options_.deviceEntry);
    set(setting::kLastDevice, device != nullptr ? device->lastDeviceIndex : 0);
}

bool JobSession::start(const BackendFactory& openBackend) {
    backend_ = openBackend(options_.programmer, dispatcher_);
    if (!backend_)
        return false;
    if (!options_.programmer.hidPath.empty())
        backend_ = onlyAt(std::move(backend_), options_.programmer.hidPath);
    if (options_.trace) {
        backend_ = traceBackend(std::move(backend_), [this](std::string_view line) {
            std::lock_guard lock(errMutex_);
            io_.err << line << '\n';
            io_.err.flush();
        });
    }
    controller_ = std::make_unique<THidDeviceController>(*backend_, dispatcher_);
    presetSettings();
    form_ = std::make_unique<TMainForm>(*controller_, settings_, host_);
    form_->FormCreate();
    form_->IgnoreFileSignature = options_.force;
    return true;
}

int JobSession::loadFile(const std::string& fileName, MemoryPart part) {
    host_.fileName = fileName;
    host_.messages.clear();
    try {
        form_->OpenBufferFile(part);
    } catch (const UserError& e) {
        host_.messages.emplace_back(e.what());
    }
    for (const std::string& message : host_.messages)
        error(fileName + ": " + message);
    // An empty file loads: the job itself refuses to program nothing, as in the window.
    return host_.messages.empty() ? kExitSuccess : kExitUsage;
}

int JobSession::saveFile(const std::string& fileName) {
    host_.fileName = fileName;
    try {
        form_->WriteHexFile(); // the CRC-32 line says what the window's log line would
    } catch (const UserError& e) {
        error(e.what());
        return kExitUsage;
    }
    return kExitSuccess;
}

bool JobSession::offered(const JobCommand& job) const {
    const TMainForm& form = *form_;
    const bool fuseCommand = job.id == CommandId::ReadFuses || job.id == CommandId::WriteFuses;
    // Fuses are read and written only over the ISP connector and in the AT90S socket.
    return (form.*job.control).enabled &&
           (!fuseCommand || form.nAVRISP.checked || form.N90S1200.checked);
}

JobEnd JobSession::runJob(void (F::*handler)()) {
    TMainForm& form = *form_;
    // Only a report that moves the job on counts: a programmer that keeps answering "*" or
    // codes the job ignores is as stuck as a silent one.
    auto lastProgress = Clock::now();
    std::uint64_t progress = form.JobProgress();
    // The follower lives as long as this call.
    struct Unfollow {
        TMainForm& form;
        ~Unfollow() { form.OnChange = nullptr; }
    } unfollow{form};
    // A signal stops the job at the first report handled after it: no further report goes
    // out for this job, and its late answers are ignored.
    const auto interrupt = [&] {
        interruption_ = form.StoppedLine();
        form.nAbortClick();
    };
    form.OnChange = [&] {
        if (InterruptGuard::pending() != 0 && form.JobRunning() && interruption_.empty())
            interrupt();
        if (form.JobProgress() != progress) {
            progress = form.JobProgress();
            lastProgress = Clock::now();
        }
        showChip();
        output_.follow(form.Verlauf, form.Gauge1, form.ProtocolState == stIdle);
    };
    (form.*handler)();
    // A fuse write that can lock the user out asks first: the command line gave the answer.
    if (form.FuseQuestion.asked)
        form.FuseQuestionAnswered(options_.force);
    const auto over = [&form] {
        return form.ProtocolState == stIdle || form.ProgrammerDevice == nullptr ||
               InterruptGuard::pending() != 0;
    };
    const auto timeout = options_.answerTimeout;
    for (;;) {
        const auto left = timeout - std::chrono::duration_cast<std::chrono::milliseconds>(
                                        Clock::now() - lastProgress);
        dispatcher_.runUntil(over, timeout.count() > 0
                                       ? std::clamp<std::chrono::milliseconds>(left, 1ms, kSlice)
                                       : kSlice);
        if (InterruptGuard::pending() != 0 && interruption_.empty() &&
            form.ProtocolState != stIdle && form.ProgrammerDevice != nullptr)
            interrupt();
        if (!interruption_.empty()) {
            // The programmer may still answer the abandoned command: the next command line that
            // opens it must not take that answer for its own, so wait until it is quiet.
            if (form.Settling()) {
                output_.line(pick(tarvik::texts::kWaitingForQuiet, language_));
                dispatcher_.runUntil([&form] { return !form.Settling(); },
                                     10 * form.QuietAfterAbort);
            }
            return JobEnd::Interrupted;
        }
        if (form.ProtocolState == stIdle)
            break;
        if (form.ProgrammerDevice == nullptr)
            return JobEnd::Unplugged;
        if (timeout.count() > 0 && Clock::now() - lastProgress >= timeout)
            return JobEnd::NoAnswer;
    }
    // FinishOperation's result line is the one before the duration line.
    const std::vector<std::string>& lines = form.Verlauf.lines;
    const bool failed =
        lines.size() >= 2 && lines[lines.size() - 2] == pick(tarvik::texts::kFailure, language_);
    return failed ? JobEnd::Failed : JobEnd::Succeeded;
}

int JobSession::failure(JobEnd end) {
    switch (end) {
    case JobEnd::Failed:
        output_.finish(form_->Verlauf, true);
        break;
    case JobEnd::Unplugged:
        error(texts::kUnplugged);
        break;
    case JobEnd::NoAnswer:
        error(texts::kNoAnswer, {secondsText(options_.answerTimeout)});
        break;
    case JobEnd::Interrupted:
        error(interruption_);
        return 128 + InterruptGuard::pending();
    case JobEnd::Succeeded:
        return kExitSuccess;
    }
    return kExitJobFailed;
}

bool JobSession::fusesWereRead() const {
    return std::ranges::find(form_->Verlauf.lines, pick(tarvik::texts::kReadingFuses, language_)) !=
           form_->Verlauf.lines.end();
}

// Once a job has named the chip, its name and size follow the signature line: once a run, so
// that a production log shows what was programmed.
void JobSession::showChip() {
    const TMainForm& form = *form_;
    const std::vector<std::string>& lines = form.Verlauf.lines;
    const auto signature = std::ranges::find_if(lines, [](const std::string& line) {
        return line.starts_with(tarvik::texts::kSignatureLine);
    });
    if (chipShown_ || signature == lines.end() || form.AutoDevice.text.empty() ||
        form.AutoDevice.text == pick(tarvik::texts::kUnknownChip, language_))
        return;
    chipShown_ = true;
    output_.followThrough(form.Verlauf, static_cast<std::size_t>(signature - lines.begin()) + 1);
    output_.line(say(texts::kChip, {form.AutoDevice.text}));
    if (!form.CodeSize.text.empty())
        output_.line(say(texts::kSize, {form.CodeSize.text}));
    if (checksumWithChip_)
        showChecksum();
}

void JobSession::showChecksum() {
    checksumShown_ = true;
    output_.line(say(texts::kCrc32, {crc32Text(form_->Hexeditor.bytes())}));
}

int JobSession::writeFuses(std::span<const FuseAssignment> assignments) {
    if (const auto refused = refuseFuseAssignments(*form_, assignments)) {
        error(describe(*refused, language_));
        error(texts::kNothingRefused);
        return kExitUsage;
    }
    // A change that can lock the user out of the chip goes out only with --force: the whole
    // change is judged before the first write.
    const std::vector<bool> chipMarks = engine::fuseMarks(form_->FuseList);
    applyFuseAssignments(*form_, assignments);
    const std::vector<engine::FuseChange> changes = engine::fuseChanges(*form_);
    engine::setFuseMarks(form_->FuseList, chipMarks);
    if (engine::locksOut(changes) && !options_.force) {
        for (const std::string& line : engine::lockOutLines(form_->FuseList, changes, language_))
            error(line);
        error(texts::kLockOutRefused);
        return kExitUsage;
    }
    // The lock bits go in a write of their own after the fuses: once lock bit 1 is programmed
    // the chip takes no further fuse changes, and a write carries the lock byte first.
    std::vector<FuseAssignment> fuses;
    std::vector<FuseAssignment> lockBits;
    for (const FuseAssignment& assignment : assignments)
        (isLockBitEntry(assignment.name) ? lockBits : fuses).push_back(assignment);
    std::size_t changed = 0;
    for (const std::vector<FuseAssignment>* group : {&fuses, &lockBits}) {
        const std::size_t changes = applyFuseAssignments(*form_, *group);
        if (changes == 0)
            continue;
        changed += changes;
        if (!form_->bWriteFuse.enabled) {
            error(texts::kNotAvailable, {options_.command->name, form_->Device.text});
            return kExitUsage;
        }
        const JobEnd end = runJob(&F::bWriteFuseClick);
        if (end != JobEnd::Succeeded)
            return failure(end);
        output_.finish(form_->Verlauf, false);
    }
    if (changed == 0) {
        output_.line(say(texts::kFusesUnchanged));
        return kExitSuccess;
    }
    return readFusesBack();
}

// Reads the fuses back (a detect job) and names every entry the chip did not take.
int JobSession::readFusesBack() {
    const std::vector<bool> written = engine::fuseMarks(form_->FuseList);
    const JobEnd end = runJob(&F::bDetectDeviceClick);
    if (end != JobEnd::Succeeded)
        return failure(end);
    output_.finish(form_->Verlauf, false);
    if (!fusesWereRead()) {
        output_.line(say(texts::kFusesNotCheckable, {form_->AutoDevice.text}));
        return kExitSuccess;
    }
    const auto state = [this](bool programmed) {
        return pick(programmed ? tarvik::texts::kProgrammed : tarvik::texts::kUnprogrammed,
                    language_);
    };
    const std::vector<CheckListItem>& items = form_->FuseList.items;
    int status = kExitSuccess;
    for (std::size_t i = 0; i < items.size() && i < written.size(); ++i) {
        if (items[i].checked != written[i]) {
            error(texts::kFuseNotTaken,
                  {items[i].text, state(written[i]), state(items[i].checked)});
            status = kExitJobFailed;
        }
    }
    if (status == kExitSuccess)
        output_.line(say(texts::kFusesReadBack));
    return status;
}

// The entries whose marks the file's fuse and lock bytes change on the identified chip, or
// nothing after saying why they cannot be taken.
std::optional<std::vector<FuseAssignment>> JobSession::assignmentsFrom(const FuseFile& file) {
    const TMainForm& form = *form_;
    if (file.signature && file.signature != form.ChipSignature && !options_.force) {
        error(engine::anotherChipLine(form, *file.signature));
        error(texts::kSignatureRefused);
        return std::nullopt;
    }
    std::vector<bool> marks = engine::fuseMarks(form.FuseList);
    if (!fusesWereRead() || !chips::applyFuseFileBytes(form.AutoDevice.text, file.bytes, marks)) {
        error(texts::kFuseBytesNotFor, {form.AutoDevice.text});
        return std::nullopt;
    }
    std::vector<FuseAssignment> assignments;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (marks[i] != form.FuseList.items[i].checked)
            assignments.push_back({form.FuseList.items[i].text, marks[i]});
    }
    return assignments;
}

int JobSession::run(const JobCommand& job, std::span<const FuseAssignment> assignments,
                    const FuseFile* fuseFile, const BackendFactory& openBackend) {
    if (!start(openBackend)) {
        error(missingBackendText(options_.programmer));
        return kExitNoProgrammer;
    }
    TMainForm& form = *form_;
    const auto found = [&form] {
        return form.ProgrammerDevice != nullptr || InterruptGuard::pending() != 0;
    };
    dispatcher_.runUntil(found, std::max<std::chrono::milliseconds>(options_.wait, kSettle));
    if (const int signal = InterruptGuard::pending(); signal != 0) {
        error(texts::kInterruptedWaiting);
        return 128 + signal;
    }
    if (form.ProgrammerDevice == nullptr) {
        // What the status bar would say, then the window's log: why the devices with the
        // programmer's ids there are were not taken.
        if (form.programmerAccessDenied())
            error(pick(tarvik::texts::kProgrammerNoAccess, language_));
        else if (options_.programmer.hidPath.empty())
            error(texts::kNoProgrammer);
        else
            error(texts::kNoProgrammerAt, {options_.programmer.hidPath});
        for (const std::string& line : form.Verlauf.lines)
            error(line);
        return kExitNoProgrammer;
    }
    if (const std::size_t attached = attachedProgrammers(*backend_).size(); attached > 1)
        error(texts::kSeveralProgrammers,
              {form.ProgrammerDevice->Info().path, std::to_string(attached)});
    if (job.file == FileUse::Load) {
        if (const int status = loadFile(options_.args.front(), partOf(job)); status != kExitSuccess)
            return status;
        if (!options_.quiet && !form.FileContentsLine.empty())
            output_.line(form.FileContentsLine);
        checksumWithChip_ = true;
    }
    if (!offered(job)) {
        error(texts::kNotAvailable, {options_.command->name, form.Device.text});
        return kExitUsage;
    }

    const JobEnd end = runJob(job.handler);
    if (end != JobEnd::Succeeded)
        return failure(end);
    if (job.file != FileUse::None && !checksumShown_)
        showChecksum(); // a read's image, or one written where no chip line came

    int status = kExitSuccess;
    switch (job.id) {
    case CommandId::Detect:
        if (fusesWereRead()) {
            for (const std::string& line : fuseListLines(form.FuseList, language_))
                output_.line(line);
        }
        break;
    case CommandId::ReadFuses:
        if (!fusesWereRead()) {
            output_.finish(form.Verlauf, false);
            error(texts::kFusesNotReadable, {form.AutoDevice.text});
            return kExitUsage;
        }
        for (const std::string& line : fuseListLines(form.FuseList, language_))
            output_.line(line);
        break;
    case CommandId::Read:
    case CommandId::ReadEeprom:
        status = saveFile(options_.args.front());
        break;
    case CommandId::WriteFuses:
        output_.finish(form.Verlauf, false);
        if (fuseFile != nullptr) {
            const auto fromFile = assignmentsFrom(*fuseFile);
            return fromFile ? writeFuses(*fromFile) : kExitUsage;
        }
        return writeFuses(assignments);
    default:
        break;
    }
    output_.finish(form.Verlauf, false);
    return status;
}

} // namespace

int runJobCommand(const CliOptions& options, CliIo& io, const BackendFactory& openBackend) {
    const auto* job = std::ranges::find_if(
        kJobCommands, [&](const JobCommand& row) { return row.id == options.command->id; });
    if (job == std::end(kJobCommands))
        return kExitUsage;
    const std::uint8_t language = options.language;
    const auto usage = [&](std::string_view message) {
        io.err << message << '\n';
        return kExitUsage;
    };
    if (job->file == FileUse::Load) {
        if (const auto problem = inputFileProblem(options.args.front(), partOf(*job), language))
            return usage(*problem);
    }
    ParsedAssignments fuses;
    std::optional<FuseFile> fuseFile;
    if (!options.fuseFile.empty()) {
        fuseFile = readFuseFile(options.fuseFile, language);
        if (!fuseFile->problem.empty())
            return usage(fuseFile->problem);
    } else if (job->id == CommandId::WriteFuses) {
        fuses = parseFuseAssignments(options.args);
        if (fuses.error)
            return usage(describe(*fuses.error, language));
    }
    if (options.programmer.kind == ProgrammerSpec::Kind::Emulate &&
        emulator::findVirtualChip(options.programmer.chip) == nullptr)
        return usage(fillIn(pick(texts::kUnknownChip, language), {options.programmer.chip}));

    JobSession session(options, io);
    return session.run(*job, fuses.assignments, fuseFile ? &*fuseFile : nullptr, openBackend);
}

} // namespace tarvik::cli
