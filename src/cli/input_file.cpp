// Checking an input file with the window's own reader: its kind by the name (or what it starts
// with), then its content.
#include "cli/input_file.h"

#include "buffer/buffer_texts.h"
#include "buffer/file_io.h"
#include "buffer/intel_hex.h"
#include "common/user_error.h"

namespace tarvik::cli {

std::optional<std::string> inputFileProblem(const std::string& fileName, std::uint8_t language) {
    try {
        switch (const FileKind kind = loadKindOf(fileName, language)) {
        case FileKind::Binary:
            readWholeFile(fileName, language);
            return std::nullopt;
        case FileKind::Hex: {
            const HexReadResult result = readIntelHex(readTextFile(fileName, language));
            if (result.status == HexStatus::Ok)
                return std::nullopt;
            return fileName + ": " + hexReadMessage(result, language);
        }
        case FileKind::SRecord:
        case FileKind::Elf:
        case FileKind::Other:
            return unreadableFileMessage(kind, fileName, language);
        }
    } catch (const UserError& error) {
        return error.what();
    }
    return std::nullopt;
}

} // namespace tarvik::cli
