// The fuzz targets' main where libFuzzer is not linked in: runs LLVMFuzzerTestOneInput once
// over every file named on the command line, and over every file of every folder named, in
// name order. Options (arguments starting with '-', as libFuzzer takes them) are ignored, so
// ctest calls both kinds of build the same way. Fails when there was nothing to run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const fs::path& path) {
    if (!fs::is_directory(path))
        return {path};
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            continue;
        for (const fs::path& file : inputsOf(argv[i])) {
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
                return 1;
            }
            // Named first, so a failing input shows above the failure.
            std::fprintf(stderr, "%s\n", file.string().c_str());
            const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                                  std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("replayed %zu inputs\n", replayed);
    return replayed == 0 ? 1 : 0;
}
