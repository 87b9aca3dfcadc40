// A text that exists in the three interface languages, picked by the language code
// (0 German, 1 English, 2 Russian) at the moment it is written.
#pragma once

#include <cstdint>
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

} // namespace tarvik
