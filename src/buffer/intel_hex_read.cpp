// The Intel HEX reader. The first pass checks that every line up to the end record has a count,
// an address and a type; the second verifies checksums and data digits and places the data in
// an image that grows with it (0xFF where no record writes), up to the size limit. Lines after
// the end record are never looked at.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "buffer/buffer_texts.h"
#include "buffer/intel_hex.h"
#include "buffer/text_lines.h"

namespace tarvik {
namespace {

enum RecordType : std::uint8_t {
    kData = 0x00,
    kEnd = 0x01,
    kExtendedSegment = 0x02,
    kExtendedLinear = 0x04,
};

using text::kHexValue;
using text::LineReader;
using text::pairAt;

struct Fields {
    std::size_t count;
    std::size_t address;
    std::uint8_t type;
};

// Count (positions 2-3), address (4-7) and type (8-9); the record mark is not examined.
std::optional<Fields> fieldsOf(std::string_view line) {
    const int count = pairAt(line, 1);
    const int high = pairAt(line, 3);
    const int low = pairAt(line, 5);
    const int type = pairAt(line, 7);
    if (count < 0 || high < 0 || low < 0 || type < 0)
        return std::nullopt;
    return Fields{static_cast<std::size_t>(count), static_cast<std::size_t>(high << 8 | low),
                  static_cast<std::uint8_t>(type)};
}

// The first data pair of a record sits at 0-based index 9.
constexpr std::size_t kDataStart = 9;

// A record's data bytes, decoded while its checksum is verified.
struct RecordData {
    std::array<std::uint8_t, 255> bytes;
};

// The checksum sums every pair from position 2 up to the last two characters, which hold it.
// The data must lie wholly before the checksum.
HexStatus checkRecord(std::string_view line, const Fields& fields, RecordData& data) {
    const std::size_t m = line.size();
    unsigned sum = 0;
    for (std::size_t i = 1; i + 3 <= m; i += 2) {
        const int high = kHexValue[static_cast<std::uint8_t>(line[i])];
        const int low = kHexValue[static_cast<std::uint8_t>(line[i + 1])];
        if ((high | low) < 0)
            return HexStatus::ConversionError;
        const auto value = static_cast<std::uint8_t>(high << 4 | low);
        sum += value;
        const std::size_t index = (i - kDataStart) / 2;
        if (i >= kDataStart && index < fields.count)
            data.bytes[index] = value;
    }
    const int checksum = pairAt(line, m - 2);
    if (checksum < 0)
        return HexStatus::ConversionError;
    if ((sum + static_cast<unsigned>(checksum)) % 256 != 0)
        return HexStatus::BadChecksum;
    if (fields.type != kEnd && kDataStart + 2 * fields.count + 2 > m)
        return HexStatus::ConversionError;
    return HexStatus::Ok;
}

// Where data records land: an extended linear address adds its value << 16; an extended
// segment address adds its value << 4 and wraps the offset within 64 KiB, as the format says.
struct AddressBase {
    std::uint64_t offset = 0;
    bool segmented = false;

