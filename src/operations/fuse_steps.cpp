// The fuse and lock bit steps: read the bits into the fuse list's check marks (logging the
// calibration bytes), and write them from the marks. Over the ISP connector they travel as
// lists of serial-programming instruction bytes, in the AT90S socket as two byte images.
#include <algorithm>
#include <string>
#include <vector>

#include "chips/fuse_bits.h"
#include "form/main_form.h"
#include "operations/engine_support.h"
#include "operations/fuse_changes.h"
#include "operations/job_texts.h"

namespace tarvik {

namespace {

// Fuse entry k occupies report offsets 4 + 3k .. 6 + 3k, up to the last payload byte.
constexpr std::size_t kMaxFuseEntries = (report::kOutputLength - 1 - report::kFuseEntries) / 3;
// Positions 0..3 of the socket layout: lock bits 1 and 2, SPIEN, RCEN/FSTRT.
constexpr std::size_t kSocketEntries = 4;

void putFuseEntries(TMainForm& form, const std::vector<chips::FuseEntryBytes>& entries) {
    const std::size_t count = std::min(entries.size(), kMaxFuseEntries);
    form.OutputReport[report::kParam1] = static_cast<std::uint8_t>(count);
    for (std::size_t k = 0; k < count; ++k) {
        std::copy(entries[k].begin(), entries[k].end(),
                  form.OutputReport.begin() + report::kFuseEntries + 3 * k);
    }
}

bool socketListIncomplete(const TMainForm& form) {
    return form.FuseList.items.size() < kSocketEntries;
}

} // namespace

void TMainForm::StartReadFuses() {
    if (!nAVRISP.checked && N90S1200.checked && socketListIncomplete(*this)) {
        engine::failStep(*this, texts::kSocketFuseListIncomplete);
        return;
    }
    log(texts::kReadingFuses);
    ProtocolState = stReadFuses;
    OutputReport[report::kCommand] = static_cast<std::uint8_t>(Command::ReadFuses);
    if (nAVRISP.checked) {
        putFuseEntries(*this, chips::fuseReadRequest(AutoDevice.text));
    }
    SendReport();
}

void TMainForm::ApplyFuseBytes(const std::uint8_t* payload, std::size_t size) {
    // Payload byte 0 is the response code; the values read follow in request order.
    if (payload == nullptr || size < 2) {
        return;
    }
    std::vector<bool> marks = engine::fuseMarks(FuseList);
    if (nAVRISP.checked) {
        const std::vector<std::uint8_t> values(payload + 1, payload + size);
        chips::applyFuseBytes(AutoDevice.text, values, marks);
        engine::setFuseMarks(FuseList, marks);
        Outcome.fusesRead = true;
        if (!FuseList.items.empty() &&
            chips::fuseListPositions(AutoDevice.text) == FuseList.items.size()) {
            ChipFuseMarks = engine::fuseMarks(FuseList);
        }
        const std::vector<std::uint8_t> calibration =
            chips::calibrationBytes(AutoDevice.text, values);
        for (std::size_t k = 0; k < calibration.size(); ++k) {
            log("Calibration Byte " + std::to_string(k) + ": " + engine::hexByte(calibration[k]));
        }
    } else if (N90S1200.checked && !socketListIncomplete(*this)) {
        chips::applySocketFuseByte(payload[1], marks);
        engine::setFuseMarks(FuseList, marks);
        Outcome.fusesRead = true;
        if (FuseList.items.size() == kSocketEntries) {
            ChipFuseMarks = engine::fuseMarks(FuseList);
        }
    }
}

namespace {

// Composes the write from the marks and sends it.
void sendFuseWrite(TMainForm& form) {
    const std::vector<bool> marks = engine::fuseMarks(form.FuseList);
    if (form.nAVRISP.checked) {
        putFuseEntries(form, chips::fuseWriteEntries(form.AutoDevice.text, marks));
    } else if (form.N90S1200.checked) {
        const chips::SocketFuseBytes bytes = chips::socketFuseWrite(marks);
        form.OutputReport[report::kParam1] = bytes.lock;
        form.OutputReport[report::kParam2] = bytes.fuse;
    }
    form.log(texts::kWritingFuses);
    form.ProtocolState = stWriteFuses;
    form.OutputReport[report::kCommand] = static_cast<std::uint8_t>(Command::WriteFuses);
    form.SendReport();
}

Question lockOutQuestion(const TMainForm& form, std::span<const engine::FuseChange> changes) {
    const std::uint8_t language = form.LanguageCode;
    std::string text(pick(texts::kLockOutWarning, language));
    for (const std::string& line : engine::lockOutLines(form.FuseList, changes, language)) {
        text += '\n' + line;
    }
    text += '\n';
    text += pick(texts::kWriteAnyway, language);
    return {true, std::string(pick(texts::kLockOutTitle, language)), std::move(text),
            std::string(pick(texts::kYes, language)), std::string(pick(texts::kNo, language))};
}

} // namespace

void TMainForm::StartWriteFuses() {
    if (nAVRISP.checked) {
        // Marks the chip's entries don't cover (a list left from another identification, as
        // after "Device locked !") would be dropped while the job reported success.
        if (!FuseList.items.empty() &&
            chips::fuseListPositions(AutoDevice.text) != FuseList.items.size()) {
            engine::failStep(*this, texts::kFuseListNotForChip);
            return;
        }
    } else if (N90S1200.checked && socketListIncomplete(*this)) {
        engine::failStep(*this, texts::kSocketFuseListIncomplete);
        return;
    }
    const std::vector<engine::FuseChange> changes = engine::fuseChanges(*this);
    for (std::string& line : engine::fuseChangeLines(FuseList, changes, LanguageCode)) {
        log(std::move(line));
    }
    if (engine::locksOut(changes)) {
        // Nothing goes out until the user agrees.
        FuseQuestion = lockOutQuestion(*this, changes);
        ProtocolState = stAskUser;
        return;
    }
    sendFuseWrite(*this);
}

void TMainForm::FuseQuestionAnswered(bool agreed) {
    NotifyOnExit notify(*this);
    if (!FuseQuestion.asked) {
        return;
    }
    FuseQuestion = {};
    if (ProtocolState != stAskUser) {
        return;
    }
    if (agreed) {
        sendFuseWrite(*this);
    } else {
        engine::failStep(*this, texts::kFuseWriteCancelled);
    }
    if (ProtocolState == stIdle) {
        FinishOperation();
    }
}

} // namespace tarvik
