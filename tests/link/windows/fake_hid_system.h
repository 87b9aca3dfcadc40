// A HID system for the Windows backend's tests: devices described by the test behind the
// SetupApi, HID.dll and CreateFile entries of the services table, with a record of every open.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/windows/hid_system_api.h"
#include "link/windows/interface_path.h"

namespace tarvik::test {

struct FakeHidDevice {
    std::wstring path;
    UsbIds ids;
    USHORT version = 0x0100;
    USHORT inputReportLength = 65;
    USHORT outputReportLength = 65;
    bool identifiable = true;         // opens for queries and gives its attributes
    bool readWritable = true;         // opens for reading and writing
    HANDLE readWriteHandle = nullptr; // a real handle handed out for reading and writing
};

struct FakeOpen {
    std::wstring path;
    DWORD access = 0;
    DWORD share = 0;
    DWORD flags = 0;
};

class FakeHidSystem {
public:
    FakeHidSystem();
    ~FakeHidSystem();
    FakeHidSystem(const FakeHidSystem&) = delete;
    FakeHidSystem& operator=(const FakeHidSystem&) = delete;

    // The services as the backend takes them, bound to this fake.
    std::unique_ptr<HidSystem> system(bool withHidGuid = true) const;

    std::vector<FakeHidDevice> devices;
    bool classDevsFail = false;
    bool inputBuffersFail = false; // HidD_SetNumInputBuffers refuses
    // What HidD_GetHidGuid gives: not the standard class, so that the tests see where it came
    // from.
    GUID hidClass{0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};

    // What happened.
    std::vector<FakeOpen> opens;
    GUID classAsked{};
    int openHandles = 0;                  // handles handed out and not closed yet
    int preparsedHeld = 0;                // preparsed data handed out and not freed yet
    int setsHeld = 0;                     // device information sets not destroyed yet
    std::vector<ULONG> inputBuffersAsked; // HidD_SetNumInputBuffers, call by call

    // The fake's own handle values; a real handle from readWriteHandle counts too.
    std::map<HANDLE, std::size_t> handles; // handle -> index into devices
};

} // namespace tarvik::test
