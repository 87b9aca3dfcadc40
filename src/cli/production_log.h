// The production log of --log-csv: one row per chip and job, appended to a CSV file (RFC 4180)
// and flushed at once, the header only when the file is new. A row already in the file is
// never rewritten.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::cli {

struct ProductionRecord {
    std::string time;  // ISO 8601 local time with its offset
    std::string label; // the programmer's label, "1" for a single one
    std::string node;
    std::string job; // the command's name
    std::string chip;
    std::string signature; // "1E 93 07", empty without one
    std::optional<std::size_t> imageBytes;
    std::optional<std::uint32_t> crc32;
    std::string serial; // the serial number written, or empty
    bool succeeded = false;
    std::chrono::milliseconds duration{0};
    std::string errorLine;
};

// The header's field names, in the order of the row.
inline constexpr std::array<std::string_view, 12> kProductionLogHeader{
    "time",  "label", "node",   "job",    "chip",    "signature",
    "bytes", "crc32", "serial", "result", "seconds", "error"};

// One CSV line (CR LF at its end): a field holding a comma, a quote or a line break in quotes,
// its quotes doubled.
std::string csvLine(std::span<const std::string> fields);

// The records of a CSV text (RFC 4180: quoted fields with doubled quotes and line breaks),
// each ended by CR LF.
std::vector<std::vector<std::string>> readCsv(std::string_view text);

// The record's fields, in the header's order.
std::array<std::string, 12> productionFields(const ProductionRecord& record);

// The moment as ISO 8601 local time with the offset: 2026-03-01T14:05:09+01:00.
std::string isoLocalTime(std::chrono::system_clock::time_point when);

// Appends a row of fields (after the header when the file is new or empty) and flushes it.
// Throws UserError when the file cannot be written.
void appendProductionFields(const std::string& fileName, std::span<const std::string> fields,
                            std::uint8_t language);

// Appends the record (after the header when the file is new or empty) and flushes it. Throws
// UserError when the file cannot be written.
void appendProductionRecord(const std::string& fileName, const ProductionRecord& record,
                            std::uint8_t language);

} // namespace tarvik::cli
