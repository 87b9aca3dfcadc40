// What the window says about the programmer on the bus: the status bar's texts and the log
// lines that explain a programmer the window cannot take. %1, %2, … are filled in with fillIn().
#pragma once

#include <string_view>

#include "common/lang_text.h"

namespace tarvik::texts {

// Status bar panel 0. These two are the same in every interface language.
constexpr std::string_view kProgrammerReady = "Программатор к работе готов.";
constexpr std::string_view kProgrammerMissing = "Программатор не подключен!";
// Panel 0 when the programmer is there but its node does not open for reading and writing.
constexpr LangText kProgrammerNoAccess{
    "Programmiergerät angeschlossen, aber dieser Benutzer darf es nicht öffnen!",
    "Programmer connected, but this user may not open it!",
    "Программатор подключен, но у этого пользователя нет к нему доступа!"};

// The log under that status: %1 is the programmer's node; the backend's advice follows it.
constexpr LangText kNoAccessNode{
    "Dieser Benutzer darf %1 (das Programmiergerät) nicht zum Lesen und Schreiben öffnen.",
    "This user may not open %1 (the programmer) for reading and writing.",
    "Этот пользователь не может открыть %1 (программатор) для чтения и записи."};
// A device with the programmer's ids whose reports are not the programmer's: %1 the node, %2
// and %3 the input and output report lengths in bytes, report id included.
constexpr LangText kWrongReportLengths{
    "%1 hat die Kennung 0451:3210, aber Eingabeberichte von %2 und Ausgabeberichte von %3 Byte "
    "statt 65: nicht verwendet.",
    "%1 has the ids 0451:3210 but input reports of %2 and output reports of %3 bytes instead "
    "of 65: not used.",
    "%1 имеет идентификаторы 0451:3210, но входные отчёты по %2 и выходные по %3 байт вместо "
    "65: не используется."};

} // namespace tarvik::texts
