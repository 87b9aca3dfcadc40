// The message table of the buffer and file layer, one row per message, in the order of
// BufferText.
#include "buffer/buffer_texts.h"

#include <array>

namespace tarvik {
namespace {

constexpr std::array<LangText, 15> kTexts{{
    {"Fehler in Datei. Keine Hex-Datei.", "Error in file. No hex file.",
     "Входной файл не hex файл."},
    {"Fehler in Datei. Falsche CSUM.", "Error in file. Wrong CSUM.",
     "Ошибка входного файла.Не правильная CheckSum."},
    {"Fehler in Datei. Die Daten sind größer als %1 MiB.",
     "Error in file. The data are larger than %1 MiB.",
     "Ошибка входного файла. Данные больше %1 МиБ."},
    {"Fehler in Datei. Zeile %1 ist kein gültiger Hex-Datensatz: %2",
     "Error in file. Line %1 is not a valid hex record: %2",
     "Ошибка входного файла. Строка %1 не является правильной hex записью: %2"},
    {"Die Datei „%1“ kann nicht geöffnet werden: %2", "Cannot open the file \"%1\": %2",
     "Не удаётся открыть файл «%1»: %2"},
    {"Die Datei „%1“ kann nicht gelesen werden: %2", "Cannot read the file \"%1\": %2",
     "Не удаётся прочитать файл «%1»: %2"},
    {"Die Datei „%1“ kann nicht geschrieben werden: %2", "Cannot write the file \"%1\": %2",
     "Не удаётся записать файл «%1»: %2"},
    {"Die Datei „%1“ kann nicht ersetzt werden: %2", "Cannot replace the file \"%1\": %2",
     "Не удаётся заменить файл «%1»: %2"},
    {"Die Datei „%1“ ist zu groß (mehr als %2 MiB).",
     "The file \"%1\" is too large (more than %2 MiB).",
     "Файл «%1» слишком большой (более %2 МиБ)."},
    {"„%1“ ist keine gewöhnliche Datei (eine Pipe oder ein Gerät) und wird nicht überschrieben.",
     "\"%1\" is not a regular file (a pipe or a device) and is not overwritten.",
     "«%1» не обычный файл (канал или устройство) и не будет перезаписан."},
    {"„%1“ ist keine gewöhnliche Datei (ein Ordner, eine Pipe, ein Socket oder ein Gerät) und "
     "wird nicht geöffnet.",
     "\"%1\" is not a regular file (a folder, pipe, socket or device) and is not opened.",
     "«%1» не обычный файл (папка, канал, сокет или устройство) и не будет открыт."},
    {"„%1“ ist eine Motorola-S-Record-Datei; Tarvik kann sie noch nicht lesen. Wandeln Sie sie "
     "in Intel HEX (objcopy -I srec -O ihex) oder in eine Binärdatei um.",
     "\"%1\" is a Motorola S-record file; Tarvik cannot read it yet. Convert it to Intel HEX "
     "(objcopy -I srec -O ihex) or to a binary file.",
     "«%1» — файл Motorola S-record; Tarvik пока не умеет его читать. Преобразуйте его в "
     "Intel HEX (objcopy -I srec -O ihex) или в двоичный файл."},
    {"„%1“ ist eine ELF-Datei; Tarvik kann sie noch nicht lesen. Wandeln Sie sie in Intel HEX "
     "(objcopy -O ihex) oder in eine Binärdatei um.",
     "\"%1\" is an ELF file; Tarvik cannot read it yet. Convert it to Intel HEX "
     "(objcopy -O ihex) or to a binary file.",
     "«%1» — файл ELF; Tarvik пока не умеет его читать. Преобразуйте его в Intel HEX "
     "(objcopy -O ihex) или в двоичный файл."},
    {"„%1“ wird nicht geladen: Tarvik liest Intel-HEX-Dateien (der Name endet wie .hex, oder "
     "der Inhalt beginnt mit „:“) und Binärdateien (der Name endet wie .bin).",
     "\"%1\" is not loaded: Tarvik reads Intel HEX files (a name ending like .hex, or "
     "contents starting with \":\") and binary files (a name ending like .bin).",
     "«%1» не загружен: Tarvik читает файлы Intel HEX (имя оканчивается как .hex или "
     "содержимое начинается с «:») и двоичные файлы (имя оканчивается как .bin)."},
    {"Der Buffer kann nicht über %1 MiB wachsen, mehr lädt Tarvik aus keiner Datei: die "
     "Eingabe wird nicht übernommen.",
     "The buffer cannot grow beyond %1 MiB, the most Tarvik loads from a file: the edit is "
     "not made.",
     "Буфер не может превышать %1 МиБ — больше Tarvik не загружает из файла: изменение не "
     "внесено."},
}};

} // namespace

std::string unreadableFileMessage(FileKind kind, std::string_view fileName,
                                  std::uint8_t languageCode) {
    switch (kind) {
    case FileKind::SRecord:
        return bufferText(BufferText::SRecordNotReadable, languageCode, {fileName});
    case FileKind::Elf:
        return bufferText(BufferText::ElfNotReadable, languageCode, {fileName});
    default:
        return bufferText(BufferText::UnknownFileKind, languageCode, {fileName});
    }
}

std::string bufferText(BufferText text, std::uint8_t languageCode,
                       std::initializer_list<std::string_view> args) {
    return fillIn(pick(kTexts[static_cast<std::size_t>(text)], languageCode), args);
}

} // namespace tarvik
