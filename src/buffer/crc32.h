// CRC-32 as zlib, crc32 and the release notes of firmware compute it (IEEE 802.3, reflected,
// polynomial 0xEDB88320), and the text the log and the command line show for an image.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tarvik {

std::uint32_t crc32(std::span<const std::uint8_t> bytes);

// Eight upper-case hexadecimal digits.
std::string crc32Text(std::span<const std::uint8_t> bytes);

} // namespace tarvik
