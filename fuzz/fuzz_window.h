// A window for the fuzz targets that drive TMainForm: the emulated bus with one device plugged
// in, made once per process (a program has one HID controller), and for each input a fresh
// window over it, started as at program start with the English interface.
#pragma once

#include <memory>

#include "form/main_form.h"
#include "form/settings_store.h"
#include "link/dispatcher.h"
#include "link/emulated_backend.h"
#include "link/hid_device_controller.h"
#include "support/recording_host.h"

namespace tarvik::fuzz {

class FuzzWindow {
public:
    // The first window plugs the device (nullptr: none) for the whole run; later ones ignore it.
    explicit FuzzWindow(std::shared_ptr<VirtualDevice> device);
    FuzzWindow(const FuzzWindow&) = delete;
    FuzzWindow& operator=(const FuzzWindow&) = delete;

    TMainForm& form() { return form_; }

private:
    MemorySettings settings_;
    scenario::RecordingHost host_;
    TMainForm form_;
};

} // namespace tarvik::fuzz
