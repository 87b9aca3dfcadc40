// The texts the jobs write into the log and the identification edit, in German, English and
// Russian, picked by the language current at the moment of writing.
#pragma once

#include "common/lang_text.h"

namespace tarvik::texts {

// One line per job step, in the order the steps are listed for the user.
constexpr LangText kReadingSignature{"lese Signature Byte...", "reading signature byte...",
                                     "чтение сигнатурных байт..."};
constexpr LangText kErasing{"lösche...", "erasing...", "стирание..."};
constexpr LangText kWriting{"schreibe...", "writing...", "запись..."};
constexpr LangText kVerifying{"vergleiche...", "verifying...", "верификация..."};
constexpr LangText kLockBit1{"programmiere Lock Bit 1...", "programming lock bit 1...",
                             "программирование lock bit 1..."};
constexpr LangText kLockBit2{"programmiere Lock Bit 2...", "programming lock bit 2...",
                             "программирование lock bit 2..."};
constexpr LangText kReading{"lese...", "reading...", "чтение..."};
constexpr LangText kWritingEeprom{"schreibe EEPROM...", "writing EEPROM...", "запись EEPROM..."};
constexpr LangText kReadingEeprom{"lese EEPROM...", "reading EEPROM...", "чтение EEPROM..."};
constexpr LangText kReadingFuses{"lese Fuse Bits...", "reading fuse bis...",
                                 "чтение fuse битов..."};
constexpr LangText kWritingFuses{"programmiere Fuse/Lock Bits...", "programming fuse/lock bis...",
                                 "программирование fuse/lock битов..."};

// The result line of a finished job.
constexpr LangText kSuccess{"Erfolgreich beendet.", "Successfully finished.",
                            "Действие завершено успешно !"};
constexpr LangText kFailure{"Fehler.", "Error.", "Ошибка."};
// Prefix of the duration line.
constexpr LangText kDuration{"Dauer: ", "Duration: ", "Время выполнения : "};

// The log line of a job the user abandoned with Action → Abort (or by closing the window).
constexpr LangText kAborted{"Vom Benutzer abgebrochen.", "Aborted by the user.",
                            "Прервано пользователем."};
// Closing the window while a job runs: the question and its two answers.
constexpr LangText kCloseDuringJob{
    "Ein Auftrag läuft noch. Abbrechen und beenden? Der Chip kann dann unvollständig "
    "programmiert sein.",
    "A job is still running. Abort it and exit? The chip may be left partly programmed.",
    "Задание ещё выполняется. Прервать его и выйти? Чип может остаться частично "
    "запрограммированным."};
constexpr LangText kYes{"Ja", "Yes", "Да"};
constexpr LangText kNo{"Nein", "No", "Нет"};

// The identified-chip edit after a signature no chip answers to.
constexpr LangText kUnknownChip{"Fehler", "Error", "Ошибка"};

// A socket fuse step needs the four socket entries (lock bits 1 and 2, SPIEN, RCEN/FSTRT); the
// list holds fewer when another chip's layout replaced them.
constexpr LangText kSocketFuseListIncomplete{
    "Fuse-Liste unvollständig: weniger als 4 Einträge, Chip neu erkennen.",
    "Fuse list incomplete: fewer than 4 entries, detect the chip again.",
    "Список fuse битов неполный: меньше 4 пунктов, определите чип заново."};
// A fuse write over ISP whose list was not built for the identified chip ("Device locked !",
// or no identification since the list was filled).
constexpr LangText kFuseListNotForChip{
    "Fuse-Liste passt nicht zum erkannten Chip, Chip neu erkennen.",
    "The fuse list does not belong to the identified chip, detect the chip again.",
    "Список fuse битов не соответствует определённому чипу, определите чип заново."};
// A job started with no chip family selected that the programmer can handle.
constexpr LangText kNoJobForSelection{"Für diese Auswahl gibt es diese Aktion nicht.",
                                      "This action is not available for the selected device.",
                                      "Это действие недоступно для выбранного устройства."};
// A flash read needs the flash size as a decimal number of bytes.
constexpr LangText kFlashSizeUnknown{"Flash-Größe unbekannt.", "Flash size unknown.",
                                     "Размер flash неизвестен."};
// A write or verify with nothing in the buffer.
constexpr LangText kBufferEmpty{"Buffer ist leer.", "Buffer is empty.", "Буфер пуст."};

} // namespace tarvik::texts
