// makeSocketBackend where POSIX applies: the socket backend.
#include "link/posix/socket_backend.h"
#include "link/socket_backend_factory.h"

namespace tarvik {

std::unique_ptr<HidBackend> makeSocketBackend(Dispatcher& mainThread,
                                              const std::string& socketPath) {
    return std::make_unique<SocketBackend>(mainThread, socketPath);
}

} // namespace tarvik
