// The message for a file of a kind the buffer does not load.
#include "buffer/buffer_texts.h"

namespace tarvik {

std::string unreadableFileMessage(FileKind kind, std::string_view fileName,
                                  std::uint8_t languageCode) {
    const LangText& text = kind == FileKind::SRecord ? texts::kSRecordNotReadable
                           : kind == FileKind::Elf   ? texts::kElfNotReadable
                                                     : texts::kUnknownFileKind;
    return fillIn(pick(text, languageCode), {fileName});
}

} // namespace tarvik
