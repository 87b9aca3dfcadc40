// Programmers for tests that want every byte under their control: each output report is
// recorded and answered by a script, so a test can check the reports byte for byte and feed
// the engine answers no real programmer would give (short, oversized, out of turn).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <span>
#include <vector>

#include "protocol/virtual_device.h"

namespace tarvik::scenario {

using Bytes = std::vector<std::uint8_t>;

// An input report: report id 0, then the payload bytes, zero-padded to 65 bytes.
InputReportBytes inputReport(std::span<const std::uint8_t> payload);
InputReportBytes inputReport(std::initializer_list<std::uint8_t> payload);

class ScriptedProgrammer : public VirtualDevice {
public:
    // Answers one output report (report id first); the default answers nothing.
    std::function<std::vector<InputReportBytes>(std::span<const std::uint8_t>)> respond;

    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override;

    // Every output report received so far, whole.
    std::vector<Bytes> reports() const;
    // Their command bytes (offset 2), in order.
    Bytes commands() const;

private:
    mutable std::mutex mutex_;
    std::vector<Bytes> reports_;
};

// A well-behaved programmer in a few lines: the success answer to every command, a signature,
// a fuse answer, and an image served in 63-byte data reports for flash and EEPROM reads. The
// k-th command (counting from 1) can be made to fail with '!'.
class AnsweringProgrammer : public ScriptedProgrammer {
public:
    Bytes signature{0x1E, 0x93, 0x07};
    Bytes fuseValues;      // the bytes after 'r'
    Bytes readImage;       // served whole to every read
    int failCommand = 0;   // 0: none
    int silentCommand = 0; // 0: none; that command gets no answer at all

    AnsweringProgrammer();

private:
    int commandCount_ = 0;
    bool chunkedWrite_ = false;
};

} // namespace tarvik::scenario
