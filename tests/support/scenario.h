// A whole program in one object: the plain main-thread loop, the emulated bus, the HID
// controller, in-memory settings, a recording host and the window, started as at program
// start. Tests plug programmers (the virtual programmer or a scripted one), press the window's
// buttons and run the loop until the job has finished.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "emulator/virtual_programmer.h"
#include "form/main_form.h"
#include "form/settings_store.h"
#include "link/dispatcher.h"
#include "link/emulated_backend.h"
#include "link/hid_device_controller.h"
#include "support/recording_host.h"

namespace tarvik::scenario {

using namespace std::chrono_literals;

class Scenario {
public:
    // The window is created and started (FormCreate) with nothing plugged in; the interface
    // language is English unless the test switches it.
    Scenario();
    ~Scenario();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    PlainDispatcher dispatcher;
    EmulatedBackend backend{dispatcher};
    THidDeviceController controller{backend, dispatcher};
    MemorySettings settings;
    RecordingHost host;
    std::unique_ptr<TMainForm> form;

    // Plugs a device and runs the loop until the window holds a programmer.
    EmulatedBackend::Handle plug(std::shared_ptr<VirtualDevice> device,
                                 Latency latency = Latency::None);
    // Plugs the virtual programmer holding the chip of that name (as the emulator names them:
    // "ATmega8", "AT89C51-5V", "24AA512", "locked" …).
    std::shared_ptr<emulator::VirtualProgrammer> plugChip(std::string_view chipName,
                                                          Latency latency = Latency::None);
    // Unplugs the device last plugged and runs the loop until the window has let it go.
    void unplug();

    // Runs a handler of the window (a button), then the loop until the job it started has
    // finished. False when it hasn't finished within the timeout.
    bool run(void (TMainForm::*handler)(), std::chrono::milliseconds timeout = 10s);
    // As run, giving this answer when the job asks the user (a fuse write that locks out).
    bool runAnswering(void (TMainForm::*handler)(), bool agree,
                      std::chrono::milliseconds timeout = 10s);
    // Runs the loop until no job is running (ProtocolState idle).
    bool finishJob(std::chrono::milliseconds timeout = 10s);
    // Runs the loop until the job's state is `state` (or the timeout passes).
    bool runUntilState(std::uint8_t state, std::chrono::milliseconds timeout = 10s);
    // Runs the loop until pred holds.
    bool runUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout = 10s);

    // The log as it stands.
    const std::vector<std::string>& log() const { return form->Verlauf.lines; }
    // Replaces the buffer.
    void setBuffer(std::vector<std::uint8_t> bytes);
    // A clock the test moves by hand; Now() reads it.
    void useManualClock(TDateTime start = 45000.0);
    void advanceClockMs(double ms);

private:
    EmulatedBackend::Handle plugged_ = 0;
    std::shared_ptr<TDateTime> clock_;
};

// The command byte of every report the programmer has received since its record was cleared.
std::vector<std::uint8_t> sentCommands(const emulator::VirtualProgrammer& programmer);

// A buffer of n bytes with a recognisable pattern (no 0xFF runs a blank chip would hide).
std::vector<std::uint8_t> patternBytes(std::size_t n, std::uint8_t seed = 0);

} // namespace tarvik::scenario
