// Checking an input file with the window's own reader: its kind by the name (or what it starts
// with), then its content.
#include "cli/input_file.h"

#include "buffer/image_file.h"
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

} // namespace tarvik::cli
