// Following the programmer on the HID bus: release it when it is unplugged, take it when it
// appears, and offer or withdraw the job controls accordingly. A device with the programmer's
// ids that cannot be used (this user may not open it, or its reports are not the programmer's)
// is not taken, and the status bar and the log say why, with the backend's advice; so is a
// programmer the backend refuses (a socket peer of another user).
#include "buffer/buffer_texts.h"
#include "form/main_form.h"
#include "form/programmer_texts.h"

namespace tarvik {

namespace {

bool hasProgrammerIds(const THidDevice& device) {
    return device.Info().vendorId == kProgrammerVendorId &&
           device.Info().productId == kProgrammerProductId;
}

// Reports of any other length would be cut or padded on the way.
bool hasProgrammerReports(const THidDevice& device) {
    return device.Caps().InputReportByteLength == report::kInputLength &&
           device.Caps().OutputReportByteLength == report::kOutputLength;
}

// Listed with the programmer's ids and not held by the window.
bool isOtherProgrammer(const THidDevice& device) {
    return hasProgrammerIds(device) && device.IsPluggedIn() && !device.IsCheckedOut();
}

} // namespace

void TMainForm::HidCtlDeviceChange() {
    NotifyOnExit notify(*this);
    if (ProgrammerDevice != nullptr && !ProgrammerDevice->IsPluggedIn()) {
        // A job that was running is abandoned as it stands; the next one starts afresh.
        if (jobRunning_) {
            Outcome.result = JobResult::Unplugged;
            Outcome.failedStep = ProtocolState;
            Outcome.errorLine = StoppedLine();
        }
        HidCtl.ReleaseDevice(ProgrammerDevice);
        ProgrammerDevice = nullptr;
        FuseQuestion = {};
        setJobRunning(false);
        settling_ = false; // a programmer plugged in again has nothing left to answer
        DisableControls();
        showProgrammerStatus();
    }
    if (ProgrammerDevice == nullptr) {
        if (HidCtl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, ProgrammerDevice,
                                 hasProgrammerReports)) {
            EnableControls();
            showProgrammerStatus();
        } else {
            ProgrammerDevice = nullptr;
            showProgrammerMissing();
        }
    }
}

bool TMainForm::programmerAccessDenied() const {
    for (const auto& device : HidCtl.DeviceList()) {
        if (isOtherProgrammer(*device) && hasProgrammerReports(*device) && device->AccessDenied())
            return true;
    }
    return false;
}

void TMainForm::showProgrammerStatus() {
    if (LanguageCode > 2) {
        return;
    }
    if (ProgrammerDevice != nullptr) {
        StatusBar.panels[0] = std::string(texts::kProgrammerReady);
    } else if (programmerAccessDenied()) {
        StatusBar.panels[0] = std::string(pick(texts::kProgrammerNoAccess, LanguageCode));
    } else {
        StatusBar.panels[0] = std::string(texts::kProgrammerMissing);
    }
}

void TMainForm::showProgrammerMissing() {
    DisableControls();
    showProgrammerStatus();
    for (const auto& device : HidCtl.DeviceList()) {
        if (!isOtherProgrammer(*device)) {
            continue;
        }
        const std::string& node = device->Info().path;
        if (!hasProgrammerReports(*device)) {
            log(fillIn(pick(texts::kWrongReportLengths, LanguageCode),
                       {node, std::to_string(device->Caps().InputReportByteLength),
                        std::to_string(device->Caps().OutputReportByteLength)}));
        } else if (device->AccessDenied()) {
            log(fillIn(pick(texts::kNoAccessNode, LanguageCode), {node}));
            showAccessRemedy();
        }
    }
    if (const auto& refused = HidCtl.LastRefusedProgrammer()) {
        log(std::string(pick(refused->reason, LanguageCode)));
    }
}

void TMainForm::showAccessRemedy() {
    for (std::string& line : HidCtl.AccessRemedy(LanguageCode))
        log(std::move(line));
}

} // namespace tarvik
