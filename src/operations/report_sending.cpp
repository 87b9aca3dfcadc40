// The engine's way onto the wire: SendReport puts the output report out with the family the
// Device menu selects, FillDataChunk the next chunk of the buffer for a write or verify.
#include <algorithm>

#include "form/main_form.h"
#include "operations/engine_support.h"
#include "operations/job_texts.h"

namespace tarvik {

namespace {

// The family code a report carries, from the Device menu selection: the first row whose menu
// entry is checked or whose flag is set wins; with none (a Microchip entry, or nothing
// selected) the report keeps the family byte of the previous one.
struct FamilyRow {
    MenuItem TMainForm::*checkedEntry;
    bool TMainForm::*flag;
    Family family;
};

constexpr FamilyRow kFamilyRows[] = {
    {&TMainForm::n89Cx051, nullptr, Family::AT89Cx051},
    {&TMainForm::n89C5x, nullptr, Family::AT89C5x},
    {&TMainForm::n89Sxx, nullptr, Family::AT89C5x},
    {nullptr, &TMainForm::IsSerialEeprom, Family::SerialEeprom},
    {&TMainForm::N90S1200, nullptr, Family::AT90S},
    {nullptr, &TMainForm::IsAvrIsp, Family::AvrIsp},
};

} // namespace

void TMainForm::SendReport() {
    if (ProgrammerDevice == nullptr) {
        return;
    }
    OutputReport[report::kReportId] = 0;
    for (const FamilyRow& row : kFamilyRows) {
        if ((row.checkedEntry != nullptr && (this->*row.checkedEntry).checked) ||
            (row.flag != nullptr && this->*row.flag)) {
            OutputReport[report::kFamily] = static_cast<std::uint8_t>(row.family);
            break;
        }
    }
    // No answer comes to a report that never left: the job ends here with the error (the
    // caller finishes it), and the link looks at once whether the programmer is still there.
    if (!ProgrammerDevice->Write(OutputReport)) {
        engine::failStep(*this, texts::kWriteFailed);
    }
}

void TMainForm::FillDataChunk() {
    // The buffer as it is now: the user may edit it while a transfer runs.
    const HexBuffer::Bytes& bytes = Hexeditor.bytes();
    const auto size = static_cast<std::int64_t>(bytes.size());
    Gauge1.maxValue = size;
    if (SendPos < 0 || SendPos >= size) {
        return; // nothing left to send: never a stale or out-of-range chunk
    }
    const std::int64_t chunkSize = (IsSerialEeprom && ProtocolState == stWrite) ? 32 : 58;
    const std::int64_t count = std::min(chunkSize, size - SendPos);
    std::copy_n(bytes.begin() + SendPos, count, OutputReport.begin() + report::kData);
    SendPos += static_cast<std::int32_t>(count);
    Gauge1.progress = SendPos;
    engine::recordTransfer(*this);
    OutputReport[report::kParam1] = static_cast<std::uint8_t>(count);
    if (SendPos == size) {
        OutputReport[report::kParam2] = 0;
    } else {
        OutputReport[report::kParam2] =
            IsSerialEeprom ? static_cast<std::uint8_t>(EepromSizeCode & 0xFF) : 1;
    }
    SendReport();
}

} // namespace tarvik
