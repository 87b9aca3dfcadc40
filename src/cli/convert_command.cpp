// The convert command: the same reader and writer as the window's File menu, file to file.
#include "cli/convert_command.h"

#include <array>
#include <string>
#include <vector>

#include "buffer/buffer_texts.h"
#include "buffer/file_io.h"
#include "buffer/intel_hex.h"
#include "cli/cli_texts.h"
#include "common/user_error.h"

namespace tarvik {
namespace {

constexpr std::uint8_t kEnglish = 1;

struct LanguageOption {
    std::string_view name;
    std::uint8_t code;
};
constexpr std::array<LanguageOption, 3> kLanguages{{{"de", 0}, {"en", 1}, {"ru", 2}}};

struct Arguments {
    std::vector<std::string_view> files;
    std::uint8_t language = kEnglish;
    bool valid = true;
};

Arguments parse(std::span<const std::string_view> args) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--lang") {
            parsed.valid = parsed.valid && !args[i].starts_with("--");
            parsed.files.push_back(args[i]);
            continue;
        }
        bool known = false;
        if (++i < args.size()) {
            for (const LanguageOption& language : kLanguages) {
                if (args[i] == language.name) {
                    parsed.language = language.code;
                    known = true;
                }
            }
        }
        parsed.valid = parsed.valid && known;
    }
    parsed.valid = parsed.valid && parsed.files.size() == 2;
    return parsed;
}

// The image in the file, or nothing after printing why not.
bool load(const std::string& fileName, std::uint8_t language, std::vector<std::uint8_t>& bytes,
          std::ostream& err) {
    switch (const FileKind kind = loadKindOf(fileName, language)) {
    case FileKind::Binary:
        bytes = readWholeFile(fileName, language);
        return true;
    case FileKind::Hex: {
        HexReadResult result = readIntelHex(readTextFile(fileName, language));
        if (result.status != HexStatus::Ok) {
            err << fileName << ": " << hexReadMessage(result, language) << '\n';
            return false;
        }
        bytes = std::move(result.bytes);
        return true;
    }
    case FileKind::SRecord:
    case FileKind::Elf:
    case FileKind::Other:
        err << unreadableFileMessage(kind, fileName, language) << '\n';
        return false;
    }
    return false;
}

} // namespace

int runConvert(std::span<const std::string_view> args, std::ostream& err) {
    const Arguments parsed = parse(args);
    if (!parsed.valid) {
        err << pick(cli::texts::kConvertUsage, parsed.language) << '\n';
        return 1;
    }
    const std::string in(parsed.files[0]);
    const std::string out(parsed.files[1]);
    try {
        std::vector<std::uint8_t> bytes;
        if (!load(in, parsed.language, bytes, err))
            return 2;
        if (fileKindOf(out) == FileKind::Binary)
            writeWholeFile(out, std::span<const std::uint8_t>(bytes), parsed.language);
        else
            writeWholeFile(out, std::string_view(writeIntelHex(bytes)), parsed.language);
    } catch (const UserError& e) {
        err << e.what() << '\n';
        return 2;
    }
    return 0;
}

} // namespace tarvik
