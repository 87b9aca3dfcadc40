// Following the programmer on the HID bus: release it when it is unplugged, take it when it
// appears, and offer or withdraw the job controls accordingly.
#include "form/main_form.h"

namespace tarvik {

namespace {
// The same text in every interface language.
constexpr std::string_view kProgrammerReady = "Программатор к работе готов.";
constexpr std::string_view kProgrammerMissing = "Программатор не подключен!";
} // namespace

void TMainForm::HidCtlDeviceChange() {
    NotifyOnExit notify(*this);
    const auto showStatus = [this](std::string_view text) {
        if (LanguageCode <= 2) {
            StatusBar.panels[0] = std::string(text);
        }
    };
    if (ProgrammerDevice != nullptr && !ProgrammerDevice->IsPluggedIn()) {
        // A job that was running is abandoned as it stands; the next one starts afresh.
        HidCtl.ReleaseDevice(ProgrammerDevice);
        ProgrammerDevice = nullptr;
        setJobRunning(false);
        DisableControls();
        showStatus(kProgrammerMissing);
    }
    if (ProgrammerDevice == nullptr) {
        if (HidCtl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, ProgrammerDevice)) {
            EnableControls();
            showStatus(kProgrammerReady);
        } else {
            ProgrammerDevice = nullptr;
            DisableControls();
            showStatus(kProgrammerMissing);
        }
    }
}

} // namespace tarvik
