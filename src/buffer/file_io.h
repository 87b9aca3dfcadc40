// Reading and writing whole files. Failures throw UserError with a text in the given language
// that names the file and the system's reason. A write goes to a temporary file in the same
// folder that is renamed over the target, so a failed save never destroys the file that was there.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/intel_hex.h"

namespace tarvik {

// Every read refuses what is not a regular file (a folder, pipe, socket or device) at once.
// Refuses files larger than maxBytes without reading them.
std::vector<std::uint8_t> readWholeFile(const std::string& fileName, std::uint8_t languageCode,
                                        std::size_t maxBytes = kMaxImageBytes);
// A HEX file's text, up to kMaxHexFileBytes.
std::string readTextFile(const std::string& fileName, std::uint8_t languageCode);
// The kind a file is loaded as: fileKindOf by its name and its first bytes.
FileKind loadKindOf(const std::string& fileName, std::uint8_t languageCode);

// Keeps the permissions of a file it replaces; writes through a symbolic link to its target.
void writeWholeFile(const std::string& fileName, std::span<const std::uint8_t> bytes,
                    std::uint8_t languageCode);
void writeWholeFile(const std::string& fileName, std::string_view text, std::uint8_t languageCode);

} // namespace tarvik
