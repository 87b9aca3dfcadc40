// A minimal host for the emulator tests: builds command reports the way the client lays them
// out and sends data in chunks, collecting the answer codes as a string ("**w", "!", ...).
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "emulator/virtual_programmer.h"

namespace tarvik::emulator::test {

struct Host {
    VirtualProgrammer& programmer;
    Family family;

    OutputReportBytes report(Command command, std::uint8_t p1 = 0, std::uint8_t p2 = 0,
                             std::uint8_t p3 = 0) const {
        OutputReportBytes bytes{};
        bytes[report::kFamily] = static_cast<std::uint8_t>(family);
        bytes[report::kCommand] = static_cast<std::uint8_t>(command);
        bytes[report::kParam1] = p1;
        bytes[report::kParam2] = p2;
        bytes[report::kParam3] = p3;
        return bytes;
    }

    DeviceReply send(const OutputReportBytes& bytes) const {
        return programmer.onOutputReport(bytes);
    }

    // The answer code of a command answered by one report.
    std::string code(Command command, std::uint8_t p1 = 0, std::uint8_t p2 = 0,
                     std::uint8_t p3 = 0) const {
        return codes(send(report(command, p1, p2, p3)));
    }

    static std::string codes(const DeviceReply& reply) {
        std::string text;
        for (const auto& input : reply.reports) {
            text += static_cast<char>(input[1]);
        }
        return text;
    }

    // Sends data as consecutive chunks of at most chunkSize bytes; the more-chunks flag is
    // `more` on every chunk but the last. Stops at the first answer other than '*', a missing
    // answer included.
    std::string chunks(Command command, std::span<const std::uint8_t> data,
                       std::size_t chunkSize = 58, std::uint8_t p3 = 0,
                       std::uint8_t more = 1) const {
        std::string answers;
        std::size_t pos = 0;
        while (true) {
            const std::size_t count = std::min(chunkSize, data.size() - pos);
            const bool last = pos + count == data.size();
            auto bytes = report(command, static_cast<std::uint8_t>(count), last ? 0 : more, p3);
            std::ranges::copy(data.subspan(pos, count), bytes.begin() + report::kData);
            const std::string answer = codes(send(bytes));
            answers += answer;
            pos += count;
            if (last || answer != "*") {
                break;
            }
        }
        return answers;
    }

    // The data of a read, checking every report's count on the way.
    std::vector<std::uint8_t> read(Command command, std::uint8_t p1,
                                   std::size_t* reportCount = nullptr) const {
        const DeviceReply reply = send(report(command, p1));
        std::vector<std::uint8_t> data;
        for (const auto& input : reply.reports) {
            const std::size_t count = std::min<std::size_t>(input[1], input.size() - 2);
            data.insert(data.end(), input.begin() + 2, input.begin() + 2 + count);
        }
        if (reportCount != nullptr) {
            *reportCount = reply.reports.size();
        }
        return data;
    }
};

inline std::vector<std::uint8_t> pattern(std::size_t size, std::uint8_t seed = 0) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + seed + 1);
    }
    return bytes;
}

} // namespace tarvik::emulator::test
