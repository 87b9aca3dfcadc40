// TMainForm's life (wiring the HID controller's handlers) and the log.
#include "form/main_form.h"

#include <chrono>
#include <ctime>

#include "platform/local_time.h"

namespace tarvik {

namespace {

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

} // namespace tarvik
