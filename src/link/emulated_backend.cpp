// The emulated bus: ports holding plugged virtual devices, and connections to them that
// carry reports with or without the USB full-speed frame timing.
#include "link/emulated_backend.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <string>
#include <thread>
#include <utility>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tarvik {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kFrame = std::chrono::milliseconds(1);
constexpr std::size_t kSpareAnswers = 16;

// The first frame boundary after t.
Clock::time_point nextFrame(Clock::time_point t) {
    const auto frames = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch());
    return Clock::time_point(frames + kFrame);
}

// Frames are timed by the bus, not by the host's timers: a thread that waits for frame
// boundaries asks the kernel not to round its wake-ups late (the default slack is 50 µs, which
// would add up over thousands of frames).
void keepFrameTime() {
#ifdef __linux__
    thread_local const bool precise = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
    (void)precise;
#endif
}

} // namespace

struct EmulatedBackend::Port {
    struct Pending {
        std::vector<std::uint8_t> bytes;
        Clock::time_point readyAt;
    };

    HidDeviceInfo info;
    Handle handle = 0;
    Latency latency = Latency::None;
    bool readWriteAccess = true;
    std::atomic<bool> refusesWrites = false;
    std::weak_ptr<Bus> bus;

    std::mutex deviceMutex; // one output report at a time reaches the device
    std::shared_ptr<VirtualDevice> device;

    std::mutex mutex; // guards everything below
    std::condition_variable changed;
    std::deque<Pending> queue;
    // Buffers of answers already read, kept for the next answers: the writer and the reader
    // are different threads, and handing memory across them through the allocator costs more
    // than the answer itself.
    std::vector<std::vector<std::uint8_t>> spare;
    bool plugged = true;
    bool unplugWhenDrained = false;

    void markUnplugged() {
        {
            std::lock_guard lock(mutex);
            plugged = false;
            queue.clear();
        }
        changed.notify_all();
    }
};

struct EmulatedBackend::Bus {
    explicit Bus(Dispatcher& mainThread) : notifier(mainThread) {}

    void remove(Handle handle) {
        std::shared_ptr<Port> port;
        {
            std::lock_guard lock(mutex);
            const auto it = std::find_if(ports.begin(), ports.end(),
                                         [handle](const auto& p) { return p->handle == handle; });
            if (it == ports.end())
                return;
            port = *it;
            ports.erase(it);
        }
        port->markUnplugged();
        notifier.notify();
    }

    std::mutex mutex; // guards ports and nextHandle
    std::vector<std::shared_ptr<Port>> ports;
    Handle nextHandle = 1;
    ChangeNotifier notifier;
};

namespace {

class EmulatedConnection : public HidConnection {
public:
    using Port = EmulatedBackend::Port;
    explicit EmulatedConnection(std::shared_ptr<Port> port) : port_(std::move(port)) {}

    bool readWriteAccess() const override { return port_->readWriteAccess; }

    bool write(std::span<const std::uint8_t> report) override {
        if (!port_->readWriteAccess || port_->refusesWrites)
            return false;
        {
            std::lock_guard lock(port_->mutex);
            if (!port_->plugged)
                return false;
        }
        auto sent = Clock::now();
        if (port_->latency == Latency::UsbFullSpeed) {
            keepFrameTime();
            sent = nextFrame(sent);
            std::this_thread::sleep_until(sent);
        }
        DeviceReply reply;
        {
            std::lock_guard lock(port_->deviceMutex);
            reply = port_->device->onOutputReport(report);
        }
        bool unplugNow = false;
        {
            std::lock_guard lock(port_->mutex);
            if (!port_->plugged)
                return false;
            auto readyAt = sent;
            for (const auto& answer : reply.reports) {
                if (port_->latency == Latency::UsbFullSpeed) {
                    // One report per frame, never ahead of those already on their way.
                    if (!port_->queue.empty())
                        readyAt = std::max(readyAt, port_->queue.back().readyAt);
                    readyAt = nextFrame(readyAt);
                }
                std::vector<std::uint8_t> bytes;
                if (!port_->spare.empty()) {
                    bytes = std::move(port_->spare.back());
                    port_->spare.pop_back();
                }
                bytes.assign(port_->info.inputReportLength, 0);
                std::copy_n(answer.begin(), std::min(bytes.size(), answer.size()), bytes.begin());
                port_->queue.push_back({std::move(bytes), readyAt});
            }
            if (reply.unplug) {
                // The device drops off the bus once its last answer has been read.
                unplugNow = port_->queue.empty();
                port_->unplugWhenDrained = !unplugNow;
            }
        }
        if (!reply.reports.empty())
            port_->changed.notify_all();
        if (unplugNow)
            unplugPort();
        return true;
    }

