// The messages of the buffer and file layer in the three interface languages, filled in with
// common/lang_text.h's fillIn().
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "buffer/file_kind.h"
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
    SRecordNotReadable,
    ElfNotReadable,
    UnknownFileKind,
    BufferFull,
};

// The text for the language, with %1, %2, … replaced by the arguments in order.
std::string bufferText(BufferText text, std::uint8_t languageCode,
                       std::initializer_list<std::string_view> args = {});

// Why a file of a kind that is not loaded (FileKind SRecord, Elf or Other) is refused, naming
// the file and, for Other, the kinds that are read.
std::string unreadableFileMessage(FileKind kind, std::string_view fileName,
                                  std::uint8_t languageCode);

} // namespace tarvik
