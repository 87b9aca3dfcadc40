// The overlapped connection over a message pipe standing in for the device.
#include "link/windows/overlapped_hid_connection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "pipe_device.h"

namespace tarvik {
namespace {

using Clock = std::chrono::steady_clock;
using test::kReport;

std::unique_ptr<OverlappedHidConnection> connect(test::PipeDevice& device, bool readWrite = true) {
    return OverlappedHidConnection::make(device.takeHostEnd(), readWrite, kReport, &::CloseHandle);
}

TEST(OverlappedHidConnection, AReadPendingAcrossTimeoutsDeliversEveryReportWholeInOrder) {
    test::PipeDevice device;
    ASSERT_TRUE(device.ready());
    const auto connection = connect(device);
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
    test::PipeDevice device;
    const auto connection = connect(device);
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
    test::PipeDevice device;
    const auto connection = connect(device);
    std::vector<std::uint8_t> report(kReport, 0x3C);
    report[0] = 0;
    ASSERT_TRUE(connection->write(report));
    EXPECT_EQ(device.receive(), report);
}

TEST(OverlappedHidConnection, ADeviceThatGoesFailsReadsAndWritesAndSaysSo) {
    test::PipeDevice device;
    const auto connection = connect(device);
    int failures = 0;
    connection->setOnFailure([&failures] { ++failures; });
    std::uint8_t report[kReport]{};
    EXPECT_EQ(connection->read(report, 10), 0); // pending when the device goes
    EXPECT_EQ(failures, 0);
    device.close();
    EXPECT_EQ(connection->read(report, 1000), -1);
    EXPECT_FALSE(connection->write(report));
    EXPECT_EQ(connection->read(report, 1000), -1);
    EXPECT_EQ(failures, 3);
}

TEST(OverlappedHidConnection, AWriteTheDeviceDoesNotTakeFailsAfterItsBound) {
    test::PipeDevice device(1); // takes next to nothing before it reads
    const auto connection = connect(device);
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
    test::PipeDevice device;
    auto connection = connect(device);
    std::uint8_t report[kReport]{};
    EXPECT_EQ(connection->read(report, 10), 0);
    const auto start = Clock::now();
    connection.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(device.send(1)); // nobody reads any more
}

TEST(OverlappedHidConnection, QueryOnlyNeitherReadsNorWrites) {
    test::PipeDevice device;
    const auto connection = connect(device, false);
    std::uint8_t report[kReport]{};
    EXPECT_FALSE(connection->readWriteAccess());
    EXPECT_FALSE(connection->write(report));
    EXPECT_EQ(connection->read(report, 10), -1);
}

} // namespace
} // namespace tarvik
