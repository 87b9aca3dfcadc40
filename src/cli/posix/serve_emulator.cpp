// Serving the virtual programmer: the socket server or the uhid device runs on a thread of its
// own while the main thread waits for the signal that ends it. Optional decorators between the
// socket server and the programmer answer at USB frame boundaries (the uhid device paces its
// answers itself) and trace the reports.
#include "cli/serve_emulator.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <iomanip>
#include <mutex>
#include <pthread.h>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "buffer/buffer_texts.h"
#include "cli/cli_texts.h"
#include "cli/trace_backend.h"
#include "emulator/virtual_programmer.h"
#include "link/posix/socket_server.h"

#ifdef TARVIK_HAVE_UHID
#include "link/linux/uhid_device.h"
#endif

namespace tarvik::cli {

namespace {

// Answers as a full-speed USB device would: the output report is taken at the next 1 ms
// frame, and each input report needs its interval (a frame, or more for a slower pace).
class FrameLatency : public VirtualDevice {
public:
    FrameLatency(VirtualDevice& inner, std::chrono::milliseconds interval)
        : inner_(inner), interval_(interval) {}

    DeviceReply onOutputReport(std::span<const std::uint8_t> report) override {
        using namespace std::chrono;
        const auto now = steady_clock::now();
        std::this_thread::sleep_until(ceil<milliseconds>(now));
        DeviceReply reply = inner_.onOutputReport(report);
        std::this_thread::sleep_for(interval_ * reply.reports.size());
        return reply;
    }

private:
    VirtualDevice& inner_;
    std::chrono::milliseconds interval_;
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

// Runs the server on a thread of its own until it ends by itself or one of the signals comes.
// Returns what the server's thread threw, if anything.
std::string serveUntilSignalled(const BlockedTerminationSignals& signals,
                                const std::function<void()>& run,
                                const std::function<void()>& stop) {
    std::atomic<bool> ended{false};
    std::string failure;
    std::thread serving([&] {
        try {
            run();
        } catch (const std::exception& e) {
            failure = e.what();
        }
        ended = true;
    });
    while (!ended && !signals.wait(std::chrono::milliseconds(200))) {
    }
    stop();
    serving.join();
    return failure;
}

int serveOnSocket(const CliOptions& options, CliIo& io, VirtualDevice& device,
                  std::string_view chipName) {
    const BlockedTerminationSignals signals;
    std::unique_ptr<SocketServer> server;
    try {
        server = std::make_unique<SocketServer>(options.socketPath, device);
    } catch (const std::exception& e) {
        io.err << options.socketPath << ": " << e.what() << '\n';
        return kExitUsage;
    }
    if (!options.quiet) {
        io.out << fillIn(pick(texts::kServing, options.language), {chipName, options.socketPath})
               << '\n';
        io.out.flush();
    }
    const std::string failure = serveUntilSignalled(
        signals, [&] { server->run(); }, [&] { server->stop(); });
    if (!failure.empty()) {
        io.err << options.socketPath << ": " << failure << '\n';
        return kExitJobFailed;
    }
    return kExitSuccess;
}

#ifdef TARVIK_HAVE_UHID

constexpr std::string_view kEventNames[] = {"created", "opened", "closed", "unplugged"};

// Why the uhid node could not be opened, in words that say what to do about it.
std::string uhidProblem(const std::system_error& e, std::uint8_t language) {
    const std::string node = UhidDevice::kDefaultPath;
    switch (e.code().value()) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return fillIn(pick(texts::kUhidMissing, language), {node});
    case EACCES:
    case EPERM:
    case EROFS:
        return fillIn(pick(texts::kUhidNoAccess, language), {node});
    default:
        return e.what();
    }
}

// The device on /dev/uhid. With --events, each thing the kernel does with it is one line of
// the file: the event and the monotonic clock's seconds (the clock of /proc/uptime).
int serveOnUhid(const CliOptions& options, CliIo& io, VirtualDevice& device,
                std::string_view chipName) {
    const std::uint8_t language = options.language;
    std::ofstream events;
    if (!options.eventsPath.empty()) {
        events.open(options.eventsPath, std::ios::out | std::ios::trunc);
        if (!events) {
            io.err << fillIn(pick(texts::kUhidEvents, language), {options.eventsPath}) << '\n';
            return kExitUsage;
        }
    }
    const auto note = [&events](UhidEvent event) {
        if (!events.is_open())
            return;
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        events << kEventNames[static_cast<std::size_t>(event)] << ' ' << std::fixed
               << std::setprecision(3) << std::chrono::duration<double>(now).count() << std::endl;
    };
    UhidSettings settings;
    settings.vendorId = options.vendorId;
    settings.productId = options.productId;
    settings.reportBytes = options.reportBytes;
    settings.reportInterval = options.reportInterval;

    const BlockedTerminationSignals signals;
    std::unique_ptr<UhidDevice> uhid;
    try {
        uhid = std::make_unique<UhidDevice>(UhidDevice::openNode(), device, settings, note);
    } catch (const std::system_error& e) {
        io.err << uhidProblem(e, language) << '\n';
        return kExitUsage;
    }
    if (!options.quiet) {
        io.out << fillIn(pick(texts::kServing, language), {chipName, UhidDevice::kDefaultPath})
               << '\n';
        io.out.flush();
    }
    const std::string failure = serveUntilSignalled(
        signals, [&] { uhid->run(); }, [&] { uhid->stop(); });
    uhid.reset(); // an unplug, unless the device has dropped off by itself
    if (!failure.empty()) {
        io.err << UhidDevice::kDefaultPath << ": " << failure << '\n';
        return kExitJobFailed;
    }
    return kExitSuccess;
}

#endif

} // namespace

int serveEmulator(const CliOptions& options, CliIo& io) {
    const std::uint8_t language = options.language;
    const emulator::VirtualChip* chip = emulator::findVirtualChip(options.chip);
    if (chip == nullptr) {
        io.err << fillIn(pick(texts::kUnknownChip, language), {options.chip}) << '\n';
        return kExitUsage;
    }
    emulator::VirtualProgrammer programmer(*chip);
    if (options.unplugAfter > 0)
        programmer.injectFault(emulator::Fault::Unplug, options.unplugAfter);
    VirtualDevice* device = &programmer;
    FrameLatency latency(programmer, options.reportInterval);
    if (options.reportInterval.count() > 0 && !options.uhid)
        device = &latency;
    TracedDevice traced(*device, io.err);
    if (options.trace)
        device = &traced;

    if (!options.uhid)
        return serveOnSocket(options, io, *device, chip->name);
#ifdef TARVIK_HAVE_UHID
    return serveOnUhid(options, io, *device, chip->name);
#else
    io.err << fillIn(pick(texts::kUhidMissing, language), {"/dev/uhid"}) << '\n';
    return kExitUsage;
#endif
}

} // namespace tarvik::cli
