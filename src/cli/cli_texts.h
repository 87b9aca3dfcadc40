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
constexpr LangText kBlankCheckOnly{"Die Option „%1“ gehört zu blank-check.",
                                   "The option \"%1\" belongs to blank-check.",
                                   "Параметр «%1» относится к blank-check."};
// --log-csv: the production log could not be written (%1 the file).
constexpr LangText kCannotWriteLog{"Das Produktionsprotokoll %1 lässt sich nicht schreiben.",
                                   "The production log %1 cannot be written.",
                                   "Не удаётся записать журнал производства %1."};
// --serial and --serial-file. %1 the file, the lock folder, the number or the address.
constexpr LangText kSerialFileLocked{
    "Die Seriennummerndatei ist gesperrt (%1); ein anderes tarvik-cli benutzt sie, oder ein "
    "abgebrochenes hat die Sperre hinterlassen.",
    "The serial number file is locked (%1); another tarvik-cli is using it, or one that was "
    "killed left the lock behind.",
    "Файл серийных номеров заблокирован (%1); его использует другой tarvik-cli, или "
    "прерванный оставил блокировку."};
constexpr LangText kSerialFileBad{"Die Seriennummerndatei %1 enthält keine Zahl.",
                                  "The serial number file %1 holds no number.",
                                  "Файл серийных номеров %1 не содержит числа."};
constexpr LangText kSerialTooLarge{"Die Seriennummer %1 passt nicht in %2 Byte.",
                                   "The serial number %1 does not fit in %2 bytes.",
                                   "Серийный номер %1 не помещается в %2 байт."};
constexpr LangText kSerialOutside{
    "Die Seriennummer an Adresse %1 liegt außerhalb des Abbilds oder des Chips.",
    "The serial number at address %1 lies outside the image or the chip.",
    "Серийный номер по адресу %1 лежит за пределами образа или чипа."};
constexpr LangText kSerialNotForCommand{"--serial gilt nur für write und write-eeprom.",
                                        "--serial applies only to write and write-eeprom.",
                                        "--serial действует только для write и write-eeprom."};
constexpr LangText kSerialFileNeedsSerial{"--serial-file gilt nur mit --serial.",
                                          "--serial-file applies only with --serial.",
                                          "--serial-file действует только с --serial."};
constexpr LangText kSerialFileForSeveral{
    "Mit mehreren Chips (--programmer all, mehrmals --programmer, --repeat) braucht --serial "
    "eine --serial-file, sonst bekäme jeder Chip dieselbe Nummer.",
    "With several chips (--programmer all, --programmer more than once, --repeat) --serial "
    "needs --serial-file, or every chip would get the same number.",
    "С несколькими чипами (--programmer all, --programmer несколько раз, --repeat) для "
    "--serial нужен --serial-file, иначе каждый чип получит один и тот же номер."};
constexpr LangText kSerialMemory{
    "memory=%1 passt nicht zu %2: flash mit write, eeprom mit write-eeprom oder einem seriellen "
    "EEPROM.",
    "memory=%1 does not go with %2: flash with write, eeprom with write-eeprom or a serial "
    "EEPROM.",
    "memory=%1 не подходит к %2: flash с write, eeprom с write-eeprom или с последовательным "
    "EEPROM."};
constexpr LangText kSerialLine{"Seriennummer: %1", "Serial number: %1", "Серийный номер: %1"};
// The summary table after a job on several programmers: its column headings.
constexpr LangText kSummaryNode{"Programmiergerät", "Programmer", "Программатор"};
constexpr LangText kSummaryChip{"Chip", "Chip", "Чип"};
constexpr LangText kSummaryResult{"Ergebnis", "Result", "Результат"};
constexpr LangText kSummarySeconds{"Sekunden", "Seconds", "Секунды"};
constexpr LangText kSummaryImage{"CRC-32 / Bytes", "CRC-32 / bytes", "CRC-32 / байты"};
// --repeat: one line per chip (%1 its number in the run, %2 the chip, %3 seconds or the
// error line), the next serial EEPROM, and the totals at the end.
constexpr LangText kRepeatChipOk{"#%1 %2 OK %3 s", "#%1 %2 OK %3 s", "#%1 %2 OK %3 с"};
constexpr LangText kRepeatChipFailed{"#%1 %2 FEHLER: %3", "#%1 %2 FAILED: %3", "#%1 %2 ОШИБКА: %3"};
constexpr LangText kInsertNextChip{"Nächsten Chip einsetzen und Enter drücken.",
                                   "Insert the next chip and press Enter.",
                                   "Вставьте следующий чип и нажмите Enter."};
