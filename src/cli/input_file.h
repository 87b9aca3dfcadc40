// The file a write, verify or write-eeprom command loads, checked before the programmer is
// awaited, so a bad file is reported at once whether a programmer is there or not.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "buffer/image_file.h"

namespace tarvik::cli {

// Why the part of the file a job takes cannot be loaded (the loader's or the system's message),
// or nothing.
std::optional<std::string> inputFileProblem(const std::string& fileName, MemoryPart part,
                                            std::uint8_t language);

} // namespace tarvik::cli
