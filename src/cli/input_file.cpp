// Checking an input file with the window's own reader: its kind by the name, then its
// content.
#include "cli/input_file.h"

#include "buffer/buffer_texts.h"
#include "buffer/file_io.h"
#include "buffer/intel_hex.h"
#include "cli/cli_texts.h"
#include "common/user_error.h"

namespace tarvik::cli {

std::optional<std::string> inputFileProblem(const std::string& fileName, std::uint8_t language) {
    try {
        switch (fileKindOf(fileName)) {
        case FileKind::Binary:
            readWholeFile(fileName, language);
            return std::nullopt;
        case FileKind::Hex: {
            const HexReadResult result = readIntelHex(readTextFile(fileName, language));
            if (result.status == HexStatus::Ok)
                return std::nullopt;
            return fileName + ": " + hexReadMessage(result, language);
        }
        case FileKind::Other:
            break;
        }
    } catch (const UserError& error) {
        return error.what();
    }
    return fillIn(pick(texts::kNeitherHexNorBinary, language), {fileName});
}

} // namespace tarvik::cli
