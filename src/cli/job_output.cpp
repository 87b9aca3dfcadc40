// The console side of a running job: log lines to standard output, the gauge as a bar.
#include "cli/job_output.h"

#include <algorithm>

namespace tarvik::cli {

namespace {
// FinishOperation ends every job with an empty line, the result line and the duration line.
constexpr std::size_t kFinishLines = 3;
constexpr int kBarWidth = 40;
} // namespace

JobOutput::JobOutput(CliIo& io, bool quiet, bool progressBar)
    : io_(io), quiet_(quiet), progressBar_(progressBar && !quiet) {}

void JobOutput::follow(const Memo& log, const Gauge& gauge, bool ended) {
    printThrough(log, ended ? log.lines.size() - std::min(log.lines.size(), kFinishLines)
                            : log.lines.size());
    if (ended)
        clearBar();
    else
        drawBar(gauge);
}

void JobOutput::followThrough(const Memo& log, std::size_t count) {
    printThrough(log, std::min(count, log.lines.size()));
}

void JobOutput::printThrough(const Memo& log, std::size_t count) {
    if (log.clears != clears_) {
        clears_ = log.clears;
        printed_ = 0;
    }
    if (!quiet_) {
        for (; printed_ < count; ++printed_)
            print(log.lines[printed_]);
    }
}

void JobOutput::line(std::string_view text) {
    print(text);
}

void JobOutput::always(std::string_view text) {
    const bool silent = silent_;
    silent_ = false;
    print(text);
    silent_ = silent;
}

void JobOutput::finish(const Memo& log, bool failed) {
    clearBar();
    const std::size_t size = log.lines.size();
    const std::size_t finishStart = size - std::min(size, kFinishLines);
    if (!quiet_) {
        for (; printed_ < size; ++printed_)
            print(log.lines[printed_]);
        return;
    }
    if (failed) {
        for (std::size_t i = 0; i < finishStart; ++i)
            print(log.lines[i]);
    }
    if (size >= kFinishLines)
        print(log.lines[size - 2]);
    printed_ = size;
}

void JobOutput::print(std::string_view text) {
    if (silent_)
        return;
    const int percent = barPercent_;
    clearBar();
    io_.out << text << '\n';
    io_.out.flush();
    if (percent >= 0) {
        // Put the bar back as it was, below the new line.
        Gauge gauge;
        gauge.maxValue = 100;
        gauge.progress = percent;
        drawBar(gauge);
    }
}

void JobOutput::drawBar(const Gauge& gauge) {
    if (silent_ || !progressBar_ || gauge.maxValue <= 0 || gauge.progress <= 0)
        return;
    const auto percent =
        static_cast<int>(std::clamp<std::int64_t>(gauge.progress * 100 / gauge.maxValue, 0, 100));
    if (percent == barPercent_)
        return;
    barPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    io_.err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(kBarWidth - filled), '-') << "] " << percent
            << '%';
    io_.err.flush();
}

void JobOutput::clearBar() {
    if (barPercent_ < 0)
        return;
    io_.err << "\r\033[K";
    io_.err.flush();
    barPercent_ = -1;
}

} // namespace tarvik::cli
