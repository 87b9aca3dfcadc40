// Intel HEX text to bytes and back. Pure functions over strings and bytes; the file access is
// in file_io.h, telling file kinds apart in file_kind.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/file_kind.h"
#include "common/lang_text.h"

namespace tarvik {

// The largest image or binary file the program accepts.
constexpr std::size_t kMaxImageBytes = 16u * 1024 * 1024;
// The largest HEX text accepted: room for a full-size image in records of 8 bytes or more.
constexpr std::size_t kMaxHexFileBytes = 4 * kMaxImageBytes;

enum class HexStatus {
    Ok,
    NotHex,          // a line too short for count, address or type, a field not hex, no end record
    BadChecksum,     // a record whose checksum does not match
    TooLarge,        // the image would exceed kMaxImageBytes
    ConversionError, // a data or checksum field that is not hex, or fewer data digits than counted
};

struct HexReadResult {
    HexStatus status = HexStatus::Ok;
    std::vector<std::uint8_t> bytes; // the image when status is Ok
    std::size_t line = 0;            // the 1-based line of a failure (0 for TooLarge)
    std::string detail;              // ConversionError: the offending line, shortened and printable
};

HexReadResult readIntelHex(std::string_view text);

// The message shown for a failed read, in the given language (empty for Ok).
std::string hexReadMessage(const HexReadResult& result, std::uint8_t languageCode);

// 16-byte records, upper-case digits, CR LF, last record padded with FF, extended linear
// address records above 64 KiB, and ":00000001FF" with no line end.
std::string writeIntelHex(std::span<const std::uint8_t> bytes);

} // namespace tarvik
