// Telling HEX, binary and other files apart by one character of the name, and by the content
// where the name says neither.
#include "buffer/file_kind.h"

#include <algorithm>
#include <array>

namespace tarvik {
namespace {

constexpr std::array<std::uint8_t, 4> kElfMagic{0x7F, 'E', 'L', 'F'};

bool blank(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

FileKind kindByContent(std::span<const std::uint8_t> head) {
    if (head.size() >= kElfMagic.size() &&
        std::equal(kElfMagic.begin(), kElfMagic.end(), head.begin()))
        return FileKind::Elf;
    const auto first = std::find_if_not(head.begin(), head.end(), blank);
    if (first == head.end())
        return FileKind::Other;
    if (*first == ':')
        return FileKind::Hex;
    const auto next = first + 1;
    if (*first == 'S' && next != head.end() && *next >= '0' && *next <= '9')
        return FileKind::SRecord;
    return FileKind::Other;
}

} // namespace

FileKind fileKindOf(std::string_view fileName) {
    if (fileName.size() < 3)
        return FileKind::Other;
    switch (fileName[fileName.size() - 3]) {
    case 'H':
    case 'h':
        return FileKind::Hex;
    case 'B':
    case 'b':
        return FileKind::Binary;
    default:
        return FileKind::Other;
    }
}

FileKind fileKindOf(std::string_view fileName, std::span<const std::uint8_t> head) {
    const FileKind byName = fileKindOf(fileName);
    return byName != FileKind::Other
               ? byName
               : kindByContent(head.first(std::min(head.size(), kFileKindHeadBytes)));
}

} // namespace tarvik
