// UhidDevice against a stand-in for the kernel: the far end of a socket pair reads and writes
// the uhid event structures as /dev/uhid does.
#include <gtest/gtest.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/socket.h>

#include <thread>

#include "link/hid_report_descriptor.h"
#include "link/linux/uhid_device.h"
#include "test_devices.h"

namespace tarvik::test {
namespace {

class FakeKernel {
public:
    FakeKernel() {
        int fds[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
        kernel_ = UniqueFd(fds[0]);
        device_ = UniqueFd(fds[1]);
    }
    UniqueFd deviceSide() { return std::move(device_); }

    // The next event the device wrote, or one of type 0xFF when none came within a second.
    uhid_event next() {
        uhid_event event{};
        event.type = 0xFF;
        pollfd ready{kernel_.get(), POLLIN, 0};
        if (::poll(&ready, 1, 1000) == 1) {
            EXPECT_EQ(::read(kernel_.get(), &event, sizeof event),
                      static_cast<ssize_t>(sizeof event));
        }
        return event;
    }
    void send(const uhid_event& event) {
        ASSERT_EQ(::write(kernel_.get(), &event, sizeof event), static_cast<ssize_t>(sizeof event));
    }
    void send(std::uint32_t type) {
        uhid_event event{};
        event.type = type;
        send(event);
    }
    // An output report as hidraw passes it on: report id 0 first, then the payload.
    void sendOutput(std::initializer_list<std::uint8_t> payload) {
        uhid_event event{};
        event.type = UHID_OUTPUT;
        event.u.output.size = 65;
        event.u.output.rtype = UHID_OUTPUT_REPORT;
        std::copy(payload.begin(), payload.end(), event.u.output.data + 1);
        send(event);
    }

private:
    UniqueFd kernel_;
    UniqueFd device_;
};

UhidSettings instant() {
    UhidSettings settings;
    settings.reportInterval = std::chrono::milliseconds(0);
    return settings;
}

TEST(UhidDevice, CreatesAUsbDeviceWithTheProgrammersIdsAndReportLengths) {
    struct Case {
        std::uint16_t vendor;
        std::uint16_t product;
        std::size_t reportBytes;
        std::uint16_t lengths; // as the client reads them from the descriptor, report id included
    };
    const Case cases[] = {
        {0x0451, 0x3210, 64, 65}, // the programmer
        {0x046D, 0xC52B, 64, 65}, // a foreign device
        {0x0451, 0x3210, 32, 33}, // a programmer with short reports
    };
    for (const Case& c : cases) {
        FakeKernel kernel;
        EchoDevice echo;
        UhidSettings settings = instant();
        settings.vendorId = c.vendor;
        settings.productId = c.product;
        settings.reportBytes = c.reportBytes;
        std::vector<UhidEvent> events;
        {
            UhidDevice device(kernel.deviceSide(), echo, settings,
                              [&](UhidEvent e) { events.push_back(e); });
            const uhid_event create = kernel.next();
            ASSERT_EQ(create.type, UHID_CREATE2);
            EXPECT_EQ(create.u.create2.bus, 0x03);
            EXPECT_EQ(create.u.create2.vendor, c.vendor);
            EXPECT_EQ(create.u.create2.product, c.product);
            EXPECT_STREQ(reinterpret_cast<const char*>(create.u.create2.name),
                         "Tarvik virtual programmer");
            const ReportLengths lengths = parseReportDescriptor(
                std::span(create.u.create2.rd_data, create.u.create2.rd_size));
            EXPECT_EQ(lengths.input, c.lengths);
            EXPECT_EQ(lengths.output, c.lengths);
            EXPECT_FALSE(lengths.numbered);
        }
        EXPECT_EQ(kernel.next().type, UHID_DESTROY); // going away is an unplug
        EXPECT_EQ(events, (std::vector<UhidEvent>{UhidEvent::Created, UhidEvent::Unplugged}));
    }
    EXPECT_THROW(vendorReportDescriptor(0), std::invalid_argument);
    EXPECT_THROW(vendorReportDescriptor(65), std::invalid_argument);
}

TEST(UhidDevice, ServesOutputReportsAndTellsOpensAndCloses) {
    FakeKernel kernel;
    CountingDevice counting;
    std::mutex mutex;
    std::vector<UhidEvent> events;
    UhidDevice device(kernel.deviceSide(), counting, instant(), [&](UhidEvent e) {
        std::lock_guard lock(mutex);
        events.push_back(e);
    });
    ASSERT_EQ(kernel.next().type, UHID_CREATE2);
    std::thread serving([&] { EXPECT_FALSE(device.run()); });

    kernel.send(UHID_START);
    kernel.send(UHID_OPEN);
    kernel.sendOutput({3}); // three numbered answers
    for (std::uint32_t i = 0; i < 3; ++i) {
        const uhid_event input = kernel.next();
        ASSERT_EQ(input.type, UHID_INPUT2);
        EXPECT_EQ(input.u.input2.size, 64); // the payload alone: no report ids
        EXPECT_EQ(sequenceOf(input.u.input2.data), i);
    }
    uhid_event getReport{};
    getReport.type = UHID_GET_REPORT;
    getReport.u.get_report.id = 7;
    kernel.send(getReport);
    const uhid_event reply = kernel.next();
    EXPECT_EQ(reply.type, UHID_GET_REPORT_REPLY);
    EXPECT_EQ(reply.u.get_report_reply.id, 7U);
    EXPECT_NE(reply.u.get_report_reply.err, 0); // no feature reports
    kernel.send(UHID_CLOSE);
    kernel.sendOutput({1}); // a round trip: the close has been handled once it is answered
    EXPECT_EQ(kernel.next().type, UHID_INPUT2);
    device.stop();
    serving.join();
    std::lock_guard lock(mutex);
    EXPECT_EQ(events,
              (std::vector<UhidEvent>{UhidEvent::Created, UhidEvent::Opened, UhidEvent::Closed}));
}

TEST(UhidDevice, DropsOffTheBusAfterTheLastAnswerAtUsbPace) {
    FakeKernel kernel;
    CountingDevice counting;
    UhidDevice device(kernel.deviceSide(), counting, UhidSettings{});
    ASSERT_EQ(kernel.next().type, UHID_CREATE2);
    std::thread serving([&] { EXPECT_TRUE(device.run()); });
    kernel.sendOutput({4, 1}); // four answers, then an unplug
    for (std::uint32_t i = 0; i < 4; ++i) {
        const uhid_event input = kernel.next();
        ASSERT_EQ(input.type, UHID_INPUT2);
        EXPECT_EQ(sequenceOf(input.u.input2.data), i);
    }
    EXPECT_EQ(kernel.next().type, UHID_DESTROY);
    serving.join();
}

} // namespace
} // namespace tarvik::test
