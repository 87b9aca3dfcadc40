// The real USB backend: libudev lists the hidraw nodes and reports plug events, hidapi opens
// and writes, the read thread polls the node.
#pragma once

#include <memory>

#include "link/dispatcher.h"
#include "link/hid_backend.h"

namespace tarvik {

// Never fails: without udev it simply finds no devices and hears no events.
std::unique_ptr<HidBackend> makeUsbBackend(Dispatcher& mainThread);

} // namespace tarvik
