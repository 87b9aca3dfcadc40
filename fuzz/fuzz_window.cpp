// The fuzz targets' window (see fuzz_window.h).
#include "fuzz_window.h"

namespace tarvik::fuzz {

namespace {

struct Bus {
    explicit Bus(std::shared_ptr<VirtualDevice> device) {
        if (device != nullptr)
            backend.plug(std::move(device));
    }
    PlainDispatcher dispatcher;
    EmulatedBackend backend{dispatcher};
    THidDeviceController controller{backend, dispatcher};
};

THidDeviceController& controller(std::shared_ptr<VirtualDevice> device) {
    static Bus bus(std::move(device));
    bus.dispatcher.runPending(); // the plug's change notice, and nothing else ever
    return bus.controller;
}

} // namespace

FuzzWindow::FuzzWindow(std::shared_ptr<VirtualDevice> device)
    : form_(controller(std::move(device)), settings_, host_) {
    form_.FormCreate();
    form_.sEnglishClick();
}

} // namespace tarvik::fuzz
