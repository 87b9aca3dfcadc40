// An opened HID device on Windows: overlapped writes bounded in time, and one overlapped read
// that stays pending from one call of read() to the next, waited for together with a wake-up
// event. Every failure of either counts as the device being gone, and is reported as such.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "link/hid_backend.h"

namespace tarvik {

class OverlappedHidConnection : public HidConnection {
public:
    // How long a write may take before it is cancelled and counts as failed.
    static constexpr DWORD kWriteTimeoutMs = 1000;

    // Takes the handle, opened with FILE_FLAG_OVERLAPPED when readWrite; closes it with
    // closeHandle. inputReportLength: the device's input reports, report id included (the
    // system refuses reads into anything shorter). Nullptr when the events cannot be made.
    static std::unique_ptr<OverlappedHidConnection> make(HANDLE device, bool readWrite,
                                                         std::size_t inputReportLength,
                                                         decltype(&CloseHandle) closeHandle);
    // Cancels the I/O still pending and waits for it before the buffers go.
    ~OverlappedHidConnection() override;
    OverlappedHidConnection(const OverlappedHidConnection&) = delete;
    OverlappedHidConnection& operator=(const OverlappedHidConnection&) = delete;

    // Before the first read or write: called, on the thread that read or wrote, whenever a read
    // or a write fails.
    void setOnFailure(std::function<void()> onFailure) { onFailure_ = std::move(onFailure); }

    bool readWriteAccess() const override { return readWrite_; }
    bool write(std::span<const std::uint8_t> report) override;
    int read(std::span<std::uint8_t> report, int timeoutMs) override;
    void wakeUp() override;

private:
    struct Events {
        HANDLE read = nullptr;  // manual reset, the pending read's
        HANDLE write = nullptr; // manual reset, the running write's
        HANDLE wake = nullptr;  // auto reset, set by wakeUp()
        ~Events();
    };
    OverlappedHidConnection(HANDLE device, bool readWrite, std::size_t inputReportLength,
                            decltype(&CloseHandle) closeHandle, std::unique_ptr<Events> events);
    // Starts a read unless one is pending. False when it cannot be started.
    bool startRead();
    // A read or a write failed: tell whoever asked, and give what read() or write() returns.
    int readFailed();
    bool writeFailed();

    HANDLE device_;
    bool readWrite_;
    decltype(&CloseHandle) closeHandle_;
    std::unique_ptr<Events> events_;
    std::function<void()> onFailure_;
    // The read thread's alone: the pending read and the buffer it fills.
    OVERLAPPED readOverlapped_{};
    std::vector<std::uint8_t> readBuffer_;
    bool readPending_ = false;
};

} // namespace tarvik
