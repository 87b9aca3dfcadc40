// The ELF reader on any bytes: it never reads outside them, and what it accepts stays within
// the memories' regions (flash below 8 MiB, EEPROM within 64 KiB, a signature of three bytes).
#include "buffer/elf_image.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvik;
    const ElfImage image = readElf(std::span(data, size));
    if (image.status != ElfStatus::Ok)
        return 0;
    fuzz::require(!image.flash || image.flash->size() <= 0x800000, "flash within 8 MiB");
    fuzz::require(!image.eeprom || image.eeprom->size() <= 0x10000, "EEPROM within 64 KiB");
    fuzz::require(image.fuses.size() <= 0x10000, "fuses within their region");
    return 0;
}
