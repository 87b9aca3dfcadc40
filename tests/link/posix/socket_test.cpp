// The socket backend against the socket server: connecting is plugging in, the peer closing
// is unplugging, and every reconnection is a new device.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "link/hid_device_controller.h"
#include "link/posix/socket_backend.h"
#include "link/posix/socket_server.h"
#include "test_devices.h"

using namespace std::chrono_literals;

namespace tarvik {
namespace {

std::string freshSocketPath() {
    static std::atomic<int> counter{0};
    return "/tmp/tarvik-link-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) +
           ".sock";
}

// A server running on its own thread for as long as the object lives.
class ServerThread {
public:
    ServerThread(const std::string& path, VirtualDevice& device)
        : server_(path, device), thread_([this] { server_.run(); }) {}
    ~ServerThread() {
        server_.stop();
        thread_.join();
    }

private:
    SocketServer server_;
    std::thread thread_;
};

class SocketTest : public ::testing::Test {
protected:
    void SetUp() override {
        ctl.SetOnDeviceChange([this] {
            if (programmer && !programmer->IsPluggedIn()) {
                ctl.ReleaseDevice(programmer);
                programmer = nullptr;
            }
            if (!programmer)
                ctl.AcquireDevice(kProgrammerVendorId, kProgrammerProductId, programmer);
        });
        ctl.SetOnDeviceData(
            [this](THidDevice*, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
                EXPECT_EQ(id, 0);
                EXPECT_EQ(size, 64);
                sequences.push_back(test::sequenceOf(data));
            });
    }

    bool send(std::uint8_t count, bool unplugAfter = false) {
        std::vector<std::uint8_t> report(65, 0);
        report[1] = count;
        report[2] = unplugAfter ? 1 : 0;
        return programmer && programmer->Write(report);
    }
    bool runUntil(const std::function<bool()>& pred) { return main.runUntil(pred, 5s); }

    const std::string path = freshSocketPath();
    test::CountingDevice device;
    PlainDispatcher main;
    SocketBackend backend{main, path, 10ms};
    THidDeviceController ctl{backend, main};
    THidDevice* programmer = nullptr;
    std::vector<std::uint32_t> sequences;
};

TEST_F(SocketTest, ConnectsExchangesAndTakesAClosedPeerAsUnplug) {
    EXPECT_EQ(programmer, nullptr); // nothing serves the path yet
    std::optional<ServerThread> server(std::in_place, path, device);
    ASSERT_TRUE(runUntil([&] { return programmer != nullptr; }));
    EXPECT_EQ(programmer->Caps().OutputReportByteLength, 65);
    EXPECT_EQ(programmer->Caps().InputReportByteLength, 65);

    ASSERT_TRUE(send(3));
    ASSERT_TRUE(runUntil([&] { return sequences.size() == 3; }));
    EXPECT_EQ(sequences, (std::vector<std::uint32_t>{0, 1, 2}));

    server.reset(); // the serving process goes away
    ASSERT_TRUE(runUntil([&] { return programmer == nullptr && ctl.DeviceList().empty(); }));
}

TEST_F(SocketTest, DeviceDroppingOffDeliversItsAnswersThenReconnectsAsANewDevice) {
    ServerThread server(path, device);
    ASSERT_TRUE(runUntil([&] { return programmer != nullptr; }));
    const std::string first = programmer->Info().identity;

    ASSERT_TRUE(send(200, true)); // 200 answers, then the server closes the connection
    ASSERT_TRUE(
        runUntil([&] { return programmer == nullptr || programmer->Info().identity != first; }));
    ASSERT_EQ(sequences.size(), 200u);
    for (std::uint32_t i = 0; i < 200; ++i)
        ASSERT_EQ(sequences[i], i);

    // The server takes the next client: the backend connects again, as a new device.
    ASSERT_TRUE(runUntil([&] { return programmer != nullptr; }));
    EXPECT_NE(programmer->Info().identity, first);
    ASSERT_TRUE(send(1));
    ASSERT_TRUE(runUntil([&] { return sequences.size() == 201; }));
}

TEST(SocketServerTest, RefusesAPathThatIsServedOrTooLong) {
    test::EchoDevice echo;
    const std::string path = freshSocketPath();
    SocketServer first(path, echo);
    EXPECT_THROW(SocketServer(path, echo), std::system_error);
    EXPECT_THROW(SocketServer("/tmp/" + std::string(200, 'x'), echo), std::invalid_argument);
}

} // namespace
} // namespace tarvik
