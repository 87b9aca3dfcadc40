// makeUsbBackend: the USB backend over udev and hidapi.
#include "link/linux/hidraw_connection.h"
#include "link/linux/udev_hidraw_source.h"
#include "link/usb_backend_factory.h"

namespace tarvik {

std::unique_ptr<HidBackend> makeUsbBackend(Dispatcher& mainThread) {
    return std::make_unique<UsbBackend>(mainThread, std::make_unique<UdevHidrawSource>(),
                                        std::make_unique<HidapiOpener>());
}

} // namespace tarvik
