// Serving the virtual programmer: the socket server runs on a thread of its own while the main
// thread waits for the signal that ends it. Optional decorators between the server and the
// programmer answer at USB frame boundaries and trace the reports.
#include "cli/serve_emulator.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <mutex>
#include <pthread.h>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "buffer/buffer_texts.h"
#include "cli/cli_texts.h"
#include "cli/trace_backend.h"
#include "emulator/virtual_programmer.h"
#include "link/socket_server.h"

namespace tarvik::cli {

namespace {

// Answers as a full-speed USB device would: the output report is taken at the next 1 ms
// frame, and each input report needs a frame of its own.
class FrameLatency : public VirtualDevice {
public:
    explicit FrameLatency(VirtualDevice& inner) : inner_(inner) {}

    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        using namespace std::chrono;
        const auto now = steady_clock::now();
        std::this_thread::sleep_until(ceil<milliseconds>(now));
        DeviceReply reply = inner_.onOutputReport(report);
        std::this_thread::sleep_for(milliseconds(reply.reports.size()));
        return reply;
    }

private:
    VirtualDevice& inner_;
};

// Shows each report on standard error, as --trace does on the client's side.
class TracedDevice : public VirtualDevice {
public:
    TracedDevice(VirtualDevice& inner, std::ostream& err) : inner_(inner), err_(err) {}

    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        err_ << traceLine('>', report) << '\n';
        DeviceReply reply = inner_.onOutputReport(report);
        for (const InputReportBytes& answer : reply.reports)
            err_ << traceLine('<', answer) << '\n';
        err_.flush();
        return reply;
    }

private:
    VirtualDevice& inner_;
    std::ostream& err_;
};

// Blocks SIGINT and SIGTERM for this thread and the threads it starts, so the signals wait
// for sigtimedwait; gives the old mask back at the end.
class BlockedTerminationSignals {
public:
    BlockedTerminationSignals() {
        sigemptyset(&set_);
        sigaddset(&set_, SIGINT);
        sigaddset(&set_, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &set_, &old_);
    }
    ~BlockedTerminationSignals() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    BlockedTerminationSignals(const BlockedTerminationSignals&) = delete;
    BlockedTerminationSignals& operator=(const BlockedTerminationSignals&) = delete;

    // True when one of the signals came within the time.
    bool wait(std::chrono::milliseconds time) const {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(time).count();
        const timespec timeout{static_cast<time_t>(ns / 1000000000),
                               static_cast<long>(ns % 1000000000)};
        return sigtimedwait(&set_, nullptr, &timeout) > 0;
    }

private:
    sigset_t set_{};
    sigset_t old_{};
};

} // namespace

int serveEmulator(const CliOptions& options, CliIo& io) {
    const std::uint8_t language = options.language;
    const emulator::VirtualChip* chip = emulator::findVirtualChip(options.chip);
    if (chip == nullptr) {
        io.err << fillIn(pick(texts::kUnknownChip, language), {options.chip}) << '\n';
        return kExitUsage;
    }
    emulator::VirtualProgrammer programmer(*chip);
    VirtualDevice* device = &programmer;
    FrameLatency latency(programmer);
    if (options.usbLatency)
        device = &latency;
    TracedDevice traced(*device, io.err);
    if (options.trace)
        device = &traced;

    const BlockedTerminationSignals signals;
    std::unique_ptr<SocketServer> server;
    try {
        server = std::make_unique<SocketServer>(options.socketPath, *device);
    } catch (const std::exception& e) {
        io.err << options.socketPath << ": " << e.what() << '\n';
        return kExitUsage;
    }
    if (!options.quiet) {
        io.out << fillIn(pick(texts::kServing, language), {chip->name, options.socketPath}) << '\n';
        io.out.flush();
    }
    std::atomic<bool> ended{false};
    std::thread serving([&] {
        server->run();
        ended = true;
    });
    while (!ended && !signals.wait(std::chrono::milliseconds(200))) {
    }
    server->stop();
    serving.join();
    return kExitSuccess;
}

} // namespace tarvik::cli
