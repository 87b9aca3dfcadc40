// Loading the image a job or the window takes from a file of any kind Tarvik reads: Intel HEX,
// Motorola S-record, ELF or raw binary, told apart by file_kind.h. The window, the command
// line's checks and convert all load through here.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/elf_image.h"
#include "buffer/file_kind.h"

namespace tarvik {

// The memory a job takes from a file that holds several (ELF); other kinds hold one image,
// taken for either.
enum class MemoryPart { Flash, Eeprom };

struct LoadedImage {
    FileKind kind = FileKind::Other;
    std::vector<std::uint8_t> bytes; // the image when problem is empty
    // Why nothing was loaded, in the language asked for; empty when the image loaded.
    std::string problem;
    // The problem names the file itself (else a caller that shows it out of context adds it).
    bool problemNamesFile = false;
    // A HEX record whose data are not hex digits: shown by the general error handler, and
    // neither the buffer nor the error flag changes.
    bool conversionError = false;
    // An ELF file's memories besides the one taken (whose bytes moved to bytes).
    ElfImage elf;
};

// Reads the file's kind, then its content. Throws UserError when the system cannot open or
// read it, or it is too large.
LoadedImage loadImageFile(const std::string& fileName, MemoryPart part, std::uint8_t languageCode);

// What else an ELF file holds besides the memory taken, for the log: "EEPROM 37 bytes; fuses
// low E2, high D9; lock FF; built for signature 1E 93 07". Empty when it holds nothing else.
std::string elfContentsLine(const ElfImage& elf, MemoryPart taken, std::uint8_t languageCode);

// How a file of this name is saved: S-record for its endings (motorola_srec.h), binary where
// the third character from the end is 'B', Intel HEX otherwise.
FileKind saveKindOf(std::string_view fileName);

// The file's contents for saving the image as saveKindOf(fileName) says.
std::string encodeImageFile(std::string_view fileName, std::span<const std::uint8_t> bytes);

} // namespace tarvik
