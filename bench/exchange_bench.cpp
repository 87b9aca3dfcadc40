// Host overhead of one exchange with the programmer: from the device's answer being ready,
// through the read thread, the hand-off to the main thread and the data handler, to the next
// output report written. Prints the median and the 99th percentile.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "link/emulated_backend.h"
#include "link/hid_device_controller.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Echoes every report at once and measures the time from returning one answer to receiving
// the next output report: everything the host does in between.
class TimingEcho : public tarvik::VirtualDevice {
public:
    tarvik::DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        const auto now = Clock::now();
        if (answered_)
            samples.push_back(std::chrono::duration<double, std::micro>(now - lastAnswer_).count());
        tarvik::DeviceReply reply;
        reply.reports.emplace_back();
        std::copy_n(report.begin(), std::min(report.size(), reply.reports[0].size()),
                    reply.reports[0].begin());
        answered_ = true;
        lastAnswer_ = Clock::now();
        return reply;
    }
    void startSeries() { answered_ = false; }

    std::vector<double> samples;

private:
    bool answered_ = false;
    Clock::time_point lastAnswer_;
};

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0;
    const auto k = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
    return values[k];
}

void BM_Exchange(benchmark::State& state) {
    constexpr int kExchangesPerIteration = 100;
    tarvik::PlainDispatcher main;
    tarvik::EmulatedBackend bus(main);
    auto device = std::make_shared<TimingEcho>();
    device->samples.reserve(1 << 20);
    bus.plug(device);
    tarvik::THidDeviceController ctl(bus, main);
    tarvik::THidDevice* programmer = nullptr;
    if (!ctl.AcquireDevice(tarvik::kProgrammerVendorId, tarvik::kProgrammerProductId, programmer)) {
        state.SkipWithError("no programmer on the emulated bus");
        return;
    }
    std::vector<std::uint8_t> report(tarvik::report::kOutputLength, 0);
    int remaining = 0;
    ctl.SetOnDeviceData([&](tarvik::THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {
        if (--remaining > 0)
            programmer->Write(report);
    });

    for (auto _ : state) {
        remaining = kExchangesPerIteration;
        device->startSeries();
        programmer->Write(report);
        main.runUntil([&] { return remaining == 0; }, 10s);
    }
    state.SetItemsProcessed(state.iterations() * kExchangesPerIteration);

    const double median = percentile(device->samples, 0.5);
    const double p99 = percentile(device->samples, 0.99);
    state.counters["median_us"] = median;
    state.counters["p99_us"] = p99;
    std::printf("exchange host overhead over %zu exchanges: median %.1f us, 99th percentile "
                "%.1f us (target: median under 50 us)\n",
                device->samples.size(), median, p99);
}

} // namespace

BENCHMARK(BM_Exchange)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

BENCHMARK_MAIN();
