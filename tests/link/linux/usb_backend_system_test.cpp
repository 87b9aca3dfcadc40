// The real USB backend on this machine: it lists what udev knows (often nothing, and nothing
// at all without udev) without failing, and every device it lists is complete.
#include <gtest/gtest.h>

#include "link/hid_device_controller.h"
#include "link/usb_backend_factory.h"

namespace tarvik {
namespace {

TEST(UsbBackendSystemTest, ListsWhatTheSystemHas) {
    PlainDispatcher main;
    const auto backend = makeUsbBackend(main);
    THidDeviceController ctl(*backend, main);
    int changes = 0;
    ctl.SetOnDeviceChange([&] { ++changes; });
    EXPECT_EQ(changes, 1);
    for (const auto& device : ctl.DeviceList()) {
        EXPECT_FALSE(device->Info().path.empty());
        EXPECT_FALSE(device->Info().identity.empty());
    }
    ctl.RescanDevices();
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace tarvik
