// openBackend: the emulated bus here, the USB and socket backends from the system's folders.
#include "link/open_backend.h"

#include "link/emulated_backend.h"
#include "link/socket_backend_factory.h"
#include "link/usb_backend_factory.h"

namespace tarvik {

std::unique_ptr<HidBackend> openBackend(const BackendChoice& choice, Dispatcher& mainThread) {
    switch (choice.kind) {
    case BackendChoice::Kind::Emulated: {
        auto backend = std::make_unique<EmulatedBackend>(mainThread);
        if (choice.device)
            backend->plug(choice.device);
        return backend;
    }
    case BackendChoice::Kind::Socket:
        return makeSocketBackend(mainThread, choice.socketPath);
    case BackendChoice::Kind::Usb:
        break;
    }
    return makeUsbBackend(mainThread);
}

} // namespace tarvik
