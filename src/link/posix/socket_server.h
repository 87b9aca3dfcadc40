// Serves a virtual device on a UNIX-domain SOCK_SEQPACKET socket, one client at a time: each
// message from the client is one output report, each answer goes back as one message of the
// report id and 64 payload bytes. A device that drops off the bus closes the connection.
#pragma once

#include <string>

#include "link/posix/unique_fd.h"
#include "link/posix/wake_event.h"
#include "protocol/virtual_device.h"

namespace tarvik {

class SocketServer {
public:
    // Listens at once; throws std::system_error or std::invalid_argument when it cannot.
    SocketServer(std::string socketPath, VirtualDevice& device);
    // Removes the socket file.
    ~SocketServer();
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;

    // Serves clients until stop(). Called on one thread; the device is used on that thread.
    void run();
    // Any thread: makes run() return soon.
    void stop();

private:
    // Serves one client until it closes, the device unplugs, or a stop. False on stop.
    bool serve(int client);
    bool sendAll(int client, const DeviceReply& reply);

    std::string path_;
    VirtualDevice& device_;
    UniqueFd listener_;
    WakeEvent stop_;
};

} // namespace tarvik
