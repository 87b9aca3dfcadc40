// Small builders shared by the buffer tests: HEX records with a correct checksum and byte runs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace tarvik::test {

using Bytes = std::vector<std::uint8_t>;

// One record line (no line end) with the checksum worked out.
inline std::string record(std::uint16_t address, std::uint8_t type,
                          std::initializer_list<std::uint8_t> data) {
    std::string line = ":";
    unsigned sum = 0;
    const auto put = [&](unsigned value) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", value & 0xFF);
        line += digits;
        sum += value;
    };
    put(static_cast<unsigned>(data.size()));
    put(address >> 8u);
    put(address & 0xFFu);
    put(type);
    for (const auto byte : data)
        put(byte);
    put((0x100 - (sum & 0xFF)) & 0xFF);
    return line;
}

inline Bytes run(std::size_t count, std::uint8_t value) {
    return Bytes(count, value);
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Bytes 0, 1, 2, … wrapping at 251 so that no two 64 KiB pages look alike.
inline Bytes pattern(std::size_t count) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 251);
    return bytes;
}

} // namespace tarvik::test
