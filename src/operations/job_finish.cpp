// Ending a job: the result line, the controls back, the duration line.
#include <cmath>
#include <string>

#include "form/main_form.h"
#include "operations/job_texts.h"

namespace tarvik {

void TMainForm::FinishOperation() {
    ProtocolState = stIdle;
    FuseQuestion = {}; // a question the job still had open is moot now
    setJobRunning(false);
    Outcome.result = ErrorFlag ? JobResult::Failed : JobResult::Succeeded;
    log(std::string());
    log(ErrorFlag ? texts::kFailure : texts::kSuccess);
    EnableControls();
    ShowDuration();
    Gauge1.progress = 0;
    ErrorFlag = false;
    // No transfer is under way any more: the buffer may now change (a read has just replaced
    // it, or the user edits or opens a file), and the position must not point past its end.
    SendPos = 0;
}

void TMainForm::ShowDuration() {
    constexpr double kMsPerDay = 86400000.0;
    // Both times are whole milliseconds; the small allowance keeps the rounding error of the
    // day fractions from costing a millisecond when the difference is truncated.
    const double elapsedMs = std::fabs(Now() - StartTime) * kMsPerDay + 0.01;
    const auto ms = static_cast<std::uint64_t>(elapsedMs);
    const std::uint64_t hundredths = (ms % 1000) / 10;
    std::string line(pick(texts::kDuration, LanguageCode));
    line += std::to_string(ms / 1000);
    line += hundredths < 10 ? ".0" : ".";
    line += std::to_string(hundredths);
    line += " s";
    log(std::move(line));
}

} // namespace tarvik
