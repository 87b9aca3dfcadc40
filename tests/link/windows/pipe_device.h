// A message pipe standing in for a HID device: the far end is the device, one message one
// report; the near end is what the host opens, overlapped, like a HID device path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarvik::test {

constexpr std::size_t kReport = 65;

class PipeDevice {
public:
    // inBuffer: what the device end takes before a write from the connection waits.
    explicit PipeDevice(DWORD inBuffer = 4096) {
        static int serial = 0;
        const std::wstring name = L"\\\\.\\pipe\\tarvik-pipe-device-" +
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

    // The host's end, opened for overlapped I/O, for a connection to own.
    HANDLE takeHostEnd() { return std::exchange(host_, INVALID_HANDLE_VALUE); }
    // One report from the device: report id 0, then first, then filler.
    bool send(std::uint8_t first, std::size_t size = kReport) {
        std::vector<std::uint8_t> report(size, 0xA5);
        report[0] = 0;
        report[1] = first;
        return send(report);
    }
    bool send(const std::vector<std::uint8_t>& report) {
        const auto size = static_cast<DWORD>(report.size());
        DWORD written = 0;
        return ::WriteFile(device_, report.data(), size, &written, nullptr) && written == size;
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

} // namespace tarvik::test
