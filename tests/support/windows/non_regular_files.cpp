// On Windows: a folder and the NUL device.
#include "support/non_regular_files.h"

#include <filesystem>

#include "platform/file_name.h"

namespace tarvik::test {

std::vector<std::string> makeNonRegularFiles(const std::string& folder) {
    const std::filesystem::path directory = platform::pathFromUtf8(folder) / "folder.bin";
    std::filesystem::create_directory(directory);
    return {platform::utf8FromPath(directory), "NUL"};
}

} // namespace tarvik::test
