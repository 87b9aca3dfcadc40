// What a running job shows on the console: the log lines as the engine writes them (standard
// output), a progress bar that follows the gauge (standard error, on a terminal only), and the
// result lines last, after whatever the command has to say about the finished job.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "form/controls.h"

namespace tarvik::cli {

class JobOutput {
public:
    // quiet: only the result line, and the log of a job that failed. progressBar: draw the bar
    // on io.err.
    JobOutput(CliIo& io, bool quiet, bool progressBar);

    // The log as it stands: prints the lines not printed yet (a cleared log starts over). Once
    // the job has ended, the last three lines (the empty line, the result and the duration
    // that end every job) are kept back for finish().
    void follow(const Memo& log, const Gauge& gauge, bool ended);
    // Prints the log's lines not printed yet up to line count (not in quiet mode), so that a
    // line of the tool's own can follow one of the log.
    void followThrough(const Memo& log, std::size_t count);
    // One line of the tool's own, shown also in quiet mode.
    void line(std::string_view text);
    // Silent: nothing at all but always()'s lines (--repeat's one line per chip).
    void setSilent(bool silent) { silent_ = silent; }
    void always(std::string_view text);
    // The kept-back lines of an ended job; in quiet mode the result alone, after the rest of
    // the log when the job failed.
    void finish(const Memo& log, bool failed);
    // Takes the bar off the screen, for a message on standard error or the end.
    void clearBar();

private:
    void print(std::string_view text);
    void printThrough(const Memo& log, std::size_t count);
    void drawBar(const Gauge& gauge);

    CliIo& io_;
    bool quiet_;
    bool progressBar_;
    std::uint64_t clears_ = 0;
    std::size_t printed_ = 0;
    int barPercent_ = -1; // what the bar shows; -1: no bar on the screen
    bool silent_ = false;
};

} // namespace tarvik::cli
