// What the fuzz targets share: the fuzzer's bytes read as a stream of choices and pieces, and
// a stop at once, with a message, when an invariant breaks (so libFuzzer keeps the input).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(data, size) {}

    bool empty() const { return rest_.empty(); }
    std::size_t size() const { return rest_.size(); }

    // The next byte, or 0 once the input is used up.
    std::uint8_t byte() {
        if (rest_.empty())
            return 0;
        const std::uint8_t value = rest_.front();
        rest_ = rest_.subspan(1);
        return value;
    }
    // The next two bytes as a big-endian number.
    std::uint16_t word() {
        const std::uint16_t high = byte();
        return static_cast<std::uint16_t>(high << 8 | byte());
    }
    // One of count choices (count > 0), from the next byte.
    std::size_t choice(std::size_t count) { return byte() % count; }

    // Up to n bytes, fewer at the end of the input.
    std::span<const std::uint8_t> take(std::size_t n) {
        const std::span<const std::uint8_t> piece = rest_.first(std::min(n, rest_.size()));
        rest_ = rest_.subspan(piece.size());
        return piece;
    }
    std::span<const std::uint8_t> rest() { return take(rest_.size()); }

    // The rest as text split at NUL bytes, as a program's arguments arrive.
    std::vector<std::string> arguments() {
        std::vector<std::string> args;
        if (rest_.empty())
            return args;
        const std::span<const std::uint8_t> all = rest();
        std::string current;
        for (const std::uint8_t c : all) {
            if (c == 0) {
                args.push_back(std::move(current));
                current.clear();
            } else {
                current += static_cast<char>(c);
            }
        }
        args.push_back(std::move(current));
        return args;
    }

private:
    std::span<const std::uint8_t> rest_;
};

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Aborts with the broken invariant's description: a crash to the fuzzer and to ctest alike.
inline void require(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", invariant);
        std::abort();
    }
}

} // namespace tarvik::fuzz
