// WindowsHidBackend: enumeration with a plug counter per interface path, opening, the advice
// for a programmer another program holds, and notices turned into change notices.
#include "link/windows/windows_hid_backend.h"

#include <utility>

#include "link/windows/hid_interfaces.h"
#include "link/windows/overlapped_hid_connection.h"
#include "link/windows/wide_text.h"
#include "link/windows/windows_link_texts.h"

namespace tarvik {

namespace {

bool validHandle(HANDLE handle) {
    return handle != INVALID_HANDLE_VALUE && handle != nullptr;
}

} // namespace

WindowsHidBackend::WindowsHidBackend(Dispatcher& mainThread, std::unique_ptr<HidSystem> system,
                                     std::unique_ptr<DeviceChangeSource> changes, UsbIds programmer)
    : notifier_(mainThread), system_(std::move(system)), programmer_(programmer),
      failureRescans_(std::make_shared<FailureRescans>()), changes_(std::move(changes)) {
    failureRescans_->notifier = &notifier_;
    if (!changes_)
        return;
    changes_->watch([this](const DeviceChangeNotice& notice) {
        if (notice.removal && !notice.path.empty()) {
            std::lock_guard lock(removedMutex_);
            removed_.insert(interfacePathKey(notice.path));
        }
        notifier_.notify();
    });
}

WindowsHidBackend::~WindowsHidBackend() {
    {
        std::lock_guard lock(failureRescans_->mutex);
        failureRescans_->notifier = nullptr;
    }
    notifier_.watch({});
}

void WindowsHidBackend::FailureRescans::request() {
    std::lock_guard lock(mutex);
    const auto now = std::chrono::steady_clock::now();
    if (!notifier || now - last < kFailureRescanInterval)
        return;
    last = now;
    notifier->notify();
}

std::optional<HidDeviceInfo> WindowsHidBackend::identify(const std::wstring& path,
                                                         std::uint64_t plug) const {
    HidDeviceInfo info;
    info.path = toUtf8(path);
    // Windows gives a device plugged into the same port the same path again.
    info.identity = info.path + "#" + std::to_string(plug);
    if (const auto ids = idsFromInterfacePath(path); ids && *ids != programmer_) {
        // Another device: its ids are enough, and it is never opened.
        info.vendorId = ids->vendorId;
        info.productId = ids->productId;
        return info;
    }
    const auto queried = queryHidDevice(system_->api, path, programmer_);
    if (!queried)
        return std::nullopt; // cannot be identified
    info.vendorId = queried->ids.vendorId;
    info.productId = queried->ids.productId;
    info.version = queried->version;
    info.inputReportLength = queried->inputReportLength;
    info.outputReportLength = queried->outputReportLength;
    return info;
}

std::vector<HidDeviceInfo> WindowsHidBackend::enumerate() {
    if (system_->missing)
        return {};
    std::set<std::wstring> removed;
    {
        std::lock_guard lock(removedMutex_);
        removed.swap(removed_);
    }
    std::map<std::wstring, Listed> listed;
    std::vector<HidDeviceInfo> devices;
    for (const std::wstring& path : listHidInterfaces(system_->api)) {
        std::wstring key = interfacePathKey(path);
        if (listed.contains(key))
            continue;
        // A path that was listed last time, and not said to have gone since, is the same
        // plug-in; any other is a new one.
        const auto known = listed_.find(key);
        Listed entry =
            known != listed_.end() && !removed.contains(key) ? known->second : Listed{++plugs_, {}};
        std::optional<HidDeviceInfo> device = entry.device;
        if (!device) {
            device = identify(path, entry.plug);
            // A programmer whose report lengths could not be read is asked again next time.
            const bool complete =
                device && (UsbIds{device->vendorId, device->productId} != programmer_ ||
                           device->inputReportLength != 0);
            if (complete)
                entry.device = device;
        }
        if (device)
            devices.push_back(std::move(*device));
        listed.emplace(std::move(key), std::move(entry));
    }
    listed_ = std::move(listed);
    return devices;
}

std::unique_ptr<HidConnection> WindowsHidBackend::open(const HidDeviceInfo& info) {
    if (system_->missing)
        return nullptr;
    const HidSystemApi& api = system_->api;
    const std::wstring path = toWide(info.path);
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE handle = api.createFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShare, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    const bool readWrite = validHandle(handle);
    if (!readWrite) // held by another program, or gone: the query open tells which
        handle = api.createFile(path.c_str(), 0, kShare, nullptr, OPEN_EXISTING, 0, nullptr);
    if (!validHandle(handle))
        return nullptr;
    // Without the larger buffer the device still works, only with less room for a late reader.
    if (readWrite && api.setNumInputBuffers)
        api.setNumInputBuffers(handle, kInputBuffers);
    auto connection =
        OverlappedHidConnection::make(handle, readWrite, info.inputReportLength, api.closeHandle);
    if (connection)
        connection->setOnFailure([rescans = failureRescans_] { rescans->request(); });
    return connection;
}

void WindowsHidBackend::watch(std::function<void()> onChange) {
    notifier_.watch(std::move(onChange));
}

std::optional<RefusedProgrammer> WindowsHidBackend::refusedProgrammer() const {
    if (!system_->missing)
        return std::nullopt;
    const MissingHidService& missing = *system_->missing;
    return RefusedProgrammer{missing.library,
                             fillInAll(texts::kHidLibraryMissing, {missing.library, missing.name})};
}

std::vector<std::string> WindowsHidBackend::accessRemedy(std::uint8_t languageCode) const {
    const std::string_view remedy = pick(texts::kHeldByAnotherProgram, languageCode);
    if (remedy.empty())
        return {};
    return {std::string(remedy)};
}

} // namespace tarvik
