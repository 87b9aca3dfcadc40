// Running the children, labelling their output, forwarding a stop, and the summary built from
// the rows each child wrote to a production log of its own.
#include "cli/several_programmers.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "cli/attached_programmers.h"
#include "cli/cli_texts.h"
#include "cli/interrupt.h"
#include "cli/production_log.h"
#include "common/user_error.h"
#include "platform/child_process.h"
#include "platform/file_name.h"

namespace tarvik::cli {

namespace {

using namespace std::chrono_literals;

// The options the parent sets for each child itself.
constexpr std::string_view kOwnOptions[] = {"--programmer", "--log-csv", "--label"};

struct Child {
    std::string label;
    std::string programmer; // the --programmer value
    std::string logFile;    // the child's own production log
    std::unique_ptr<platform::ChildProcess> process;
    std::vector<std::thread> readers;
    std::thread waiter;
    std::atomic<bool> ended{false};
    int status = kExitJobFailed;
};

// The programmers the command line names, as --programmer values, labelled in that order.
std::vector<std::string> programmerValues(const CliOptions& options,
                                          const BackendFactory& openBackend) {
    if (!options.allProgrammers)
        return options.programmerValues;
    PlainDispatcher dispatcher;
    std::unique_ptr<HidBackend> backend = openBackend(ProgrammerChoice{}, dispatcher);
    std::vector<std::string> values;
    if (!backend)
        return values;
    backend->watch([] {});
    dispatcher.runUntil([&] { return !attachedProgrammers(*backend).empty(); }, options.wait);
    for (const HidDeviceInfo& device : attachedProgrammers(*backend))
        values.push_back("hid:" + device.path);
    backend.reset();
    dispatcher.runPending();
    return values;
}

// NAME.k.ext for a read's file: each programmer's image in a file of its own.
std::string numberedFile(const std::string& fileName, const std::string& label) {
    const std::filesystem::path path = platform::pathFromUtf8(fileName);
    std::filesystem::path numbered = path;
    numbered.replace_extension();
    numbered += "." + label;
    numbered += path.extension();
    return platform::utf8FromPath(numbered);
}

// The child's command line: the parent's without the options it sets itself, then its own.
std::vector<std::string> childArgs(const CliOptions& options, std::span<const std::string> args,
                                   const Child& child) {
    std::vector<std::string> result;
    const bool reads =
        options.command->id == CommandId::Read || options.command->id == CommandId::ReadEeprom;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        bool own = false;
        for (const std::string_view name : kOwnOptions) {
            if (arg == name) {
                ++i; // and its value
                own = true;
            } else if (arg.starts_with(name) && arg.size() > name.size() &&
                       arg[name.size()] == '=') {
                own = true;
            }
        }
        if (own)
            continue;
        if (reads && arg == options.args.front())
            result.push_back(numberedFile(options.args.front(), child.label));
        else
            result.emplace_back(arg);
    }
    for (const std::string& own :
         {std::string("--programmer"), child.programmer, std::string("--label"), child.label,
          std::string("--log-csv"), child.logFile})
        result.push_back(own);
    return result;
}

class LabelledOutput {
public:
    explicit LabelledOutput(CliIo& io) : io_(io) {}
    void line(std::ostream& stream, const std::string& label, std::string_view text) {
        std::lock_guard lock(mutex_);
        stream << '[' << label << "] " << text << '\n';
        stream.flush();
    }
    std::ostream& out() { return io_.out; }
    std::ostream& err() { return io_.err; }

private:
    CliIo& io_;
    std::mutex mutex_;
};

// Passes one stream of the child on, line by line, with its label.
void relay(Child& child, platform::ChildProcess::Stream stream, LabelledOutput& output) {
    std::ostream& to = stream == platform::ChildProcess::Stream::Out ? output.out() : output.err();
    std::string pending;
    char buffer[4096];
    for (;;) {
        const std::size_t got = child.process->read(stream, buffer, sizeof buffer);
        if (got == 0)
            break;
        pending.append(buffer, got);
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::string_view line(pending.data(), end);
            if (line.ends_with('\r'))
                line.remove_suffix(1);
            // The progress bar redraws in place: only its last state would be a line.
            if (!line.starts_with('\r'))
                output.line(to, child.label, line);
            pending.erase(0, end + 1);
        }
    }
    if (!pending.empty())
        output.line(to, child.label, pending);
}

