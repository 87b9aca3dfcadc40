// The file a write, verify or write-eeprom command loads, checked before the programmer is
// awaited, so a bad file is reported at once whether a programmer is there or not.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "buffer/image_file.h"
#include "chips/fuse_bits.h"

namespace tarvik::cli {

// Why the part of the file a job takes cannot be loaded (the loader's or the system's message),
// or nothing.
std::optional<std::string> inputFileProblem(const std::string& fileName, MemoryPart part,
                                            std::uint8_t language);

// write-fuses --from FILE: the fuse and lock bytes of an ELF file and the signature it was
// built for, or why there are none (problem).
struct FuseFile {
    chips::FuseFileBytes bytes;
    std::optional<std::array<std::uint8_t, 3>> signature;
    std::string problem;
};
FuseFile readFuseFile(const std::string& fileName, std::uint8_t language);

} // namespace tarvik::cli
