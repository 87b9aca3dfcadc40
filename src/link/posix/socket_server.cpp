// The serving side of the socket link.
#include "link/posix/socket_server.h"

#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <utility>

#include "link/posix/unix_socket.h"

namespace tarvik {

namespace {

// Output reports longer than this are cut; the device sees what fits.
constexpr std::size_t kLongestReport = 1024;

} // namespace

SocketServer::SocketServer(std::string socketPath, VirtualDevice& device)
    : path_(std::move(socketPath)), device_(device), listener_(listenSeqPacket(path_)) {}

SocketServer::~SocketServer() {
    listener_.reset();
    ::unlink(path_.c_str());
}

void SocketServer::stop() {
    stop_.signal();
}

void SocketServer::run() {
    for (;;) {
        const PollResult ready = pollWithWake(listener_.get(), stop_.fd(), -1);
        if (ready.woken)
            return;
        if (!ready.readable)
            continue;
        UniqueFd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!client.valid())
            continue;
        if (!serve(client.get()))
            return;
    }
}

bool SocketServer::serve(int client) {
    std::array<std::uint8_t, kLongestReport> report{};
    for (;;) {
        const PollResult ready = pollWithWake(client, stop_.fd(), -1);
        if (ready.woken)
            return false;
        const int length = receiveMessage(client, report, ready.hangUp);
        if (length < 0)
            return true; // the client has gone
        if (length == 0)
            continue;
        const DeviceReply reply =
            device_.onOutputReport(std::span(report).first(static_cast<std::size_t>(length)));
        if (!sendAll(client, reply))
            return !stop_.wait(0);
        if (reply.unplug)
            return true;
    }
}

bool SocketServer::sendAll(int client, const DeviceReply& reply) {
    for (const auto& answer : reply.reports) {
        for (;;) {
            const auto sent = ::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
            if (sent == static_cast<ssize_t>(answer.size()))
                break;
            if (sent >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                return false;
            // The client is not reading yet: wait until it makes room, or for a stop.
            pollfd fds[2] = {{client, POLLOUT, 0}, {stop_.fd(), POLLIN, 0}};
            ::poll(fds, 2, -1);
            if (fds[1].revents & POLLIN)
                return false;
            if (fds[0].revents & (POLLHUP | POLLERR))
                return false;
        }
    }
    return true;
}

} // namespace tarvik
