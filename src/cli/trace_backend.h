// --trace: a decorator around the HID backend that shows every report crossing the link, one
// line each: "> " for a report to the programmer, "< " for one from it, then the bytes as
// upper-case hex pairs separated by blanks.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "link/hid_backend.h"

namespace tarvik::cli {

// Receives each trace line (without a line end); called from the main thread for writes and
// from the device's read thread for reads.
using TraceSink = std::function<void(std::string_view line)>;

// The bytes as upper-case hex pairs separated by blanks.
std::string hexPairs(std::span<const std::uint8_t> bytes);
// direction is '>' or '<'.
std::string traceLine(char direction, std::span<const std::uint8_t> bytes);

std::unique_ptr<HidBackend> traceBackend(std::unique_ptr<HidBackend> inner, TraceSink sink);

} // namespace tarvik::cli
