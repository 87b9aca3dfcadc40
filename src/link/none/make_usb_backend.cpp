// makeUsbBackend for a build without a USB backend (TARVIK_HIDAPI off, or a system without one).
#include "link/usb_backend_factory.h"

namespace tarvik {

std::unique_ptr<HidBackend> makeUsbBackend(Dispatcher&) {
    return nullptr;
}

} // namespace tarvik