std::string fileText(const std::string& fileName) {
    std::ifstream file(platform::pathFromUtf8(fileName), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The summary's columns, taken from the child's production log row.
struct SummaryRow {
    std::string label, node, chip, result, seconds, image;
};

SummaryRow summaryRow(const Child& child) {
    SummaryRow row{child.label, child.programmer, "", "FAILED", "", ""};
    const auto records = readCsv(fileText(child.logFile));
    if (records.size() >= 2 && records.back().size() == kProductionLogHeader.size()) {
        const std::vector<std::string>& r = records.back();
        row.node = r[2];
        row.chip = r[4];
        row.seconds = r[10];
        row.image = r[7].empty() ? r[6] : r[7];
    }
    row.result =
        child.status == kExitSuccess ? "OK" : "FAILED (" + std::to_string(child.status) + ")";
    return row;
}

void printSummary(std::ostream& out, const std::vector<SummaryRow>& rows, std::uint8_t language) {
    const SummaryRow header{"#",
                            std::string(pick(texts::kSummaryNode, language)),
                            std::string(pick(texts::kSummaryChip, language)),
                            std::string(pick(texts::kSummaryResult, language)),
                            std::string(pick(texts::kSummarySeconds, language)),
                            std::string(pick(texts::kSummaryImage, language))};
    std::size_t widths[6] = {};
    const auto fields = [](const SummaryRow& row) {
        return std::array<const std::string*, 6>{&row.label,  &row.node,    &row.chip,
                                                 &row.result, &row.seconds, &row.image};
    };
    for (const SummaryRow* row : {&header}) {
        for (std::size_t i = 0; i < 6; ++i)
            widths[i] = std::max(widths[i], fields(*row)[i]->size());
    }
    for (const SummaryRow& row : rows) {
        for (std::size_t i = 0; i < 6; ++i)
            widths[i] = std::max(widths[i], fields(row)[i]->size());
    }
    out << '\n';
    const auto print = [&](const SummaryRow& row) {
        for (std::size_t i = 0; i < 5; ++i)
            out << std::left << std::setw(static_cast<int>(widths[i] + 2)) << *fields(row)[i];
        out << *fields(row)[5] << '\n';
    };
    print(header);
    for (const SummaryRow& row : rows)
        print(row);
    out.flush();
}

} // namespace

bool severalProgrammers(const CliOptions& options) {
    return options.allProgrammers || options.programmerValues.size() > 1;
}

int runOnSeveralProgrammers(const CliOptions& options, std::span<const std::string> args, CliIo& io,
                            const BackendFactory& openBackend) {
    const std::uint8_t language = options.language;
    const std::vector<std::string> values = programmerValues(options, openBackend);
    if (values.empty()) {
        io.err << pick(texts::kNoProgrammer, language) << '\n';
        return kExitNoProgrammer;
    }
    const std::string& program = io.program;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("tarvik-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);

    InterruptGuard interrupts;
    LabelledOutput output(io);
    std::vector<std::unique_ptr<Child>> children;
    for (std::size_t i = 0; i < values.size(); ++i) {
        auto child = std::make_unique<Child>();
        child->label = std::to_string(i + 1);
        child->programmer = values[i];
        child->logFile = platform::utf8FromPath(folder / (child->label + ".csv"));
        try {
            child->process =
                std::make_unique<platform::ChildProcess>(program, childArgs(options, args, *child));
        } catch (const UserError& e) {
            output.line(io.err, child->label, e.what());
            child->ended = true;
            children.push_back(std::move(child));
            continue;
        }
        Child& c = *child;
        c.readers.emplace_back(relay, std::ref(c), platform::ChildProcess::Stream::Out,
                               std::ref(output));
        c.readers.emplace_back(relay, std::ref(c), platform::ChildProcess::Stream::Err,
                               std::ref(output));
        c.waiter = std::thread([&c] {
            c.status = c.process->wait();
            c.ended = true;
        });
        children.push_back(std::move(child));
    }

    // A stop request reaches every child: each stops its job and says how far it got.
    bool forwarded = false;
    for (;;) {
        bool allEnded = true;
        for (const auto& child : children)
            allEnded = allEnded && child->ended;
        if (allEnded)
            break;
        if (InterruptGuard::pending() != 0 && !forwarded) {
            forwarded = true;
            for (const auto& child : children) {
                if (child->process && !child->ended)
                    child->process->interrupt();
            }
        }
        std::this_thread::sleep_for(20ms);
    }
    std::vector<SummaryRow> rows;
    int status = kExitSuccess;
    for (const auto& child : children) {
        if (child->waiter.joinable())
            child->waiter.join();
        for (std::thread& reader : child->readers)
            reader.join();
        rows.push_back(summaryRow(*child));
        if (child->status != kExitSuccess)
            status = kExitJobFailed;
        if (!options.logCsv.empty()) {
            const auto records = readCsv(fileText(child->logFile));
            for (std::size_t r = 1; r < records.size(); ++r) {
                try {
                    appendProductionFields(options.logCsv, records[r], language);
                } catch (const UserError& e) {
                    io.err << e.what() << '\n';
                    status = kExitJobFailed;
                }
            }
        }
    }
    printSummary(io.out, rows, language);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    if (const int signal = InterruptGuard::pending(); signal != 0)
        return 128 + signal;
    return status;
}

} // namespace tarvik::cli
