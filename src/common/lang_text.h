// A text that exists in the three interface languages, picked by the language code
// (0 German, 1 English, 2 Russian) at the moment it is written, and the filling in of its
// %1, %2, … placeholders.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tarvik {

struct LangText {
    std::string_view de;
    std::string_view en;
    std::string_view ru;
};

// The text for a language code; codes outside 0..2 give no text at all.
constexpr std::string_view pick(const LangText& text, std::uint8_t languageCode) {
    switch (languageCode) {
    case 0:
        return text.de;
    case 1:
        return text.en;
    case 2:
        return text.ru;
    default:
        return {};
    }
}

// Replaces %1 … %9 in the pattern by the arguments; other characters are copied unchanged.
inline std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += args.begin()[index];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

// A line filled in for every language at once, for whoever picks the language later.
using LangLine = std::array<std::string, 3>;

inline LangLine fillInAll(const LangText& text, std::initializer_list<std::string_view> args) {
    return {fillIn(text.de, args), fillIn(text.en, args), fillIn(text.ru, args)};
}

// The line for a language code; codes outside 0..2 give no text at all.
inline std::string_view pick(const LangLine& line, std::uint8_t languageCode) {
    return languageCode < line.size() ? std::string_view(line[languageCode]) : std::string_view();
}

} // namespace tarvik
