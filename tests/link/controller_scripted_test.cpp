// The controller over a scripted backend: what it reads, what it leaves out, and when it
// starts and stops reading.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/hid_device_read_thread.h"

#include "link/hid_device_controller.h"
#include "test_devices.h"

using namespace std::chrono_literals;

namespace tarvik {
namespace {

struct Delivery {
    std::uint8_t id;
    std::vector<std::uint8_t> data;
};

class ScriptedControllerTest : public ::testing::Test {
protected:
    THidDataEvent recorder() {
        return [this](THidDevice*, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
            delivered.push_back({id, std::vector<std::uint8_t>(data, data + size)});
        };
    }

    PlainDispatcher main;
    test::ScriptedBackend backend;
    std::vector<Delivery> delivered;
};

TEST_F(ScriptedControllerTest, AReadOfNoBytesIsNotDelivered) {
    auto* conn = backend.add("a", kProgrammerVendorId, kProgrammerProductId);
    THidDeviceController ctl(backend, main);
    ctl.SetOnDeviceData(recorder());
    THidDevice* dev = nullptr;
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
    conn->queue({});
    conn->queue({5, 0xAA, 0xBB});
    ASSERT_TRUE(main.runUntil([&] { return !delivered.empty(); }, 5s));
    main.runFor(20ms);
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].id, 5);
    EXPECT_EQ(delivered[0].data, (std::vector<std::uint8_t>{0xAA, 0xBB}));
}

TEST_F(ScriptedControllerTest, OnlyTheDeviceTakenIsOpened) {
    backend.add("keyboard", 0x046d, 0xc31c);
    backend.add("broken", kProgrammerVendorId, kProgrammerProductId, false);
    backend.add("good", kProgrammerVendorId, kProgrammerProductId);
    THidDeviceController ctl(backend, main);
    ctl.SetOnDeviceChange([] {});
    ctl.SetOnDeviceData(recorder());
    ASSERT_EQ(ctl.DeviceList().size(), 3u); // listed from what the system says, unopened
    EXPECT_TRUE(backend.opened.empty());

    // One that cannot be opened at all is passed over for the next.
    THidDevice* dev = nullptr;
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
    EXPECT_EQ(dev->Info().identity, "good");
    EXPECT_TRUE(dev->HasReadWriteAccess());
    EXPECT_FALSE(ctl.DeviceList()[1]->IsCheckedOut());
    ctl.RescanDevices();
    EXPECT_EQ(backend.opened, (std::vector<std::string>{"broken", "good"}));

    // What accept refuses is not even opened.
    THidDevice* other = nullptr;
    EXPECT_FALSE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, other,
                                   [](const THidDevice&) { return false; }));
    EXPECT_EQ(backend.opened.size(), 2u);
}

TEST_F(ScriptedControllerTest, DeviceThatOpensForQueriesOnlyIsPassedOverUntilAccessAppears) {
    backend.add("q", kProgrammerVendorId, kProgrammerProductId, true, false);
    THidDeviceController ctl(backend, main);
    int changes = 0;
    ctl.SetOnDeviceChange([&] { ++changes; });
    ctl.SetOnDeviceData(recorder());
    THidDevice* dev = nullptr;
    EXPECT_FALSE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
    EXPECT_EQ(dev, nullptr);
    const THidDevice& listed = *ctl.DeviceList()[0];
    EXPECT_TRUE(listed.AccessDenied());
    EXPECT_FALSE(listed.IsCheckedOut());

    backend.allowOpen("q", false);
    ctl.RescanDevices(); // still no access: nothing changed
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(listed.AccessDenied());

    backend.allowOpen("q"); // the probe, closed at once
    auto* taken = backend.allowOpen("q");
    ctl.RescanDevices();
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(listed.AccessDenied());
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
    EXPECT_TRUE(dev->Write(std::vector<std::uint8_t>(65, 0)));
    taken->queue({0, 1});
    ASSERT_TRUE(main.runUntil([&] { return delivered.size() == 1; }, 5s));
    EXPECT_EQ(backend.opened.size(), 4u);
}

// A programmer the backend would not offer lists no device, but the client hears of each new one.
TEST_F(ScriptedControllerTest, ARefusedProgrammerIsAChangeOnceUntilAnotherTakesItsPlace) {
    THidDeviceController ctl(backend, main);
    int changes = 0;
    ctl.SetOnDeviceChange([&] { ++changes; });
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ctl.LastRefusedProgrammer(), std::nullopt);

    backend.refused = RefusedProgrammer{"/run/p.sock", {"a", "b", "c"}};
    ctl.RescanDevices();
    EXPECT_EQ(changes, 2);
    ASSERT_TRUE(ctl.LastRefusedProgrammer().has_value());
    EXPECT_EQ(ctl.LastRefusedProgrammer()->reason[1], "b");
    ctl.RescanDevices(); // refused again, on the backend's retry
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(ctl.DeviceList().empty());

    backend.refused = RefusedProgrammer{"/run/p.sock", {"d", "e", "f"}};
    ctl.RescanDevices();
    EXPECT_EQ(changes, 3);
    backend.refused.reset(); // a peer of ours took its place
    ctl.RescanDevices();
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(ctl.LastRefusedProgrammer(), std::nullopt);
}

