// The messages of the buffer and file layer in the three interface languages, filled in with
// common/lang_text.h's fillIn().
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/lang_text.h"

namespace tarvik {

enum class BufferText {
    NoHexFile,
    WrongChecksum,
    ImageTooLarge,
    BadRecord,
    CannotOpen,
    CannotRead,
    CannotWrite,
    CannotReplace,
    FileTooLarge,
    NotARegularFile,
    NotARegularFileToOpen,
    SRecordBadLine,
    SRecordBadChecksum,
    SRecordBadCount,
    ElfNotElf32,
    ElfDamaged,
    ElfNoFlash,
    ElfNoEeprom,
    UnknownFileKind,
    BufferFull,
    // The pieces of the line that lists what else an ELF file holds, joined by "; ".
    ElfFlashBytes,
    ElfEepromBytes,
    ElfFuses,
    ElfLock,
    ElfSignature,
    FuseLow,
    FuseHigh,
    FuseExtended,
    // The size and checksum of an image after a load, a read and a save.
    ImageLoaded,
    ImageRead,
    ImageSaved,
};

// The text for the language, with %1, %2, … replaced by the arguments in order.
std::string bufferText(BufferText text, std::uint8_t languageCode,
                       std::initializer_list<std::string_view> args = {});

} // namespace tarvik
