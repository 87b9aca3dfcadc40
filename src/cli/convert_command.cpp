// The convert command: the same reader and writer as the window's File menu, file to file.
#include "cli/convert_command.h"

#include <array>
#include <string>
#include <vector>

#include "buffer/crc32.h"
#include "buffer/file_io.h"
#include "buffer/image_file.h"
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

} // namespace

int runConvert(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    const Arguments parsed = parse(args);
    if (!parsed.valid) {
        err << pick(cli::texts::kConvertUsage, parsed.language) << '\n';
        return 1;
    }
    const std::string in(parsed.files[0]);
    const std::string outName(parsed.files[1]);
    try {
        const LoadedImage image = loadImageFile(in, MemoryPart::Flash, parsed.language);
        if (!image.problem.empty()) {
            if (!image.problemNamesFile)
                err << in << ": ";
            err << image.problem << '\n';
            return 2;
        }
        if (saveKindOf(outName) == FileKind::Binary) // as it is, without a copy
            writeWholeFile(outName, std::span<const std::uint8_t>(image.bytes), parsed.language);
        else
            writeWholeFile(outName, std::string_view(encodeImageFile(outName, image.bytes)),
                           parsed.language);
        out << fillIn(pick(cli::texts::kCrc32, parsed.language), {crc32Text(image.bytes)}) << '\n';
    } catch (const UserError& e) {
        err << e.what() << '\n';
        return 2;
    }
    return 0;
}

} // namespace tarvik
