// On POSIX: a folder, a FIFO (whose open would block until a writer comes) and /dev/null.
#include "support/non_regular_files.h"

#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

namespace tarvik::test {

std::vector<std::string> makeNonRegularFiles(const std::string& folder) {
    const std::string pipe = (std::filesystem::path(folder) / "pipe.hex").string();
    if (::mkfifo(pipe.c_str(), 0600) != 0)
        throw std::runtime_error("cannot make " + pipe);
    const std::string directory = (std::filesystem::path(folder) / "folder.bin").string();
    std::filesystem::create_directory(directory);
    return {pipe, directory, "/dev/null"};
}

} // namespace tarvik::test
