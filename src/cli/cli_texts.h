// The messages tarvik-cli writes itself, in German, English and Russian. %1, %2 are filled in
// with fillIn(); the engine's own log lines come from the engine.
#pragma once

#include "common/lang_text.h"

namespace tarvik::cli::texts {

// ---- command line ----
constexpr LangText kNoCommand{"Kein Befehl angegeben.", "No command given.", "Не указана команда."};
constexpr LangText kUnknownCommand{"Unbekannter Befehl „%1“.", "Unknown command \"%1\".",
                                   "Неизвестная команда «%1»."};
constexpr LangText kUnknownOption{"Unbekannte Option „%1“.", "Unknown option \"%1\".",
                                  "Неизвестный параметр «%1»."};
constexpr LangText kMissingValue{"Die Option „%1“ braucht einen Wert.",
                                 "The option \"%1\" needs a value.",
                                 "Параметру «%1» нужно значение."};
constexpr LangText kBadValue{"Ungültiger Wert „%2“ für „%1“.", "Invalid value \"%2\" for \"%1\".",
                             "Недопустимое значение «%2» для «%1»."};
constexpr LangText kArgumentCount{"Falsche Anzahl von Argumenten für „%1“.",
                                  "Wrong number of arguments for \"%1\".",
                                  "Неверное число аргументов для «%1»."};
constexpr LangText kServeOnly{"Die Option „%1“ gehört zu serve-emulator.",
                              "The option \"%1\" belongs to serve-emulator.",
                              "Параметр «%1» относится к serve-emulator."};
constexpr LangText kFromWriteFusesOnly{"Die Option „--from“ gehört zu write-fuses.",
                                       "The option \"--from\" belongs to write-fuses.",
                                       "Параметр «--from» относится к write-fuses."};
constexpr LangText kAssignmentsOrFrom{
    "write-fuses braucht Zuweisungen NAME=0|1 oder --from DATEI, eines von beiden.",
    "write-fuses needs NAME=0|1 assignments or --from FILE, one of the two.",
    "write-fuses нужны присваивания ИМЯ=0|1 или --from ФАЙЛ, что-то одно."};
constexpr LangText kSeeHelp{"Siehe „tarvik-cli --help“.", "See \"tarvik-cli --help\".",
                            "См. «tarvik-cli --help»."};

// ---- the programmer ----
constexpr LangText kNoProgrammer{"Kein Programmiergerät gefunden.", "No programmer found.",
                                 "Программатор не найден."};
constexpr LangText kNoProgrammerAt{
    "Kein Programmiergerät an %1 gefunden; „tarvik-cli list-devices“ zeigt die angeschlossenen.",
    "No programmer found at %1; \"tarvik-cli list-devices\" lists the attached ones.",
    "Программатор на %1 не найден; подключённые показывает «tarvik-cli list-devices»."};
constexpr LangText kSeveralProgrammers{
    "%2 Programmiergeräte angeschlossen; verwende %1 (Auswahl mit --programmer hid:PFAD).",
    "%2 programmers are attached; using %1 (pick one with --programmer hid:PATH).",
    "Подключено программаторов: %2; используется %1 (выбор: --programmer hid:ПУТЬ)."};
constexpr LangText kNoUsbSupport{
    "Dieses tarvik-cli wurde ohne USB-Unterstützung gebaut; --programmer emulate oder socket:PFAD "
    "verwenden.",
    "This tarvik-cli was built without USB support; use --programmer emulate or socket:PATH.",
    "Эта сборка tarvik-cli без поддержки USB; используйте --programmer emulate или socket:ПУТЬ."};
constexpr LangText kNoSocketSupport{
    "Ein Programmiergerät an einem UNIX-Socket gibt es unter Windows nicht; das "
    "Programmiergerät an USB oder --programmer emulate verwenden.",
    "A programmer on a UNIX socket is not available on Windows; use the programmer on USB or "
    "--programmer emulate.",
    "Программатор на UNIX-сокете в Windows недоступен; используйте программатор на USB или "
    "--programmer emulate."};
constexpr LangText kUnknownChip{
    "Unbekannter Chip „%1“; „tarvik-cli list-devices“ zeigt die virtuellen Chips.",
    "Unknown chip \"%1\"; \"tarvik-cli list-devices\" lists the virtual chips.",
    "Неизвестный чип «%1»; список виртуальных чипов: «tarvik-cli list-devices»."};
constexpr LangText kUnplugged{"Das Programmiergerät wurde während des Auftrags getrennt.",
                              "The programmer was disconnected before the job finished.",
                              "Программатор отключён до завершения операции."};
constexpr LangText kNoAnswer{"Das Programmiergerät hat den Auftrag seit %1 s nicht weitergebracht.",
                             "The programmer has not moved the job on for %1 s.",
                             "Программатор не продвигает операцию уже %1 с."};

// ---- interrupted by SIGINT or SIGTERM before the job started ----
constexpr LangText kInterruptedWaiting{
    "Unterbrochen beim Warten auf das Programmiergerät; der Chip ist unverändert.",
    "Interrupted while waiting for the programmer; the chip is unchanged.",
    "Прервано во время ожидания программатора; чип не изменён."};
// ---- jobs and files ----
constexpr LangText kNotAvailable{"„%1“ gibt es für die Auswahl „%2“ nicht.",
                                 "\"%1\" is not available for the device \"%2\".",
                                 "«%1» недоступно для устройства «%2»."};

// ---- detect and fuses ----
constexpr LangText kChip{"Chip: %1", "Chip: %1", "Чип: %1"};
constexpr LangText kSize{"Größe: %1 Byte", "Size: %1 bytes", "Размер: %1 байт"};
// The checksum of the image written, verified, read or converted, as crc32 and zlib give it.
constexpr LangText kCrc32{"CRC-32: %1", "CRC-32: %1", "CRC-32: %1"};
constexpr LangText kLocked{"(gesperrt)", "(locked)", "(заблокирован)"};
constexpr LangText kBadAssignment{"„%1“ ist keine Zuweisung NAME=0 oder NAME=1.",
                                  "\"%1\" is not an assignment NAME=0 or NAME=1.",
                                  "«%1» не является присваиванием ИМЯ=0 или ИМЯ=1."};
constexpr LangText kUnknownFuse{"Der Chip %2 hat keinen Eintrag „%1“ in der Fuse-Liste.",
                                "The chip %2 has no fuse list entry \"%1\".",
                                "У чипа %2 нет пункта «%1» в списке fuse битов."};
constexpr LangText kLockedFuse{"Der Eintrag „%1“ ist gesperrt und kann nicht geändert werden.",
                               "The entry \"%1\" is locked and cannot be changed.",
                               "Пункт «%1» заблокирован и не может быть изменён."};
constexpr LangText kConflictingFuse{
    "Der Eintrag „%1“ ist mehrmals verschieden angegeben.",
    "The entry \"%1\" is given more than once with different values.",
    "Пункт «%1» задан несколько раз с разными значениями."};
constexpr LangText kFusesUnchanged{
    "Die Fuse-/Lock-Bits haben diese Werte schon; nichts geschrieben.",
    "The fuse/lock bits already have these values; nothing written.",
    "Fuse/lock биты уже имеют эти значения; ничего не записано."};
constexpr LangText kFusesNotReadable{"Die Fuse-Bits des %1 lassen sich nicht lesen.",
                                     "The fuse bits of the %1 cannot be read.",
                                     "Fuse биты %1 прочитать нельзя."};
// write-fuses --from FILE.
constexpr LangText kFuseFileNotElf{
    "write-fuses --from liest die Fuse- und Lock-Bytes einer ELF-Datei; „%1“ ist keine.",
    "write-fuses --from reads the fuse and lock bytes of an ELF file; \"%1\" is none.",
    "write-fuses --from читает байты фьюзов и битов защиты из файла ELF; «%1» не такой файл."};
constexpr LangText kNoFuseBytes{"Die ELF-Datei „%1“ enthält keine Fuse- oder Lock-Bytes.",
                                "The ELF file \"%1\" holds no fuse or lock bytes.",
                                "ELF-файл «%1» не содержит байтов фьюзов или битов защиты."};
constexpr LangText kFuseBytesNotFor{
    "Die Fuse-Bytes einer Datei lassen sich beim %1 nicht zuordnen: er liest Lock- und "
    "Fuse-Bits anders; setzen Sie die Bits mit NAME=0|1.",
    "The fuse bytes of a file cannot be mapped onto the %1: it reads lock and fuse bits "
    "another way; set the bits with NAME=0|1.",
    "Байты фьюзов из файла нельзя сопоставить с %1: он читает lock и fuse биты иначе; задайте "
    "биты через ИМЯ=0|1."};
constexpr LangText kSignatureRefused{"Mit --force wird trotzdem geschrieben.",
                                     "Give --force to write it anyway.",
                                     "С --force запись всё равно будет выполнена."};
constexpr LangText kLockOutRefused{
    "Nicht geschrieben: diese Änderung kann den Chip unzugänglich machen; mit --force wird sie "
    "trotzdem geschrieben.",
    "Not written: this change can lock you out of the chip; give --force to write it anyway.",
    "Не записано: это изменение может сделать чип недоступным; для записи укажите --force."};
constexpr LangText kFusesReadBack{"Zurückgelesen: alle Einträge wie geschrieben.",
                                  "Read back: every entry as written.",
                                  "Прочитано обратно: все пункты как записаны."};
constexpr LangText kFuseNotTaken{"%1 nicht übernommen: geschrieben %2, gelesen %3.",
                                 "%1 did not take: written %2, reads %3.",
                                 "%1 не принят: записано «%2», прочитано «%3»."};
constexpr LangText kFusesNotCheckable{
    "Die Fuse-Bits des %1 lassen sich nicht zurücklesen; das Schreiben ist nicht geprüft.",
    "The fuse bits of the %1 cannot be read back; the write is not checked.",
    "Fuse биты %1 прочитать обратно нельзя; запись не проверена."};
constexpr LangText kNothingRefused{"Nichts wurde geschrieben.", "Nothing was written.",
                                   "Ничего не записано."};

// ---- serve-emulator ----
constexpr LangText kServing{"Virtuelles Programmiergerät mit %1 an %2; Ende mit Strg+C.",
                            "Serving a virtual programmer holding %1 on %2; Ctrl+C ends.",
                            "Виртуальный программатор с %1 на %2; Ctrl+C для выхода."};
constexpr LangText kSocketRequired{"serve-emulator braucht entweder --socket PFAD oder --uhid.",
                                   "serve-emulator needs either --socket PATH or --uhid.",
                                   "serve-emulator требует либо --socket ПУТЬ, либо --uhid."};
constexpr LangText kUhidOnly{"Die Option „%1“ gilt nur mit --uhid.",
                             "The option \"%1\" applies only with --uhid.",
                             "Параметр «%1» действует только с --uhid."};
// serve-emulator on Windows, which has neither UNIX-domain sockets nor uhid.
constexpr LangText kNoServingHere{
    "serve-emulator gibt es unter Windows nicht (weder UNIX-Sockets noch uhid); --programmer "
    "emulate:CHIP führt das virtuelle Programmiergerät in diesem Programm aus.",
    "serve-emulator is not available on Windows (no UNIX sockets, no uhid); --programmer "
    "emulate:CHIP runs the virtual programmer inside this program.",
    "serve-emulator в Windows недоступен (нет ни UNIX-сокетов, ни uhid); --programmer "
    "emulate:CHIP запускает виртуальный программатор внутри этой программы."};
constexpr LangText kUhidMissing{
    "%1 fehlt: das Kernelmodul uhid laden („sudo modprobe uhid“).",
    "%1 is missing: load the kernel module uhid (\"sudo modprobe uhid\").",
    "%1 отсутствует: загрузите модуль ядра uhid («sudo modprobe uhid»)."};
constexpr LangText kUhidNoAccess{
    "Kein Lese- und Schreibzugriff auf %1: als root starten oder diesem Benutzer mit einer "
    "udev-Regel für uhid Zugriff geben.",
    "%1 cannot be opened for reading and writing: run as root, or give this user access with a "
    "udev rule for uhid.",
    "Нет доступа на чтение и запись к %1: запустите от root или дайте этому пользователю доступ "
    "правилом udev для uhid."};
constexpr LangText kUhidEvents{"Die Ereignisdatei „%1“ lässt sich nicht schreiben.",
                               "The events file \"%1\" cannot be written.",
                               "Файл событий «%1» не удаётся записать."};

} // namespace tarvik::cli::texts
