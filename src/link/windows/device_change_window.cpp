// DeviceChangeWindow: a message loop whose only work is WM_DEVICECHANGE.
#include "link/windows/device_change_window.h"

#include <dbt.h>

#include <cstddef>
#include <cwchar>
#include <future>
#include <utility>

namespace tarvik {

namespace {

constexpr wchar_t kWindowClass[] = L"TarvikHidDeviceChange";
constexpr UINT_PTR kPollTimer = 1;

std::wstring interfaceName(const DEV_BROADCAST_DEVICEINTERFACE_W& broadcast) {
    constexpr std::size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (broadcast.dbcc_size <= kNameOffset)
        return {};
    // Never beyond the size the sender gave.
    const std::size_t capacity = (broadcast.dbcc_size - kNameOffset) / sizeof(wchar_t);
    return std::wstring(broadcast.dbcc_name, ::wcsnlen(broadcast.dbcc_name, capacity));
}

} // namespace

std::optional<DeviceChangeNotice> deviceChangeNotice(WPARAM event, LPARAM data) {
    if (event == DBT_DEVNODES_CHANGED)
        return DeviceChangeNotice{};
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return std::nullopt;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return std::nullopt;
    return DeviceChangeNotice{
        event == DBT_DEVICEREMOVECOMPLETE,
        interfaceName(*reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header))};
}

DeviceChangeWindow::DeviceChangeWindow(const GUID& interfaceClass, InterfaceList listInterfaces,
                                       std::chrono::milliseconds pollInterval)
    : interfaceClass_(interfaceClass), listInterfaces_(std::move(listInterfaces)),
      pollInterval_(pollInterval) {}

DeviceChangeWindow::~DeviceChangeWindow() {
    if (!thread_.joinable())
        return;
    ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

void DeviceChangeWindow::watch(std::function<void(const DeviceChangeNotice&)> onNotice) {
    onNotice_ = std::move(onNotice);
    std::promise<void> listening;
    std::future<void> started = listening.get_future();
    thread_ = std::thread([this, listening = std::move(listening)]() mutable {
        run([&listening] { listening.set_value(); });
    });
    started.wait();
}

LRESULT CALLBACK DeviceChangeWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    auto* self = reinterpret_cast<DeviceChangeWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_DEVICECHANGE) {
        if (const auto notice = deviceChangeNotice(wParam, lParam))
            self->onNotice_(*notice);
        return TRUE;
    }
    if (self && message == WM_TIMER && wParam == kPollTimer) {
        self->poll();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void DeviceChangeWindow::poll() {
    std::vector<std::wstring> list = listInterfaces_();
    if (list == lastList_)
        return;
    lastList_ = std::move(list);
    onNotice_(DeviceChangeNotice{});
}

void DeviceChangeWindow::run(const std::function<void()>& ready) {
    threadId_ = ::GetCurrentThreadId();
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    // One class for the whole program: a second window finds it registered already.
    ::RegisterClassExW(&windowClass);
    const HWND window = ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                          nullptr, instance, nullptr);
    HDEVNOTIFY registration = nullptr;
    lastList_ = listInterfaces_();
    if (window) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = interfaceClass_;
        // The notices come at once where the system sends them; the timer finds any change
        // within its interval where it does not (wine sends none).
        registration = ::RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        ::SetTimer(window, kPollTimer, static_cast<UINT>(pollInterval_.count()), nullptr);
    }
    // The queue exists now (PeekMessage makes it when there is no window): WM_QUIT reaches it.
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    ready();
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message);
    if (registration)
        ::UnregisterDeviceNotification(registration);
    if (window)
        ::DestroyWindow(window);
}

} // namespace tarvik
