// The controller over the emulated bus: finding, taking and losing the programmer, change
// notices, and delivery of input reports to the main thread.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

#include "link/emulated_backend.h"
#include "link/hid_device_controller.h"
#include "test_devices.h"

using namespace std::chrono_literals;

namespace tarvik {
namespace {

using test::CountingDevice;
using test::EchoDevice;

// Does what the main window does with the controller: keeps the programmer while it is
// plugged in, takes the next one when it goes, and records what arrives.
struct Client {
    explicit Client(THidDeviceController& controller) : ctl(controller) {}

    void attach() {
        ctl.SetOnDeviceChange([this] { deviceChange(); });
        ctl.SetOnDeviceData(
            [this](THidDevice* dev, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
                EXPECT_EQ(std::this_thread::get_id(), mainThread);
                EXPECT_EQ(dev, programmer);
                std::vector<std::uint8_t> report{id};
                report.insert(report.end(), data, data + size);
                received.push_back(std::move(report));
            });
    }

    void deviceChange() {
        ++changes;
        if (programmer && !programmer->IsPluggedIn()) {
            ctl.ReleaseDevice(programmer);
            programmer = nullptr;
        }
        if (!programmer)
            ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, programmer);
    }

    bool send(std::uint8_t b1, std::uint8_t b2 = 0) {
        std::vector<std::uint8_t> report(65, 0);
        report[1] = b1;
        report[2] = b2;
        return programmer && programmer->Write(report);
    }

    THidDeviceController& ctl;
    THidDevice* programmer = nullptr;
    int changes = 0;
    std::vector<std::vector<std::uint8_t>> received;
    std::thread::id mainThread = std::this_thread::get_id();
};

class ControllerTest : public ::testing::Test {
protected:
    bool runUntil(const std::function<bool()>& pred) { return main.runUntil(pred, 5s); }

    // Sets the client up and has the programmer answer 10 000 reports; returns once ten of
    // them have arrived, with the rest still on their way.
    void startFlood(Client& client) {
        client.attach();
        ASSERT_TRUE(client.send(250));
        ASSERT_TRUE(runUntil([&] { return client.received.size() >= 10; }));
    }

