// The programmers on the bus as the command line sees them: the list of those attached now,
// and a backend that shows the controller only the one --programmer hid:PATH names.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "link/hid_backend.h"

namespace tarvik::cli {

// The attached devices with the programmer's vendor and product id, in the backend's order.
std::vector<HidDeviceInfo> attachedProgrammers(HidBackend& backend);

// Whether the device is the one PATH names: by its node path or by its identity.
bool isAt(const HidDeviceInfo& device, const std::string& path);

// A backend that lists (and so lets the controller open) only the devices at PATH.
std::unique_ptr<HidBackend> onlyAt(std::unique_ptr<HidBackend> inner, std::string path);

} // namespace tarvik::cli
