// The shortened, printable form of a line that a reader's message quotes.
#include "buffer/text_lines.h"

namespace tarvik::text {

std::string printable(std::string_view line) {
    constexpr std::size_t kMaxShown = 60;
    std::string out;
    for (const char c : line.substr(0, kMaxShown))
        out +=
            static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F ? c : '?';
    if (line.size() > kMaxShown)
        out += "...";
    return out;
}

} // namespace tarvik::text
