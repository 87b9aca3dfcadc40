// UNIX-domain SOCK_SEQPACKET helpers.
#include "link/posix/unix_socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace tarvik {

namespace {

bool makeAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() > maxSocketPathLength())
        return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

UniqueFd newSocket() {
    return UniqueFd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
}

} // namespace

std::size_t maxSocketPathLength() {
    return sizeof(sockaddr_un::sun_path) - 1;
}

UniqueFd connectSeqPacket(const std::string& path) {
    sockaddr_un address;
    if (!makeAddress(path, address))
        return {};
    UniqueFd fd = newSocket();
    if (!fd.valid())
        return {};
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return {};
    return fd;
}

UniqueFd listenSeqPacket(const std::string& path) {
    sockaddr_un address;
    if (!makeAddress(path, address))
        throw std::invalid_argument("socket path is empty or longer than " +
                                    std::to_string(maxSocketPathLength()) + " bytes: " + path);
    struct stat status;
    if (::stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode)) {
        if (connectSeqPacket(path).valid())
            throw std::system_error(EADDRINUSE, std::generic_category(),
                                    "another server is serving " + path);
        ::unlink(path.c_str());
    }
    UniqueFd fd = newSocket();
    if (!fd.valid())
        throw std::system_error(errno, std::generic_category(), "socket for " + path);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd.get(), 1) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot listen on " + path);
    return fd;
}

PollResult pollWithWake(int fd, int wakeFd, int timeoutMs, bool forData) {
    const short events = forData ? POLLIN | POLLRDHUP : POLLRDHUP;
    pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
    PollResult result;
    if (::poll(fds, 2, timeoutMs) <= 0)
        return result;
    result.readable = (fds[0].revents & POLLIN) != 0;
    result.hangUp = (fds[0].revents & (POLLHUP | POLLRDHUP | POLLERR | POLLNVAL)) != 0;
    result.woken = (fds[1].revents & POLLIN) != 0;
    return result;
}

int receiveMessage(int fd, std::span<std::uint8_t> buffer, bool peerClosed) {
    const auto received = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
    if (received < 0)
        return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
    if (received == 0)
        return peerClosed ? -1 : 0; // an empty message, unless the peer is gone
    return static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(received), buffer.size()));
}

bool messageWaiting(int fd) {
    std::uint8_t byte = 0;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK) > 0;
}

bool sendMessage(int fd, std::span<const std::uint8_t> message) {
    for (;;) {
        const auto sent = ::send(fd, message.data(), message.size(), MSG_NOSIGNAL);
        if (sent >= 0)
            return static_cast<std::size_t>(sent) == message.size();
        if (errno != EINTR)
            return false;
    }
}

} // namespace tarvik
