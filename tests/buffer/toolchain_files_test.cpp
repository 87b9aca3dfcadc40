// Files as SDCC, avr-gcc, avr-objcopy and srec_cat write them (tests/fixtures/toolchains, made
// by its script) read to the images the toolchains' own tools make of them.
#include <gtest/gtest.h>

#include <string>

#include "buffer/file_io.h"
#include "buffer/image_file.h"

namespace tarvik {
namespace {

std::string fixture(const char* name) {
    return std::string(TARVIK_FIXTURES_DIR) + "/toolchains/" + name;
}

std::vector<std::uint8_t> bytesOf(const char* name) {
    return readWholeFile(fixture(name), 1);
}

TEST(ToolchainFiles, ReadToTheToolchainsImages) {
    const struct {
        const char* file;
        MemoryPart part;
        FileKind kind;
        const char* image;
    } cases[] = {
        {"blink_at89c2051.ihx", MemoryPart::Flash, FileKind::Hex, "blink_at89c2051.flash.bin"},
        {"blink_atmega8.hex", MemoryPart::Flash, FileKind::Hex, "blink_atmega8.flash.bin"},
        {"blink_atmega8.eep", MemoryPart::Eeprom, FileKind::Hex, "blink_atmega8.eeprom.bin"},
        {"blink_atmega8.elf", MemoryPart::Flash, FileKind::Elf, "blink_atmega8.flash.bin"},
        {"blink_atmega8.elf", MemoryPart::Eeprom, FileKind::Elf, "blink_atmega8.eeprom.bin"},
        {"blink_atmega8.s19", MemoryPart::Flash, FileKind::SRecord, "blink_atmega8.flash.bin"},
        {"blink_atmega8.s28", MemoryPart::Flash, FileKind::SRecord, "blink_atmega8.flash.bin"},
        {"blink_atmega8.s37", MemoryPart::Flash, FileKind::SRecord, "blink_atmega8.flash.bin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const LoadedImage image = loadImageFile(fixture(c.file), c.part, 1);
        EXPECT_EQ(image.problem, "");
        EXPECT_EQ(image.kind, c.kind);
        EXPECT_EQ(image.bytes, bytesOf(c.image));
    }
}

TEST(ToolchainFiles, AnElfListsWhatElseItHolds) {
    const LoadedImage flash = loadImageFile(fixture("blink_atmega8.elf"), MemoryPart::Flash, 1);
    EXPECT_EQ(elfContentsLine(flash.elf, MemoryPart::Flash, 1),
              "EEPROM 37 bytes; fuses low E2, high D9; lock FF; built for signature 1E 93 07");
    const LoadedImage eeprom = loadImageFile(fixture("blink_atmega8.elf"), MemoryPart::Eeprom, 0);
    EXPECT_EQ(elfContentsLine(eeprom.elf, MemoryPart::Eeprom, 0),
              "Flash 206 Bytes; Fuses low E2, high D9; Lock-Byte FF; erstellt für die Signatur "
              "1E 93 07");
    EXPECT_EQ(elfContentsLine(eeprom.elf, MemoryPart::Eeprom, 2),
              "flash 206 байт; фьюзы младший E2, старший D9; биты защиты FF; собран для "
              "сигнатуры 1E 93 07");
}

// An ELF file without the memory a job takes, or cut short, is refused, not loaded as an empty
// or partial image.
TEST(ToolchainFiles, AnElfWithoutTheMemoryOrCutShortIsRefused) {
    const std::string noEeprom = fixture("blink_atmega8.no_eeprom.elf");
    EXPECT_EQ(loadImageFile(noEeprom, MemoryPart::Flash, 1).bytes,
              bytesOf("blink_atmega8.flash.bin"));
    EXPECT_EQ(loadImageFile(noEeprom, MemoryPart::Eeprom, 1).problem,
              "The ELF file \"" + noEeprom + "\" holds no EEPROM data.");
    const std::string truncated = fixture("blink_atmega8.truncated.elf");
    EXPECT_EQ(loadImageFile(truncated, MemoryPart::Flash, 1).problem,
              "\"" + truncated + "\" is a damaged or truncated ELF file; nothing was loaded.");
    // Other kinds hold one image, taken for either memory.
    EXPECT_EQ(loadImageFile(fixture("blink_atmega8.eep"), MemoryPart::Flash, 1).bytes,
              bytesOf("blink_atmega8.eeprom.bin"));
}

} // namespace
} // namespace tarvik
