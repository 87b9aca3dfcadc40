// TMainForm's life (wiring the HID controller's handlers), the log, and the two routines that
// put output reports on the wire: SendReport and FillDataChunk.
#include "form/main_form.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include "operations/engine_support.h"
#include "operations/job_texts.h"
#include "platform/local_time.h"

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

// Local date and time as days since 30 December 1899, to the millisecond.
TDateTime localDateTime() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    const auto offset = static_cast<double>(platform::utcOffsetSeconds(seconds));
    constexpr double kUnixEpochDays = 25569.0; // 1 January 1970 in days since 30 December 1899
    constexpr double kMsPerDay = 86400000.0;
    return kUnixEpochDays + (static_cast<double>(ms) + offset * 1000.0) / kMsPerDay;
}

} // namespace

TMainForm::TMainForm(THidDeviceController& hidCtl, SettingsStore& settings, FormHost& host)
    : HidCtl(hidCtl), RegistryEdit1(settings), host_(host) {
    Now = localDateTime;
    initControls();
    HidCtl.SetOnDeviceChange([this] { HidCtlDeviceChange(); });
    HidCtl.SetOnDeviceData([this](THidDevice* device, std::uint8_t reportId,
                                  const std::uint8_t* data,
                                  std::uint16_t size) { HidData(device, reportId, data, size); });
}

TMainForm::~TMainForm() {
    // Stops the reading first, so no report reaches a window that is going away, then gives
    // the programmer back: a window made later over the same controller finds it again.
    HidCtl.SetOnDeviceData(nullptr);
    HidCtl.SetOnDeviceChange(nullptr);
    if (ProgrammerDevice != nullptr) {
        HidCtl.ReleaseDevice(ProgrammerDevice);
    }
}

void TMainForm::log(const LangText& text) {
    Verlauf.lines.emplace_back(pick(text, LanguageCode));
}

void TMainForm::log(std::string line) {
    Verlauf.lines.push_back(std::move(line));
}

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
