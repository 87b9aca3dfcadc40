// makeSocketBackend on a system without UNIX-domain SOCK_SEQPACKET sockets.
#include "link/socket_backend_factory.h"

namespace tarvik {

std::unique_ptr<HidBackend> makeSocketBackend(Dispatcher&, const std::string&) {
    return nullptr;
}

} // namespace tarvik
