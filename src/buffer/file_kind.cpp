// Telling HEX, binary and other files apart by one character of the name.
#include "buffer/intel_hex.h"

namespace tarvik {

FileKind fileKindOf(std::string_view fileName) {
    if (fileName.size() < 3)
        return FileKind::Other;
    switch (fileName[fileName.size() - 3]) {
    case 'H':
    case 'h':
        return FileKind::Hex;
    case 'B':
    case 'b':
        return FileKind::Binary;
    default:
        return FileKind::Other;
    }
}

} // namespace tarvik
