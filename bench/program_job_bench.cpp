// The cost of a whole job on the host: a 64 KiB program-and-verify of a 24AA512 through the
// window's engine, the HID link's read thread and the emulated bus. Instant answers show the
// host's CPU time per job; the USB full-speed frame model shows how close the job's wall time
// comes to the time its frames take alone (one 1 ms frame per report each way).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <memory>

#include "counting_device.h"
#include "emulator/virtual_programmer.h"
#include "form/form_host.h"
#include "form/main_form.h"
#include "form/settings_store.h"
#include "link/dispatcher.h"
#include "link/emulated_backend.h"
#include "link/hid_device_controller.h"

namespace {

using namespace tarvik;
using namespace std::chrono_literals;

class QuietHost : public FormHost {
public:
    bool executeOpenDialog(FileDialog&) override { return false; }
    bool executeSaveDialog(FileDialog&) override { return false; }
    void showErrorBox(std::string_view) override {}
    void showApplicationError(std::string_view) override {}
    void showInfoWindow() override {}
    void closeMainWindow() override {}
};

// Keeps the answers instead of putting them on the bus, so the benchmark can hand them to the
// window itself: the engine's and the programmer model's own cost, without the read thread.
class DirectDevice : public VirtualDevice {
public:
    explicit DirectDevice(std::shared_ptr<VirtualDevice> inner) : inner_(std::move(inner)) {}
    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        DeviceReply reply = inner_->onOutputReport(report);
        pending.insert(pending.end(), reply.reports.begin(), reply.reports.end());
        return {};
    }
    std::deque<InputReportBytes> pending;

private:
    std::shared_ptr<VirtualDevice> inner_;
};

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// One window with a 24AA512 programmer plugged in and a 64 KiB buffer.
struct Bench {
    explicit Bench(Latency latency, bool direct = false) {
        form.FormCreate();
        form.N24AA512Click();
        form.updatebuffer.checked = false;
        form.nverifynachprogrammieren.checked = true;
        std::vector<std::uint8_t> image(65536);
        for (std::size_t i = 0; i < image.size(); ++i) {
            image[i] = static_cast<std::uint8_t>(i * 13 + (i >> 9));
        }
        form.Hexeditor.SetAllBytes(std::move(image));
        auto chip = std::make_shared<emulator::VirtualProgrammer>("24AA512");
        chip->setRecording(false);
        device = std::make_shared<CountingDevice>(chip);
        if (direct) {
            directDevice = std::make_shared<DirectDevice>(device);
            backend.plug(directDevice, latency);
        } else {
            backend.plug(device, latency);
        }
        dispatcher.runUntil([this] { return form.ProgrammerDevice != nullptr; }, 5s);
    }

    // Runs one program-and-verify job to its end; false when it failed or stalled.
    bool programAndVerify() {
        form.bProgClick();
        const bool done = dispatcher.runUntil([this] { return form.ProtocolState == stIdle; }, 60s);
        return done && form.Verlauf.lines.size() >= 2 &&
               form.Verlauf.lines[form.Verlauf.lines.size() - 2] == "Successfully finished.";
    }

    // The same job with each answer handed to the window at once, on this thread.
    bool programAndVerifyDirect() {
        form.bProgClick();
        while (!directDevice->pending.empty()) {
            const InputReportBytes answer = directDevice->pending.front();
            directDevice->pending.pop_front();
            form.HidData(form.ProgrammerDevice, answer[0], answer.data() + 1,
                         static_cast<std::uint16_t>(answer.size() - 1));
        }
        return form.ProtocolState == stIdle &&
               form.Verlauf.lines[form.Verlauf.lines.size() - 2] == "Successfully finished.";
    }

    PlainDispatcher dispatcher;
    EmulatedBackend backend{dispatcher};
    THidDeviceController controller{backend, dispatcher};
    MemorySettings settings;
    QuietHost host;
    TMainForm form{controller, settings, host};
    std::shared_ptr<CountingDevice> device;
    std::shared_ptr<DirectDevice> directDevice;
};

// Runs job once per iteration and returns the process CPU time per job in milliseconds, or a
// negative value when a job did not finish successfully.
template <class Job>
double cpuMsPerJob(benchmark::State& state, Job job) {
    double cpuMs = 0;
    for (auto _ : state) {
        const double before = processCpuMs();
        if (!job()) {
            state.SkipWithError("the job did not finish successfully");
            return -1;
        }
        cpuMs += processCpuMs() - before;
    }
    return cpuMs / static_cast<double>(state.iterations());
}

void BM_ProgramVerify64KiB_Instant(benchmark::State& state) {
    Bench bench(Latency::None);
    const double perJob = cpuMsPerJob(state, [&bench] { return bench.programAndVerify(); });
    if (perJob < 0)
        return;
    state.counters["host_cpu_ms"] = perJob;
    std::printf("24AA512 64 KiB program+verify, instant programmer: host CPU %.2f ms per job "
                "(target < 20 ms)\n",
                perJob);
}
BENCHMARK(BM_ProgramVerify64KiB_Instant)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ProgramVerify64KiB_EngineOnly(benchmark::State& state) {
    Bench bench(Latency::None, true);
    const double perJob = cpuMsPerJob(state, [&bench] { return bench.programAndVerifyDirect(); });
    if (perJob < 0)
        return;
    state.counters["cpu_ms"] = perJob;
    std::printf("24AA512 64 KiB program+verify, answers handed over directly (engine and "
                "programmer model, no read thread): CPU %.2f ms per job\n",
                perJob);
}
BENCHMARK(BM_ProgramVerify64KiB_EngineOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ProgramVerify64KiB_UsbFrames(benchmark::State& state) {
    Bench bench(Latency::UsbFullSpeed);
    for (auto _ : state) {
        bench.device->out = bench.device->in = 0;
        const auto start = std::chrono::steady_clock::now();
        if (!bench.programAndVerify()) {
            state.SkipWithError("the job did not finish successfully");
            return;
        }
        const double wallMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        const double framesMs = static_cast<double>(bench.device->out + bench.device->in);
        state.counters["wall_ms"] = wallMs;
        state.counters["frames_ms"] = framesMs;
        state.counters["ratio"] = wallMs / framesMs;
        std::printf("24AA512 64 KiB program+verify, 1 ms frames: wall %.1f ms, frames alone "
                    "%.0f ms (%zu reports out, %zu in), ratio %.4f (target <= 1.02)\n",
                    wallMs, framesMs, bench.device->out, bench.device->in, wallMs / framesMs);
    }
}
BENCHMARK(BM_ProgramVerify64KiB_UsbFrames)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
