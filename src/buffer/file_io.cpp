// Whole-file reading within a size limit, the kind a file loads as, and whole-file saves, over
// the system's file access (system_file.h).
#include "buffer/file_io.h"

#include <algorithm>
#include <array>

#include "buffer/buffer_texts.h"
#include "buffer/system_file.h"
#include "common/user_error.h"

namespace tarvik {
namespace {

template <typename Container>
Container readFile(const std::string& fileName, std::uint8_t languageCode, std::size_t maxBytes) {
    system_file::ReadableFile file(fileName, languageCode);
    const auto tooLarge = [&] {
        throw UserError(fillIn(pick(texts::kFileTooLarge, languageCode),
                               {fileName, std::to_string(maxBytes / (1024 * 1024))}));
    };
    if (file.size() > maxBytes)
        tooLarge();

    // One byte more than the size, so a file that grew meanwhile is noticed and read on.
    Container data(static_cast<std::size_t>(file.size()) + 1, 0);
    std::size_t used = 0;
    for (;;) {
        used += file.read(reinterpret_cast<char*>(data.data()) + used, data.size() - used);
        if (used < data.size())
            break;
        if (used > maxBytes)
            tooLarge();
        data.resize(std::min(data.size() * 2, maxBytes + 1));
    }
    data.resize(used);
    return data;
}

} // namespace

std::vector<std::uint8_t> readWholeFile(const std::string& fileName, std::uint8_t languageCode,
                                        std::size_t maxBytes) {
    return readFile<std::vector<std::uint8_t>>(fileName, languageCode, maxBytes);
}

std::string readTextFile(const std::string& fileName, std::uint8_t languageCode) {
    return readFile<std::string>(fileName, languageCode, kMaxHexFileBytes);
}

FileKind loadKindOf(const std::string& fileName, std::uint8_t languageCode) {
    system_file::ReadableFile file(fileName, languageCode);
    std::array<std::uint8_t, kFileKindHeadBytes> head{};
    const std::size_t size = file.read(reinterpret_cast<char*>(head.data()), head.size());
    return fileKindOf(fileName, std::span(head).first(size));
}

void writeWholeFile(const std::string& fileName, std::span<const std::uint8_t> bytes,
                    std::uint8_t languageCode) {
    system_file::replaceFile(fileName, reinterpret_cast<const char*>(bytes.data()), bytes.size(),
                             languageCode);
}

void writeWholeFile(const std::string& fileName, std::string_view text, std::uint8_t languageCode) {
    system_file::replaceFile(fileName, text.data(), text.size(), languageCode);
}

} // namespace tarvik
