// One loader over the file kinds: the name's or the content's kind picks the reader, and each
// reader's failure becomes a message in the caller's language.
#include "buffer/image_file.h"

#include <span>

#include "buffer/buffer_texts.h"
#include "buffer/file_io.h"
#include "buffer/intel_hex.h"
#include "buffer/motorola_srec.h"

namespace tarvik {
namespace {

LoadedImage refused(FileKind kind, std::string problem, bool namesFile) {
    LoadedImage image;
    image.kind = kind;
    image.problem = std::move(problem);
    image.problemNamesFile = namesFile;
    return image;
}

LoadedImage loaded(FileKind kind, std::vector<std::uint8_t> bytes) {
    LoadedImage image;
    image.kind = kind;
    image.bytes = std::move(bytes);
    return image;
}

LoadedImage loadElf(const std::string& fileName, MemoryPart part, std::uint8_t languageCode) {
    const auto fail = [&](const LangText& text) {
        return refused(FileKind::Elf, fillIn(pick(text, languageCode), {fileName}), true);
    };
    ElfImage elf = readElf(readWholeFile(fileName, languageCode));
    switch (elf.status) {
    case ElfStatus::NotElf32:
        return fail(texts::kElfNotElf32);
    case ElfStatus::Damaged:
        return fail(texts::kElfDamaged);
    case ElfStatus::Ok:
        break;
    }
    auto& memory = part == MemoryPart::Eeprom ? elf.eeprom : elf.flash;
    if (!memory)
        return fail(part == MemoryPart::Eeprom ? texts::kElfNoEeprom : texts::kElfNoFlash);
    LoadedImage image = loaded(FileKind::Elf, std::move(*memory));
    memory.reset();
    image.elf = std::move(elf);
    return image;
}

std::string hexBytes(std::span<const std::uint8_t> bytes) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t byte : bytes) {
        if (!text.empty())
            text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

} // namespace

std::string elfContentsLine(const ElfImage& elf, MemoryPart taken, std::uint8_t languageCode) {
    std::vector<std::string> pieces;
    const auto piece = [&](const LangText& text, std::string_view arg) {
        pieces.push_back(fillIn(pick(text, languageCode), {arg}));
    };
    if (elf.flash && taken != MemoryPart::Flash)
        piece(texts::kElfFlashBytes, std::to_string(elf.flash->size()));
    if (elf.eeprom && taken != MemoryPart::Eeprom)
        piece(texts::kElfEepromBytes, std::to_string(elf.eeprom->size()));
    if (!elf.fuses.empty()) {
        const LangText* const kNames[] = {&texts::kFuseLow, &texts::kFuseHigh,
                                          &texts::kFuseExtended};
        std::string fuses;
        for (std::size_t i = 0; i < elf.fuses.size() && i < std::size(kNames); ++i) {
            if (i != 0)
                fuses += ", ";
            fuses += pick(*kNames[i], languageCode);
            fuses += ' ';
            fuses += hexBytes(std::span(elf.fuses).subspan(i, 1));
        }
        piece(texts::kElfFuses, fuses);
    }
    if (elf.lock)
        piece(texts::kElfLock, hexBytes(std::span(&*elf.lock, 1)));
    if (elf.signature)
        piece(texts::kElfSignature, hexBytes(*elf.signature));
    std::string line;
    for (const std::string& text : pieces) {
        if (!line.empty())
            line += "; ";
        line += text;
    }
    return line;
}

LoadedImage loadImageFile(const std::string& fileName, MemoryPart part, std::uint8_t languageCode) {
    switch (const FileKind kind = loadKindOf(fileName, languageCode)) {
    case FileKind::Binary:
        return loaded(kind, readWholeFile(fileName, languageCode));
    case FileKind::Hex: {
        HexReadResult result = readIntelHex(readTextFile(fileName, languageCode));
        if (result.status == HexStatus::Ok)
            return loaded(kind, std::move(result.bytes));
        LoadedImage image = refused(kind, hexReadMessage(result, languageCode), false);
        image.conversionError = result.status == HexStatus::ConversionError;
        return image;
    }
    case FileKind::SRecord: {
        SRecordReadResult result = readSRecord(readTextFile(fileName, languageCode));
        if (result.status == SRecordStatus::Ok)
            return loaded(kind, std::move(result.bytes));
        return refused(kind, sRecordReadMessage(result, languageCode), false);
    }
    case FileKind::Elf:
        return loadElf(fileName, part, languageCode);
    case FileKind::Other:
        return refused(kind, fillIn(pick(texts::kUnknownFileKind, languageCode), {fileName}), true);
    }
    return {};
}

FileKind saveKindOf(std::string_view fileName) {
    if (isSRecordName(fileName))
        return FileKind::SRecord;
    return fileKindOf(fileName) == FileKind::Binary ? FileKind::Binary : FileKind::Hex;
}

std::string encodeImageFile(std::string_view fileName, std::span<const std::uint8_t> bytes) {
    switch (saveKindOf(fileName)) {
    case FileKind::SRecord:
        return writeSRecord(bytes);
    case FileKind::Binary:
        return std::string(bytes.begin(), bytes.end());
    default:
        return writeIntelHex(bytes);
    }
}

} // namespace tarvik
