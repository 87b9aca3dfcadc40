// Listing the HID interfaces with SetupApi and querying a device with HidD/HidP.
#include "link/windows/hid_interfaces.h"

#include <cstddef>
#include <cwchar>

namespace tarvik {

namespace {

constexpr std::size_t kPathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
// No path of the system is longer than this many characters.
constexpr std::size_t kLongestPath = 32767;

// The path of one interface of the set: sized by a first call, read by a second. Empty when
// either fails.
std::wstring interfacePath(const HidSystemApi& api, HDEVINFO set, SP_DEVICE_INTERFACE_DATA& entry) {
    DWORD required = 0;
    api.getDeviceInterfaceDetail(set, &entry, nullptr, 0, &required, nullptr);
    if (required <= kPathOffset || required > kPathOffset + (kLongestPath + 1) * sizeof(wchar_t))
        return {};
    // DWORDs keep the structure aligned.
    std::vector<DWORD> storage((required + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!api.getDeviceInterfaceDetail(set, &entry, detail, required, nullptr, nullptr))
        return {};
    // Never beyond the buffer, whatever the system wrote.
    const std::size_t capacity = (required - kPathOffset) / sizeof(wchar_t);
    return std::wstring(detail->DevicePath, ::wcsnlen(detail->DevicePath, capacity));
}

class QueryHandle {
public:
    QueryHandle(const HidSystemApi& api, const std::wstring& path)
        : api_(api), handle_(api.createFile(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~QueryHandle() {
        if (valid())
            api_.closeHandle(handle_);
    }
    QueryHandle(const QueryHandle&) = delete;
    QueryHandle& operator=(const QueryHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }

private:
    const HidSystemApi& api_;
    HANDLE handle_;
};

} // namespace

GUID hidInterfaceClass(const HidSystemApi& api) {
    GUID guid = kHidInterfaceClass;
    if (api.getHidGuid)
        api.getHidGuid(&guid);
    return guid;
}

std::vector<std::wstring> listHidInterfaces(const HidSystemApi& api) {
    GUID guid = hidInterfaceClass(api);
    const HDEVINFO set =
        api.getClassDevs(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return {};
    std::vector<std::wstring> paths;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA entry{};
        entry.cbSize = sizeof entry;
        if (!api.enumDeviceInterfaces(set, nullptr, &guid, index, &entry))
            break; // past the last one
        if (std::wstring path = interfacePath(api, set, entry); !path.empty())
            paths.push_back(std::move(path));
    }
    api.destroyDeviceInfoList(set);
    return paths;
}

std::optional<QueriedHidDevice> queryHidDevice(const HidSystemApi& api, const std::wstring& path,
                                               UsbIds lengthsFor) {
    const QueryHandle handle(api, path);
    if (!handle.valid())
        return std::nullopt;
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (!api.getAttributes(handle.get(), &attributes))
        return std::nullopt;
    QueriedHidDevice device;
    device.ids = {attributes.VendorID, attributes.ProductID};
    device.version = attributes.VersionNumber;
    if (device.ids != lengthsFor)
        return device;
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!api.getPreparsedData(handle.get(), &preparsed))
        return device;
    HIDP_CAPS caps{};
    if (api.getCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS) {
        device.inputReportLength = caps.InputReportByteLength;
        device.outputReportLength = caps.OutputReportByteLength;
    }
    api.freePreparsedData(preparsed);
    return device;
}

} // namespace tarvik
