// UNIX-domain SOCK_SEQPACKET helpers shared by the socket backend and the socket server: one
// message is one report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/posix/unique_fd.h"

namespace tarvik {

// The longest path a UNIX socket address can hold.
std::size_t maxSocketPathLength();

// Connects to a listening socket; an invalid descriptor when nothing listens there.
UniqueFd connectSeqPacket(const std::string& path);

// Binds and listens; throws std::system_error (or std::invalid_argument for a path that does
// not fit) with a message naming the path. A stale socket file left by a server that is gone
// is replaced; a live one is not.
UniqueFd listenSeqPacket(const std::string& path);

// Waits up to timeoutMs (-1: for good) for fd to become readable (or, without forData, only
// for the peer to close) or for the wake descriptor to be signalled.
struct PollResult {
    bool readable = false; // a message (or the end) is waiting on fd
    bool hangUp = false;   // the peer has closed
    bool woken = false;
};
PollResult pollWithWake(int fd, int wakeFd, int timeoutMs, bool forData = true);

// One message without blocking. Returns its length (clamped to the buffer: a longer message is
// cut), 0 for an empty message or when nothing is waiting, -1 on the end or an error.
int receiveMessage(int fd, std::span<std::uint8_t> buffer, bool peerClosed);

// Whether a message is still waiting to be read.
bool messageWaiting(int fd);

// Sends one message whole; false when it could not.
bool sendMessage(int fd, std::span<const std::uint8_t> message);

} // namespace tarvik
