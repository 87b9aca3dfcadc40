// list-devices: the Device menu entries --device selects, the chips the client identifies by
// their signature, and the chips the virtual programmer can hold.
#pragma once

#include <cstdint>
#include <ostream>

namespace tarvik::cli {

int listDevices(std::ostream& out, std::uint8_t language);

} // namespace tarvik::cli
