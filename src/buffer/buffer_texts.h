// The messages of the buffer and file layer in the three interface languages, and the one
// routine that fills their %1, %2 placeholders.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/lang_text.h"

namespace tarvik {

enum class BufferText {
    NoHexFile,
    WrongChecksum,
    ImageTooLarge,
    BadRecord,
    CannotOpen,
    CannotRead,
    CannotWrite,
    CannotReplace,
    FileTooLarge,
    NotARegularFile,
};

// The text for the language, with %1, %2, … replaced by the arguments in order.
std::string bufferText(BufferText text, std::uint8_t languageCode,
                       std::initializer_list<std::string_view> args = {});

// Replaces %1 … %9 in the pattern by the arguments; other characters are copied unchanged.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> args);

} // namespace tarvik
