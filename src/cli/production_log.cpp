// Writing the production log: CSV quoting, the local time with its offset, and the append that
// never touches the rows already there.
#include "cli/production_log.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli/cli_texts.h"
#include "common/user_error.h"
#include "platform/file_name.h"
#include "platform/local_time.h"

namespace tarvik::cli {

namespace {

std::string twoDigits(long value) {
    return std::string{static_cast<char>('0' + value / 10 % 10),
                       static_cast<char>('0' + value % 10)};
}

std::string hex8(std::uint32_t value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[value & 0x0F];
    return text;
}

// Seconds with three decimals.
std::string secondsText(std::chrono::milliseconds time) {
    const auto ms = time.count();
    std::string text = std::to_string(ms / 1000);
    text += '.';
    text += std::to_string(ms % 1000 + 1000).substr(1);
    return text;
}

} // namespace

std::string csvLine(std::span<const std::string> fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0)
            line += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            line += field;
            continue;
        }
        line += '"';
        for (const char c : field) {
            if (c == '"')
                line += '"';
            line += c;
        }
        line += '"';
    }
    line += "\r\n";
    return line;
}

std::array<std::string, 12> productionFields(const ProductionRecord& r) {
    return {r.time,
            r.label,
            r.node,
            r.job,
            r.chip,
            r.signature,
            r.imageBytes ? std::to_string(*r.imageBytes) : std::string(),
            r.crc32 ? hex8(*r.crc32) : std::string(),
            r.serial,
            r.succeeded ? "OK" : "FAILED",
            secondsText(r.duration),
            r.errorLine};
}

std::string isoLocalTime(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(when);
    const std::int64_t offset = platform::utcOffsetSeconds(system_clock::to_time_t(when));
    const auto local = seconds + std::chrono::seconds(offset);
    const auto day = floor<days>(local);
    const year_month_day date{day};
    const hh_mm_ss<std::chrono::seconds> time{local - day};
    std::string text = std::to_string(static_cast<int>(date.year()));
    text += '-';
    text += twoDigits(static_cast<long>(static_cast<unsigned>(date.month())));
    text += '-';
    text += twoDigits(static_cast<long>(static_cast<unsigned>(date.day())));
    text += 'T';
    text += twoDigits(time.hours().count());
    text += ':';
    text += twoDigits(time.minutes().count());
    text += ':';
    text += twoDigits(static_cast<long>(time.seconds().count()));
    const std::int64_t minutes = (offset < 0 ? -offset : offset) / 60;
    text += offset < 0 ? '-' : '+';
    text += twoDigits(static_cast<long>(minutes / 60));
    text += ':';
    text += twoDigits(static_cast<long>(minutes % 60));
    return text;
}

std::vector<std::vector<std::string>> readCsv(std::string_view text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            record.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(record));
            record.clear();
        } else {
            field += c;
        }
    }
    return records;
}

void appendProductionRecord(const std::string& fileName, const ProductionRecord& record,
                            std::uint8_t language) {
    appendProductionFields(fileName, productionFields(record), language);
}

void appendProductionFields(const std::string& fileName, std::span<const std::string> fields,
                            std::uint8_t language) {
    const std::filesystem::path path = platform::pathFromUtf8(fileName);
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    std::ofstream file(path, std::ios::binary | std::ios::app);
    if (error || size == 0) {
        std::array<std::string, kProductionLogHeader.size()> header;
        std::copy(kProductionLogHeader.begin(), kProductionLogHeader.end(), header.begin());
        file << csvLine(header);
    }
    file << csvLine(fields);
    file.flush();
    if (!file)
        throw UserError(fillIn(pick(texts::kCannotWriteLog, language), {fileName}));
}

} // namespace tarvik::cli
