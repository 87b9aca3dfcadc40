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

// One S-record line (no line end) of the given type with the checksum worked out; the address
// takes the type's width (2 bytes for S0/S1/S5/S9, 3 for S2/S6/S8, 4 for S3/S7).
inline std::string srecord(int type, std::uint32_t address,
                           std::initializer_list<std::uint8_t> data) {
    static constexpr int kAddressBytes[] = {2, 2, 3, 4, 2, 2, 3, 4, 3, 2};
    const int addressBytes = kAddressBytes[type];
    std::string line = std::string("S") + std::to_string(type);
    unsigned sum = 0;
    const auto put = [&](unsigned value) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", value & 0xFF);
        line += digits;
        sum += value & 0xFF;
    };
    put(static_cast<unsigned>(addressBytes + data.size() + 1));
    for (int i = addressBytes - 1; i >= 0; --i)
        put(address >> (8 * i));
    for (const auto byte : data)
        put(byte);
    put(~sum);
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
