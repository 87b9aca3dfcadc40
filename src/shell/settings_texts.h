// Texts of the settings store's failures, in the store's two forms: the INI file and the
// Windows registry.
#pragma once

#include "common/lang_text.h"

namespace tarvik::settings_texts {

// %1 the value's name, %2 the file, %3 the text stored.
constexpr LangText kWrongTypeInFile{
    "Falscher Datentyp für „%1“ in %2: erwartet wird eine 32-Bit-Ganzzahl, gespeichert ist „%3“.",
    "Wrong data type for \"%1\" in %2: a 32-bit integer is expected, the file holds \"%3\".",
    "Неверный тип данных для «%1» в %2: ожидается 32-битное целое число, в файле «%3».",
};
// %1 the value's name, %2 the registry key, %3 the registry type stored (REG_SZ, ...).
constexpr LangText kWrongTypeInRegistry{
    "Falscher Datentyp für „%1“ in %2: erwartet wird eine 32-Bit-Ganzzahl (REG_DWORD), "
    "gespeichert ist ein Wert vom Typ %3.",
    "Wrong data type for \"%1\" in %2: a 32-bit integer (REG_DWORD) is expected, the registry "
    "holds a value of type %3.",
    "Неверный тип данных для «%1» в %2: ожидается 32-битное целое число (REG_DWORD), в реестре "
    "значение типа %3.",
};
// %1 the value's name, %2 the file or registry key, %3 the reason.
constexpr LangText kWriteFailed{
    "Die Einstellung „%1“ kann nicht in %2 gespeichert werden: %3.",
    "Cannot store the setting \"%1\" in %2: %3.",
    "Не удалось сохранить параметр «%1» в %2: %3.",
};
constexpr LangText kNoAccess{"kein Schreibzugriff", "no write access", "нет доступа на запись"};
constexpr LangText kBadFormat{"die Datei ist beschädigt", "the file is damaged", "файл повреждён"};
// %1 the system's error number.
constexpr LangText kRegistryError{"Windows-Fehler %1", "Windows error %1", "ошибка Windows %1"};

} // namespace tarvik::settings_texts
