// A TMainForm over the emulated bus with an in-memory settings store and a host that records
// what the window asks of it. Nothing is plugged unless a test plugs the silent programmer.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "form/form_host.h"
#include "form/main_form.h"
#include "form/settings_store.h"
#include "link/dispatcher.h"
#include "link/emulated_backend.h"
#include "link/hid_device_controller.h"
#include "support/recording_host.h"
#include "support/test_remedy.h"

namespace tarvik::test {

using RecordingHost = scenario::RecordingHost;

// A programmer that never answers: enough for the window to see one plugged in.
class SilentProgrammer : public VirtualDevice {
public:
    DeviceReply onOutputReport(std::span<const std::uint8_t>) override { return {}; }
};

class FormTest : public ::testing::Test {
protected:
    FormTest() { backend.setAccessRemedy(scenario::testAccessRemedy); }

    PlainDispatcher dispatcher;
    EmulatedBackend backend{dispatcher};
    THidDeviceController controller{backend, dispatcher};
    MemorySettings settings;
    RecordingHost host;
    std::unique_ptr<TMainForm> form = std::make_unique<TMainForm>(controller, settings, host);

    // Plugs the programmer and lets the window take it (the idle state with a programmer).
    void plugProgrammer() {
        backend.plug(std::make_shared<SilentProgrammer>());
        dispatcher.runUntil([&] { return form->ProgrammerDevice != nullptr; },
                            std::chrono::seconds(2));
        ASSERT_NE(form->ProgrammerDevice, nullptr);
    }

    // A new window over the same store, as at the next program start.
    void restart() {
        form.reset();
        form = std::make_unique<TMainForm>(controller, settings, host);
        form->FormCreate();
    }
};

// A scratch folder removed with the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string file(std::string_view name) const { return (path_ / name).string(); }
    void write(std::string_view name, std::string_view content) const;
    std::string read(std::string_view name) const;

private:
    std::filesystem::path path_;
};

} // namespace tarvik::test
