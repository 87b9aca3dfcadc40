// Walks the short items of a report descriptor, summing the bits of the input and output main
// items per report id under the report size and count in force.
#include "link/hid_report_descriptor.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace tarvik {

namespace {

enum class ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2 };

namespace tag {
constexpr std::uint8_t kInput = 0x8;  // main
constexpr std::uint8_t kOutput = 0x9; // main
constexpr std::uint8_t kReportSize = 0x7;
constexpr std::uint8_t kReportId = 0x8;
constexpr std::uint8_t kReportCount = 0x9;
constexpr std::uint8_t kPush = 0xA;
constexpr std::uint8_t kPop = 0xB;
} // namespace tag

constexpr std::uint8_t kLongItem = 0xFE;
constexpr std::size_t kMaxPushDepth = 32;
constexpr std::uint64_t kMaxReportBits = 8ull * 0xFFFE; // the length must fit 16 bits with the id

struct Globals {
    std::uint64_t reportSize = 0;
    std::uint64_t reportCount = 0;
    std::uint8_t reportId = 0;
};

std::uint16_t longestReport(const std::array<std::uint64_t, 256>& bitsPerId) {
    const std::uint64_t bits = *std::max_element(bitsPerId.begin(), bitsPerId.end());
    if (bits == 0)
        return 0;
    return static_cast<std::uint16_t>(1 + (std::min(bits, kMaxReportBits) + 7) / 8);
}

} // namespace

ReportLengths parseReportDescriptor(std::span<const std::uint8_t> descriptor) {
    std::array<std::uint64_t, 256> inputBits{};
    std::array<std::uint64_t, 256> outputBits{};
    Globals globals;
    std::vector<Globals> stack;
    ReportLengths lengths;

    std::size_t i = 0;
    while (i < descriptor.size()) {
        const std::uint8_t prefix = descriptor[i];
        if (prefix == kLongItem) {
            if (i + 1 >= descriptor.size())
                break;
            i += 3 + descriptor[i + 1];
            continue;
        }
        const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (i + 1 + size > descriptor.size())
            break; // a truncated item ends the walk
        std::uint32_t value = 0;
        for (std::size_t b = 0; b < size; ++b)
            value |= static_cast<std::uint32_t>(descriptor[i + 1 + b]) << (8 * b);
        const auto type = static_cast<ItemType>((prefix >> 2) & 3);
        const std::uint8_t itemTag = prefix >> 4;
        i += 1 + size;

        if (type == ItemType::Global) {
            switch (itemTag) {
            case tag::kReportSize:
                globals.reportSize = value;
                break;
            case tag::kReportCount:
                globals.reportCount = value;
                break;
            case tag::kReportId:
                globals.reportId = static_cast<std::uint8_t>(value);
                lengths.numbered = true;
                break;
            case tag::kPush:
                if (stack.size() < kMaxPushDepth)
                    stack.push_back(globals);
                break;
            case tag::kPop:
                if (!stack.empty()) {
                    globals = stack.back();
                    stack.pop_back();
                }
                break;
            default:
                break;
            }
        } else if (type == ItemType::Main && (itemTag == tag::kInput || itemTag == tag::kOutput)) {
            auto& bits = (itemTag == tag::kInput ? inputBits : outputBits)[globals.reportId];
            bits = std::min(bits + globals.reportSize * globals.reportCount, kMaxReportBits);
        }
    }
    lengths.input = longestReport(inputBits);
    lengths.output = longestReport(outputBits);
    return lengths;
}

std::optional<HidIds> parseHidId(std::string_view text) {
    std::array<std::uint32_t, 3> fields{};
    const char* p = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t f = 0; f < fields.size(); ++f) {
        if (f > 0) {
            if (p == end || *p != ':')
                return std::nullopt;
            ++p;
        }
        const auto [next, error] = std::from_chars(p, end, fields[f], 16);
        if (error != std::errc() || next == p || fields[f] > 0xFFFF)
            return std::nullopt;
        p = next;
    }
    if (p != end)
        return std::nullopt;
    return HidIds{static_cast<std::uint16_t>(fields[0]), static_cast<std::uint16_t>(fields[1]),
                  static_cast<std::uint16_t>(fields[2])};
}

} // namespace tarvik
