// The overlapped connection over a message pipe standing in for the device: the pipe's far end
// is the programmer, one message one report.
#include "link/windows/overlapped_hid_connection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace tarvik {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReport = 65;

class PipeDevice {
public:
    // inBuffer: what the device end takes before a write from the connection waits.
    explicit PipeDevice(DWORD inBuffer = 4096) {
        static int serial = 0;
        const std::wstring name = L"\\\\.\\pipe\\tarvik-connection-test-" +
                                  std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++serial);
        device_ = ::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                                     PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096,
                                     inBuffer, 0, nullptr);
        host_ = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
        DWORD mode = PIPE_READMODE_MESSAGE;
        ::SetNamedPipeHandleState(host_, &mode, nullptr, nullptr);
    }
    ~PipeDevice() { close(); }

    // The host's end, for the connection to own.
    std::unique_ptr<OverlappedHidConnection> connect(bool readWrite = true) {
        return OverlappedHidConnection::make(std::exchange(host_, INVALID_HANDLE_VALUE), readWrite,
                                             kReport, &::CloseHandle);
    }
    bool send(std::uint8_t first, std::size_t size = kReport) {
        std::vector<std::uint8_t> report(size, 0xA5);
        report[0] = 0;
        report[1] = first;
        DWORD written = 0;
        return ::WriteFile(device_, report.data(), static_cast<DWORD>(size), &written, nullptr) &&
               written == size;
    }
    std::vector<std::uint8_t> receive() {
        std::vector<std::uint8_t> report(256);
        DWORD count = 0;
        if (!::ReadFile(device_, report.data(), static_cast<DWORD>(report.size()), &count, nullptr))
            return {};
        report.resize(count);
        return report;
    }
    void close() {
        if (device_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(std::exchange(device_, INVALID_HANDLE_VALUE));
        if (host_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(std::exchange(host_, INVALID_HANDLE_VALUE));
    }
    bool ready() const { return device_ != INVALID_HANDLE_VALUE && host_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE device_ = INVALID_HANDLE_VALUE;
    HANDLE host_ = INVALID_HANDLE_VALUE;
};

TEST(OverlappedHidConnection, AReadPendingAcrossTimeoutsDeliversEveryReportWholeInOrder) {
    PipeDevice device;
    ASSERT_TRUE(device.ready());
    const auto connection = device.connect();
    ASSERT_TRUE(connection && connection->readWriteAccess());
    std::uint8_t report[kReport]{};

    EXPECT_EQ(connection->read(report, 20), 0); // nothing yet: the read stays pending
    EXPECT_EQ(connection->read(report, 0), 0);
    ASSERT_TRUE(device.send(1));
    EXPECT_EQ(connection->read(report, 1000), int(kReport));
    EXPECT_EQ(report[0], 0);
    EXPECT_EQ(report[1], 1);
    EXPECT_EQ(report[64], 0xA5);

    for (std::uint8_t i = 2; i < 10; ++i)
        ASSERT_TRUE(device.send(i));
    for (std::uint8_t i = 2; i < 10; ++i) {
        ASSERT_EQ(connection->read(report, 1000), int(kReport));
        EXPECT_EQ(report[1], i);
    }
    EXPECT_EQ(connection->read(report, 0), 0);
}

TEST(OverlappedHidConnection, WakeUpEndsAWaitAtOnceAndKeepsTheRead) {
    PipeDevice device;
    const auto connection = device.connect();
    std::uint8_t report[kReport]{};

    // Woken before it waits: the next wait ends at once, the one after waits again.
    connection->wakeUp();
    EXPECT_EQ(connection->read(report, 5000), 0);
    EXPECT_EQ(connection->read(report, 20), 0);

    const auto start = Clock::now();
    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        connection->wakeUp();
    });
    EXPECT_EQ(connection->read(report, 10000), 0);
    waker.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));

    // The read begun before the wake-up still takes the next report.
    ASSERT_TRUE(device.send(7));
    ASSERT_EQ(connection->read(report, 1000), int(kReport));
    EXPECT_EQ(report[1], 7);
}

TEST(OverlappedHidConnection, WritesWholeReports) {
    PipeDevice device;
    const auto connection = device.connect();
    std::vector<std::uint8_t> report(kReport, 0x3C);
    report[0] = 0;
    ASSERT_TRUE(connection->write(report));
    EXPECT_EQ(device.receive(), report);
}

TEST(OverlappedHidConnection, ADeviceThatGoesFailsReadsAndWrites) {
    PipeDevice device;
    const auto connection = device.connect();
    std::uint8_t report[kReport]{};
    EXPECT_EQ(connection->read(report, 10), 0); // pending when the device goes
    device.close();
    EXPECT_EQ(connection->read(report, 1000), -1);
    EXPECT_FALSE(connection->write(report));
    EXPECT_EQ(connection->read(report, 1000), -1);
}

TEST(OverlappedHidConnection, AWriteTheDeviceDoesNotTakeFailsAfterItsBound) {
    PipeDevice device(1); // takes next to nothing before it reads
    const auto connection = device.connect();
    std::vector<std::uint8_t> report(kReport, 1);
    bool stuck = false;
    const auto start = Clock::now();
    // Fills what the pipe buffers until a write has to wait for a reader that never comes.
    for (int i = 0; i < 64 && !stuck; ++i)
        stuck = !connection->write(report);
    const auto elapsed = Clock::now() - start;
    ASSERT_TRUE(stuck);
    EXPECT_GE(elapsed, std::chrono::milliseconds(OverlappedHidConnection::kWriteTimeoutMs - 50));
    EXPECT_LT(elapsed, std::chrono::milliseconds(20 * OverlappedHidConnection::kWriteTimeoutMs));
}

TEST(OverlappedHidConnection, ClosingCancelsThePendingReadAndWaitsForIt) {
    PipeDevice device;
    auto connection = device.connect();
    std::uint8_t report[kReport]{};
    EXPECT_EQ(connection->read(report, 10), 0);
    const auto start = Clock::now();
    connection.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(device.send(1)); // nobody reads any more
}

TEST(OverlappedHidConnection, QueryOnlyNeitherReadsNorWrites) {
    PipeDevice device;
    const auto connection = device.connect(false);
    std::uint8_t report[kReport]{};
    EXPECT_FALSE(connection->readWriteAccess());
    EXPECT_FALSE(connection->write(report));
    EXPECT_EQ(connection->read(report, 10), -1);
}

} // namespace
} // namespace tarvik
