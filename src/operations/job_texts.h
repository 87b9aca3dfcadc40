// The texts the jobs write into the log and the identification edit, in German, English and
// Russian, picked by the language current at the moment of writing.
#pragma once

#include <string_view>

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
// A job stopped by Abort or a signal: the step it was in, how far it got, what the chip
// holds now.
constexpr LangText kInterruptedSignature{
    "Unterbrochen beim Lesen der Signatur; der Chip ist unverändert.",
    "Interrupted while reading the signature; the chip is unchanged.",
    "Прервано при чтении сигнатуры; чип не изменён."};
constexpr LangText kInterruptedReadFuses{
    "Unterbrochen beim Lesen der Fuse-Bits; der Chip ist unverändert.",
    "Interrupted while reading the fuse bits; the chip is unchanged.",
    "Прервано при чтении fuse битов; чип не изменён."};
constexpr LangText kInterruptedErase{
    "Unterbrochen beim Löschen; der Chip kann teilweise gelöscht sein.",
    "Interrupted while erasing; the chip may be partly erased.",
    "Прервано при стирании; чип может быть стёрт частично."};
constexpr LangText kInterruptedWrite{
    "Unterbrochen beim Schreiben: %1 von %2 Byte gesendet; der Chip ist jetzt teilweise "
    "beschrieben.",
    "Interrupted while writing: %1 of %2 bytes sent; the chip is now partly written.",
    "Прервано при записи: отправлено %1 из %2 байт; чип теперь записан частично."};
constexpr LangText kInterruptedVerify{
    "Unterbrochen beim Vergleichen: %1 von %2 Byte gesendet; der Chip ist unverändert.",
    "Interrupted while verifying: %1 of %2 bytes sent; the chip is unchanged.",
    "Прервано при верификации: отправлено %1 из %2 байт; чип не изменён."};
constexpr LangText kInterruptedRead{
    "Unterbrochen beim Lesen: %1 von %2 Byte empfangen; keine Datei geschrieben.",
    "Interrupted while reading: %1 of %2 bytes received; no file was written.",
    "Прервано при чтении: получено %1 из %2 байт; файл не записан."};
constexpr LangText kInterruptedFuses{
    "Unterbrochen beim Schreiben der Fuse-Bits; sie können teilweise geschrieben sein.",
    "Interrupted while writing the fuse bits; they may be partly written.",
    "Прервано при записи fuse битов; они могут быть записаны частично."};
constexpr LangText kInterruptedLockBit{
    "Unterbrochen beim Programmieren von Lock Bit %1; es kann gesetzt sein.",
    "Interrupted while programming lock bit %1; it may be set.",
    "Прервано при программировании lock bit %1; он может быть установлен."};
// After an abort the programmer may still be carrying out the last command: the job controls
// come back once it has been quiet for a while, so no late answer is taken for the next job's.
constexpr LangText kWaitingForQuiet{
    "Warte, bis das Programmiergerät den letzten Befehl beendet hat …",
    "Waiting for the programmer to finish its last command …",
    "Ожидание, пока программатор завершит последнюю команду …"};

// A program, verify or EEPROM program job with "update buffer from file" on while the buffer
// holds edits not saved yet: %1 the file. Answers in order: reload, use the buffer, cancel.
constexpr LangText kReloadOverEdits{
    "Der Buffer enthält ungespeicherte Änderungen. „Buffer aus Datei updaten“ lädt „%1“ neu, "
    "die Änderungen gehen dann verloren.",
    "The buffer holds unsaved edits. \"Update buffer from file\" loads \"%1\" again, and the "
    "edits are lost.",
    "Буфер содержит несохранённые изменения. «Обновить буффер из файла» загрузит «%1» заново, "
    "и изменения будут потеряны."};
constexpr LangText kReloadFile{"Datei neu laden", "Reload the file", "Загрузить файл заново"};
constexpr LangText kUseBuffer{"Buffer so verwenden", "Use the buffer as it is",
                              "Использовать буфер как есть"};
