// Checking an input file with the window's own reader: its kind by the name (or what it starts
// with), then its content; and reading the fuse bytes of write-fuses --from.
#include "cli/input_file.h"

#include "buffer/elf_image.h"
#include "buffer/file_io.h"
#include "buffer/image_file.h"
#include "cli/cli_texts.h"
#include "common/user_error.h"

namespace tarvik::cli {

std::optional<std::string> inputFileProblem(const std::string& fileName, MemoryPart part,
                                            std::uint8_t language) {
    try {
        const LoadedImage image = loadImageFile(fileName, part, language);
        if (image.problem.empty())
            return std::nullopt;
        return image.problemNamesFile ? image.problem : fileName + ": " + image.problem;
    } catch (const UserError& error) {
        return error.what();
    }
}

FuseFile readFuseFile(const std::string& fileName, std::uint8_t language) {
    FuseFile file;
    const auto fail = [&](const LangText& text) {
        file.problem = fillIn(pick(text, language), {fileName});
        return file;
    };
    try {
        if (loadKindOf(fileName, language) != FileKind::Elf)
            return fail(texts::kFuseFileNotElf);
        const ElfImage elf = readElf(readWholeFile(fileName, language));
        if (elf.status != ElfStatus::Ok)
            return fail(texts::kFuseFileNotElf);
        if (elf.fuses.empty() && !elf.lock)
            return fail(texts::kNoFuseBytes);
        const auto fuse = [&](std::size_t i) {
            return i < elf.fuses.size() ? std::optional(elf.fuses[i]) : std::nullopt;
        };
        file.bytes = {elf.lock, fuse(0), fuse(1), fuse(2)};
        file.signature = elf.signature;
    } catch (const UserError& error) {
        file.problem = error.what();
    }
    return file;
}

} // namespace tarvik::cli
