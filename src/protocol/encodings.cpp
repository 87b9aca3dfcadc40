// Parameter encodings of the command reports: sizes carried as one-byte codes.
#include "protocol/encodings.h"

namespace tarvik {

std::int32_t serialEepromBytes(std::uint16_t sizeCode) {
    switch (sizeCode) {
    case 0:
        return 16;
    case 129:
        return 32768;
    case 130:
        return 65536;
    default:
        return std::int32_t{sizeCode} * 128;
    }
}

std::int32_t chipEepromBytes(std::uint8_t code) {
    return code <= 128 ? std::int32_t{code} : (std::int32_t{code} - 128) * 256;
}

std::uint8_t flashKibibytes(std::int64_t flashBytes) {
    if (flashBytes <= 0)
        return 0;
    return static_cast<std::uint8_t>(flashBytes / 1024);
}

} // namespace tarvik
