// The backends --programmer chooses between: the real programmer on USB (when the program was
// built with hidapi), the virtual programmer in this process, or one served on a socket.
#include <memory>

#include "cli/cli.h"
#include "emulator/virtual_programmer.h"
#include "link/emulated_backend.h"
#include "link/socket_backend.h"

#ifdef TARVIK_HAVE_HIDAPI
#include "link/hidapi/usb_backend_factory.h"
#endif

namespace tarvik::cli {

std::unique_ptr<HidBackend> openProgrammerBackend(const ProgrammerSpec& choice,
                                                  Dispatcher& mainThread) {
    switch (choice.kind) {
    case ProgrammerSpec::Kind::Emulate: {
        auto backend = std::make_unique<EmulatedBackend>(mainThread);
        backend->plug(std::make_shared<emulator::VirtualProgrammer>(choice.chip));
        return backend;
    }
    case ProgrammerSpec::Kind::Socket:
        return std::make_unique<SocketBackend>(mainThread, choice.socketPath);
    case ProgrammerSpec::Kind::Hid:
        break;
    }
#ifdef TARVIK_HAVE_HIDAPI
    return makeUsbBackend(mainThread);
#else
    return nullptr; // built without USB support
#endif
}

} // namespace tarvik::cli