    PlainDispatcher main;
    EmulatedBackend bus{main};
};

TEST_F(ControllerTest, StartsWithTheProgrammerAndExchangesReports) {
    auto echo = std::make_shared<EchoDevice>();
    bus.plug(echo);
    THidDeviceController ctl(bus, main);
    Client client(ctl);
    client.attach();

    EXPECT_EQ(client.changes, 1); // attaching the change handler fires it at once
    ASSERT_NE(client.programmer, nullptr);
    EXPECT_TRUE(client.programmer->IsCheckedOut());
    EXPECT_TRUE(client.programmer->HasReadWriteAccess());
    EXPECT_EQ(client.programmer->Caps().OutputReportByteLength, 65);
    EXPECT_EQ(client.programmer->Caps().InputReportByteLength, 65);

    ASSERT_TRUE(client.send(0x42, 0x17));
    ASSERT_TRUE(runUntil([&] { return client.received.size() == 1; }));
    const auto& report = client.received[0];
    ASSERT_EQ(report.size(), 65u); // report id + 64 bytes, Size = count - 1
    EXPECT_EQ(report[0], 0);
    EXPECT_EQ(report[1], 0x42);
    EXPECT_EQ(report[2], 0x17);

    // Only whole output reports go out.
    const std::vector<std::uint8_t> shortReport(64, 0);
    EXPECT_FALSE(client.programmer->Write(shortReport));
    EXPECT_EQ(echo->received, 1);
}

TEST_F(ControllerTest, StartsWithoutTheProgrammerAndFindsItWhenPluggedIn) {
    THidDeviceController ctl(bus, main);
    Client client(ctl);
    client.attach();
    EXPECT_EQ(client.changes, 1);
    EXPECT_EQ(client.programmer, nullptr);
    EXPECT_TRUE(ctl.DeviceList().empty());

    bus.plug(std::make_shared<EchoDevice>());
    ASSERT_TRUE(runUntil([&] { return client.programmer != nullptr; }));
    EXPECT_EQ(client.changes, 2);
    ASSERT_TRUE(client.send(7));
    ASSERT_TRUE(runUntil([&] { return client.received.size() == 1; }));
}

TEST_F(ControllerTest, UnplugInTheMiddleOfAStreamReleasesTheProgrammer) {
    const auto handle = bus.plug(std::make_shared<CountingDevice>(40)); // 40 × byte 1 reports
    THidDeviceController ctl(bus, main);
    Client client(ctl);
    client.attach();
    ASSERT_TRUE(client.send(250)); // 10000 reports
    ASSERT_TRUE(runUntil([&] { return client.received.size() >= 100; }));
    bus.unplug(handle);
    ASSERT_TRUE(runUntil([&] { return client.programmer == nullptr && client.changes == 2; }));
    EXPECT_TRUE(ctl.DeviceList().empty());
    const auto delivered = client.received.size();
    EXPECT_LT(delivered, 10000u);
    main.runFor(20ms);
    EXPECT_EQ(client.received.size(), delivered); // nothing arrives from a released device
    for (std::size_t i = 0; i < delivered; ++i)
        ASSERT_EQ(test::sequenceOf(&client.received[i][1]), i);
}

TEST_F(ControllerTest, TakesTheFirstOfTwoProgrammersAndTheSecondOnlyAfterTheFirstGoes) {
    const auto first = bus.plug(std::make_shared<EchoDevice>());
    bus.plug(std::make_shared<EchoDevice>());
    THidDeviceController ctl(bus, main);
    Client client(ctl);
    client.attach();
    ASSERT_EQ(ctl.DeviceList().size(), 2u);
    ASSERT_EQ(client.programmer, ctl.DeviceList()[0].get());
    EXPECT_FALSE(ctl.DeviceList()[1]->IsCheckedOut());
    const std::string secondIdentity = ctl.DeviceList()[1]->Info().identity;

    bus.unplug(first);
    ASSERT_TRUE(runUntil([&] { return client.changes == 2; }));
    ASSERT_NE(client.programmer, nullptr);
    EXPECT_EQ(client.programmer->Info().identity, secondIdentity);
    EXPECT_EQ(ctl.DeviceList().size(), 1u);
}

TEST_F(ControllerTest, FiresTheChangeHandlerOnlyWhenSomethingChanged) {
    bus.plug(std::make_shared<EchoDevice>());
    THidDeviceController ctl(bus, main);
    Client client(ctl);
    client.attach();
    ASSERT_EQ(client.changes, 1);

    ctl.RescanDevices(); // the programmer still present and held
    main.runFor(10ms);
    EXPECT_EQ(client.changes, 1);

    // A device of another kind comes and goes: two changes, the programmer stays.
    EmulatedDeviceOptions keyboard;
    keyboard.vendorId = 0x046d;
    keyboard.productId = 0xc31c;
    keyboard.inputReportLength = 9;
    keyboard.outputReportLength = 2;
    THidDevice* const held = client.programmer;
    const auto other = bus.plug(std::make_shared<EchoDevice>(), Latency::None, keyboard);
    ASSERT_TRUE(runUntil([&] { return client.changes == 2; }));
    EXPECT_EQ(ctl.DeviceList().size(), 2u);
    EXPECT_EQ(ctl.DeviceList()[1]->Caps().InputReportByteLength, 9);
    bus.unplug(other);
    ASSERT_TRUE(runUntil([&] { return client.changes == 3; }));
    EXPECT_EQ(client.programmer, held);

    // A handler attached anew hears at once, change or not.
    int newHandlerCalls = 0;
    ctl.SetOnDeviceChange([&] { ++newHandlerCalls; });
    EXPECT_EQ(newHandlerCalls, 1);

    // Any vendor device matches product id -1.
    THidDevice* any = nullptr;
    EXPECT_FALSE(ctl.AcquireDevice(kProgrammerVendorId, -1, any)); // the only one is held
    EXPECT_EQ(any, nullptr);
}

TEST_F(ControllerTest, OnlyOneControllerPerProgram) {
    THidDeviceController ctl(bus, main);
    try {
        THidDeviceController second(bus, main);
        FAIL() << "a second controller was made";
    } catch (const EControllerError& e) {
        EXPECT_STREQ(e.what(), "Only one THidDeviceController allowed per program");
    }
}

TEST_F(ControllerTest, DeliversThousandsOfReportsInOrderOneAtATime) {
    bus.plug(std::make_shared<CountingDevice>(20));
    THidDeviceController ctl(bus, main);
    THidDevice* dev = nullptr;
    bool inHandler = false;
    std::uint32_t next = 0;
    ctl.SetOnDeviceData([&](THidDevice*, std::uint8_t, const std::uint8_t* data, std::uint16_t) {
        ASSERT_FALSE(inHandler);
        inHandler = true;
        EXPECT_EQ(test::sequenceOf(data), next);
        ++next;
        // Give an overlapping delivery every chance to show itself.
        if (next % 500 == 0)
            std::this_thread::sleep_for(1ms);
        inHandler = false;
    });
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
    std::vector<std::uint8_t> report(65, 0);
    report[1] = 250; // 5000 reports
    ASSERT_TRUE(dev->Write(report));
    ASSERT_TRUE(runUntil([&] { return next == 5000; }));
}

TEST_F(ControllerTest, DeviceThatDropsOffAfterItsAnswersDeliversThemFirst) {
    bus.plug(std::make_shared<CountingDevice>());
    THidDeviceController ctl(bus, main);
    Client client(ctl);
    client.attach();
    ASSERT_TRUE(client.send(3, 1)); // three answers, then off the bus
    ASSERT_TRUE(runUntil([&] { return client.changes == 2; }));
    EXPECT_EQ(client.received.size(), 3u);
    EXPECT_EQ(client.programmer, nullptr);
    EXPECT_TRUE(ctl.DeviceList().empty());
}

TEST_F(ControllerTest, StoppingWhileAHandOffIsPendingDoesNotDeadlock) {
    const std::pair<const char*, std::function<void(THidDeviceController&, THidDevice*)>> stops[] =
        {
            {"release", [](THidDeviceController& ctl, THidDevice* dev) { ctl.ReleaseDevice(dev); }},
            {"data handler removed",
             [](THidDeviceController& ctl, THidDevice*) { ctl.SetOnDeviceData({}); }},
        };
    for (const auto& [what, stop] : stops) {
        SCOPED_TRACE(what);
        const auto handle = bus.plug(std::make_shared<CountingDevice>());
        THidDeviceController ctl(bus, main);
        int delivered = 0;
        ctl.SetOnDeviceData(
            [&](THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) { ++delivered; });
        THidDevice* dev = nullptr;
        ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
        std::vector<std::uint8_t> report(65, 0);
        report[1] = 5;
        ASSERT_TRUE(dev->Write(report));
        // Let the reader post its first report and block in the hand-off, without running it.
        std::this_thread::sleep_for(20ms);
        stop(ctl, dev);    // would hang if the reader could not abandon its hand-off
        main.runFor(20ms); // the stale hand-off must not touch the device, nor deliver
        EXPECT_EQ(delivered, 0);
        bus.unplug(handle);
    }
}

TEST_F(ControllerTest, HandlerMayReleaseItsOwnDevice) {
    bus.plug(std::make_shared<CountingDevice>());
    THidDeviceController ctl(bus, main);
    int delivered = 0;
    THidDevice* dev = nullptr;
    ctl.SetOnDeviceData([&](THidDevice* from, std::uint8_t, const std::uint8_t*, std::uint16_t) {
        ++delivered;
        ctl.ReleaseDevice(from);
        dev = nullptr;
    });
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
    std::vector<std::uint8_t> report(65, 0);
    report[1] = 5;
    ASSERT_TRUE(dev->Write(report));
    ASSERT_TRUE(runUntil([&] { return dev == nullptr; }));
    main.runFor(20ms);
    EXPECT_EQ(delivered, 1);
}

TEST_F(ControllerTest, AHandlerThatThrowsDoesNotStopTheReports) {
    bus.plug(std::make_shared<CountingDevice>());
    THidDeviceController ctl(bus, main);
    int delivered = 0;
    ctl.SetOnDeviceData([&](THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {
        if (++delivered == 1)
            throw std::runtime_error("handler failed");
    });
    THidDevice* dev = nullptr;
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, dev));
    std::vector<std::uint8_t> report(65, 0);
    report[1] = 3;
    ASSERT_TRUE(dev->Write(report));
    // The failure reaches whoever runs the main loop; the reader is not left waiting.
    EXPECT_THROW(main.runUntil([&] { return delivered == 3; }, 5s), std::runtime_error);
    EXPECT_TRUE(runUntil([&] { return delivered == 3; }));
}

