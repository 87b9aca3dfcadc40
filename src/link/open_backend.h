// The backend a program run talks to, chosen once: the programmer on USB (through the system's
// USB backend, when this build has one), a virtual device in this process, or a programmer
// served on a UNIX-domain socket (where the system has them).
#pragma once

#include <memory>
#include <string>

#include "link/dispatcher.h"
#include "link/hid_backend.h"
#include "protocol/virtual_device.h"

namespace tarvik {

struct BackendChoice {
    enum class Kind { Usb, Emulated, Socket };
    Kind kind = Kind::Usb;
    std::shared_ptr<VirtualDevice> device; // Emulated: plugged in at once
    std::string socketPath;                // Socket
};

// nullptr when this build or this system has no backend of that kind (USB without a USB
// backend, a socket where there are no UNIX-domain sockets): the caller says so.
std::unique_ptr<HidBackend> openBackend(const BackendChoice& choice, Dispatcher& mainThread);

} // namespace tarvik
