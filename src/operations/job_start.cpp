// The user's eight jobs: the click handlers record the job and StartJob begins its first step.
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
    StartTime = Now();
    ComparingReadBack = false;
    FuseQuestion = {};
    if (IsSocketMcu || IsAvrIsp) {
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

// Program, verify and program EEPROM take the buffer from the file first when the option says
// so, and start only while no file load has failed.
void startWithBuffer(TMainForm& form, TRequestedJob job) {
    if (form.updatebuffer.checked) {
        form.ReadHexFile();
    }
    form.RequestedJob = job;
    if (!form.ErrorFlag) {
        form.StartJob();
    }
}

void start(TMainForm& form, TRequestedJob job) {
    form.RequestedJob = job;
    form.StartJob();
}

} // namespace

void TMainForm::bProgClick() {
    NotifyOnExit notify(*this);
    startWithBuffer(*this, jobProgram);
}

void TMainForm::bVerglClick() {
    NotifyOnExit notify(*this);
    startWithBuffer(*this, jobVerify);
}

void TMainForm::bprogeepromClick() {
    NotifyOnExit notify(*this);
    startWithBuffer(*this, jobProgramEeprom);
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