    void apply(const RecordData& data, std::uint8_t type) {
        const auto value = static_cast<std::uint64_t>(data.bytes[0] << 8 | data.bytes[1]);
        segmented = type == kExtendedSegment;
        offset = segmented ? value << 4 : value << 16;
    }
    std::uint64_t end(const Fields& f) const {
        return offset + (segmented ? std::min<std::size_t>(f.address + f.count, 0x10000)
                                   : f.address + f.count);
    }
    void place(const RecordData& data, const Fields& f, std::uint8_t* image) const {
        if (f.count == 0)
            return;
        const std::size_t first =
            segmented ? std::min<std::size_t>(f.count, 0x10000 - f.address) : f.count;
        std::memcpy(image + offset + f.address, data.bytes.data(), first);
        if (first < f.count)
            std::memcpy(image + offset, data.bytes.data() + first, f.count - first);
    }
};

bool isAddressRecord(std::uint8_t type) {
    return type == kExtendedSegment || type == kExtendedLinear;
}

// Data, and any type the format does not define (start addresses, 03 and 05, are skipped).
bool isDataRecord(std::uint8_t type) {
    return type == kData || type > 0x05;
}

HexReadResult failure(HexStatus status, std::size_t line, std::string detail = {}) {
    HexReadResult result;
    result.status = status;
    result.line = line;
    result.detail = std::move(detail);
    return result;
}

} // namespace

HexReadResult readIntelHex(std::string_view text) {
    // Pass 1: every line up to the end record has its count, address and type; address
    // records carry their two bytes. On the way, the size the image will have if the checksums
    // hold, so that pass 2 allocates it once.
    std::uint64_t sizeHint = 0;
    {
        LineReader lines(text);
        AddressBase base;
        RecordData address{};
        for (;;) {
            const std::string_view line = lines.next();
            const auto fields = fieldsOf(line);
            if (!fields || (isAddressRecord(fields->type) && fields->count != 2))
                return failure(HexStatus::NotHex, lines.number());
            if (fields->type == kEnd)
                break;
            const int high = pairAt(line, kDataStart);
            const int low = pairAt(line, kDataStart + 2);
            if (isAddressRecord(fields->type) && high >= 0 && low >= 0) {
                address.bytes[0] = static_cast<std::uint8_t>(high);
                address.bytes[1] = static_cast<std::uint8_t>(low);
                base.apply(address, fields->type);
            } else if (isDataRecord(fields->type)) {
                sizeHint = std::max(sizeHint, base.end(*fields));
            }
        }
    }

    // Pass 2: checksums and digits, and the data placed, later records over earlier ones.
    // The image grows with the data; a record beyond the limit is never placed.
    HexReadResult result;
    result.bytes.reserve(
        static_cast<std::size_t>(std::min<std::uint64_t>(sizeHint, kMaxImageBytes)));
    bool tooLarge = false;
    LineReader lines(text);
    AddressBase base;
    RecordData data;
    for (;;) {
        const std::string_view line = lines.next();
        const Fields fields = *fieldsOf(line);
        const HexStatus status = checkRecord(line, fields, data);
        if (status != HexStatus::Ok)
            return failure(status, lines.number(),
                           status == HexStatus::ConversionError ? text::printable(line) : "");
        const bool isData = isDataRecord(fields.type);
        std::uint64_t end = 0;
        if (fields.type == kEnd)
            end = fields.address + fields.count;
        else if (isAddressRecord(fields.type))
            base.apply(data, fields.type);
        else if (isData)
            end = base.end(fields);
        tooLarge = tooLarge || end > kMaxImageBytes;
        if (!tooLarge && end > result.bytes.size())
            result.bytes.resize(static_cast<std::size_t>(end), 0xFF);
        if (fields.type == kEnd)
            break;
        if (!tooLarge && isData)
            base.place(data, fields, result.bytes.data());
    }
    if (tooLarge)
        return failure(HexStatus::TooLarge, 0);
    return result;
}

std::string hexReadMessage(const HexReadResult& result, std::uint8_t languageCode) {
    switch (result.status) {
    case HexStatus::Ok:
        return {};
    case HexStatus::NotHex:
        return std::string(pick(texts::kNoHexFile, languageCode));
    case HexStatus::BadChecksum:
        return std::string(pick(texts::kWrongChecksum, languageCode));
    case HexStatus::TooLarge:
        return fillIn(pick(texts::kImageTooLarge, languageCode),
                      {std::to_string(kMaxImageBytes / (1024 * 1024))});
    case HexStatus::ConversionError:
        return fillIn(pick(texts::kBadRecord, languageCode),
                      {std::to_string(result.line), result.detail});
    }
    return {};
}

} // namespace tarvik
