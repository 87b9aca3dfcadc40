// Small virtual devices and a scripted backend for the link's tests.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <vector>

#include "link/hid_backend.h"
#include "protocol/virtual_device.h"

namespace tarvik::test {

// Answers every output report with one input report carrying the same bytes.
class EchoDevice : public VirtualDevice {
public:
    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        ++received;
        DeviceReply reply;
        InputReportBytes answer{};
        std::copy_n(report.begin(), std::min(report.size(), answer.size()), answer.begin());
        reply.reports.push_back(answer);
        return reply;
    }
    std::atomic<int> received{0};
};

// Answers an output report whose byte 1 is n with n input reports numbered 0..n-1 in bytes
// 1..4 (little-endian), and drops off the bus afterwards when byte 2 is set.
class CountingDevice : public VirtualDevice {
public:
    explicit CountingDevice(std::uint32_t multiplier = 1) : multiplier_(multiplier) {}
    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        DeviceReply reply;
        const std::uint32_t count = report.size() > 1 ? report[1] * multiplier_ : 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            InputReportBytes answer{};
            for (int b = 0; b < 4; ++b)
                answer[1 + b] = static_cast<std::uint8_t>(i >> (8 * b));
            reply.reports.push_back(answer);
        }
        reply.unplug = report.size() > 2 && report[2] != 0;
        return reply;
    }

private:
    std::uint32_t multiplier_;
};

inline std::uint32_t sequenceOf(const std::uint8_t* data) {
    return data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

// A connection whose reads return what the test queued: a byte string (possibly empty, a
// completed read of 0 bytes) or, when the queue is empty, nothing within the slice. Writes and
// reads fail while the test says so.
class ScriptedConnection : public HidConnection {
public:
    explicit ScriptedConnection(bool readWrite) : readWrite_(readWrite) {}
    bool readWriteAccess() const override { return readWrite_; }
    bool write(std::span<const std::uint8_t> report) override {
        std::lock_guard lock(mutex_);
        written_.emplace_back(report.begin(), report.end());
        return !failing_;
    }
    int read(std::span<std::uint8_t> report, int timeoutMs) override {
        std::unique_lock lock(mutex_);
        ++reads_;
        changed_.notify_all();
        if (failing_)
            return -1;
        changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                          [this] { return woken_ || !script_.empty(); });
        if (woken_) {
            woken_ = false;
            return 0;
        }
        if (script_.empty())
            return 0;
        const auto bytes = std::move(script_.front());
        script_.pop_front();
        const auto count = std::min(bytes.size(), report.size());
        std::copy_n(bytes.begin(), count, report.begin());
        return static_cast<int>(count);
    }
    void wakeUp() override {
        std::lock_guard lock(mutex_);
        woken_ = true;
        changed_.notify_all();
    }

    void queue(std::vector<std::uint8_t> bytes) {
        std::lock_guard lock(mutex_);
        script_.push_back(std::move(bytes));
        changed_.notify_all();
    }
    int reads() {
        std::lock_guard lock(mutex_);
        return reads_;
    }
    // Reports queued and not read yet.
    std::size_t pending() {
        std::lock_guard lock(mutex_);
        return script_.size();
    }
    void fail(bool failing) {
        std::lock_guard lock(mutex_);
        failing_ = failing;
    }

private:
    bool readWrite_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<std::uint8_t>> script_;
    std::vector<std::vector<std::uint8_t>> written_;
    bool woken_ = false;
    bool failing_ = false;
    int reads_ = 0;
};

// A backend listing what the test puts in `devices`. Connections are made by the test in
// advance (by identity), one per open; a device without one cannot be opened.
class ScriptedBackend : public HidBackend {
public:
    std::vector<HidDeviceInfo> enumerate() override {
        ++enumerations;
        return devices;
    }
    std::unique_ptr<HidConnection> open(const HidDeviceInfo& info) override {
        opened.push_back(info.identity);
        for (auto& [identity, connection] : connections)
            if (identity == info.identity && connection)
                return std::move(connection);
        return nullptr;
    }
    void watch(std::function<void()> onChange) override { this->onChange = std::move(onChange); }
    std::optional<RefusedProgrammer> refusedProgrammer() const override { return refused; }

    // Adds a device of the given ids; returns its connection (owned by the controller once
    // opened) or nullptr when it shall fail to open.
    ScriptedConnection* add(std::string identity, std::uint16_t vid, std::uint16_t pid,
                            bool opens = true, bool readWrite = true) {
        HidDeviceInfo info;
        info.path = "/dev/scripted/" + identity;
        info.identity = identity;
        info.vendorId = vid;
        info.productId = pid;
        info.inputReportLength = 65;
        info.outputReportLength = 65;
        devices.push_back(info);
        if (!opens)
            return nullptr;
        return allowOpen(std::move(identity), readWrite);
    }

    // Lets the device be opened once more, read/write or for queries only.
    ScriptedConnection* allowOpen(std::string identity, bool readWrite = true) {
        auto connection = std::make_unique<ScriptedConnection>(readWrite);
        auto* raw = connection.get();
        connections.emplace_back(std::move(identity), std::move(connection));
        return raw;
    }

    std::vector<HidDeviceInfo> devices;
    std::vector<std::string> opened; // the identities open() was asked for, in order
    int enumerations = 0;
    std::vector<std::pair<std::string, std::unique_ptr<ScriptedConnection>>> connections;
    std::function<void()> onChange;
    std::optional<RefusedProgrammer> refused;
};

} // namespace tarvik::test
