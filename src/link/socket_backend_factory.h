// The programmer served on a UNIX-domain socket, where the system has them.
#pragma once

#include <memory>
#include <string>

#include "link/dispatcher.h"
#include "link/hid_backend.h"

namespace tarvik {

// nullptr on a system without UNIX-domain SOCK_SEQPACKET sockets (Windows).
std::unique_ptr<HidBackend> makeSocketBackend(Dispatcher& mainThread,
                                              const std::string& socketPath);

} // namespace tarvik
