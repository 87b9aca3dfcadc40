// Whether a job runs, and the ways out of one before it ends: Action → Abort and closing the
// window. An abandoned job is left where it stands, as an unplug leaves it, except that the
// programmer stays: the controls come back at once.
#include "form/main_form.h"
#include "operations/job_texts.h"

namespace tarvik {

void TMainForm::setJobRunning(bool running) {
    jobRunning_ = running;
    if (running)
        ignoreLateAnswers_ = false;
    Hexeditor.setLocked(running);
    nAbort.enabled = running;
}

void TMainForm::abandonJob() {
    setJobRunning(false);
    // A step that was waiting may still be answered; that answer must not end a job that is
    // over (as "Successfully finished." after an abort) or feed the next one.
    ignoreLateAnswers_ = true;
    ProtocolState = stIdle;
    FuseQuestion = {}; // a question the job still had open is moot now
    ErrorFlag = false;
    log(texts::kAborted);
    if (ProgrammerDevice != nullptr)
        EnableControls();
    Gauge1.progress = 0;
}

void TMainForm::nAbortClick() {
    NotifyOnExit notify(*this);
    if (jobRunning_)
        abandonJob();
}

void TMainForm::FormCloseQuery(bool& CanClose) {
    NotifyOnExit notify(*this);
    CanClose = !jobRunning_ ||
               host_.askYesNo(pick(texts::kCloseDuringJob, LanguageCode),
                              pick(texts::kYes, LanguageCode), pick(texts::kNo, LanguageCode));
}

} // namespace tarvik
