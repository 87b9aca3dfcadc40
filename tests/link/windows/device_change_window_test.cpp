// Device-change notices: what a WM_DEVICECHANGE says, and the window that hears them.
#include "link/windows/device_change_window.h"

#include <dbt.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace tarvik {
namespace {

// A DEV_BROADCAST_DEVICEINTERFACE_W with its name, as the system sends it.
std::vector<DWORD> broadcast(DWORD type, const std::wstring& name, DWORD size = 0) {
    constexpr std::size_t kNameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    const std::size_t bytes = kNameOffset + (name.size() + 1) * sizeof(wchar_t);
    std::vector<DWORD> storage(bytes / sizeof(DWORD) + 1);
    auto* message = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
    message->dbcc_size = size ? size : static_cast<DWORD>(bytes);
    message->dbcc_devicetype = type;
    std::copy(name.begin(), name.end(), message->dbcc_name);
    return storage;
}

LPARAM asParam(std::vector<DWORD>& storage) {
    return reinterpret_cast<LPARAM>(storage.data());
}

TEST(DeviceChangeNotice, TellsInterfacesThatCameOrWent) {
    const std::wstring path = L"\\\\?\\hid#vid_0451&pid_3210#1#{4d1e55b2}";
    auto arrival = broadcast(DBT_DEVTYP_DEVICEINTERFACE, path);
    EXPECT_EQ(deviceChangeNotice(DBT_DEVICEARRIVAL, asParam(arrival)),
              (DeviceChangeNotice{false, path}));
    EXPECT_EQ(deviceChangeNotice(DBT_DEVICEREMOVECOMPLETE, asParam(arrival)),
              (DeviceChangeNotice{true, path}));
    EXPECT_EQ(deviceChangeNotice(DBT_DEVNODES_CHANGED, 0), DeviceChangeNotice{});

    // A name is never read beyond the size the sender gave.
    const DWORD shortSize = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + 4 * 2;
    auto cut = broadcast(DBT_DEVTYP_DEVICEINTERFACE, path, shortSize);
    EXPECT_EQ(deviceChangeNotice(DBT_DEVICEREMOVECOMPLETE, asParam(cut)),
              (DeviceChangeNotice{true, path.substr(0, 4)}));
    auto empty = broadcast(DBT_DEVTYP_DEVICEINTERFACE, L"", 8);
    EXPECT_EQ(deviceChangeNotice(DBT_DEVICEARRIVAL, asParam(empty)), DeviceChangeNotice{});

    // Not about device interfaces.
    auto volume = broadcast(DBT_DEVTYP_VOLUME, L"");
    EXPECT_FALSE(deviceChangeNotice(DBT_DEVICEARRIVAL, asParam(volume)));
    EXPECT_FALSE(deviceChangeNotice(DBT_DEVICEARRIVAL, 0));
    EXPECT_FALSE(deviceChangeNotice(DBT_DEVICEQUERYREMOVE, asParam(arrival)));
    EXPECT_FALSE(deviceChangeNotice(DBT_CONFIGCHANGED, 0));
}

TEST(DeviceChangeWindow, PassesOnWhatItsWindowHears) {
    std::mutex mutex;
    std::condition_variable heard;
    std::vector<DeviceChangeNotice> notices;
    {
        DeviceChangeWindow window(kHidInterfaceClass, [] { return std::vector<std::wstring>{}; });
        window.watch([&](const DeviceChangeNotice& notice) {
            std::lock_guard lock(mutex);
            notices.push_back(notice);
            heard.notify_all();
        });
        const HWND found =
            ::FindWindowExW(HWND_MESSAGE, nullptr, L"TarvikHidDeviceChange", nullptr);
        ASSERT_TRUE(found);
        auto removal = broadcast(DBT_DEVTYP_DEVICEINTERFACE, L"\\\\?\\hid#x");
        EXPECT_EQ(
            ::SendMessageW(found, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, asParam(removal)),
            TRUE);
        ::SendMessageW(found, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        std::unique_lock lock(mutex);
        heard.wait_for(lock, std::chrono::seconds(5), [&] { return notices.size() >= 2; });
    }
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0], (DeviceChangeNotice{true, L"\\\\?\\hid#x"}));
    EXPECT_EQ(notices[1], DeviceChangeNotice{});
}

TEST(DeviceChangeWindow, LooksAtTheListOfInterfacesAndTellsOnlyAChange) {
    std::mutex mutex;
    std::condition_variable heard;
    std::vector<std::wstring> present{L"\\\\?\\hid#a"};
    int looks = 0;
    int notices = 0;
    const auto list = [&] {
        std::lock_guard lock(mutex);
        ++looks;
        heard.notify_all();
        return present;
    };
    const auto waitForLooks = [&](std::unique_lock<std::mutex>& lock, int more) {
        const int until = looks + more;
        return heard.wait_for(lock, std::chrono::seconds(5), [&] { return looks >= until; });
    };
    DeviceChangeWindow window(kHidInterfaceClass, list, std::chrono::milliseconds(20));
    window.watch([&](const DeviceChangeNotice& notice) {
        std::lock_guard lock(mutex); // on the window's thread, outside the list's lock
        EXPECT_EQ(notice, DeviceChangeNotice{});
        ++notices;
    });
    std::unique_lock lock(mutex);
    ASSERT_TRUE(waitForLooks(lock, 3));
    EXPECT_EQ(notices, 0); // the same list every time

    present.push_back(L"\\\\?\\hid#b");
    ASSERT_TRUE(waitForLooks(lock, 3));
    EXPECT_EQ(notices, 1);
    present.erase(present.begin());
    ASSERT_TRUE(waitForLooks(lock, 3));
    EXPECT_EQ(notices, 2);
}

} // namespace
} // namespace tarvik