TEST_F(ControllerTest, DestroyingTheControllerWithReportsInFlightIsClean) {
    bus.plug(std::make_shared<CountingDevice>(40));
    {
        THidDeviceController ctl(bus, main);
        Client client(ctl);
        startFlood(client);
    }
    main.runFor(10ms); // hand-offs still queued find their device gone and drop their report
    THidDeviceController again(bus, main); // the one controller may be made anew
    EXPECT_EQ(again.DeviceList().size(), 1u);
}

TEST_F(ControllerTest, ReportsStillQueuedWhenTheLoopEndsAreDroppedCleanly) {
    bus.plug(std::make_shared<CountingDevice>(40));
    THidDeviceController ctl(bus, main);
    Client client(ctl);
    startFlood(client);
    std::this_thread::sleep_for(5ms); // the reader has posted its next report by now
    // The controller goes first and the loop never runs again: the queued hand-off is dropped
    // with the loop, which must neither touch freed memory nor leak (the sanitizer build checks).
}

TEST_F(ControllerTest, AnswersCrossTheBusInWholeFullSpeedFrames) {
    bus.plug(std::make_shared<EchoDevice>(), Latency::UsbFullSpeed);
    THidDeviceController ctl(bus, main);
    Client client(ctl);
    client.attach();
    constexpr int kExchanges = 20;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kExchanges; ++i) {
        ASSERT_TRUE(client.send(static_cast<std::uint8_t>(i)));
        ASSERT_TRUE(runUntil([&] { return client.received.size() == std::size_t(i + 1); }));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // Each write waits for its frame, and the answer comes a frame later: two frames per
    // exchange once the first one has lined up with the frame clock.
    EXPECT_GE(elapsed, std::chrono::milliseconds(2 * kExchanges - 1));
}

} // namespace
} // namespace tarvik