TEST_F(ScriptedControllerTest, ReadingFollowsTheDataHandler) {
    auto* conn = backend.add("a", kProgrammerVendorId, kProgrammerProductId);
    THidDeviceController ctl(backend, main);
    THidDevice* dev = nullptr;
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, -1, dev));
    main.runFor(20ms);
    EXPECT_EQ(conn->reads(), 0); // no handler, no reading

    ctl.SetOnDeviceData(recorder());
    conn->queue({1, 2});
    ASSERT_TRUE(main.runUntil([&] { return delivered.size() == 1; }, 5s));

    ctl.SetOnDeviceData({});
    const int readsAfterStop = conn->reads();
    conn->queue({3, 4});
    main.runFor(30ms);
    EXPECT_EQ(conn->reads(), readsAfterStop);
    EXPECT_EQ(delivered.size(), 1u);
}

TEST_F(ScriptedControllerTest, CheckedOutDeviceStaysListedUnpluggedUntilReleased) {
    backend.add("a", kProgrammerVendorId, kProgrammerProductId);
    backend.add("b", 0x1234, 0x0001);
    THidDeviceController ctl(backend, main);
    int changes = 0;
    ctl.SetOnDeviceChange([&] { ++changes; });
    THidDevice* dev = nullptr;
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));

    backend.devices.clear(); // both gone
    ctl.RescanDevices();
    EXPECT_EQ(changes, 2);
    ASSERT_EQ(ctl.DeviceList().size(), 1u);
    EXPECT_EQ(ctl.DeviceList()[0].get(), dev);
    EXPECT_FALSE(dev->IsPluggedIn());
    EXPECT_FALSE(dev->Write(std::vector<std::uint8_t>(65, 0)));

    ctl.RescanDevices(); // nothing new happened
    EXPECT_EQ(changes, 2);
    ctl.ReleaseDevice(dev);
    EXPECT_TRUE(ctl.DeviceList().empty());
}

TEST_F(ScriptedControllerTest, TheReaderEmptiesTheSystemQueueWhileTheMainThreadIsBusy) {
    // hidraw keeps 64 reports and drops new ones while full: the reader must take them all
    // while the main thread does something else, up to its own bound, where it waits.
    constexpr std::size_t kBound = THidDeviceReadThread::kMaxQueuedReports;
    constexpr std::size_t kBeyond = 100;
    auto* conn = backend.add("a", kProgrammerVendorId, kProgrammerProductId);
    THidDeviceController ctl(backend, main);
    std::uint32_t next = 0;
    bool inHandler = false;
    ctl.SetOnDeviceData([&](THidDevice*, std::uint8_t, const std::uint8_t* data, std::uint16_t) {
        ASSERT_FALSE(inHandler);
        inHandler = true;
        EXPECT_EQ(test::sequenceOf(data), next);
        ++next;
        inHandler = false;
    });
    THidDevice* dev = nullptr;
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
    for (std::uint32_t i = 0; i < kBound + kBeyond; ++i)
        conn->queue({0, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0, 0});

    // The main thread is busy: nothing runs its loop.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (conn->pending() > kBeyond - 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(20ms);
    // Taken up to the bound and one more, which the reader holds until there is room.
    EXPECT_EQ(conn->pending(), kBeyond - 1);
    EXPECT_EQ(next, 0u);

    ASSERT_TRUE(main.runUntil([&] { return next == kBound + kBeyond; }, 5s));
    EXPECT_EQ(conn->pending(), 0u);
}

TEST_F(ScriptedControllerTest, AFailedWriteOrReadAsksForARescan) {
    auto* conn = backend.add("a", kProgrammerVendorId, kProgrammerProductId);
    THidDeviceController ctl(backend, main);
    ctl.SetOnDeviceData(recorder());
    THidDevice* dev = nullptr;
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
    const std::vector<std::uint8_t> report(65, 0);
    ASSERT_TRUE(dev->Write(report));
    main.runFor(10ms);
    const int enumerations = backend.enumerations;

    conn->fail(true); // reads fail too, once per slice
    EXPECT_FALSE(dev->Write(report));
    ASSERT_TRUE(main.runUntil([&] { return backend.enumerations == enumerations + 2; }, 5s));
    main.runFor(250ms); // a failing read asks once, not once per retry
    EXPECT_EQ(backend.enumerations, enumerations + 2);

    conn->fail(false);
    conn->queue({0, 1});
    ASSERT_TRUE(main.runUntil([&] { return delivered.size() == 1; }, 5s));
}

} // namespace
} // namespace tarvik
