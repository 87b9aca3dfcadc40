// Whether a job runs, and the ways out of one before it ends: Action → Abort and closing the
// window. An abandoned job is left where it stands, as an unplug leaves it, except that the
// programmer stays: the controls come back once it has been quiet for a while.
#include <array>
#include <string>
#include <utility>

#include "common/lang_text.h"
#include "form/main_form.h"
#include "operations/job_texts.h"

namespace tarvik {

void TMainForm::setJobRunning(bool running) {
    jobRunning_ = running;
    if (!running)
        BlankChecking = false; // the next read goes into the buffer again
    Hexeditor.setLocked(running);
    nAbort.enabled = running;
}

std::string TMainForm::StoppedLine() const {
    const auto say = [this](const LangText& text, std::initializer_list<std::string_view> args) {
        return fillIn(pick(text, LanguageCode), args);
    };
    const auto count = [](auto value) { return std::to_string(value); };
    switch (ProtocolState) {
    case stSignature:
        return say(texts::kInterruptedSignature, {});
    case stReadFuses:
        return say(texts::kInterruptedReadFuses, {});
    case stErase:
        return say(texts::kInterruptedErase, {});
    case stWrite:
        return say(texts::kInterruptedWrite, {count(SendPos), count(Hexeditor.ByteCount())});
    case stVerify:
        return say(texts::kInterruptedVerify, {count(SendPos), count(Hexeditor.ByteCount())});
    case stRead:
        return say(texts::kInterruptedRead, {count(ReadData.size()), count(ExpectedSize)});
    case stWriteFuses:
        return say(texts::kInterruptedFuses, {});
    default:
        return say(texts::kInterruptedLockBit, {ProtocolState == stLockBit1 ? "1" : "2"});
    }
}

void TMainForm::abandonJob() {
    std::string stopped = StoppedLine();
    Outcome.result = JobResult::Aborted;
    Outcome.failedStep = ProtocolState;
    Outcome.errorLine = stopped;
    setJobRunning(false);
    ProtocolState = stIdle;
    FuseQuestion = {}; // a question the job still had open is moot now
    ErrorFlag = false;
    log(texts::kAborted);
    log(std::move(stopped));
    Gauge1.progress = 0;
}

void TMainForm::awaitQuiet(std::chrono::milliseconds delay) {
    HidCtl.mainThread().postAfter(delay, [this, alive = std::weak_ptr<int>(alive_)] {
        if (alive.expired() || !settling_)
            return;
        NotifyOnExit notify(*this);
        const auto quietFor = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - lastHeard_);
        if (quietFor < QuietAfterAbort) {
            awaitQuiet(QuietAfterAbort - quietFor);
            return;
        }
        settling_ = false;
        if (ProgrammerDevice != nullptr)
            EnableControls();
    });
}

void TMainForm::nAbortClick() {
    NotifyOnExit notify(*this);
    if (!jobRunning_)
        return;
    abandonJob();
    if (ProgrammerDevice == nullptr)
        return;
    // A step that was waiting may still be answered, and the protocol does not say which
    // command an answer belongs to: a late "v" would end the next verify as a success. So the
    // next job starts only once the programmer has been quiet for a while.
    settling_ = true;
    lastHeard_ = std::chrono::steady_clock::now();
    log(texts::kWaitingForQuiet);
    awaitQuiet(QuietAfterAbort);
}

void TMainForm::FormCloseQuery(bool& CanClose) {
    NotifyOnExit notify(*this);
    CanClose = !jobRunning_ ||
               host_.askYesNo(pick(texts::kCloseDuringJob, LanguageCode),
                              pick(texts::kYes, LanguageCode), pick(texts::kNo, LanguageCode));
    if (!CanClose || !Hexeditor.HasUnsavedEdits())
        return;
    const std::array<std::string_view, 3> answers{pick(texts::kSave, LanguageCode),
                                                  pick(texts::kDiscard, LanguageCode),
                                                  pick(texts::kCancel, LanguageCode)};
    switch (host_.askChoice(pick(texts::kUnsavedOnClose, LanguageCode), answers, 2)) {
    case 0:
        // Closes only once the edits are in a file: a cancelled or failed save keeps it open.
        CanClose = false;
        WriteHexFile();
        CanClose = !Hexeditor.HasUnsavedEdits();
        break;
    case 1:
        break;
    default:
        CanClose = false;
        break;
    }
}

} // namespace tarvik
