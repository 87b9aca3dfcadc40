// The controller and its read thread on the Windows backend: a device behind a pipe, reports
// taken from it while the main thread is busy, writes, and the device going away without a
// word from the system.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_hid_system.h"
#include "link/hid_device_controller.h"
#include "link/windows/windows_hid_backend.h"
#include "pipe_device.h"

namespace tarvik {
namespace {

using namespace std::chrono_literals;

constexpr UsbIds kProgrammer{0x0451, 0x3210};
const std::wstring kPath = L"\\\\?\\hid#vid_0451&pid_3210#7&1&0&0000#{4d1e55b2}";

TEST(WindowsLinkController, TakesEveryReportWhileTheMainThreadIsBusyAndSeesTheUnplugByItself) {
    test::PipeDevice pipe(64 * 1024);
    ASSERT_TRUE(pipe.ready());
    test::FakeHidSystem fake;
    fake.devices = {{kPath, kProgrammer}};
    fake.devices[0].readWriteHandle = pipe.takeHostEnd();
    PlainDispatcher dispatcher;
    WindowsHidBackend backend(dispatcher, fake.system(), nullptr, kProgrammer);

    THidDeviceController controller(backend, dispatcher);
    int changes = 0;
    controller.SetOnDeviceChange([&changes] { ++changes; });
    std::vector<std::uint8_t> received;
    controller.SetOnDeviceData(
        [&received](THidDevice*, std::uint8_t, const std::uint8_t* data, std::uint16_t size) {
            EXPECT_EQ(size, 64);
            received.push_back(data[0]);
        });
    THidDevice* device = nullptr;
    ASSERT_TRUE(controller.AcquireDevice(kProgrammer.vendorId, kProgrammer.productId, device));

    // A burst the device sends while the main thread runs nothing: the reader takes it all off
    // the device (the pipe buffers far less) and the main thread gets it in order afterwards.
    constexpr int kBurst = 3000;
    for (int i = 0; i < kBurst; ++i)
        ASSERT_TRUE(pipe.send(static_cast<std::uint8_t>(i)));
    EXPECT_TRUE(received.empty());
    ASSERT_TRUE(dispatcher.runUntil([&] { return received.size() == kBurst; }, 10s));
    for (int i = 0; i < kBurst; ++i)
        ASSERT_EQ(received[i], static_cast<std::uint8_t>(i)) << i;

    std::vector<std::uint8_t> report(65, 0x11);
    report[0] = 0;
    EXPECT_TRUE(device->Write(report));
    EXPECT_EQ(pipe.receive(), report);

    // Unplugged, and no notice comes: the failing reads ask for rescans until one no longer
    // finds it.
    const int changesBefore = changes;
    pipe.close();
    dispatcher.runFor(3 * WindowsHidBackend::kFailureRescanInterval);
    EXPECT_TRUE(device->IsPluggedIn()); // still listed by the system
    fake.devices.clear();
    ASSERT_TRUE(dispatcher.runUntil([&] { return !device->IsPluggedIn(); }, 5s));
    EXPECT_GT(changes, changesBefore);
    EXPECT_FALSE(device->Write(report));
    controller.ReleaseDevice(device);
    EXPECT_TRUE(controller.DeviceList().empty());
}

} // namespace
} // namespace tarvik
