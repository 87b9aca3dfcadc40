// The socket backend: a monitor thread that connects, notices the peer closing, and turns
// both into change notices; device connections that carry one report per message.
#include "link/posix/socket_backend.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <utility>

#include "link/posix/socket_texts.h"
#include "link/posix/unix_socket.h"
#include "protocol/codes.h"

namespace tarvik {

struct SocketBackend::Link {
    UniqueFd fd;
    HidDeviceInfo info;
    std::atomic<bool> gone{false};
    // Opened connections. Like a hidraw file, each one queues the answers from the moment it
    // is opened, whether or not its reader has started yet.
    std::atomic<int> connections{0};
    std::atomic<std::uint64_t> received{0}; // messages taken through them
};

namespace {

class SocketConnection : public HidConnection {
public:
    explicit SocketConnection(std::shared_ptr<SocketBackend::Link> link) : link_(std::move(link)) {
        ++link_->connections;
    }
    ~SocketConnection() override { --link_->connections; }

    bool readWriteAccess() const override { return true; }

    bool write(std::span<const std::uint8_t> report) override {
        return !link_->gone && sendMessage(link_->fd.get(), report);
    }

    int read(std::span<std::uint8_t> report, int timeoutMs) override {
        if (link_->gone)
            return -1;
        const PollResult ready = pollWithWake(link_->fd.get(), wake_.fd(), timeoutMs);
        if (ready.woken) {
            wake_.clear();
            return 0;
        }
        if (!ready.readable && !ready.hangUp)
            return 0;
        const int count = receiveMessage(link_->fd.get(), report, ready.hangUp);
        if (count > 0)
            ++link_->received;
        return count;
    }

    void wakeUp() override { wake_.signal(); }

private:
    std::shared_ptr<SocketBackend::Link> link_;
    WakeEvent wake_;
};

} // namespace

SocketBackend::SocketBackend(Dispatcher& mainThread, std::string socketPath,
                             std::chrono::milliseconds retryInterval)
    : path_(std::move(socketPath)), retryInterval_(retryInterval), notifier_(mainThread),
      monitor_([this] { monitor(); }) {}

SocketBackend::~SocketBackend() {
    notifier_.watch({});
    stop_.signal();
    monitor_.join();
    disconnected();
}

void SocketBackend::monitor() {
    const int retryMs = static_cast<int>(retryInterval_.count());
    for (;;) {
        UniqueFd fd = connectSeqPacket(path_);
        if (!fd.valid()) {
            if (stop_.wait(retryMs))
                return;
            continue;
        }
        // Whoever listens on the path gets the firmware that is written: only a peer of our
        // own user (or root) is trusted with it.
        ucred peer{};
        socklen_t length = sizeof peer;
        if (::getsockopt(fd.get(), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 ||
            (peer.uid != ::getuid() && peer.uid != 0)) {
            const RefusedProgrammer refused{
                path_, fillInAll(texts::kPeerRefused, {path_, std::to_string(peer.uid)})};
            bool news = false;
            {
                std::lock_guard lock(mutex_);
                news = refused_ != refused;
                refused_ = refused;
            }
            // Told once, not on every retry.
            if (news)
                notifier_.notify();
            fd = UniqueFd();
            if (stop_.wait(retryMs))
                return;
            continue;
        }
        // A write the peer does not take within a second fails instead of hanging the
        // main thread.
        const timeval sendTimeout{1, 0};
        ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
        auto link = std::make_shared<Link>();
        link->fd = std::move(fd);
        connected(link);

        PollResult state;
        while (!state.hangUp && !state.woken)
            state = pollWithWake(link->fd.get(), stop_.fd(), -1, false);
        if (state.woken)
            return;
        if (drainWait(*link))
            return;
        disconnected();
    }
}

bool SocketBackend::drainWait(const Link& link) {
    // Let the opened connections take the answers the peer sent before it closed, as long as
    // they keep taking them.
    constexpr int kStepMs = 2;
    constexpr int kPatienceMs = 500;
    int idleMs = 0;
    auto taken = link.received.load();
    while (link.connections > 0 && messageWaiting(link.fd.get()) && idleMs < kPatienceMs) {
        if (stop_.wait(kStepMs))
            return true;
        const auto now = link.received.load();
        idleMs = now == taken ? idleMs + kStepMs : 0;
        taken = now;
    }
    return false;
}

void SocketBackend::connected(std::shared_ptr<Link> link) {
    {
        std::lock_guard lock(mutex_);
        ++connections_;
        refused_.reset();
        link->info.path = path_;
        link->info.identity = "socket:" + path_ + "#" + std::to_string(connections_);
        link->info.vendorId = kProgrammerVendorId;
        link->info.productId = kProgrammerProductId;
        link->info.inputReportLength = report::kInputLength;
        link->info.outputReportLength = report::kOutputLength;
        link_ = std::move(link);
    }
    notifier_.notify();
}

void SocketBackend::disconnected() {
    std::shared_ptr<Link> link;
    {
        std::lock_guard lock(mutex_);
        link = std::exchange(link_, nullptr);
    }
    if (!link)
        return;
    link->gone = true;
    // Wake readers at once: they see the end on the socket.
    ::shutdown(link->fd.get(), SHUT_RDWR);
    notifier_.notify();
}

std::vector<HidDeviceInfo> SocketBackend::enumerate() {
    std::lock_guard lock(mutex_);
    if (!link_)
        return {};
    return {link_->info};
}

std::unique_ptr<HidConnection> SocketBackend::open(const HidDeviceInfo& info) {
    std::lock_guard lock(mutex_);
    if (!link_ || link_->info.identity != info.identity)
        return nullptr;
    return std::make_unique<SocketConnection>(link_);
}

std::optional<RefusedProgrammer> SocketBackend::refusedProgrammer() const {
    std::lock_guard lock(mutex_);
    return refused_;
}

void SocketBackend::watch(std::function<void()> onChange) {
    notifier_.watch(std::move(onChange));
}

} // namespace tarvik
