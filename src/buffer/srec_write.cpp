// The Motorola S-record writer: a header, 16-byte data records whose address width follows the
// highest address, a count record and the end record, upper-case digits and CR LF.
#include <algorithm>
#include <array>

#include "buffer/motorola_srec.h"

namespace tarvik {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr std::size_t kRecordBytes = 16;
constexpr std::string_view kHeaderText = "tarvik";

class RecordWriter {
public:
    explicit RecordWriter(std::string& out) : out_(out) {}

    // One whole record: type, address of addressBytes bytes, data, checksum, CR LF.
    void record(int type, std::uint32_t address, std::size_t addressBytes,
                std::span<const std::uint8_t> data) {
        out_ += 'S';
        out_ += static_cast<char>('0' + type);
        sum_ = 0;
        byte(static_cast<std::uint8_t>(addressBytes + data.size() + 1));
        for (std::size_t i = addressBytes; i-- > 0;)
            byte(static_cast<std::uint8_t>(address >> (8 * i)));
        for (const std::uint8_t value : data)
            byte(value);
        byte(static_cast<std::uint8_t>(~sum_));
        out_ += "\r\n";
    }

private:
    void byte(std::uint8_t value) {
        out_ += kDigits[value >> 4];
        out_ += kDigits[value & 0x0F];
        sum_ = static_cast<std::uint8_t>(sum_ + value);
    }

    std::string& out_;
    std::uint8_t sum_ = 0;
};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string writeSRecord(std::span<const std::uint8_t> bytes) {
    // S1/S9 up to 64 KiB, S2/S8 up to 16 MiB, S3/S7 beyond.
    const std::size_t last = bytes.empty() ? 0 : bytes.size() - 1;
    const std::size_t addressBytes = last <= 0xFFFF ? 2 : last <= 0xFFFFFF ? 3 : 4;
    const int dataType = static_cast<int>(addressBytes) - 1;
    const std::size_t records = (bytes.size() + kRecordBytes - 1) / kRecordBytes;

    std::string text;
    text.reserve((records + 3) * (4 + 2 * (addressBytes + kRecordBytes + 1) + 2));
    RecordWriter writer(text);
    const auto* header = reinterpret_cast<const std::uint8_t*>(kHeaderText.data());
    writer.record(0, 0, 2, std::span(header, kHeaderText.size()));
    for (std::size_t offset = 0; offset < bytes.size(); offset += kRecordBytes)
        writer.record(dataType, static_cast<std::uint32_t>(offset), addressBytes,
                      bytes.subspan(offset, std::min(kRecordBytes, bytes.size() - offset)));
    if (records <= 0xFFFF)
        writer.record(5, static_cast<std::uint32_t>(records), 2, {});
    else
        writer.record(6, static_cast<std::uint32_t>(records), 3, {});
    writer.record(10 - dataType, 0, addressBytes, {});
    return text;
}

bool isSRecordName(std::string_view fileName) {
    static constexpr std::array<std::string_view, 5> kEndings{".s19", ".s28", ".s37", ".srec",
                                                              ".mot"};
    return std::ranges::any_of(kEndings, [&](std::string_view ending) {
        return fileName.size() >= ending.size() &&
               std::ranges::equal(fileName.substr(fileName.size() - ending.size()), ending,
                                  [](char a, char b) { return lower(a) == b; });
    });
}

} // namespace tarvik
