// The command-line session's steps: finding the programmer, loading and saving files, running
// a job to its end, the fuse write with its read-back, serial numbers and the production log.
#include "cli/job_session.h"

#include <algorithm>

#include "buffer/buffer_texts.h"
#include "buffer/crc32.h"
#include "chips/device_menu.h"
#include "chips/fuse_bits.h"
#include "cli/attached_programmers.h"
#include "cli/cli_texts.h"
#include "cli/job_record.h"
#include "cli/trace_backend.h"
#include "common/user_error.h"
#include "form/programmer_texts.h"
#include "operations/engine_support.h"
#include "operations/fuse_write_plan.h"
#include "operations/job_texts.h"

namespace tarvik::cli {

namespace {

using namespace std::chrono_literals;
using F = TMainForm;
using Clock = std::chrono::steady_clock;

// A backend that connects in the background (the socket) has this long to find the
// programmer even when the command line gives no --wait.
constexpr auto kSettle = 500ms;
// How often the loop looks at the clock while it waits for the programmer's answer.
constexpr auto kSlice = 50ms;

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

} // namespace

void JobSession::error(std::string_view text) {
    std::lock_guard lock(errMutex_);
    output_.clearBar();
    io_.err << text << '\n';
    io_.err.flush();
    lastError_ = text;
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
    const auto over = [&form] { return form.Outcome.ended() || InterruptGuard::pending() != 0; };
    const auto timeout = options_.answerTimeout;
    for (;;) {
        const auto left = timeout - std::chrono::duration_cast<std::chrono::milliseconds>(
                                        Clock::now() - lastProgress);
        dispatcher_.runUntil(over, timeout.count() > 0
                                       ? std::clamp<std::chrono::milliseconds>(left, 1ms, kSlice)
                                       : kSlice);
        if (InterruptGuard::pending() != 0 && interruption_.empty() &&
            form.Outcome.result == JobResult::Running)
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
        switch (form.Outcome.result) {
        case JobResult::Succeeded:
            return JobEnd::Succeeded;
        case JobResult::Failed:
            return JobEnd::Failed;
        case JobResult::Unplugged:
            return JobEnd::Unplugged;
        default:
            break;
        }
        if (timeout.count() > 0 && Clock::now() - lastProgress >= timeout)
            return JobEnd::NoAnswer;
    }
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
    return form_->Outcome.fusesRead;
}

// Once a job has named the chip, its name and size follow the signature line: once a run, so
// that a production log shows what was programmed.
void JobSession::showChip() {
    const std::optional<IdentifiedChip>& chip = form_->Outcome.chip;
    if (chipShown_ || !chip)
        return;
    chipShown_ = true;
    output_.followThrough(form_->Verlauf, chip->logLines);
    output_.line(say(texts::kChip, {chip->name}));
    if (chip->flashBytes)
        output_.line(say(texts::kSize, {std::to_string(*chip->flashBytes)}));
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
    // The whole change is judged before the first write: one that can lock the user out of
    // the chip goes out only with --force.
    const std::vector<bool> chipMarks = engine::fuseMarks(form_->FuseList);
    applyFuseAssignments(*form_, assignments);
    const std::vector<bool> wanted = engine::fuseMarks(form_->FuseList);
    const engine::FuseWritePlan plan = engine::planFuseWrite(*form_);
    if (engine::locksOut(plan.changes) && !options_.force) {
        engine::setFuseMarks(form_->FuseList, chipMarks);
        for (const std::string& line :
             engine::lockOutLines(form_->FuseList, plan.changes, language_))
            error(line);
        error(texts::kLockOutRefused);
        return kExitUsage;
    }
    if (plan.writes.empty()) {
        engine::setFuseMarks(form_->FuseList, chipMarks);
        output_.line(say(texts::kFusesUnchanged));
        return kExitSuccess;
    }
    // Each entry changes through the list's check handler, as when the user toggles it; the
    // job writes the fuses before the lock bits and reads them back.
    for (std::size_t i = 0; i < wanted.size() && i < chipMarks.size(); ++i) {
        if (wanted[i] != chipMarks[i])
            form_->FuseListClickCheck(static_cast<int>(i));
    }
    if (!form_->bWriteFuse.enabled) {
        error(texts::kNotAvailable, {options_.command->name, form_->Device.text});
        return kExitUsage;
    }
    const JobEnd end = runJob(&F::bWriteFuseClick);
    const std::vector<engine::FuseNotTaken> notTaken =
        fusesWereRead() ? engine::fusesNotTaken(wanted, form_->FuseList)
                        : std::vector<engine::FuseNotTaken>{};
    if (!notTaken.empty()) {
        output_.finish(form_->Verlauf, false);
        const auto state = [this](bool programmed) {
            return pick(programmed ? tarvik::texts::kProgrammed : tarvik::texts::kUnprogrammed,
                        language_);
        };
        for (const engine::FuseNotTaken& entry : notTaken) {
            error(tarvik::texts::kFuseNotTaken, {form_->FuseList.items[entry.index].text,
                                                 state(entry.written), state(entry.readBack)});
        }
        return kExitJobFailed;
    }
    if (end != JobEnd::Succeeded)
        return failure(end);
    output_.finish(form_->Verlauf, false);
    output_.line(say(fusesWereRead() ? texts::kFusesReadBack : texts::kFusesNotCheckable,
                     {form_->AutoDevice.text}));
    return kExitSuccess;
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
    fuseFile_ = fuseFile;
    if (const int status = connect(openBackend); status != kExitSuccess)
        return status;
    if (options_.repeat)
        return runRepeated(job, assignments);
    return runOnce(job, assignments);
}

int JobSession::runOnce(const JobCommand& job, std::span<const FuseAssignment> assignments) {
    const auto started = std::chrono::system_clock::now();
    const auto start = Clock::now();
    const int status = runCommand(job, assignments);
    // A row for every job that ran on a chip; nothing when no job started.
    if (options_.logCsv.empty() || !jobRan_)
        return status;
    return logProduction(job, status, started, start);
}

int JobSession::logProduction(const JobCommand& job, int status,
                              std::chrono::system_clock::time_point started,
                              Clock::time_point start) {
    JobRun run;
    run.command = options_.command->name;
    run.label = options_.label;
    run.node = node_;
    run.started = started;
    run.duration = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    run.succeeded = status == kExitSuccess;
    run.error = lastError_;
    run.serial = serial_;
    if (job.file != FileUse::None)
        run.image = form_->Hexeditor.bytes();
    try {
        appendProductionRecord(options_.logCsv, productionRecord(*form_, run), language_);
    } catch (const UserError& e) {
        error(e.what());
        return status == kExitSuccess ? kExitUsage : status;
    }
    return status;
}

// Takes the next number (from the serial file, locked until the session ends, or START) and
// patches it into the loaded image; the input file stays as it is.
int JobSession::patchSerialNumber() {
    std::uint64_t number = options_.serial->start;
    serialFile_.reset(); // the previous chip's lock goes first
    if (!options_.serialFile.empty()) {
        try {
            serialFile_ = std::make_unique<SerialFile>(options_.serialFile, options_.serial->start,
                                                       language_);
        } catch (const UserError& e) {
            error(e.what());
            return kExitUsage;
        }
        number = serialFile_->next();
    }
    std::vector<std::uint8_t> image = form_->Hexeditor.bytes();
    if (const auto problem = patchSerial(image, *options_.serial, number, language_)) {
        error(*problem);
        return kExitUsage;
    }
    form_->Hexeditor.SetAllBytes(std::move(image));
    serial_ = std::to_string(number);
    output_.line(say(texts::kSerialLine, {serial_}));
    return kExitSuccess;
}

int JobSession::connect(const BackendFactory& openBackend) {
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
    node_ = form.ProgrammerDevice->Info().path;
    if (const std::size_t attached = attachedProgrammers(*backend_).size(); attached > 1)
        error(texts::kSeveralProgrammers,
              {form.ProgrammerDevice->Info().path, std::to_string(attached)});
    return kExitSuccess;
}

int JobSession::runCommand(const JobCommand& job, std::span<const FuseAssignment> assignments) {
    TMainForm& form = *form_;
    chipShown_ = false;
    checksumShown_ = false;
    jobRan_ = false;
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
    if (options_.serial) {
        if (const int status = patchSerialNumber(); status != kExitSuccess)
            return status;
    }

    jobRan_ = true;
    const JobEnd end = runJob(job.handler);
    if (end != JobEnd::Succeeded)
        return failure(end);
    if (job.file != FileUse::None && !checksumShown_)
        showChecksum(); // a read's image, or one written where no chip line came
    if (serialFile_) {
        // Only a chip that took its number uses it up.
        try {
            serialFile_->advance(options_.serial->step);
        } catch (const UserError& e) {
            error(e.what());
            return kExitUsage;
        }
    }

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
        if (fuseFile_ != nullptr) {
            const auto fromFile = assignmentsFrom(*fuseFile_);
            return fromFile ? writeFuses(*fromFile) : kExitUsage;
        }
        return writeFuses(assignments);
    default:
        break;
    }
    output_.finish(form.Verlauf, false);
    return status;
}

} // namespace tarvik::cli
