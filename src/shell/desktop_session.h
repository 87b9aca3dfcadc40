// One run of the desktop program: the main-thread dispatcher, the settings store, the
// programmer's backend (USB, the in-process virtual programmer or a socket peer), the HID
// controller, the main window (whose model searches for the programmer while it is built, then runs
// FormCreate) and the hidden info window. Members are made in that order and go in reverse.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "form/settings_store.h"
#include "link/emulated_backend.h"
#include "link/hid_device_controller.h"
#include "shell/program_options.h"

namespace tarvik {

namespace emulator {
class VirtualProgrammer;
}
class MainWindow;
class QtDispatcher;
class TInfoForm;

// The desktop's settings store: TRegistryEdit under "\software\Tarvik\".
std::unique_ptr<SettingsStore> desktopSettings();

// The error text for a virtual chip name that names none, listing the known ones.
std::string unknownVirtualChipText(const std::string& name, std::uint8_t languageCode);

class DesktopSession {
public:
    // settings: the store to use; none means the desktop's TRegistryEdit. Throws UserError when
    // the options name a programmer that can't be set up (an unknown virtual chip, no USB
    // support built in), in the language the settings ask for.
    explicit DesktopSession(const ProgramOptions& options,
                            std::unique_ptr<SettingsStore> settings = nullptr,
                            Latency latency = Latency::UsbFullSpeed);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    MainWindow& window() { return *window_; }
    TInfoForm& infoForm() { return *infoForm_; }
    SettingsStore& settings() { return *settings_; }
    // With the virtual programmer in process: its bus, and the plug of the programmer.
    EmulatedBackend* emulatedBus() { return emulatedBus_; }
    std::optional<EmulatedBackend::Handle> programmerPlug;
    std::shared_ptr<emulator::VirtualProgrammer> programmer;

private:
    std::unique_ptr<QtDispatcher> dispatcher_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<HidBackend> backend_;
    EmulatedBackend* emulatedBus_ = nullptr;
    std::unique_ptr<THidDeviceController> controller_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<TInfoForm> infoForm_;
};

} // namespace tarvik
