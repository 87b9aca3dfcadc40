// What the Windows HID link tells the user: a system library it cannot load (then it finds no
// programmer at all), and the advice for a programmer that does not open for reading and
// writing. %1, %2, … are filled in with fillIn().
#pragma once

#include "common/lang_text.h"

namespace tarvik::texts {

// %1 the library ("HID.dll" or "SetupApi.dll"), %2 what is missing from it: the library itself
// or the name of a function.
constexpr LangText kHidLibraryMissing{
    "Die Systembibliothek %1 ist nicht nutzbar (%2 fehlt): Das Programmiergerät kann nicht "
    "gefunden werden.",
    "The system library %1 cannot be used (%2 is missing): the programmer cannot be found.",
    "Системная библиотека %1 недоступна (отсутствует %2): программатор не может быть найден."};

// The remedy for a programmer that opens for queries only: on Windows that means another
// program holds it open for itself.
constexpr LangText kHeldByAnotherProgram{
    "Ein anderes Programm hält das Programmiergerät geöffnet. Dieses Programm schließen, dann "
    "das Programmiergerät ab- und wieder anstecken.",
    "Another program holds the programmer open. Close that program, then unplug and replug the "
    "programmer.",
    "Программатор открыт другой программой. Закройте эту программу, затем отключите и снова "
    "подключите программатор."};

} // namespace tarvik::texts