constexpr LangText kCancel{"Abbrechen", "Cancel", "Отмена"};
// Closing the window while the buffer holds edits not saved yet. Answers in order: save,
// discard, cancel.
constexpr LangText kUnsavedOnClose{
    "Der Buffer enthält ungespeicherte Änderungen. Vor dem Beenden speichern?",
    "The buffer holds unsaved edits. Save them before exiting?",
    "Буфер содержит несохранённые изменения. Сохранить их перед выходом?"};
constexpr LangText kSave{"Speichern", "Save", "Сохранить"};
constexpr LangText kDiscard{"Verwerfen", "Discard", "Не сохранять"};

// The identified-chip edit after a signature no chip answers to.
constexpr LangText kUnknownChip{"Fehler", "Error", "Ошибка"};
// The log line of the signature bytes, the same in every language, begins so.
constexpr std::string_view kSignatureLine = "ID: ";

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
// An output report the programmer did not take (often the first sign of an unplug).
constexpr LangText kWriteFailed{"Schreiben zum Programmiergerät fehlgeschlagen.",
                                "Writing to the programmer failed.",
                                "Ошибка записи в программатор."};
// A write or verify with nothing in the buffer.
constexpr LangText kBufferEmpty{"Buffer ist leer.", "Buffer is empty.", "Буфер пуст."};
// The file in the buffer names a signature (%1) that the identified chip (%2, %3) does not have.
constexpr LangText kBuiltForAnotherChip{
    "Die Datei wurde für die Signatur %1 erstellt, der Chip %2 hat %3: nichts wird gelöscht "
    "oder geschrieben.",
    "The file was built for the signature %1, the chip %2 has %3: nothing is erased or written.",
    "Файл собран для сигнатуры %1, а у чипа %2 сигнатура %3: ничего не стирается и не "
    "записывается."};
// A program job (flash, EEPROM, serial EEPROM) started with an empty buffer: it ends before
// anything is sent, so no erase goes out for nothing.
constexpr LangText kNothingToWrite{
    "Der Buffer ist leer: nichts zu schreiben, der Chip bleibt unverändert.",
    "The buffer is empty: nothing to write, the chip is left as it is.",
    "Буфер пуст: записывать нечего, чип не изменён."};

// A program, verify or EEPROM program job whose buffer does not fit the memory it goes to,
// refused before anything is erased or written: %1 the buffer's bytes, %2 the chip, %3 the
// memory's bytes.
constexpr LangText kImageLargerThanFlash{
    "Das Abbild (%1 Byte) ist größer als der Flash des %2 (%3 Byte); nichts gelöscht oder "
    "geschrieben.",
    "The image (%1 bytes) is larger than the flash of the %2 (%3 bytes); nothing erased or "
    "written.",
    "Образ (%1 байт) больше flash памяти %2 (%3 байт); ничего не стёрто и не записано."};
constexpr LangText kImageLargerThanEeprom{
    "Das Abbild (%1 Byte) ist größer als das EEPROM des %2 (%3 Byte); nichts gelöscht oder "
    "geschrieben.",
    "The image (%1 bytes) is larger than the EEPROM of the %2 (%3 bytes); nothing erased or "
    "written.",
    "Образ (%1 байт) больше EEPROM %2 (%3 байт); ничего не стёрто и не записано."};
constexpr LangText kImageLargerThanSerialEeprom{
    "Das Abbild (%1 Byte) ist größer als das serielle EEPROM %2 (%3 Byte); nichts gelöscht oder "
    "geschrieben.",
    "The image (%1 bytes) is larger than the serial EEPROM %2 (%3 bytes); nothing erased or "
    "written.",
    "Образ (%1 байт) больше последовательной EEPROM %2 (%3 байт); ничего не стёрто и не "
    "записано."};

