// How long reading and writing the Intel HEX file of a 1 MiB image take: the parse of the text
// (with its extended address records), the text written back, and the whole save to a new
// file and over an existing one (which waits for the disk). Prints the median of ten
// repetitions of each.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "buffer/file_io.h"
#include "buffer/intel_hex.h"
#include "sample_image.h"

namespace {

void readHex1MiB(benchmark::State& state) {
    const std::string text = tarvik::writeIntelHex(sampleImage());
    for (auto _ : state) {
        auto result = tarvik::readIntelHex(text);
        if (result.status != tarvik::HexStatus::Ok || result.bytes.size() != 1024 * 1024)
            state.SkipWithError("the image did not read back");
        benchmark::DoNotOptimize(result.bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// Saving to a new file, and replacing an existing one, which waits for the disk.
void saveHex1MiB(benchmark::State& state, bool replace) {
    const auto bytes = sampleImage();
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("tarvik-bench-" + std::to_string(::getpid()) + ".hex"))
                                 .string();
    for (auto _ : state) {
        if (!replace) {
            state.PauseTiming();
            std::filesystem::remove(file);
            state.ResumeTiming();
        }
        tarvik::writeWholeFile(file, std::string_view(tarvik::writeIntelHex(bytes)), 1);
    }
    std::filesystem::remove(file);
}

void formatHex1MiB(benchmark::State& state) {
    const auto bytes = sampleImage();
    for (auto _ : state) {
        const std::string text = tarvik::writeIntelHex(bytes);
        benchmark::DoNotOptimize(text.data());
    }
}

BENCHMARK(readHex1MiB)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(saveHex1MiB, new_file, false)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(saveHex1MiB, replacing_a_file, true)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly();
BENCHMARK(formatHex1MiB)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly();

} // namespace

BENCHMARK_MAIN();
