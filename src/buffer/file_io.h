// Reading and writing whole files. Failures throw UserError with a text in the given language
// that names the file and the system's reason. A write goes to a temporary file in the same
// folder that is renamed over the target, so a failed save never destroys the file that was there.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvik {

// Refuses files larger than kMaxImageBytes (intel_hex.h) without reading them.
std::vector<std::uint8_t> readWholeFile(const std::string& fileName, std::uint8_t languageCode);
void writeWholeFile(const std::string& fileName, std::span<const std::uint8_t> bytes,
                    std::uint8_t languageCode);

} // namespace tarvik
