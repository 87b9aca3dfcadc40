// Parsing --serial, laying a number out in its format, and the locked serial file.
#include "cli/serial_numbers.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <thread>

#include "buffer/file_io.h"
#include "cli/cli_texts.h"
#include "common/user_error.h"
#include "operations/engine_support.h"
#include "platform/file_name.h"

namespace tarvik::cli {

namespace {

std::optional<std::uint64_t> parseNumber(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

struct FormatName {
    std::string_view name;
    SerialFormat format;
};
constexpr FormatName kFormats[] = {{"le", SerialFormat::Le},
                                   {"be", SerialFormat::Be},
                                   {"bcd", SerialFormat::Bcd},
                                   {"ascii", SerialFormat::Ascii}};

bool applySetting(SerialNumbering& numbering, std::string_view name, std::string_view value) {
    if (name == "bytes") {
        const auto bytes = parseNumber(value);
        numbering.bytes = bytes.value_or(0);
        return bytes && *bytes >= 1 && *bytes <= 8;
    }
    if (name == "step") {
        const auto step = parseNumber(value);
        numbering.step = step.value_or(0);
        return step && *step >= 1;
    }
    if (name == "format") {
        for (const FormatName& row : kFormats) {
            if (row.name == value) {
                numbering.format = row.format;
                return true;
            }
        }
        return false;
    }
    if (name == "memory") {
        numbering.memory = value == "eeprom" ? SerialMemory::Eeprom : SerialMemory::Flash;
        return value == "eeprom" || value == "flash";
    }
    return false;
}

std::string readNumberText(const std::string& fileName, std::uint8_t language) {
    std::string text = readTextFile(fileName, language);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

std::optional<SerialNumbering> parseSerialOption(std::string_view text) {
    SerialNumbering numbering;
    const std::size_t comma = text.find(',');
    const std::string_view head = text.substr(0, comma);
    const std::size_t equals = head.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const auto address = parseNumber(head.substr(0, equals));
    const auto start = parseNumber(head.substr(equals + 1));
    if (!address || !start)
        return std::nullopt;
    numbering.address = *address;
    numbering.start = *start;
    std::string_view rest =
        comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    while (comma != std::string_view::npos) {
        const std::size_t next = rest.find(',');
        const std::string_view setting = rest.substr(0, next);
        const std::size_t is = setting.find('=');
        if (is == std::string_view::npos ||
            !applySetting(numbering, setting.substr(0, is), setting.substr(is + 1)))
            return std::nullopt;
        if (next == std::string_view::npos)
            break;
        rest = rest.substr(next + 1);
    }
    return numbering;
}

std::optional<std::vector<std::uint8_t>> encodeSerial(std::uint64_t number, std::size_t bytes,
                                                      SerialFormat format) {
    std::vector<std::uint8_t> out(bytes);
    const std::size_t digitsPerByte = format == SerialFormat::Bcd     ? 2
                                      : format == SerialFormat::Ascii ? 1
                                                                      : 0;
    if (digitsPerByte == 0) {
        for (std::size_t i = 0; i < bytes; ++i, number >>= 8)
            out[format == SerialFormat::Le ? i : bytes - 1 - i] = static_cast<std::uint8_t>(number);
        return number == 0 ? std::optional(out) : std::nullopt;
    }
    // Decimal digits from the last byte backwards.
    for (std::size_t i = bytes; i-- > 0;) {
        if (format == SerialFormat::Ascii) {
            out[i] = static_cast<std::uint8_t>('0' + number % 10);
            number /= 10;
        } else {
            out[i] = static_cast<std::uint8_t>(number % 10 | (number / 10 % 10) << 4);
            number /= 100;
        }
    }
    return number == 0 ? std::optional(out) : std::nullopt;
}

std::optional<std::string> patchSerial(std::vector<std::uint8_t>& image,
                                       const SerialNumbering& numbering, std::uint64_t number,
                                       std::uint8_t language) {
    const auto bytes = encodeSerial(number, numbering.bytes, numbering.format);
    if (!bytes) {
        return fillIn(pick(texts::kSerialTooLarge, language),
                      {std::to_string(number), std::to_string(numbering.bytes)});
    }
    if (numbering.address > image.size() || image.size() - numbering.address < bytes->size()) {
        const auto at = static_cast<std::size_t>(numbering.address);
        const std::string address = "0x" + engine::hexAddress(at, engine::addressDigits(at + 1));
        return fillIn(pick(texts::kSerialOutside, language), {address});
    }
    std::copy(bytes->begin(), bytes->end(),
              image.begin() + static_cast<std::ptrdiff_t>(numbering.address));
    return std::nullopt;
}

SerialFile::SerialFile(std::string fileName, std::uint64_t start, std::uint8_t language,
                       std::chrono::milliseconds wait)
    : fileName_(std::move(fileName)), lockName_(fileName_ + ".lock"), language_(language) {
    const std::filesystem::path lock = platform::pathFromUtf8(lockName_);
    const auto until = std::chrono::steady_clock::now() + wait;
    std::error_code error;
    // Making a folder is atomic on every system: only one program gets it.
    while (!std::filesystem::create_directory(lock, error)) {
        if (std::chrono::steady_clock::now() >= until)
            throw UserError(fillIn(pick(texts::kSerialFileLocked, language_), {lockName_}));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    try {
        if (!std::filesystem::exists(platform::pathFromUtf8(fileName_), error)) {
            next_ = start;
            return;
        }
        const std::string text = readNumberText(fileName_, language_);
        std::uint64_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size())
            throw UserError(fillIn(pick(texts::kSerialFileBad, language_), {fileName_}));
        next_ = value;
    } catch (...) {
        std::filesystem::remove(lock, error);
        throw;
    }
}

SerialFile::~SerialFile() {
    std::error_code error;
    std::filesystem::remove(platform::pathFromUtf8(lockName_), error);
}

void SerialFile::advance(std::uint64_t step) {
    next_ += step;
    writeWholeFile(fileName_, std::to_string(next_) + "\n", language_);
}

} // namespace tarvik::cli
