// The USB backend's reading of what the system lists (ids, report descriptors) and its
// rescans driven by udev events, over a fake source.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "link/hid_device_controller.h"
#include "link/hid_report_descriptor.h"
#include "link/linux/usb_backend.h"
#include "test_devices.h"

using namespace std::chrono_literals;

namespace tarvik {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The programmer: vendor-defined usage, 64 input and 64 output bytes, no report ids.
const Bytes kProgrammerDescriptor = {
    0x06, 0x00, 0xFF, // usage page (vendor defined)
    0x09, 0x01,       // usage
    0xA1, 0x01,       // collection (application)
    0x15, 0x00,       //   logical minimum 0
    0x26, 0xFF, 0x00, //   logical maximum 255
    0x75, 0x08,       //   report size 8
    0x95, 0x40,       //   report count 64
    0x09, 0x01,       //   usage
    0x81, 0x02,       //   input
    0x95, 0x40,       //   report count 64
    0x09, 0x01,       //   usage
    0x91, 0x02,       //   output
    0xC0,             // end collection
};

TEST(ReportDescriptorTest, LengthsOfTheLongestReports) {
    struct Case {
        const char* what;
        Bytes descriptor;
        ReportLengths expected;
    };
    const Case cases[] = {
        {"programmer", kProgrammerDescriptor, {65, 65, false}},
        {"numbered: id 1 has 8 input bytes, id 2 has 32",
         {0x85, 0x01, 0x75, 0x08, 0x95, 0x08, 0x81, 0x02, 0x85, 0x02, 0x95, 0x20, 0x81, 0x02, 0x95,
          0x04, 0x91, 0x02},
         {33, 5, true}},
        {"bits of several items add up, push and pop restore the globals",
         {0x75, 0x01, 0x95, 0x05, 0x81, 0x02, 0xA4, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0xB4, 0x95,
          0x03, 0x81, 0x03},
         {1 + 3, 0, false}},
        {"a long item is skipped",
         {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x75, 0x08, 0x95, 0x02, 0x91, 0x02},
         {0, 3, false}},
        {"a truncated item ends the walk",
         {0x75, 0x08, 0x95, 0x04, 0x81, 0x02, 0x96, 0xFF},
         {5, 0, false}},
        {"pop without push, huge counts are bounded",
         {0xB4, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02},
         {0xFFFF, 0, false}},
        {"empty", {}, {0, 0, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReportLengths lengths = parseReportDescriptor(c.descriptor);
        EXPECT_EQ(lengths.input, c.expected.input);
        EXPECT_EQ(lengths.output, c.expected.output);
        EXPECT_EQ(lengths.numbered, c.expected.numbered);
    }
}

TEST(ReportDescriptorTest, HidIdProperty) {
    const auto ids = parseHidId("0003:00000451:00003210");
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->bus, 3);
    EXPECT_EQ(ids->vendorId, 0x0451);
    EXPECT_EQ(ids->productId, 0x3210);
    for (const char* bad : {"", "0003:00000451", "0003:00000451:00003210:1", "0003:0001FFFF:0",
                            "0003:x:0", "0003::0", "0003:0451:3210 "})
        EXPECT_FALSE(parseHidId(bad)) << bad;
}

// Lists what the test sets and raises events from a thread of its own, as udev's monitor does.
class FakeSource : public HidrawSource {
public:
    std::vector<HidrawNode> list() override {
        std::lock_guard lock(mutex);
        return nodes;
    }
    void watch(std::function<void()> onEvent) override { event = std::move(onEvent); }

    void set(std::vector<HidrawNode> now) {
        {
            std::lock_guard lock(mutex);
            nodes = std::move(now);
        }
        std::thread(event).join();
    }

    std::mutex mutex;
    std::vector<HidrawNode> nodes;
    std::function<void()> event;
};

class FakeOpener : public HidrawOpener {
public:
    std::unique_ptr<HidConnection> open(const std::string& devnode, bool numbered) override {
        opened.emplace_back(devnode, numbered);
        return std::make_unique<test::ScriptedConnection>(true);
    }
    std::vector<std::pair<std::string, bool>> opened;
};

HidrawNode programmerNode(const std::string& n) {
    return {"/dev/hidraw" + n, "/sys/devices/pci0000:00/usb1/1-1/1-1:1.0/0003:0451:3210.000" + n,
            "0003:00000451:00003210", 0x0102, kProgrammerDescriptor};
}

TEST(UsbBackendTest, UdevEventsDriveRescans) {
    PlainDispatcher main;
    auto source = std::make_unique<FakeSource>();
    auto opener = std::make_unique<FakeOpener>();
    FakeSource& udev = *source;
    FakeOpener& opens = *opener;
    HidrawNode mouse{"/dev/hidraw0",
                     "/sys/devices/x/0003:046D:C077.0001",
                     "0003:0000046D:0000C077",
                     0,
                     {0x75, 0x08, 0x95, 0x04, 0x81, 0x02}};
    HidrawNode nameless{"/dev/hidraw9", "/sys/devices/y", "garbage", 0, {}};
    udev.nodes = {mouse, nameless};

    UsbBackend backend(main, std::move(source), std::move(opener));
    THidDeviceController ctl(backend, main);
    int changes = 0;
    ctl.SetOnDeviceChange([&] { ++changes; });
    ASSERT_EQ(ctl.DeviceList().size(), 1u); // the unidentifiable node is left out
    EXPECT_EQ(ctl.DeviceList()[0]->Caps().InputReportByteLength, 5);

    udev.set({mouse, nameless, programmerNode("1")});
    ASSERT_TRUE(main.runUntil([&] { return changes == 2; }, 5s));
    ASSERT_EQ(ctl.DeviceList().size(), 2u);
    const THidDevice& programmer = *ctl.DeviceList()[1];
    EXPECT_EQ(programmer.Info().identity, programmerNode("1").hidSyspath);
    EXPECT_EQ(programmer.Info().vendorId, kProgrammerVendorId);
    EXPECT_EQ(programmer.Info().productId, kProgrammerProductId);
    EXPECT_EQ(programmer.Info().version, 0x0102);
    EXPECT_EQ(programmer.Caps().InputReportByteLength, 65);
    EXPECT_EQ(programmer.Caps().OutputReportByteLength, 65);
    EXPECT_TRUE(opens.opened.empty()); // listing opens nothing

    udev.set({mouse, nameless, programmerNode("1")}); // an event that changes nothing
    main.runFor(20ms);
    EXPECT_EQ(changes, 2);

    // Only the device taken is opened, and only once.
    THidDevice* taken = nullptr;
    ASSERT_TRUE(ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, taken));
    ctl.RescanDevices();
    EXPECT_EQ(opens.opened, (std::vector<std::pair<std::string, bool>>{{"/dev/hidraw1", false}}));
    ctl.ReleaseDevice(taken);

    // Replugged: the node name may come back, the HID device is a new one.
    udev.set({mouse, programmerNode("2")});
    ASSERT_TRUE(main.runUntil([&] { return changes == 3; }, 5s));
    ASSERT_EQ(ctl.DeviceList().size(), 2u);
    EXPECT_EQ(ctl.DeviceList()[1]->Info().identity, programmerNode("2").hidSyspath);
}

// The advice for a node this user may not open follows the rule check the backend was given.
TEST(UsbBackendTest, AccessRemedyFollowsTheInstalledRule) {
    struct Case {
        bool ruleInstalled;
        std::uint8_t language;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {false,
         1,
         {"Install the udev rule, then unplug and replug the programmer:",
          "    sudo install -m 644 packaging/60-tarvik-programmer.rules /etc/udev/rules.d/",
          "    sudo udevadm control --reload-rules && sudo udevadm trigger "
          "--subsystem-match=hidraw"}},
        {true,
         1,
         {"The udev rule is installed; it gives access in a desktop session at this machine and "
          "to the group plugdev. Without such a session (SSH, a service), add the user to the "
          "group and log in again:",
          "    sudo usermod -aG plugdev $USER"}},
        {false,
         2,
         {"Установите правило udev, затем отключите и снова подключите программатор:",
          "    sudo install -m 644 packaging/60-tarvik-programmer.rules /etc/udev/rules.d/",
          "    sudo udevadm control --reload-rules && sudo udevadm trigger "
          "--subsystem-match=hidraw"}},
        {true, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ruleInstalled << " " << int(c.language));
        PlainDispatcher main;
        UsbBackend backend(main, std::make_unique<FakeSource>(), std::make_unique<FakeOpener>(),
                           [&c] { return c.ruleInstalled; });
        EXPECT_EQ(backend.accessRemedy(c.language), c.lines);
    }
}

} // namespace
} // namespace tarvik