constexpr LangText kRepeatTotals{"%1 programmiert, %2 fehlgeschlagen", "%1 programmed, %2 failed",
                                 "%1 запрограммировано, %2 с ошибкой"};
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

// ---- list-devices: the headings of its four lists, and the empty list ----
constexpr LangText kEntriesHeading{
    "Einträge des Device-Menüs (--device):", "Device menu entries (--device):",
    "Пункты меню Device (--device):"};
constexpr LangText kChipsHeading{
    "An der Signatur erkannte Chips (Signatur, Name, Flash in Byte):",
    "Chips identified by signature (signature, name, flash bytes):",
    "Чипы, определяемые по сигнатуре (сигнатура, имя, flash в байтах):"};
constexpr LangText kVirtualHeading{
    "Virtuelle Chips (--programmer emulate:CHIP, serve-emulator --chip):",
    "Virtual chips (--programmer emulate:CHIP, serve-emulator --chip):",
    "Виртуальные чипы (--programmer emulate:CHIP, serve-emulator --chip):"};
constexpr LangText kAttachedHeading{
    "Jetzt angeschlossene Programmiergeräte (--programmer hid:PFAD):",
    "Programmers attached now (--programmer hid:PATH):",
    "Подключённые сейчас программаторы (--programmer hid:ПУТЬ):"};
constexpr LangText kNoneAttached{"keines", "none", "нет"};

// ---- convert ----
constexpr LangText kConvertUsage{
    "Aufruf: tarvik-cli convert EIN AUS [--lang de|en|ru]\n"
    "Wandelt Intel-HEX-, Motorola-S-Record- und Binärdateien ineinander um und liest den Flash "
    "aus ELF-Dateien. EIN wird nach Name oder Inhalt gelesen; AUS wird für .s19, .s28, .s37, "
    ".srec und .mot als S-Record geschrieben, binär, wenn das drittletzte Zeichen B ist, sonst "
    "als Intel HEX.",
    "Usage: tarvik-cli convert IN OUT [--lang de|en|ru]\n"
    "Converts between Intel HEX, Motorola S-record and binary files, and reads the flash of ELF "
    "files. IN is read by its name or content; OUT is written as S-record for .s19, .s28, .s37, "
    ".srec and .mot, as binary where the third character from the end is B, else as Intel HEX.",
    "Использование: tarvik-cli convert ВХОД ВЫХОД [--lang de|en|ru]\n"
    "Преобразует файлы Intel HEX, Motorola S-record и двоичные файлы и читает flash из файлов "
    "ELF. ВХОД читается по имени или содержимому; ВЫХОД записывается как S-record для .s19, "
    ".s28, .s37, .srec и .mot, как двоичный, если третий символ с конца B, иначе как Intel HEX."};

// ---- --help: the headings and the parts every page shares (the pages are in help.cpp) ----
constexpr LangText kHelpUsage{"Aufruf:", "Usage:", "Использование:"};
constexpr LangText kHelpAbout{"Steuert das USB-Programmiergerät von der Kommandozeile.",
                              "Drives the USB chip programmer from the command line.",
                              "Управляет USB программатором из командной строки."};
