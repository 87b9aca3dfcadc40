// The engine of every job: each input report from the programmer advances the running job by
// its response code and the protocol state, and a job that has become idle is finished.
#include <algorithm>
#include <span>

#include "buffer/buffer_texts.h"
#include "form/main_form.h"
#include "operations/engine_support.h"

namespace tarvik {

namespace {

using Payload = std::span<const std::uint8_t>;

// Runs its function when the scope ends, however it ends.
template <typename Function>
struct OnExit {
    Function function;
    ~OnExit() { function(); }
};
// Spelled out for compilers without deduction for aggregates (clang 14).
template <typename Function>
OnExit(Function) -> OnExit<Function>;

// After a flash write, or the verify of a program job: the socket chips get the lock bits
// that the fuse list's entries 0 and 1 ask for, lock bit 1 first; AT89Sxx chips never do.
void lockBitChain(TMainForm& form) {
    if (!form.IsSocketMcu || form.n89Sxx.checked) {
        form.ProtocolState = stIdle;
    } else if (engine::fuseChecked(form, 0)) {
        form.StartWriteLockBit(1);
    } else if (engine::fuseChecked(form, 1)) {
        form.StartWriteLockBit(2);
    } else {
        form.ProtocolState = stIdle;
    }
}

void onSignature(TMainForm& form, Payload payload) {
    form.IdentifyChip(payload.data(), payload.size());
}

void onErased(TMainForm& form, Payload) {
    if (form.RequestedJob == jobErase) {
        form.ProtocolState = stIdle;
    } else if (form.RequestedJob == jobProgram) {
        form.StartWriteFlash();
    }
}

void onWritten(TMainForm& form, Payload) {
    if (form.RequestedJob == jobProgramEeprom) {
        form.ProtocolState = stIdle;
    } else if (form.nverifynachprogrammieren.checked) {
        form.StartVerify();
    } else {
        lockBitChain(form);
    }
}

void onVerified(TMainForm& form, Payload) {
    if (form.RequestedJob != jobProgram) {
        form.ProtocolState = stIdle;
    } else {
        lockBitChain(form);
    }
}

void onLockBit1Done(TMainForm& form, Payload) {
    if (engine::fuseChecked(form, 1)) {
        form.StartWriteLockBit(2);
    } else {
        form.ProtocolState = stIdle;
    }
}

void becomeIdle(TMainForm& form, Payload) {
    form.ProtocolState = stIdle;
}

void onFusesWritten(TMainForm& form, Payload) {
    engine::continueFuseWrite(form);
}

void onFuses(TMainForm& form, Payload payload) {
    form.ApplyFuseBytes(payload.data(), payload.size());
    if (form.RequestedJob == jobWriteFuses) {
        engine::compareFusesWritten(form); // a fuse write reads the fuses only to check them
    } else {
        engine::runJobDispatch(form);
    }
}

// A data report: the count byte, then that many bytes, taken only as far as the report goes.
void collectReadData(TMainForm& form, Payload payload) {
    form.Gauge1.maxValue = form.ExpectedSize;
    if (!payload.empty()) {
        const std::size_t count = std::min<std::size_t>(payload[0], payload.size() - 1);
        form.ReadData.insert(form.ReadData.end(), payload.begin() + 1,
                             payload.begin() + 1 + static_cast<std::ptrdiff_t>(count));
    }
    const auto received = static_cast<std::int64_t>(form.ReadData.size());
    form.Gauge1.progress = std::min(received, form.Gauge1.maxValue); // the gauge stops at its end
    engine::recordTransfer(form);
    if (form.Gauge1.progress == form.ExpectedSize) {
        if (form.ComparingReadBack) {
            engine::compareReadBack(form);
        } else if (form.BlankChecking) {
            engine::checkBlank(form);
        } else {
            form.Hexeditor.SetAllBytes(form.ReadData);
            form.FileSignature.reset(); // the chip's bytes name no chip
            form.log(form.imageLine(texts::kImageRead));
        }
        form.ProtocolState = stIdle;
    }
}

// What a report does in each state; the first row whose state and code match acts.
struct StepRow {
    std::uint8_t state;
    bool anyCode; // stRead: every report is data
    std::uint8_t code;
    void (*action)(TMainForm&, Payload);
};

constexpr StepRow kStepRows[] = {
    {stSignature, false, rspSignature, onSignature},
    {stErase, false, rspErased, onErased},
    {stWrite, false, rspWritten, onWritten},
    {stVerify, false, rspVerified, onVerified},
    {stLockBit1, false, rspLockBit1Done, onLockBit1Done},
    {stLockBit2, false, rspLockBit2Done, becomeIdle},
    {stWriteFuses, false, rspFusesWritten, onFusesWritten},
    {stReadFuses, false, rspFuses, onFuses},
    {stRead, true, 0, collectReadData},
};

} // namespace

namespace engine {

void runJobDispatch(TMainForm& form) {
    // The job's own step after identification (and the fuse read where there is one).
    struct DispatchRow {
        std::uint8_t job;
        void (TMainForm::*step)();
    };
    static constexpr DispatchRow kDispatchRows[] = {
        {jobErase, &TMainForm::StartErase},
        {jobProgram, &TMainForm::StartErase},
        {jobVerify, &TMainForm::StartVerify},
        {jobReadFlash, &TMainForm::StartReadFlash},
        {jobReadEeprom, &TMainForm::StartReadEeprom},
        {jobProgramEeprom, &TMainForm::StartWriteEeprom},
    };
    if (!imageFits(form)) {
        return;
    }
    for (const DispatchRow& row : kDispatchRows) {
        if (row.job == form.RequestedJob) {
            (form.*row.step)();
            return;
        }
    }
    form.ProtocolState = stIdle; // write fuses and detect end here
}

} // namespace engine

void TMainForm::HidData(THidDevice*, std::uint8_t, const std::uint8_t* Data, std::uint16_t Size) {
    NotifyOnExit notify(*this);
    // A report while no job runs belongs to none: an answer still on its way when a job was
    // abandoned, or one the programmer sent of its own accord. It counts as the programmer
    // not being quiet yet.
    if (!jobRunning_) {
        lastHeard_ = std::chrono::steady_clock::now();
        return;
    }
    // Device input is untrusted: only the bytes the report really holds are looked at.
    const Payload payload = Data != nullptr ? Payload(Data, Size) : Payload();
    const int code = payload.empty() ? -1 : payload[0];
    // Whether this report moves the job on: a step, a chunk, read bytes or the end.
    struct Progress {
        std::uint8_t state;
        std::int32_t sendPos;
        std::size_t readBytes;
        bool running;
        bool operator==(const Progress&) const = default;
    };
    const auto progressNow = [this] {
        return Progress{ProtocolState, SendPos, ReadData.size(), jobRunning_};
    };
    const Progress before = progressNow();
    const OnExit countProgress{[&] {
        if (progressNow() != before)
            ++jobProgress_;
    }};

    if (ProtocolState != stRead) {
        if (code == rspNextChunk) {
            // The next chunk of a running write or verify (FillDataChunk sends none once the
            // buffer is through). A "*" with no transfer to continue is ignored altogether.
            if (ProtocolState == stWrite || ProtocolState == stVerify) {
                FillDataChunk();
                if (ProtocolState == stIdle) {
                    FinishOperation(); // the chunk could not be written
                }
            }
            return;
        }
        if (code == rspError) {
            const bool verifyFailed = ProtocolState == stVerify;
            // The answer names no reason: the step's own line says where it failed.
            engine::recordFailure(*this, Verlauf.lines.empty() ? "" : Verlauf.lines.back());
            ErrorFlag = true;
            ProtocolState = stIdle;
            if (verifyFailed) {
                // The answer says nothing of where: the chip's contents will.
                engine::startReadBack(*this);
                if (ProtocolState == stIdle) {
                    FinishOperation();
                }
                return;
            }
        }
    }

    for (const StepRow& row : kStepRows) {
        if (row.state == ProtocolState && (row.anyCode || row.code == code)) {
            row.action(*this, payload);
            break;
        }
    }

    if (ProtocolState == stIdle) {
        FinishOperation();
    }
}

} // namespace tarvik
