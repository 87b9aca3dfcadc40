// The messages of the buffer and file layer in German, English and Russian. %1, %2 are filled
// in with fillIn().
#pragma once

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

// ---- the Motorola S-record reader: %1 the line number ----
// %2: the line.
constexpr LangText kSRecordBadLine{
    "Fehler in Datei. Zeile %1 ist kein gültiger S-Record: %2",
    "Error in file. Line %1 is not a valid S-record: %2",
    "Ошибка входного файла. Строка %1 не является правильной S-записью: %2"};
constexpr LangText kSRecordBadChecksum{
    "Fehler in Datei. Falsche Prüfsumme in Zeile %1.", "Error in file. Wrong checksum in line %1.",
    "Ошибка входного файла. Неправильная контрольная сумма в строке %1."};
// %2: the data records the count record names, %3: those before it.
constexpr LangText kSRecordBadCount{
    "Fehler in Datei. Der Zähldatensatz in Zeile %1 nennt %2 Datensätze, davor stehen %3.",
    "Error in file. The count record in line %1 says %2 data records, %3 come before it.",
    "Ошибка входного файла. Запись-счётчик в строке %1 указывает %2 записей данных, перед ней "
    "их %3."};

// ---- ELF files: %1 the file ----
constexpr LangText kElfNotElf32{
    "„%1“ ist keine ELF-Datei, die Tarvik liest: nur 32-Bit-ELF in Little-Endian, wie avr-gcc "
    "sie schreibt.",
    "\"%1\" is not an ELF file Tarvik reads: only 32-bit little-endian ELF, as avr-gcc writes "
    "it.",
    "«%1» — не тот файл ELF, который читает Tarvik: только 32-битный ELF little-endian, как его "
    "пишет avr-gcc."};
constexpr LangText kElfDamaged{
    "„%1“ ist eine beschädigte oder abgeschnittene ELF-Datei; nichts wurde geladen.",
    "\"%1\" is a damaged or truncated ELF file; nothing was loaded.",
    "«%1» — повреждённый или обрезанный файл ELF; ничего не загружено."};
constexpr LangText kElfNoFlash{"Die ELF-Datei „%1“ enthält keine Flash-Daten.",
                               "The ELF file \"%1\" holds no flash data.",
                               "ELF-файл «%1» не содержит данных для flash."};
constexpr LangText kElfNoEeprom{"Die ELF-Datei „%1“ enthält keine EEPROM-Daten.",
                                "The ELF file \"%1\" holds no EEPROM data.",
                                "ELF-файл «%1» не содержит данных для EEPROM."};
// The pieces of the line that lists what else an ELF file holds, joined by "; ".
constexpr LangText kElfFlashBytes{"Flash %1 Bytes", "flash %1 bytes", "flash %1 байт"};
constexpr LangText kElfEepromBytes{"EEPROM %1 Bytes", "EEPROM %1 bytes", "EEPROM %1 байт"};
constexpr LangText kElfFuses{"Fuses %1", "fuses %1", "фьюзы %1"};
constexpr LangText kElfLock{"Lock-Byte %1", "lock %1", "биты защиты %1"};
constexpr LangText kElfSignature{"erstellt für die Signatur %1", "built for signature %1",
                                 "собран для сигнатуры %1"};
constexpr LangText kFuseLow{"low", "low", "младший"};
constexpr LangText kFuseHigh{"high", "high", "старший"};
constexpr LangText kFuseExtended{"extended", "extended", "расширенный"};

// ---- a file of a kind that is not loaded: %1 the file ----
constexpr LangText kUnknownFileKind{
    "„%1“ wird nicht geladen: Tarvik liest Intel-HEX-Dateien (der Name endet wie .hex, oder "
    "der Inhalt beginnt mit „:“), Motorola-S-Record-Dateien (Zeilen ab S0 bis S9), ELF-Dateien "
    "und Binärdateien (der Name endet wie .bin).",
    "\"%1\" is not loaded: Tarvik reads Intel HEX files (a name ending like .hex, or "
    "contents starting with \":\"), Motorola S-record files (lines starting S0 to S9), ELF "
    "files and binary files (a name ending like .bin).",
    "«%1» не загружен: Tarvik читает файлы Intel HEX (имя оканчивается как .hex или "
    "содержимое начинается с «:»), файлы Motorola S-record (строки начинаются с S0–S9), "
    "файлы ELF и двоичные файлы (имя оканчивается как .bin)."};

// ---- the size and checksum of an image: %1 the bytes, %2 the CRC-32 ----
constexpr LangText kImageLoaded{"Geladen: %1 Bytes, CRC-32 %2", "Loaded: %1 bytes, CRC-32 %2",
                                "Загружено: %1 байт, CRC-32 %2"};
constexpr LangText kImageRead{"Gelesen: %1 Bytes, CRC-32 %2", "Read: %1 bytes, CRC-32 %2",
                              "Прочитано: %1 байт, CRC-32 %2"};
constexpr LangText kImageSaved{"Gespeichert: %1 Bytes, CRC-32 %2", "Saved: %1 bytes, CRC-32 %2",
                               "Сохранено: %1 байт, CRC-32 %2"};

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
