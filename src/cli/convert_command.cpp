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

constexpr LangText kUsage{
    "Aufruf: tarvik-cli convert EIN AUS [--lang de|en|ru]\n"
    "Wandelt Intel-HEX-, Motorola-S-Record- und Binärdateien ineinander um und liest den Flash "
    "aus ELF-Dateien. EIN wird nach Name oder Inhalt gelesen; AUS wird für .s19, .s28, .s37, "
    ".srec und .mot als S-Record geschrieben, binär, wenn das drittletzte Zeichen B ist, sonst "
    "als Intel HEX.",
    "Usage: tarvik-cli convert IN OUT [--lang de|en|ru]\n"
    "Converts between Intel HEX, Motorola S-record and binary files, and reads the flash of ELF "
    "files. IN is read by its name or content; OUT is written as S-record for .s19, .s28, .s37, "
    ".srec and .mot, as binary where the third character from the end is B, else as Intel HEX.",
    "Использование: tarvik-cli convert ВХОД ВЫХОД [--lang de|en|ru]\n"
    "Преобразует файлы Intel HEX, Motorola S-record и двоичные файлы и читает flash из файлов "
    "ELF. ВХОД читается по имени или содержимому; ВЫХОД записывается как S-record для .s19, "
    ".s28, .s37, .srec и .mot, как двоичный, если третий символ с конца B, иначе как Intel HEX."};

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
        err << pick(kUsage, parsed.language) << '\n';
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
