// The system's USB backend for the programmer: hidraw through hidapi and libudev on Linux,
// HID.dll and SetupApi.dll on Windows. The build picks the one of the system it is for.
#pragma once

#include <memory>

#include "link/dispatcher.h"
#include "link/hid_backend.h"

namespace tarvik {

// nullptr where this build has no USB backend (another system, or built without it). Never
// fails otherwise: without the system's device services it finds no devices and hears no
// events.
std::unique_ptr<HidBackend> makeUsbBackend(Dispatcher& mainThread);

} // namespace tarvik
