// What the desktop program says itself, in German, English and Russian: its command line, the
// programmer it cannot set up, the settings store and the general error handler. %1, %2, … are
// filled in with fillIn(); the window's own texts come from the layers below.
#pragma once

#include "common/lang_text.h"

namespace tarvik::texts {

// ---- the command line ----
constexpr LangText kProgramUsage{
    "Aufruf: tarvik [OPTIONEN] [DATEI]\n"
    "Client für das USB-HID-Programmiergerät. DATEI (Intel HEX oder binär) wird beim Start "
    "geöffnet.\n"
    "\n"
    "  --emulate[=CHIP]           das eingebaute virtuelle Programmiergerät mit CHIP\n"
    "                             (Vorgabe ATmega8) statt des Programmiergeräts an USB\n"
    "  --programmer usb           das Programmiergerät an USB (die Vorgabe)\n"
    "  --programmer socket:PFAD   ein virtuelles Programmiergerät am UNIX-Socket PFAD\n"
    "                             (tarvik-cli serve-emulator --socket PFAD)\n"
    "  --help                     diesen Text zeigen und beenden\n",
    "Usage: tarvik [OPTIONS] [FILE]\n"
    "Client for the USB HID chip programmer. FILE (Intel HEX or binary) is opened at "
    "start.\n"
    "\n"
    "  --emulate[=CHIP]           use the built-in virtual programmer holding CHIP\n"
    "                             (default ATmega8) instead of the one on USB\n"
    "  --programmer usb           use the programmer on USB (the default)\n"
    "  --programmer socket:PATH   use a virtual programmer served on the UNIX socket PATH\n"
    "                             (tarvik-cli serve-emulator --socket PATH)\n"
    "  --help                     show this text and exit\n",
    "Использование: tarvik [ПАРАМЕТРЫ] [ФАЙЛ]\n"
    "Клиент USB HID программатора. ФАЙЛ (Intel HEX или двоичный) открывается при запуске.\n"
    "\n"
    "  --emulate[=CHIP]           встроенный виртуальный программатор с чипом CHIP\n"
    "                             (по умолчанию ATmega8) вместо программатора на USB\n"
    "  --programmer usb           программатор на USB (по умолчанию)\n"
    "  --programmer socket:ПУТЬ   виртуальный программатор на UNIX-сокете ПУТЬ\n"
    "                             (tarvik-cli serve-emulator --socket ПУТЬ)\n"
    "  --help                     показать этот текст и выйти\n"};
constexpr LangText kProgrammerNeedsValue{"--programmer braucht einen Wert: usb oder socket:PFAD",
                                         "--programmer needs a value: usb or socket:PATH",
                                         "--programmer нужно значение: usb или socket:ПУТЬ"};
constexpr LangText kUnknownProgrammer{"unbekanntes Programmiergerät „%1“: usb oder socket:PFAD",
                                      "unknown programmer \"%1\": use usb or socket:PATH",
                                      "неизвестный программатор «%1»: usb или socket:ПУТЬ"};
constexpr LangText kScreenshotNeedsFolder{
    "--screenshot braucht einen Ordner", "--screenshot needs a folder", "--screenshot нужна папка"};
constexpr LangText kUnknownProgramOption{"unbekannte Option „%1“", "unknown option \"%1\"",
                                         "неизвестный параметр «%1»"};
constexpr LangText kOneFileOnly{"nur eine Datei kann geöffnet werden",
                                "only one file can be opened", "открыть можно только один файл"};

// ---- the programmer the program cannot set up ----
// %1: the name given, %2: the known chips, separated by blanks.
constexpr LangText kUnknownVirtualChip{"Es gibt keinen virtuellen Chip „%1“. Bekannte Chips: %2.",
                                       "There is no virtual chip \"%1\". Known chips: %2.",
                                       "Виртуального чипа «%1» нет. Известные чипы: %2."};
constexpr LangText kNoSocketSupport{
    "Ein Programmiergerät an einem UNIX-Socket gibt es auf diesem System nicht: Tarvik mit "
    "--emulate oder mit dem Programmiergerät an USB starten.",
    "A programmer on a UNIX socket is not available on this system: start Tarvik with "
    "--emulate or with the programmer on USB.",
    "Программатор на UNIX-сокете в этой системе недоступен: запустите Tarvik с --emulate или "
    "с программатором на USB."};
constexpr LangText kNoUsbSupport{
    "Dieses Tarvik wurde ohne USB-Unterstützung gebaut: mit --emulate oder --programmer "
    "socket:PFAD starten.",
    "This build of Tarvik has no USB support: start it with --emulate or --programmer "
    "socket:PATH.",
    "Эта сборка Tarvik без поддержки USB: запустите её с --emulate или --programmer "
    "socket:ПУТЬ."};

// ---- the settings file or, on Windows, registry key: %1 the setting, %2 the file or key ----
// %3: what the file holds.
constexpr LangText kSettingWrongType{
    "Falscher Datentyp für „%1“ in %2: erwartet wird eine 32-Bit-Ganzzahl, gespeichert ist „%3“.",
    "Wrong data type for \"%1\" in %2: a 32-bit integer is expected, the file holds \"%3\".",
    "Неверный тип данных для «%1» в %2: ожидается 32-битное целое число, в файле «%3».",
};
// %3: the registry type stored (REG_SZ, ...).
constexpr LangText kSettingWrongTypeInRegistry{
    "Falscher Datentyp für „%1“ in %2: erwartet wird eine 32-Bit-Ganzzahl (REG_DWORD), "
    "gespeichert ist ein Wert vom Typ %3.",
    "Wrong data type for \"%1\" in %2: a 32-bit integer (REG_DWORD) is expected, the registry "
    "holds a value of type %3.",
    "Неверный тип данных для «%1» в %2: ожидается 32-битное целое число (REG_DWORD), в реестре "
    "значение типа %3.",
};
// %3: one of the reasons below.
constexpr LangText kSettingNotStored{
    "Die Einstellung „%1“ kann nicht in %2 gespeichert werden: %3.",
    "Cannot store the setting \"%1\" in %2: %3.",
    "Не удалось сохранить параметр «%1» в %2: %3.",
};
constexpr LangText kSettingsNoWriteAccess{"kein Schreibzugriff", "no write access",
                                          "нет доступа на запись"};
constexpr LangText kSettingsFileDamaged{"die Datei ist beschädigt", "the file is damaged",
                                        "файл повреждён"};
// %1: the system's error number.
constexpr LangText kSettingsWindowsError{"Windows-Fehler %1", "Windows error %1",
                                         "ошибка Windows %1"};

// ---- the general error handler, for a failure that brings no text of its own ----
constexpr LangText kUnknownError{"Unbekannter Fehler.", "Unknown error.", "Неизвестная ошибка."};

} // namespace tarvik::texts
