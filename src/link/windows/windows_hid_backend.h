// Real HID devices on Windows: the HID interfaces SetupApi lists, identified from their paths
// where these carry the USB ids and otherwise (and for the programmer's own report lengths)
// through a handle opened for queries only, opened for overlapped I/O when the client takes
// one, and followed through the system's device-change notices.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/change_notifier.h"
#include "link/dispatcher.h"
#include "link/hid_backend.h"
#include "link/windows/hid_system_api.h"
#include "link/windows/interface_path.h"

namespace tarvik {

// One notice that HID interfaces may have come or gone. path: the interface that came or went,
// when the system names it.
struct DeviceChangeNotice {
    bool removal = false;
    std::wstring path;
    bool operator==(const DeviceChangeNotice&) const = default;
};

class DeviceChangeSource {
public:
    virtual ~DeviceChangeSource() = default;
    // From now until destruction, calls onNotice from any thread for every notice. Called once.
    virtual void watch(std::function<void(const DeviceChangeNotice&)> onNotice) = 0;
};

class WindowsHidBackend : public HidBackend {
public:
    // While an opened device fails its reads or writes, a rescan at most this often: it may be
    // on its way out of the list, and the system's removal notice may never come.
    static constexpr std::chrono::milliseconds kFailureRescanInterval{250};
    // Input reports the system holds for an opened device, against its default of 32: a reply
    // streams a report per millisecond, and the reader thread may be late by more than that.
    static constexpr ULONG kInputBuffers = 512;

    // programmer: the ids whose devices are queried for their report lengths. With a service
    // missing the backend finds nothing, hears nothing (changes may be null) and names the gap
    // as a refused programmer.
    WindowsHidBackend(Dispatcher& mainThread, std::unique_ptr<HidSystem> system,
                      std::unique_ptr<DeviceChangeSource> changes, UsbIds programmer);
    ~WindowsHidBackend() override;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const HidDeviceInfo& info) override;
    void watch(std::function<void()> onChange) override;
    std::optional<RefusedProgrammer> refusedProgrammer() const override;
    std::vector<std::string> accessRemedy(std::uint8_t languageCode) const override;

private:
    // What the backend remembers of an interface while it stays listed.
    struct Listed {
        std::uint64_t plug = 0;              // which plug-in of the path this is
        std::optional<HidDeviceInfo> device; // once identified
    };
    // Asks for the rescans of failing devices; outlives the backend in their connections.
    struct FailureRescans {
        std::mutex mutex;
        ChangeNotifier* notifier = nullptr; // cleared when the backend goes
        std::chrono::steady_clock::time_point last;
        void request();
    };
    // Learns ids and report lengths; none when the device cannot be identified.
    std::optional<HidDeviceInfo> identify(const std::wstring& path, std::uint64_t plug) const;

    ChangeNotifier notifier_;
    std::unique_ptr<HidSystem> system_;
    UsbIds programmer_;
    std::map<std::wstring, Listed> listed_; // by interfacePathKey(), from the last enumeration
    std::uint64_t plugs_ = 0;
    std::mutex removedMutex_;
    std::set<std::wstring> removed_; // keys of paths the system said went since
    std::shared_ptr<FailureRescans> failureRescans_;
    std::unique_ptr<DeviceChangeSource> changes_; // stops its notices before the rest goes
};

} // namespace tarvik
