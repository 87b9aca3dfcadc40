// Telling the kinds of file apart: by the name where its rule covers it (the third character
// from the end, H or B), else by what the file starts with. Pure functions over the name and
// the file's first bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tarvik {

enum class FileKind { Hex, Binary, SRecord, Elf, Other };

// By the third character from the end of the name, case-insensitive: 'H' HEX, 'B' binary,
// anything else (and names shorter than three characters) Other. Saving goes by this alone.
FileKind fileKindOf(std::string_view fileName);

// How many of a file's first bytes fileKindOf(name, head) looks at, at most.
constexpr std::size_t kFileKindHeadBytes = 256;

// Loading: the name's kind where the name says HEX or binary; otherwise Intel HEX when the
// first non-blank character is ':', a Motorola S-record file when it is 'S' and a digit, ELF
// by its magic number, and Other for anything else.
FileKind fileKindOf(std::string_view fileName, std::span<const std::uint8_t> head);

} // namespace tarvik
