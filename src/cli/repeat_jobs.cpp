// --repeat, program on insert: the job on every chip put into the programmer, one line per
// chip, until a stop request; then the totals. A chip is there while the signature read names
// one, and gone once it answers no chip or an unknown one. Serial EEPROMs have no signature:
// between two of them the user presses Enter.
#include <chrono>
#include <cstdio>

#include "cli/cli_texts.h"
#include "cli/job_session.h"

namespace tarvik::cli {

namespace {

using namespace std::chrono_literals;

// The pause between two signature reads while waiting for a chip to come or go.
constexpr auto kPoll = 300ms;

std::string hundredths(std::chrono::steady_clock::duration time) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(time).count();
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(ms / 1000),
                  static_cast<long long>(ms % 1000 / 10));
    return text;
}

} // namespace

std::optional<bool> JobSession::chipPresent() {
    switch (runJob(&TMainForm::bDetectDeviceClick)) {
    case JobEnd::Succeeded:
        return form_->Outcome.chip.has_value();
    case JobEnd::Failed:
        return false;
    default:
        return std::nullopt;
    }
}

bool JobSession::awaitChip(bool present) {
    for (;;) {
        const std::optional<bool> chip = chipPresent();
        if (!chip)
            return false;
        if (*chip == present)
            return true;
        dispatcher_.runUntil([] { return InterruptGuard::pending() != 0; }, kPoll);
        if (InterruptGuard::pending() != 0)
            return false;
    }
}

int JobSession::runRepeated(const JobCommand& job, std::span<const FuseAssignment> assignments) {
    std::size_t programmed = 0;
    std::size_t failed = 0;
    const bool serialEeprom = form_->IsSerialEeprom;
    for (std::size_t n = 1;; ++n) {
        if (serialEeprom && n > 1) {
            output_.always(say(texts::kInsertNextChip));
            std::string enter;
            if (io_.in == nullptr || !std::getline(*io_.in, enter) ||
                InterruptGuard::pending() != 0)
                break;
        } else if (!serialEeprom && !awaitChip(true)) {
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        const int status = runOnce(job, assignments);
        const std::string chip =
            form_->Outcome.chip ? form_->Outcome.chip->name : form_->Device.text;
        if (status == kExitSuccess) {
            ++programmed;
            output_.always(
                say(texts::kRepeatChipOk, {std::to_string(n), chip,
                                           hundredths(std::chrono::steady_clock::now() - start)}));
        } else {
            ++failed;
            const std::string& why =
                form_->Outcome.errorLine.empty() ? lastError_ : form_->Outcome.errorLine;
            output_.always(say(texts::kRepeatChipFailed, {std::to_string(n), chip, why}));
        }
        if (InterruptGuard::pending() != 0 || form_->ProgrammerDevice == nullptr)
            break;
        if (!serialEeprom && !awaitChip(false))
            break;
    }
    output_.always(say(texts::kRepeatTotals, {std::to_string(programmed), std::to_string(failed)}));
    return failed == 0 ? kExitSuccess : kExitJobFailed;
}

} // namespace tarvik::cli
