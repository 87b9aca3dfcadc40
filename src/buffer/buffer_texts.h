// The messages of the buffer and file layer in German, English and Russian. %1, %2 are filled
// in with fillIn().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "buffer/file_kind.h"
#include "common/lang_text.h"

namespace tarvik::texts {

// ---- the Intel HEX reader ----
constexpr LangText kNoHexFile{"Fehler in Datei. Keine Hex-Datei.", "Error in file. No hex file.",
                              "Входной файл не hex файл."};
constexpr LangText kWrongChecksum{"Fehler in Datei. Falsche CSUM.", "Error in file. Wrong CSUM.",
                                  "Ошибка входного файла.Не правильная CheckSum."};
// %1: the largest image in MiB.
constexpr LangText kImageTooLarge{"Fehler in Datei. Die Daten sind größer als %1 MiB.",
                                  "Error in file. The data are larger than %1 MiB.",
                                  "Ошибка входного файла. Данные больше %1 МиБ."};
// %1: the line number, %2: the line.
constexpr LangText kBadRecord{
    "Fehler in Datei. Zeile %1 ist kein gültiger Hex-Datensatz: %2",
    "Error in file. Line %1 is not a valid hex record: %2",
    "Ошибка входного файла. Строка %1 не является правильной hex записью: %2"};

// ---- opening, reading and writing files: %1 the file, %2 the system's reason ----
constexpr LangText kCannotOpenFile{"Die Datei „%1“ kann nicht geöffnet werden: %2",
                                   "Cannot open the file \"%1\": %2",
                                   "Не удаётся открыть файл «%1»: %2"};
constexpr LangText kCannotReadFile{"Die Datei „%1“ kann nicht gelesen werden: %2",
                                   "Cannot read the file \"%1\": %2",
                                   "Не удаётся прочитать файл «%1»: %2"};
constexpr LangText kCannotWriteFile{"Die Datei „%1“ kann nicht geschrieben werden: %2",
                                    "Cannot write the file \"%1\": %2",
                                    "Не удаётся записать файл «%1»: %2"};
constexpr LangText kCannotReplaceFile{"Die Datei „%1“ kann nicht ersetzt werden: %2",
                                      "Cannot replace the file \"%1\": %2",
                                      "Не удаётся заменить файл «%1»: %2"};
// %2: the largest file in MiB.
constexpr LangText kFileTooLarge{"Die Datei „%1“ ist zu groß (mehr als %2 MiB).",
                                 "The file \"%1\" is too large (more than %2 MiB).",
                                 "Файл «%1» слишком большой (более %2 МиБ)."};
constexpr LangText kNotRegularFileToSave{
    "„%1“ ist keine gewöhnliche Datei (eine Pipe oder ein Gerät) und wird nicht überschrieben.",
    "\"%1\" is not a regular file (a pipe or a device) and is not overwritten.",
    "«%1» не обычный файл (канал или устройство) и не будет перезаписан."};
constexpr LangText kNotRegularFileToOpen{
    "„%1“ ist keine gewöhnliche Datei (ein Ordner, eine Pipe, ein Socket oder ein Gerät) und "
    "wird nicht geöffnet.",
    "\"%1\" is not a regular file (a folder, pipe, socket or device) and is not opened.",
    "«%1» не обычный файл (папка, канал, сокет или устройство) и не будет открыт."};

// ---- files of a kind that is not loaded: %1 the file ----
constexpr LangText kSRecordNotReadable{
    "„%1“ ist eine Motorola-S-Record-Datei; Tarvik kann sie noch nicht lesen. Wandeln Sie sie "
    "in Intel HEX (objcopy -I srec -O ihex) oder in eine Binärdatei um.",
    "\"%1\" is a Motorola S-record file; Tarvik cannot read it yet. Convert it to Intel HEX "
    "(objcopy -I srec -O ihex) or to a binary file.",
    "«%1» — файл Motorola S-record; Tarvik пока не умеет его читать. Преобразуйте его в "
    "Intel HEX (objcopy -I srec -O ihex) или в двоичный файл."};
constexpr LangText kElfNotReadable{
    "„%1“ ist eine ELF-Datei; Tarvik kann sie noch nicht lesen. Wandeln Sie sie in Intel HEX "
    "(objcopy -O ihex) oder in eine Binärdatei um.",
    "\"%1\" is an ELF file; Tarvik cannot read it yet. Convert it to Intel HEX "
    "(objcopy -O ihex) or to a binary file.",
    "«%1» — файл ELF; Tarvik пока не умеет его читать. Преобразуйте его в Intel HEX "
    "(objcopy -O ihex) или в двоичный файл."};
constexpr LangText kUnknownFileKind{
    "„%1“ wird nicht geladen: Tarvik liest Intel-HEX-Dateien (der Name endet wie .hex, oder "
    "der Inhalt beginnt mit „:“) und Binärdateien (der Name endet wie .bin).",
    "\"%1\" is not loaded: Tarvik reads Intel HEX files (a name ending like .hex, or "
    "contents starting with \":\") and binary files (a name ending like .bin).",
    "«%1» не загружен: Tarvik читает файлы Intel HEX (имя оканчивается как .hex или "
    "содержимое начинается с «:») и двоичные файлы (имя оканчивается как .bin)."};

// ---- the buffer ----
// %1: the largest buffer in MiB.
constexpr LangText kBufferFull{
    "Der Buffer kann nicht über %1 MiB wachsen, mehr lädt Tarvik aus keiner Datei: die "
    "Eingabe wird nicht übernommen.",
    "The buffer cannot grow beyond %1 MiB, the most Tarvik loads from a file: the edit is "
    "not made.",
    "Буфер не может превышать %1 МиБ — больше Tarvik не загружает из файла: изменение не "
    "внесено."};

} // namespace tarvik::texts

namespace tarvik {

// Why a file of a kind that is not loaded (FileKind SRecord, Elf or Other) is refused, naming
// the file and, for Other, the kinds that are read.
std::string unreadableFileMessage(FileKind kind, std::string_view fileName,
                                  std::uint8_t languageCode);

} // namespace tarvik
