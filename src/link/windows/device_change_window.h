// The system's device-change notices for the HID interface class, heard by a message-only
// window on a thread of its own (RegisterDeviceNotification, WM_DEVICECHANGE). Should the
// system refuse the registration, the window looks again once a second instead.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <thread>

#include "link/windows/windows_hid_backend.h"

namespace tarvik {

// What one WM_DEVICECHANGE says about HID interfaces: an interface that came or went, or the
// device tree changed; none for anything else.
std::optional<DeviceChangeNotice> deviceChangeNotice(WPARAM event, LPARAM data);

class DeviceChangeWindow : public DeviceChangeSource {
public:
    static constexpr UINT kPollIntervalMs = 1000;

    explicit DeviceChangeWindow(const GUID& interfaceClass);
    // Closes the window and ends its thread; no notice comes after this.
    ~DeviceChangeWindow() override;
    DeviceChangeWindow(const DeviceChangeWindow&) = delete;
    DeviceChangeWindow& operator=(const DeviceChangeWindow&) = delete;

    // Starts the thread; returns once the window is listening.
    void watch(std::function<void(const DeviceChangeNotice&)> onNotice) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The thread: makes the window, registers, reports ready, runs the message loop.
    void run(const std::function<void()>& ready);

    GUID interfaceClass_;
    std::function<void(const DeviceChangeNotice&)> onNotice_;
    DWORD threadId_ = 0;
    std::thread thread_;
};

} // namespace tarvik
