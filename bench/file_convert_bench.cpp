// File reading speed against the toolchains' tool: tarvik-cli convert of a 1 MiB image as Intel
// HEX (extended linear address records, 16-byte lines) to binary, whole process, against
// srec_cat doing the same, in the same run (wall time and the processes' own CPU time, median
// of 15 each, to a new output file every time); and in the process, reading the same image as
// S-record and as ELF against reading it as HEX. Prints the ratios.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "buffer/elf_image.h"
#include "buffer/file_io.h"
#include "buffer/intel_hex.h"
#include "buffer/motorola_srec.h"
#include "sample_image.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 15;

// A 32-bit little-endian ELF file with the image as one loadable segment at address 0.
std::vector<std::uint8_t> elfOf(const std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t kHeaders = 52 + 32;
    std::vector<std::uint8_t> file(kHeaders + bytes.size(), 0);
    const auto put = [&](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    file[0] = 0x7F;
    file[1] = 'E';
    file[2] = 'L';
    file[3] = 'F';
    file[4] = 1;
    file[5] = 1;
    put(28, 52, 4);
    put(42, 32, 2);
    put(44, 1, 2);
    put(52, 1, 4);
    put(56, kHeaders, 4);
    put(68, static_cast<std::uint32_t>(bytes.size()), 4);
    std::copy(bytes.begin(), bytes.end(), file.begin() + kHeaders);
    return file;
}

struct Times {
    double wall; // ms
    double cpu;  // ms, user + system of the child
};

double cpuOfChildren() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// One run of the program, its output removed before; nothing when it cannot run.
bool runOnce(const std::vector<std::string>& args, const std::string& output, Times& times) {
    std::filesystem::remove(output);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const double cpuBefore = cpuOfChildren();
    const auto start = Clock::now();
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failed != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return false;
    times.wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    times.cpu = cpuOfChildren() - cpuBefore;
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median wall and CPU times of kRuns runs, each program's runs interleaved with the
// other's so that a busy moment of the machine hits both alike.
bool compare(const std::vector<std::vector<std::string>>& programs, const std::string& output,
             std::vector<Times>& medians) {
    std::vector<std::vector<double>> walls(programs.size()), cpus(programs.size());
    for (int run = 0; run < kRuns; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            Times times{};
            if (!runOnce(programs[p], output, times))
                return false;
            walls[p].push_back(times.wall);
            cpus[p].push_back(times.cpu);
        }
    }
    for (std::size_t p = 0; p < programs.size(); ++p)
        medians.push_back({median(walls[p]), median(cpus[p])});
    return true;
}

// The median time of kRuns calls, in ms.
double timeOf(const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return median(times);
}

} // namespace

int main() {
    const std::vector<std::uint8_t> bytes = sampleImage();
    const std::string hexText = tarvik::writeIntelHex(bytes);
    const std::string srecText = tarvik::writeSRecord(bytes);
    const std::vector<std::uint8_t> elf = elfOf(bytes);

    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      (std::string("tarvik-bench-") + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string hexFile = (dir / "image.hex").string();
    const std::string output = (dir / "image.bin").string();
    tarvik::writeWholeFile(hexFile, std::string_view(hexText), 1);

    std::vector<Times> medians;
    if (compare({{TARVIK_CLI_PATH, "convert", hexFile, output},
                 {"srec_cat", hexFile, "-intel", "-o", output, "-binary"}},
                output, medians)) {
        std::printf("convert 1 MiB HEX to binary, whole process: tarvik-cli %.1f ms (CPU %.1f ms), "
                    "srec_cat %.1f ms (CPU %.1f ms)\n",
                    medians[0].wall, medians[0].cpu, medians[1].wall, medians[1].cpu);
        std::printf("tarvik-cli is %.1fx faster than srec_cat in wall time, %.1fx in CPU time "
                    "(goal: 10x)\n",
                    medians[1].wall / medians[0].wall,
                    medians[1].cpu / std::max(medians[0].cpu, 0.001));
    } else {
        std::printf("srec_cat or tarvik-cli did not run: no comparison (apt-get install "
                    "srecord)\n");
    }

    const double hex = timeOf([&] { (void)tarvik::readIntelHex(hexText); });
    const double srec = timeOf([&] { (void)tarvik::readSRecord(srecText); });
    const double elfTime = timeOf([&] { (void)tarvik::readElf(elf); });
    std::printf("reading 1 MiB: HEX %.2f ms, S-record %.2f ms (%.2fx the HEX time), ELF %.2f ms "
                "(%.2fx)\n",
                hex, srec, srec / hex, elfTime, elfTime / hex);
    std::filesystem::remove_all(dir);
    return 0;
}
