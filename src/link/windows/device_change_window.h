// The system's device-change notices for the HID interface class, heard by a message-only
// window on a thread of its own (RegisterDeviceNotification, WM_DEVICECHANGE), and a look at
// the list of interface paths once a second for systems that never send the notices.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/windows/windows_hid_backend.h"

namespace tarvik {

// What one WM_DEVICECHANGE says about HID interfaces: an interface that came or went, or the
// device tree changed; none for anything else.
std::optional<DeviceChangeNotice> deviceChangeNotice(WPARAM event, LPARAM data);

class DeviceChangeWindow : public DeviceChangeSource {
public:
    using InterfaceList = std::function<std::vector<std::wstring>()>;
    static constexpr std::chrono::milliseconds kPollInterval{1000};

    // listInterfaces: the present interface paths (nothing opened), called on the window's
    // thread every pollInterval; a list that differs from the last one is a notice.
    DeviceChangeWindow(const GUID& interfaceClass, InterfaceList listInterfaces,
                       std::chrono::milliseconds pollInterval = kPollInterval);
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

    // The timer's look at the list.
    void poll();

    GUID interfaceClass_;
    InterfaceList listInterfaces_;
    std::chrono::milliseconds pollInterval_;
    std::vector<std::wstring> lastList_; // the window's thread only
    std::function<void(const DeviceChangeNotice&)> onNotice_;
    DWORD threadId_ = 0;
    std::thread thread_;
};

} // namespace tarvik
