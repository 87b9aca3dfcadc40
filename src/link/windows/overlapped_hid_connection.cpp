// OverlappedHidConnection: ReadFile and WriteFile on an overlapped device handle.
#include "link/windows/overlapped_hid_connection.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace tarvik {

OverlappedHidConnection::Events::~Events() {
    for (HANDLE event : {read, write, wake})
        if (event)
            ::CloseHandle(event);
}

std::unique_ptr<OverlappedHidConnection>
OverlappedHidConnection::make(HANDLE device, bool readWrite, std::size_t inputReportLength,
                              decltype(&CloseHandle) closeHandle) {
    auto events = std::make_unique<Events>();
    events->read = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    events->write = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    events->wake = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!events->read || !events->write || !events->wake) {
        closeHandle(device);
        return nullptr;
    }
    return std::unique_ptr<OverlappedHidConnection>(new OverlappedHidConnection(
        device, readWrite, inputReportLength, closeHandle, std::move(events)));
}

OverlappedHidConnection::OverlappedHidConnection(HANDLE device, bool readWrite,
                                                 std::size_t inputReportLength,
                                                 decltype(&CloseHandle) closeHandle,
                                                 std::unique_ptr<Events> events)
    : device_(device), readWrite_(readWrite), closeHandle_(closeHandle), events_(std::move(events)),
      readBuffer_(inputReportLength) {}

OverlappedHidConnection::~OverlappedHidConnection() {
    if (readPending_) {
        // The system writes into the buffer until the read has really ended.
        ::CancelIoEx(device_, &readOverlapped_);
        DWORD count = 0;
        ::GetOverlappedResult(device_, &readOverlapped_, &count, TRUE);
    }
    closeHandle_(device_);
}

bool OverlappedHidConnection::write(std::span<const std::uint8_t> report) {
    if (!readWrite_ || report.empty() || report.size() > UINT_MAX)
        return false;
    const auto size = static_cast<DWORD>(report.size());
    OVERLAPPED overlapped{};
    overlapped.hEvent = events_->write;
    if (!::WriteFile(device_, report.data(), size, nullptr, &overlapped) &&
        ::GetLastError() != ERROR_IO_PENDING)
        return writeFailed();
    DWORD written = 0;
    if (::WaitForSingleObject(events_->write, kWriteTimeoutMs) != WAIT_OBJECT_0) {
        // A device that takes no report: give up, but only once the system has let go of the
        // report and of the OVERLAPPED on this stack.
        ::CancelIoEx(device_, &overlapped);
        ::GetOverlappedResult(device_, &overlapped, &written, TRUE);
        return writeFailed();
    }
    if (::GetOverlappedResult(device_, &overlapped, &written, FALSE) && written == size)
        return true;
    return writeFailed();
}

bool OverlappedHidConnection::startRead() {
    readOverlapped_ = OVERLAPPED{};
    readOverlapped_.hEvent = events_->read;
    // Completed at once or pending, the event tells; only a refusal to start is a failure.
    if (!::ReadFile(device_, readBuffer_.data(), static_cast<DWORD>(readBuffer_.size()), nullptr,
                    &readOverlapped_) &&
        ::GetLastError() != ERROR_IO_PENDING)
        return false;
    readPending_ = true;
    return true;
}

int OverlappedHidConnection::read(std::span<std::uint8_t> report, int timeoutMs) {
    if (!readWrite_ || report.empty())
        return -1;
    if (!readPending_) {
        if (readBuffer_.size() < report.size())
            readBuffer_.resize(report.size());
        if (!startRead())
            return readFailed();
    }
    const HANDLE waits[] = {events_->read, events_->wake};
    const DWORD timeout = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
    switch (::WaitForMultipleObjects(2, waits, FALSE, timeout)) {
    case WAIT_OBJECT_0:
        break;
    case WAIT_OBJECT_0 + 1:
    case WAIT_TIMEOUT:
        return 0; // the read stays pending for the next call
    default:
        return readFailed();
    }
    readPending_ = false;
    DWORD count = 0;
    // Under wine an unplug fails the read with ERROR_ACCESS_DENIED, on Windows with
    // ERROR_DEVICE_NOT_CONNECTED: either way the caller asks for a rescan.
    if (!::GetOverlappedResult(device_, &readOverlapped_, &count, FALSE))
        return readFailed();
    const std::size_t length = std::min<std::size_t>({count, report.size(), readBuffer_.size()});
    std::memcpy(report.data(), readBuffer_.data(), length);
    return static_cast<int>(length);
}

int OverlappedHidConnection::readFailed() {
    if (onFailure_)
        onFailure_();
    return -1;
}

bool OverlappedHidConnection::writeFailed() {
    if (onFailure_)
        onFailure_();
    return false;
}

void OverlappedHidConnection::wakeUp() {
    ::SetEvent(events_->wake);
}

} // namespace tarvik
