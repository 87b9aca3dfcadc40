// Motorola S-record text to bytes and back. Pure functions over strings and bytes, beside the
// Intel HEX ones (intel_hex.h), with the same size limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

enum class SRecordStatus {
    Ok,
    BadLine,     // not "S", a type, a count and as many digit pairs as counted, or type S4
    BadChecksum, // a record whose checksum does not match
    BadCount,    // an S5/S6 count that differs from the data records before it
    TooLarge,    // the image would exceed kMaxImageBytes
};

struct SRecordReadResult {
    SRecordStatus status = SRecordStatus::Ok;
    std::vector<std::uint8_t> bytes; // the image when status is Ok
    std::size_t line = 0;            // the 1-based line of a failure
    std::string detail;              // BadLine: the line, shortened and printable
    std::uint32_t counted = 0;       // BadCount: what the count record says
    std::uint32_t found = 0;         // BadCount: the data records before it
};

// S1/S2/S3 data at their addresses (0xFF where none writes), S0 ignored, S5/S6 checked, reading
// ends at S7/S8/S9 or the end of the text (srec_cat writes no end record without a start
// address). Blank lines are skipped. Every record's checksum is verified.
SRecordReadResult readSRecord(std::string_view text);

// The message shown for a failed read, in the given language (empty for Ok).
std::string sRecordReadMessage(const SRecordReadResult& result, std::uint8_t languageCode);

// An S0 header, data records of 16 bytes (S1, S2 or S3 by the highest address), a count record
// (S5, or S6 above 65,535 records) and the matching end record, each line ended by CR LF.
std::string writeSRecord(std::span<const std::uint8_t> bytes);

// Whether a file of this name is saved as S-record: .s19, .s28, .s37, .srec or .mot, any case.
bool isSRecordName(std::string_view fileName);

} // namespace tarvik
