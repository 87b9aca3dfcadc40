// The system services the Windows HID link uses, as a table of function pointers: bound at run
// time by name from HID.dll and SetupApi.dll for real, filled with fakes by the tests. The
// overlapped reads and writes on an opened device call the kernel directly.
#pragma once

#include <windows.h>

#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}

#include <optional>
#include <string>

namespace tarvik {

struct HidSystemApi {
    // SetupApi.dll
    decltype(&SetupDiGetClassDevsW) getClassDevs = nullptr;
    decltype(&SetupDiEnumDeviceInterfaces) enumDeviceInterfaces = nullptr;
    decltype(&SetupDiGetDeviceInterfaceDetailW) getDeviceInterfaceDetail = nullptr;
    decltype(&SetupDiDestroyDeviceInfoList) destroyDeviceInfoList = nullptr;
    // HID.dll; without getHidGuid the link uses its own copy of the HID class id
    decltype(&HidD_GetHidGuid) getHidGuid = nullptr;
    decltype(&HidD_GetAttributes) getAttributes = nullptr;
    decltype(&HidD_GetPreparsedData) getPreparsedData = nullptr;
    decltype(&HidD_FreePreparsedData) freePreparsedData = nullptr;
    decltype(&HidP_GetCaps) getCaps = nullptr;
    // may be missing: the handle then keeps the system's default input buffers
    decltype(&HidD_SetNumInputBuffers) setNumInputBuffers = nullptr;
    // kernel32
    decltype(&CreateFileW) createFile = nullptr;
    decltype(&CloseHandle) closeHandle = nullptr;
};

// The standard HID device interface class, {4D1E55B2-F16F-11CF-88CB-001111000030}.
constexpr GUID kHidInterfaceClass{
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// What could not be bound: the library, and the library itself or the function missing from it.
struct MissingHidService {
    std::string library;
    std::string name;
};

// The services as the link holds them: the table, and what could not be bound.
struct HidSystem {
    virtual ~HidSystem() = default;
    HidSystemApi api;
    std::optional<MissingHidService> missing;
};

// The real services, the libraries kept loaded as long as this lives.
class BoundHidSystem : public HidSystem {
public:
    // Loads both libraries from the system folder and binds every function by name. missing
    // names the first library or function that could not be bound; the table is then not to be
    // used. HidD_GetHidGuid (kHidInterfaceClass stands in for it) and HidD_SetNumInputBuffers may
    // be missing.
    BoundHidSystem();
    ~BoundHidSystem() override;
    BoundHidSystem(const BoundHidSystem&) = delete;
    BoundHidSystem& operator=(const BoundHidSystem&) = delete;

private:
    HMODULE setupApi_ = nullptr;
    HMODULE hid_ = nullptr;
};

} // namespace tarvik
