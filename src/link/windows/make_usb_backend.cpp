// makeUsbBackend: the Windows HID backend over HID.dll and SetupApi.dll, with its
// device-change window.
#include "link/usb_backend_factory.h"
#include "link/windows/device_change_window.h"
#include "link/windows/hid_interfaces.h"
#include "link/windows/windows_hid_backend.h"
#include "protocol/codes.h"

namespace tarvik {

std::unique_ptr<HidBackend> makeUsbBackend(Dispatcher& mainThread) {
    auto system = std::make_unique<BoundHidSystem>();
    std::unique_ptr<DeviceChangeSource> changes;
    if (!system->missing) {
        // The backend keeps the services until after the window has gone.
        const HidSystemApi* api = &system->api;
        changes = std::make_unique<DeviceChangeWindow>(hidInterfaceClass(*api),
                                                       [api] { return listHidInterfaces(*api); });
    }
    return std::make_unique<WindowsHidBackend>(mainThread, std::move(system), std::move(changes),
                                               UsbIds{kProgrammerVendorId, kProgrammerProductId});
}

} // namespace tarvik
