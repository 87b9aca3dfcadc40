// The fuse and lock bit steps: read the bits into the fuse list's check marks (logging the
// calibration bytes), and write them from the marks. Over the ISP connector they travel as
// lists of serial-programming instruction bytes, in the AT90S socket as two byte images.
#include <algorithm>
#include <string>
#include <vector>

#include "chips/fuse_bits.h"
#include "form/main_form.h"
#include "operations/engine_support.h"
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
        const std::vector<std::uint8_t> calibration =
            chips::calibrationBytes(AutoDevice.text, values);
        for (std::size_t k = 0; k < calibration.size(); ++k) {
            log("Calibration Byte " + std::to_string(k) + ": " + engine::hexByte(calibration[k]));
        }
    } else if (N90S1200.checked && !socketListIncomplete(*this)) {
        chips::applySocketFuseByte(payload[1], marks);
        engine::setFuseMarks(FuseList, marks);
    }
}

void TMainForm::StartWriteFuses() {
    const std::vector<bool> marks = engine::fuseMarks(FuseList);
    if (nAVRISP.checked) {
        // Marks the chip's entries don't cover (a list left from another identification, as
        // after "Device locked !") would be dropped while the job reported success.
        if (!FuseList.items.empty() &&
            chips::fuseListPositions(AutoDevice.text) != FuseList.items.size()) {
            engine::failStep(*this, texts::kFuseListNotForChip);
            return;
        }
        putFuseEntries(*this, chips::fuseWriteEntries(AutoDevice.text, marks));
    } else if (N90S1200.checked) {
        if (socketListIncomplete(*this)) {
            engine::failStep(*this, texts::kSocketFuseListIncomplete);
            return;
        }
        const chips::SocketFuseBytes bytes = chips::socketFuseWrite(marks);
        OutputReport[report::kParam1] = bytes.lock;
        OutputReport[report::kParam2] = bytes.fuse;
    }
    log(texts::kWritingFuses);
    ProtocolState = stWriteFuses;
    OutputReport[report::kCommand] = static_cast<std::uint8_t>(Command::WriteFuses);
    SendReport();
}

} // namespace tarvik