    int read(std::span<std::uint8_t> report, int timeoutMs) override {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        std::unique_lock lock(port_->mutex);
        for (;;) {
            if (!port_->plugged)
                return -1;
            if (wakeRequested_) {
                wakeRequested_ = false;
                return 0;
            }
            const auto now = Clock::now();
            if (!port_->queue.empty() && port_->queue.front().readyAt <= now) {
                auto bytes = std::move(port_->queue.front().bytes);
                port_->queue.pop_front();
                const auto count = std::min(bytes.size(), report.size());
                std::copy_n(bytes.begin(), count, report.begin());
                if (port_->spare.size() < kSpareAnswers)
                    port_->spare.push_back(std::move(bytes));
                return static_cast<int>(count);
            }
            if (port_->queue.empty() && port_->unplugWhenDrained) {
                lock.unlock();
                unplugPort();
                return -1;
            }
            if (now >= deadline)
                return 0;
            if (port_->latency == Latency::UsbFullSpeed)
                keepFrameTime();
            const auto until =
                port_->queue.empty() ? deadline : std::min(deadline, port_->queue.front().readyAt);
            port_->changed.wait_until(lock, until);
        }
    }

    void wakeUp() override {
        {
            std::lock_guard lock(port_->mutex);
            wakeRequested_ = true;
        }
        port_->changed.notify_all();
    }

private:
    void unplugPort() {
        if (const auto bus = port_->bus.lock())
            bus->remove(port_->handle);
        else
            port_->markUnplugged();
    }

    std::shared_ptr<Port> port_;
    bool wakeRequested_ = false; // guarded by port_->mutex
};

} // namespace

EmulatedBackend::EmulatedBackend(Dispatcher& mainThread)
    : bus_(std::make_shared<Bus>(mainThread)) {}

EmulatedBackend::~EmulatedBackend() {
    bus_->notifier.watch({});
    std::vector<std::shared_ptr<Port>> ports;
    {
        std::lock_guard lock(bus_->mutex);
        ports.swap(bus_->ports);
    }
    for (const auto& port : ports)
        port->markUnplugged();
}

EmulatedBackend::Handle EmulatedBackend::plug(std::shared_ptr<VirtualDevice> device,
                                              Latency latency,
                                              const EmulatedDeviceOptions& options) {
    auto port = std::make_shared<Port>();
    port->latency = latency;
    port->readWriteAccess = options.readWriteAccess;
    port->bus = bus_;
    port->device = std::move(device);
    port->info.vendorId = options.vendorId;
    port->info.productId = options.productId;
    port->info.version = options.version;
    port->info.inputReportLength = options.inputReportLength;
    port->info.outputReportLength = options.outputReportLength;
    {
        std::lock_guard lock(bus_->mutex);
        port->handle = bus_->nextHandle++;
        port->info.path = "emulated:" + std::to_string(port->handle);
        port->info.identity = "emulated-device-" + std::to_string(port->handle);
        bus_->ports.push_back(port);
    }
    bus_->notifier.notify();
    return port->handle;
}

void EmulatedBackend::unplug(Handle handle) {
    bus_->remove(handle);
}

void EmulatedBackend::refuseWrites(Handle handle) {
    std::lock_guard lock(bus_->mutex);
    for (const auto& port : bus_->ports)
        if (port->handle == handle)
            port->refusesWrites = true;
}

std::vector<HidDeviceInfo> EmulatedBackend::enumerate() {
    std::lock_guard lock(bus_->mutex);
    std::vector<HidDeviceInfo> infos;
    for (const auto& port : bus_->ports)
        infos.push_back(port->info);
    return infos;
}

std::unique_ptr<HidConnection> EmulatedBackend::open(const HidDeviceInfo& info) {
    std::lock_guard lock(bus_->mutex);
    for (const auto& port : bus_->ports)
        if (port->info.identity == info.identity)
            return std::make_unique<EmulatedConnection>(port);
    return nullptr;
}

void EmulatedBackend::watch(std::function<void()> onChange) {
    bus_->notifier.watch(std::move(onChange));
}

std::vector<std::string> EmulatedBackend::accessRemedy(std::uint8_t languageCode) const {
    return remedy_ ? remedy_(languageCode) : std::vector<std::string>{};
}

void EmulatedBackend::setAccessRemedy(
    std::function<std::vector<std::string>(std::uint8_t)> remedy) {
    remedy_ = std::move(remedy);
}

} // namespace tarvik
