// The Intel HEX writer: 16-byte data records with upper-case digits and CR LF, the last one
// padded with FF, an extended linear address record at every 64 KiB boundary after the first,
// and the end record with no line end.
#include "buffer/intel_hex.h"

namespace tarvik {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr std::size_t kRecordBytes = 16;
constexpr std::size_t kSegmentBytes = 0x10000;
constexpr std::string_view kEndRecord = ":00000001FF";

class RecordWriter {
public:
    explicit RecordWriter(char* out) : out_(out) {}

    // Writes ":" and the count, address and type, opening a record.
    void open(std::uint8_t count, std::uint16_t address, std::uint8_t type) {
        *out_++ = ':';
        sum_ = 0;
        byte(count);
        byte(static_cast<std::uint8_t>(address >> 8));
        byte(static_cast<std::uint8_t>(address));
        byte(type);
    }
    void byte(std::uint8_t value) {
        *out_++ = kDigits[value >> 4];
        *out_++ = kDigits[value & 0x0F];
        sum_ = static_cast<std::uint8_t>(sum_ + value);
    }
    void close() {
        byte(static_cast<std::uint8_t>(0x100 - sum_));
        *out_++ = '\r';
        *out_++ = '\n';
    }
    char* position() const { return out_; }

private:
    char* out_;
    std::uint8_t sum_ = 0;
};

} // namespace

std::string writeIntelHex(std::span<const std::uint8_t> bytes) {
    const std::size_t records = (bytes.size() + kRecordBytes - 1) / kRecordBytes;
    const std::size_t segments = bytes.empty() ? 0 : (bytes.size() - 1) / kSegmentBytes;
    constexpr std::size_t kDataLine = 1 + 8 + 2 * kRecordBytes + 2 + 2;
    constexpr std::size_t kAddressLine = 1 + 8 + 4 + 2 + 2;
    std::string text(records * kDataLine + segments * kAddressLine + kEndRecord.size(), '\0');

    RecordWriter writer(text.data());
    for (std::size_t offset = 0; offset < bytes.size(); offset += kRecordBytes) {
        if (offset % kSegmentBytes == 0 && offset != 0) {
            const auto upper = static_cast<std::uint16_t>(offset / kSegmentBytes);
            writer.open(2, 0, 0x04);
            writer.byte(static_cast<std::uint8_t>(upper >> 8));
            writer.byte(static_cast<std::uint8_t>(upper));
            writer.close();
        }
        writer.open(kRecordBytes, static_cast<std::uint16_t>(offset % kSegmentBytes), 0x00);
        for (std::size_t i = offset; i < offset + kRecordBytes; ++i)
            writer.byte(i < bytes.size() ? bytes[i] : 0xFF);
        writer.close();
    }
    kEndRecord.copy(writer.position(), kEndRecord.size());
    return text;
}

} // namespace tarvik
