// FakeHidSystem: the services table's entries as free functions over the one fake in use.
#include "fake_hid_system.h"

#include <cstddef>
#include <cstring>
#include <stdexcept>

namespace tarvik::test {

namespace {

FakeHidSystem* current = nullptr;
std::uintptr_t nextHandle = 0x10000;

const HDEVINFO kSet = reinterpret_cast<HDEVINFO>(0x5e7);

FakeHidDevice* deviceOf(HANDLE handle) {
    const auto found = current->handles.find(handle);
    return found == current->handles.end() ? nullptr : &current->devices[found->second];
}

HDEVINFO WINAPI getClassDevs(const GUID* guid, PCWSTR, HWND, DWORD flags) {
    current->classAsked = *guid;
    if (current->classDevsFail || flags != (DIGCF_PRESENT | DIGCF_DEVICEINTERFACE))
        return static_cast<HDEVINFO>(INVALID_HANDLE_VALUE);
    ++current->setsHeld;
    return kSet;
}

BOOL WINAPI enumDeviceInterfaces(HDEVINFO set, PSP_DEVINFO_DATA, const GUID*, DWORD index,
                                 PSP_DEVICE_INTERFACE_DATA data) {
    if (set != kSet || data->cbSize != sizeof *data || index >= current->devices.size()) {
        ::SetLastError(ERROR_NO_MORE_ITEMS);
        return FALSE;
    }
    data->Reserved = index;
    return TRUE;
}

BOOL WINAPI getDeviceInterfaceDetail(HDEVINFO set, PSP_DEVICE_INTERFACE_DATA data,
                                     PSP_DEVICE_INTERFACE_DETAIL_DATA_W detail, DWORD size,
                                     PDWORD required, PSP_DEVINFO_DATA) {
    const std::wstring& path = current->devices.at(data->Reserved).path;
    const DWORD needed =
        static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) +
                           (path.size() + 1) * sizeof(wchar_t));
    if (required)
        *required = needed;
    if (set != kSet || !detail || size < needed) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
        throw std::logic_error("detail without its size");
    std::memcpy(detail->DevicePath, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    return TRUE;
}

BOOL WINAPI destroyDeviceInfoList(HDEVINFO set) {
    if (set == kSet)
        --current->setsHeld;
    return TRUE;
}

void WINAPI getHidGuid(LPGUID guid) {
    *guid = current->hidClass;
}

BOOLEAN WINAPI getAttributes(HANDLE handle, PHIDD_ATTRIBUTES attributes) {
    const FakeHidDevice* device = deviceOf(handle);
    if (!device || attributes->Size != sizeof *attributes)
        return FALSE;
    attributes->VendorID = device->ids.vendorId;
    attributes->ProductID = device->ids.productId;
    attributes->VersionNumber = device->version;
    return TRUE;
}

BOOLEAN WINAPI getPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* preparsed) {
    const FakeHidDevice* device = deviceOf(handle);
    if (!device)
        return FALSE;
    ++current->preparsedHeld;
    *preparsed = reinterpret_cast<PHIDP_PREPARSED_DATA>(const_cast<FakeHidDevice*>(device));
    return TRUE;
}

BOOLEAN WINAPI freePreparsedData(PHIDP_PREPARSED_DATA) {
    --current->preparsedHeld;
    return TRUE;
}

NTSTATUS WINAPI getCaps(PHIDP_PREPARSED_DATA preparsed, PHIDP_CAPS caps) {
    const auto* device = reinterpret_cast<const FakeHidDevice*>(preparsed);
    *caps = HIDP_CAPS{};
    caps->InputReportByteLength = device->inputReportLength;
    caps->OutputReportByteLength = device->outputReportLength;
    return HIDP_STATUS_SUCCESS;
}

BOOLEAN WINAPI setNumInputBuffers(HANDLE handle, ULONG buffers) {
    if (!deviceOf(handle))
        throw std::logic_error("input buffers of a handle that is not open");
    current->inputBuffersAsked.push_back(buffers);
    return !current->inputBuffersFail;
}

HANDLE WINAPI createFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                         DWORD disposition, DWORD flags, HANDLE) {
    current->opens.push_back({path, access, share, flags});
    for (std::size_t i = 0; i < current->devices.size(); ++i) {
        const FakeHidDevice& device = current->devices[i];
        if (device.path != path || disposition != OPEN_EXISTING)
            continue;
        const bool readWrite = access != 0;
        if (readWrite ? !device.readWritable : !device.identifiable)
            break;
        HANDLE handle = readWrite && device.readWriteHandle
                            ? device.readWriteHandle
                            : reinterpret_cast<HANDLE>(nextHandle++);
        current->handles[handle] = i;
        ++current->openHandles;
        return handle;
    }
    ::SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

BOOL WINAPI closeHandle(HANDLE handle) {
    const auto found = current->handles.find(handle);
    if (found == current->handles.end())
        throw std::logic_error("closing a handle that is not open");
    const FakeHidDevice& device = current->devices[found->second];
    if (handle == device.readWriteHandle)
        ::CloseHandle(handle);
    current->handles.erase(found);
    --current->openHandles;
    return TRUE;
}

} // namespace

FakeHidSystem::FakeHidSystem() {
    current = this;
}

FakeHidSystem::~FakeHidSystem() {
    current = nullptr;
}

std::unique_ptr<HidSystem> FakeHidSystem::system(bool withHidGuid) const {
    auto system = std::make_unique<HidSystem>();
    HidSystemApi& api = system->api;
    api.getClassDevs = &getClassDevs;
    api.enumDeviceInterfaces = &enumDeviceInterfaces;
    api.getDeviceInterfaceDetail = &getDeviceInterfaceDetail;
    api.destroyDeviceInfoList = &destroyDeviceInfoList;
    api.getHidGuid = withHidGuid ? &getHidGuid : nullptr;
    api.getAttributes = &getAttributes;
    api.getPreparsedData = &getPreparsedData;
    api.freePreparsedData = &freePreparsedData;
    api.getCaps = &getCaps;
    api.setNumInputBuffers = &setNumInputBuffers;
    api.createFile = &createFile;
    api.closeHandle = &closeHandle;
    return system;
}

} // namespace tarvik::test
