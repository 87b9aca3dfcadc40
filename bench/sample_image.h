// The 1 MiB image the file benchmarks read and write: pseudo-random bytes, the same every run.
#pragma once

#include <cstdint>
#include <vector>

inline std::vector<std::uint8_t> sampleImage() {
    std::vector<std::uint8_t> bytes(1024 * 1024);
    std::uint32_t state = 12345;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
}