// A fuse list entry's state, in the lines that show what a fuse write changes.
constexpr LangText kProgrammed{"programmiert", "programmed", "запрограммирован"};
constexpr LangText kUnprogrammed{"nicht programmiert", "unprogrammed", "не запрограммирован"};
constexpr LangText kNotRead{"nicht gelesen", "not read", "не прочитан"};
// One changed entry: %1 the entry, %2 its state on the chip, %3 the state written.
constexpr std::string_view kFuseChange = "%1: %2 → %3";
// The question before a fuse write that can lock the user out of the chip: the title, the
// first line, one line per such entry (%1 the entry, %2 its new state), the last line and the
// two answers.
constexpr LangText kLockOutTitle{"Fuse-/Lockbits schreiben", "Write fuse/lock bits",
                                 "Запись fuse/lock битов"};
constexpr LangText kLockOutWarning{
    "Diese Änderung kann den Chip unzugänglich machen:",
    "This change can lock you out of the chip:", "Это изменение может сделать чип недоступным:"};
constexpr LangText kLockOutIsp{"%1 %2: danach keine Programmierung über ISP mehr.",
                               "%1 %2: no more programming over ISP afterwards.",
                               "%1 %2: после этого программирование через ISP невозможно."};
constexpr LangText kLockOutAccess{
    "%1 %2: danach kein Lesen oder Schreiben mehr bis zum Löschen des Chips.",
    "%1 %2: no more reading or writing until a chip erase.",
    "%1 %2: чтение и запись невозможны до стирания чипа."};
constexpr LangText kWriteAnyway{"Trotzdem schreiben?", "Write anyway?", "Всё равно записать?"};
// An entry whose state read back after a fuse write is not the one written.
constexpr LangText kFuseNotTaken{"%1 nicht übernommen: geschrieben %2, gelesen %3.",
                                 "%1 did not take: written %2, reads %3.",
                                 "%1 не принят: записано «%2», прочитано «%3»."};
// The user said no to that question.
constexpr LangText kFuseWriteCancelled{"Abgebrochen: keine Fuse-/Lockbits geschrieben.",
                                       "Cancelled: no fuse/lock bits written.",
                                       "Отменено: fuse/lock биты не записаны."};

// A verify answered with the error: the chip is read back into an image of its own and
// compared with the buffer. %1 the number of differing bytes; then one line per difference
// (%1 the address in hexadecimal, %2 the chip's byte, %3 the buffer's).
constexpr LangText kReadingBack{"Vergleich fehlgeschlagen, lese Chip zurück...",
                                "verify failed, reading the chip back...",
                                "верификация не пройдена, чтение чипа..."};
constexpr LangText kDifferingBytes{"Vom Buffer abweichende Bytes: %1",
                                   "Bytes differing from the buffer: %1",
                                   "Байт, отличающихся от буфера: %1"};
constexpr LangText kDifferingByte{"0x%1: Chip %2, Buffer %3", "0x%1: chip %2, buffer %3",
                                  "0x%1: чип %2, буфер %3"};
// After the comparison: the chip is known to be locked, or its lock state is not known.
constexpr LangText kChipLockedNoCompare{
    "Der Chip ist gesperrt: er liefert nicht seinen Inhalt und kann nicht verglichen werden.",
    "The chip is locked: it does not return its contents and cannot be compared.",
    "Чип заблокирован: он не выдаёт своё содержимое, и сравнить его нельзя."};
constexpr LangText kLockedChipNoCompare{
    "Ein gesperrter Chip liefert nicht seinen Inhalt und kann nicht verglichen werden.",
    "A locked chip does not return its contents and cannot be compared.",
    "Заблокированный чип не выдаёт своё содержимое, и сравнить его нельзя."};

// A blank check: the chip's contents read into an image of their own and looked at for bytes
// that are not 0xFF. %1 their number; then one line per byte as for a failed verify (%1 the
// address in hexadecimal, %2 the byte), the first ten.
constexpr LangText kChipBlank{"leer", "blank", "чистый"};
constexpr LangText kNotBlankBytes{"Nicht leere Bytes (nicht 0xFF): %1",
                                  "Bytes that are not blank (not 0xFF): %1",
                                  "Непустых байт (не 0xFF): %1"};
constexpr std::string_view kNotBlankByte = "0x%1: %2";

} // namespace tarvik::texts
