// BoundHidSystem: HID.dll and SetupApi.dll loaded from the system folder (never from the
// program's or the current folder, where a planted copy could sit) and bound by name.
#include "link/windows/hid_system_api.h"

namespace tarvik {

namespace {

// Binds the functions of one library by name and notes the first one missing.
class Binder {
public:
    Binder(HMODULE module, const char* library, std::optional<MissingHidService>& missing)
        : module_(module), library_(library), missing_(missing) {}

    template <typename Function>
    void operator()(const char* name, Function& target, bool required = true) {
        // Through void(*)(): the one function pointer type any other may be cast from.
        target = reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(::GetProcAddress(module_, name)));
        if (!target && required && !missing_)
            missing_ = MissingHidService{library_, name};
    }

private:
    HMODULE module_;
    const char* library_;
    std::optional<MissingHidService>& missing_;
};

HMODULE loadSystemLibrary(const wchar_t* name, const char* library,
                          std::optional<MissingHidService>& missing) {
    const HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && !missing)
        missing = MissingHidService{library, library};
    return module;
}

} // namespace

BoundHidSystem::BoundHidSystem() {
    api.createFile = &::CreateFileW;
    api.closeHandle = &::CloseHandle;

    setupApi_ = loadSystemLibrary(L"SetupApi.dll", "SetupApi.dll", missing);
    if (setupApi_) {
        Binder bind(setupApi_, "SetupApi.dll", missing);
        bind("SetupDiGetClassDevsW", api.getClassDevs);
        bind("SetupDiEnumDeviceInterfaces", api.enumDeviceInterfaces);
        bind("SetupDiGetDeviceInterfaceDetailW", api.getDeviceInterfaceDetail);
        bind("SetupDiDestroyDeviceInfoList", api.destroyDeviceInfoList);
    }
    hid_ = loadSystemLibrary(L"HID.dll", "HID.dll", missing);
    if (hid_) {
        Binder bind(hid_, "HID.dll", missing);
        bind("HidD_GetHidGuid", api.getHidGuid, false);
        bind("HidD_GetAttributes", api.getAttributes);
        bind("HidD_GetPreparsedData", api.getPreparsedData);
        bind("HidD_FreePreparsedData", api.freePreparsedData);
        bind("HidP_GetCaps", api.getCaps);
        bind("HidD_SetNumInputBuffers", api.setNumInputBuffers, false);
    }
}

BoundHidSystem::~BoundHidSystem() {
    if (hid_)
        ::FreeLibrary(hid_);
    if (setupApi_)
        ::FreeLibrary(setupApi_);
}

} // namespace tarvik