constexpr LangText kHelpCommands{"Befehle:", "Commands:", "Команды:"};
constexpr LangText kHelpExamples{"Beispiele:", "Examples:", "Примеры:"};
constexpr LangText kHelpOptions{
    "Optionen:\n"
    "  --device ENTRY       der Eintrag des Device-Menüs: avr-isp (Vorgabe), 89Cx051, 89C5x,\n"
    "                       89Sxx, 90S1200, 24AA00 ... 24AA512 (siehe list-devices)\n"
    "  --programmer P       hid (Vorgabe: das Programmiergerät an USB), hid:PATH (das an\n"
    "                       diesem Knoten oder mit dieser Identität, siehe list-devices),\n"
    "                       emulate[:CHIP] (ein virtuelles in diesem Programm, Vorgabe\n"
    "                       ATmega8), socket:PATH; all: jedes jetzt angeschlossene, jedes in\n"
    "                       einem eigenen Prozess (wie mehrmals --programmer), danach eine\n"
    "                       Übersicht\n"
    "  --no-verify          programmieren, ohne danach zu vergleichen\n"
    "  --force              write-fuses: auch eine Änderung schreiben, die Sie vom Chip\n"
    "                       aussperrt; write, verify, write-eeprom, write-fuses: auch eine\n"
    "                       Datei, die für einen anderen Chip erstellt ist\n"
    "  --from FILE          write-fuses: die Fuse- und Lock-Bytes dieser ELF-Datei\n"
    "  --eeprom             blank-check: das Daten-EEPROM eines AVR-Chips\n"
    "  --serial ADDRESS=START[,bytes=N][,format=le|be|bcd|ascii][,step=K][,memory=M]\n"
    "                       write, write-eeprom: eine Seriennummer in das Abbild im Speicher\n"
    "                       setzen (nie in die Datei): N Byte (1-8, Vorgabe 4) an ADDRESS,\n"
    "                       M flash (write) oder eeprom (write-eeprom, serielle EEPROMs)\n"
    "  --serial-file FILE   die nächste Seriennummer, mit START angelegt, wenn es sie nicht\n"
    "                       gibt; rückt erst nach dem Erfolg eines Chips (mit Vergleich) um K\n"
    "                       weiter; während des Auftrags gesperrt\n"
    "  --repeat             Programmieren beim Einsetzen: nach jedem Auftrag warten, bis der\n"
    "                       Chip entnommen und ein anderer eingesetzt ist, dann wieder; eine\n"
    "                       Zeile je Chip, die Summen bei Strg+C; Exit-Status 0, wenn keiner\n"
    "                       fehlschlug (serielle EEPROMs: Enter meldet den nächsten)\n"
    "  --label LABEL        die Bezeichnung des Programmiergeräts im Produktionsprotokoll\n"
    "  --log-csv FILE       je Auftrag eine Zeile an das Produktionsprotokoll FILE anhängen\n"
    "                       (CSV)\n"
    "  --lang de|en|ru      Sprache der Protokollzeilen und Meldungen (Vorgabe en)\n"
    "  --trace              jeden Bericht auf der Standardfehlerausgabe zeigen\n"
    "  -q, --quiet          nur Fehler, den Chip und das Ergebnis zeigen\n"
    "  --wait SECONDS       so lange warten, bis das Programmiergerät angeschlossen ist\n"
    "                       (Vorgabe 0)\n"
    "  --timeout SECONDS    aufgeben, wenn so lange keine Antwort den Auftrag weitergebracht\n"
    "                       hat (Bruchteile erlaubt; Vorgabe 30; 0 wartet unbegrenzt)\n"
    "  -h, --help           diese Hilfe; BEFEHL --help für die eines Befehls\n",
    "Options:\n"
    "  --device ENTRY       the Device menu entry: avr-isp (default), 89Cx051, 89C5x, 89Sxx,\n"
    "                       90S1200, 24AA00 ... 24AA512 (see list-devices)\n"
    "  --programmer P       hid (default: the programmer on USB), hid:PATH (the one at that\n"
    "                       node or identity, see list-devices), emulate[:CHIP] (a virtual\n"
    "                       one in this process, default ATmega8), socket:PATH; all: every\n"
    "                       programmer attached now, each in a process of its own (as\n"
    "                       --programmer given more than once), then a summary\n"
    "  --no-verify          program without verifying afterwards\n"
    "  --force              write-fuses: write a change that locks you out of the chip;\n"
    "                       write, verify, write-eeprom, write-fuses: a file built for\n"
    "                       another chip\n"
    "  --from FILE          write-fuses: the fuse and lock bytes of this ELF file\n"
    "  --eeprom             blank-check: the data EEPROM of an AVR chip\n"
    "  --serial ADDRESS=START[,bytes=N][,format=le|be|bcd|ascii][,step=K][,memory=M]\n"
    "                       write, write-eeprom: patch a serial number into the image in\n"
    "                       memory (never the file): N bytes (1-8, default 4) at ADDRESS,\n"
    "                       M flash (write) or eeprom (write-eeprom, serial EEPROMs)\n"
    "  --serial-file FILE   the next serial number, created with START when missing; moves on\n"
    "                       by K only after a chip's job succeeded (verify included); locked\n"
    "                       while the job runs\n"
    "  --repeat             program on insert: after each job wait until the chip is taken\n"
    "                       out and another put in, then run the job again; one line per\n"
    "                       chip, the totals on Ctrl+C; exit status 0 when none failed\n"
    "                       (serial EEPROMs have no signature: Enter announces each)\n"
    "  --label LABEL        the programmer's label in the production log (default 1)\n"
    "  --log-csv FILE       append a row per job to the production log FILE (CSV)\n"
    "  --lang de|en|ru      language of the log lines and messages (default en)\n"
    "  --trace              show every report exchanged, on standard error\n"
    "  -q, --quiet          show only errors, the chip and the result\n"
    "  --wait SECONDS       wait that long for the programmer to be plugged in (default 0)\n"
    "  --timeout SECONDS    give up when no answer has moved the job on for that long\n"
    "                       (fractions allowed; default 30; 0 waits for ever)\n"
    "  -h, --help           this help; COMMAND --help for a command's\n",
    "Параметры:\n"
    "  --device ENTRY       пункт меню Device: avr-isp (по умолчанию), 89Cx051, 89C5x,\n"
    "                       89Sxx, 90S1200, 24AA00 ... 24AA512 (см. list-devices)\n"
    "  --programmer P       hid (по умолчанию: программатор на USB), hid:PATH (тот, что на\n"
    "                       этом узле или с этим идентификатором, см. list-devices),\n"
    "                       emulate[:CHIP] (виртуальный в этой программе, по умолчанию\n"
    "                       ATmega8), socket:PATH; all: каждый подключённый сейчас, каждый в\n"
    "                       своём процессе (как --programmer несколько раз), затем сводка\n"
    "  --no-verify          записывать без последующей проверки\n"
    "  --force              write-fuses: записать и изменение, закрывающее доступ к чипу;\n"
    "                       write, verify, write-eeprom, write-fuses: и файл, собранный\n"
    "                       для другого чипа\n"
    "  --from FILE          write-fuses: байты fuse и lock из этого файла ELF\n"
    "  --eeprom             blank-check: EEPROM данных чипа AVR\n"
    "  --serial ADDRESS=START[,bytes=N][,format=le|be|bcd|ascii][,step=K][,memory=M]\n"
    "                       write, write-eeprom: вписать серийный номер в образ в памяти\n"
    "                       (никогда в файл): N байт (1-8, по умолчанию 4) по ADDRESS,\n"
    "                       M flash (write) или eeprom (write-eeprom, последовательные EEPROM)\n"
    "  --serial-file FILE   следующий серийный номер, создаётся с START, если его нет;\n"
    "                       увеличивается на K только после успеха чипа (с проверкой);\n"
    "                       заблокирован во время операции\n"
    "  --repeat             запись при вставке: после каждой операции ждать, пока чип вынут и\n"
    "                       вставлен другой, затем снова; одна строка на чип, итоги по Ctrl+C;\n"
    "                       код выхода 0, если ни один не ошибся (последовательные EEPROM:\n"
    "                       следующий объявляет Enter)\n"
    "  --label LABEL        метка программатора в журнале производства (по умолчанию 1)\n"
    "  --log-csv FILE       добавлять строку на операцию в журнал производства FILE (CSV)\n"
    "  --lang de|en|ru      язык строк журнала и сообщений (по умолчанию en)\n"
    "  --trace              показывать каждый отчёт обмена, в стандартный поток ошибок\n"
    "  -q, --quiet          показывать только ошибки, чип и результат\n"
    "  --wait SECONDS       ждать столько, пока программатор не будет подключён\n"
    "                       (по умолчанию 0)\n"
    "  --timeout SECONDS    прекратить, если столько времени ни один ответ не продвинул\n"
    "                       операцию (дроби допустимы; по умолчанию 30; 0 ждёт бесконечно)\n"
    "  -h, --help           эта справка; КОМАНДА --help — справка по команде\n"};
constexpr LangText kHelpExitStatus{
    "Exit-Status: 0 Erfolg, 1 der Auftrag ist fehlgeschlagen, 2 falscher Aufruf oder eine\n"
    "Datei, die sich nicht lesen oder schreiben ließ, 3 kein Programmiergerät gefunden oder\n"
    "eines, das dieser Benutzer nicht öffnen darf; nach SIGINT oder SIGTERM während eines\n"
    "Auftrags 128 + die Signalnummer (130, 143).\n",
    "Exit status: 0 success, 1 the job failed, 2 bad usage or a file that could not be read\n"
    "or written, 3 no programmer found, or one this user may not open; after SIGINT or\n"
    "SIGTERM during a job, 128 + the signal number (130, 143).\n",
    "Код выхода: 0 успех, 1 операция не удалась, 2 неверный вызов или файл, который не\n"
    "удалось прочитать или записать, 3 программатор не найден или этот пользователь не может\n"
    "его открыть; после SIGINT или SIGTERM во время операции 128 + номер сигнала (130, 143).\n"};

} // namespace tarvik::cli::texts
