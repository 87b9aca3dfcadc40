// The user's eight jobs: the click handlers record the job and StartJob begins its first step.
#include <array>
#include <utility>

#include "buffer/buffer_texts.h"
#include "form/main_form.h"
#include "operations/engine_support.h"
#include "operations/job_texts.h"

namespace tarvik {

void TMainForm::StartJob() {
    DisableControls();
    setJobRunning(true);
    ErrorFlag = false;
    Verlauf.lines.clear();
    ++Verlauf.clears;
    for (std::string& line : std::exchange(reloadLines_, {}))
        log(std::move(line));
    StartTime = Now();
    ComparingReadBack = false;
    FuseQuestion = {};
    Outcome = JobOutcome{};
    Outcome.job = RequestedJob;
    Outcome.result = JobResult::Running;
    const bool programs = RequestedJob == jobProgram || RequestedJob == jobProgramEeprom;
    if (programs && Hexeditor.ByteCount() == 0) {
        // Erasing first would leave the chip empty with nothing written after it.
        engine::failStep(*this, texts::kNothingToWrite);
    } else if (IsSocketMcu || IsAvrIsp) {
        if (RequestedJob == jobWriteFuses) {
            StartWriteFuses(); // works on the chip the last identification named
        } else {
            StartReadSignature();
        }
    } else if (IsSerialEeprom && RequestedJob == jobErase) {
        StartErase();
    } else if (IsSerialEeprom && RequestedJob == jobProgram) {
        if (engine::imageFits(*this)) {
            StartWriteFlash();
        }
    } else if (IsSerialEeprom && RequestedJob == jobVerify) {
        if (engine::imageFits(*this)) {
            StartVerify();
        }
    } else if (IsSerialEeprom && RequestedJob == jobReadFlash) {
        StartReadFlash();
    } else {
        // No step the programmer can run for this selection (a Microchip entry, or a job that
        // a serial EEPROM doesn't offer): end at once rather than leave the controls disabled.
        engine::failStep(*this, texts::kNoJobForSelection);
    }
    // A first step that could not start has left the job idle with the error raised.
    if (ProtocolState == stIdle) {
        FinishOperation();
    }
}

namespace {

void start(TMainForm& form, TRequestedJob job) {
    if (form.Settling())
        return;
    form.RequestedJob = job;
    form.StartJob();
}

} // namespace

void TMainForm::startWithBuffer(TRequestedJob job) {
    if (settling_)
        return;
    if (updatebuffer.checked && !OpenDialog1.fileName.empty()) {
        std::size_t answer = 0; // reload
        if (Hexeditor.HasUnsavedEdits()) {
            const std::array<std::string_view, 3> answers{pick(texts::kReloadFile, LanguageCode),
                                                          pick(texts::kUseBuffer, LanguageCode),
                                                          pick(texts::kCancel, LanguageCode)};
            const std::string question =
                fillIn(pick(texts::kReloadOverEdits, LanguageCode), {OpenDialog1.fileName});
            answer = host_.askChoice(question, answers, 2);
        }
        if (answer == 2)
            return;
        if (answer == 0) {
            const std::size_t before = Verlauf.lines.size();
            ReadHexFile(job == jobProgramEeprom ? MemoryPart::Eeprom : MemoryPart::Flash);
            if (!ErrorFlag)
                reloadLines_.assign(Verlauf.lines.begin() + static_cast<std::ptrdiff_t>(before),
                                    Verlauf.lines.end());
        }
    }
    RequestedJob = job;
    if (!ErrorFlag) {
        StartJob();
    }
}

void TMainForm::bProgClick() {
    NotifyOnExit notify(*this);
    startWithBuffer(jobProgram);
}

void TMainForm::bVerglClick() {
    NotifyOnExit notify(*this);
    startWithBuffer(jobVerify);
}

void TMainForm::bprogeepromClick() {
    NotifyOnExit notify(*this);
    startWithBuffer(jobProgramEeprom);
}

void TMainForm::bAuslesenClick() {
    NotifyOnExit notify(*this);
    start(*this, jobReadFlash);
}

void TMainForm::bLoeschClick() {
    NotifyOnExit notify(*this);
    start(*this, jobErase);
}

void TMainForm::breadeepromClick() {
    NotifyOnExit notify(*this);
    start(*this, jobReadEeprom);
}

void TMainForm::bWriteFuseClick() {
    NotifyOnExit notify(*this);
    start(*this, jobWriteFuses);
}

void TMainForm::bDetectDeviceClick() {
    NotifyOnExit notify(*this);
    start(*this, jobDetect);
}

void TMainForm::FuseListClickCheck(int) {
    NotifyOnExit notify(*this);
    if (N90S1200.checked || nAVRISP.checked) {
        bWriteFuse.enabled = true;
    }
}

} // namespace tarvik
