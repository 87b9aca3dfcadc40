// What the text readers of HEX and S-record files share: splitting text into lines at any of
// the usual line ends, and the value of hexadecimal digit pairs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tarvik::text {

// The value of a hexadecimal digit, upper or lower case; -1 for any other character.
constexpr std::array<std::int8_t, 256> kHexValue = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 10; ++i)
        table['0' + i] = static_cast<std::int8_t>(i);
    for (int i = 0; i < 6; ++i) {
        table['A' + i] = static_cast<std::int8_t>(10 + i);
        table['a' + i] = static_cast<std::int8_t>(10 + i);
    }
    return table;
}();

// The byte of the two digits at 0-based index i, or -1 when they are missing or not hex.
inline int pairAt(std::string_view line, std::size_t i) {
    if (i >= line.size() || line.size() - i < 2)
        return -1;
    const int high = kHexValue[static_cast<std::uint8_t>(line[i])];
    const int low = kHexValue[static_cast<std::uint8_t>(line[i + 1])];
    return high < 0 || low < 0 ? -1 : high << 4 | low;
}

// Splits text at LF, CR LF or a lone CR. Past the end it returns empty lines.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    std::string_view next() {
        ++number_;
        if (pos_ >= text_.size())
            return {};
        const char* start = text_.data() + pos_;
        const std::size_t rest = text_.size() - pos_;
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', rest));
        const std::size_t upToLf = lf ? static_cast<std::size_t>(lf - start) : rest;
        const auto* cr = static_cast<const char*>(std::memchr(start, '\r', upToLf));
        const std::size_t length = cr ? static_cast<std::size_t>(cr - start) : upToLf;
        // A CR directly before the LF belongs to it; any other CR ends the line alone.
        pos_ += cr && length + 1 != upToLf ? length + 1 : upToLf + 1;
        return {start, length};
    }
    bool atEnd() const { return pos_ >= text_.size(); }
    std::size_t number() const { return number_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

// The line as a message shows it: at most 60 characters, anything unprintable as '?'.
std::string printable(std::string_view line);

} // namespace tarvik::text
