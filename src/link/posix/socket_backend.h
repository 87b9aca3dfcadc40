// The programmer in another process, reached over a UNIX-domain SOCK_SEQPACKET socket. A
// connection is a plugged-in programmer (a new device each time), the peer closing it is an
// unplug. While unconnected the backend keeps trying to connect.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "link/change_notifier.h"
#include "link/dispatcher.h"
#include "link/hid_backend.h"
#include "link/posix/wake_event.h"

namespace tarvik {

class SocketBackend : public HidBackend {
public:
    // Starts trying to connect at once, then every retryInterval while unconnected.
    SocketBackend(Dispatcher& mainThread, std::string socketPath,
                  std::chrono::milliseconds retryInterval = std::chrono::milliseconds(250));
    ~SocketBackend() override;
    SocketBackend(const SocketBackend&) = delete;
    SocketBackend& operator=(const SocketBackend&) = delete;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const HidDeviceInfo& info) override;
    void watch(std::function<void()> onChange) override;
    // A peer is taken only when it runs as this process's user or as root (checked with the
    // socket's peer credentials); this names the last one refused while none is connected.
    std::optional<RefusedProgrammer> refusedProgrammer() const override;

    struct Link; // one connection, shared with the device connections opened on it

private:
    void monitor();
    // After the peer closed: waits while a reader still takes what it sent. True on stop.
    bool drainWait(const Link& link);
    void connected(std::shared_ptr<Link> link);
    void disconnected();

    std::string path_;
    std::chrono::milliseconds retryInterval_;
    ChangeNotifier notifier_;
    WakeEvent stop_;
    mutable std::mutex mutex_; // guards link_, connections_ and refused_
    std::shared_ptr<Link> link_;
    std::uint64_t connections_ = 0;
    std::optional<RefusedProgrammer> refused_;
    std::thread monitor_;
};

} // namespace tarvik
