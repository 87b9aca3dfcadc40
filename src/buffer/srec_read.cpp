// The Motorola S-record reader: one pass, every record's count, digits and checksum checked
// before its data are placed in an image that grows with them (0xFF where no record writes).
#include <algorithm>
#include <array>
#include <cstring>

#include "buffer/buffer_texts.h"
#include "buffer/intel_hex.h"
#include "buffer/motorola_srec.h"
#include "buffer/text_lines.h"

namespace tarvik {
namespace {

// The address bytes of each record type S0..S9; 0 for the reserved S4.
constexpr std::array<std::uint8_t, 10> kAddressBytes{2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

bool isData(int type) {
    return type >= 1 && type <= 3;
}
bool isCount(int type) {
    return type == 5 || type == 6;
}
bool isEnd(int type) {
    return type >= 7;
}

struct Record {
    int type = 0;
    std::uint32_t address = 0;
    std::size_t size = 0; // data bytes
    std::array<std::uint8_t, 255> data;
};

// Decodes a line "S", type, count, address, data, checksum; the count covers address, data and
// checksum, and the line holds exactly that many pairs.
SRecordStatus decode(std::string_view line, Record& record) {
    if (line.size() < 4 || line[0] != 'S' || line[1] < '0' || line[1] > '9')
        return SRecordStatus::BadLine;
    record.type = line[1] - '0';
    const int count = text::pairAt(line, 2);
    const std::size_t addressBytes = kAddressBytes[static_cast<std::size_t>(record.type)];
    if (count < 0 || addressBytes == 0 || static_cast<std::size_t>(count) < addressBytes + 1 ||
        line.size() != 4 + 2 * static_cast<std::size_t>(count))
        return SRecordStatus::BadLine;
    unsigned sum = static_cast<unsigned>(count);
    record.address = 0;
    record.size = static_cast<std::size_t>(count) - addressBytes - 1;
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        const std::size_t at = 4 + 2 * i;
        const int high = text::kHexValue[static_cast<std::uint8_t>(line[at])];
        const int low = text::kHexValue[static_cast<std::uint8_t>(line[at + 1])];
        if ((high | low) < 0)
            return SRecordStatus::BadLine;
        const auto value = static_cast<std::uint8_t>(high << 4 | low);
        sum += value;
        if (i < addressBytes)
            record.address = record.address << 8 | value;
        else if (i - addressBytes < record.size)
            record.data[i - addressBytes] = value;
    }
    // The checksum is the ones' complement of the other bytes' sum: all of them add up to FF.
    return (sum & 0xFF) == 0xFF ? SRecordStatus::Ok : SRecordStatus::BadChecksum;
}

SRecordReadResult failure(SRecordStatus status, std::size_t line, std::string detail = {}) {
    SRecordReadResult result;
    result.status = status;
    result.line = line;
    result.detail = std::move(detail);
    return result;
}

} // namespace

SRecordReadResult readSRecord(std::string_view text) {
    SRecordReadResult result;
    // Each data byte takes two digits: room for the usual image without a gap, allocated once.
    result.bytes.reserve(std::min(text.size() / 2, kMaxImageBytes));
    text::LineReader lines(text);
    Record record;
    std::uint32_t dataRecords = 0;
    for (;;) {
        if (lines.atEnd())
            break;
        const std::string_view line = lines.next();
        if (line.empty())
            continue;
        const SRecordStatus status = decode(line, record);
        if (status != SRecordStatus::Ok)
            return failure(status, lines.number(),
                           status == SRecordStatus::BadLine ? text::printable(line) : "");
        if (isEnd(record.type))
            break;
        if (isCount(record.type) && record.address != dataRecords) {
            SRecordReadResult mismatch = failure(SRecordStatus::BadCount, lines.number());
            mismatch.counted = record.address;
            mismatch.found = dataRecords;
            return mismatch;
        }
        if (!isData(record.type))
            continue;
        ++dataRecords;
        const std::uint64_t end = std::uint64_t{record.address} + record.size;
        if (end > kMaxImageBytes)
            return failure(SRecordStatus::TooLarge, lines.number());
        if (end > result.bytes.size())
            result.bytes.resize(static_cast<std::size_t>(end), 0xFF);
        if (record.size != 0)
            std::memcpy(result.bytes.data() + record.address, record.data.data(), record.size);
    }
    return result;
}

std::string sRecordReadMessage(const SRecordReadResult& result, std::uint8_t languageCode) {
    const std::string line = std::to_string(result.line);
    switch (result.status) {
    case SRecordStatus::Ok:
        return {};
    case SRecordStatus::BadLine:
        return fillIn(pick(texts::kSRecordBadLine, languageCode), {line, result.detail});
    case SRecordStatus::BadChecksum:
        return fillIn(pick(texts::kSRecordBadChecksum, languageCode), {line});
    case SRecordStatus::BadCount:
        return fillIn(pick(texts::kSRecordBadCount, languageCode),
                      {line, std::to_string(result.counted), std::to_string(result.found)});
    case SRecordStatus::TooLarge:
        return fillIn(pick(texts::kImageTooLarge, languageCode),
                      {std::to_string(kMaxImageBytes / (1024 * 1024))});
    }
    return {};
}

} // namespace tarvik
