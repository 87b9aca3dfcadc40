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

// The log under that status: %1 is the programmer's node.
constexpr LangText kNoAccessNode{
    "Dieser Benutzer darf %1 (das Programmiergerät) nicht zum Lesen und Schreiben öffnen.",
    "This user may not open %1 (the programmer) for reading and writing.",
    "Этот пользователь не может открыть %1 (программатор) для чтения и записи."};
constexpr LangText kNoAccessRemedy{
    "Die udev-Regel installieren, dann das Programmiergerät ab- und wieder anstecken:",
    "Install the udev rule, then unplug and replug the programmer:",
    "Установите правило udev, затем отключите и снова подключите программатор:"};
// When the rule is installed, what still keeps the user out, and the command that lets them in
// (the same in every language).
constexpr LangText kNoAccessWithRule{
    "Die udev-Regel ist installiert; sie gibt Zugriff in einer Desktop-Sitzung an diesem Rechner "
    "und der Gruppe plugdev. Ohne eine solche Sitzung (SSH, ein Dienst) den Benutzer in die "
    "Gruppe aufnehmen und neu anmelden:",
    "The udev rule is installed; it gives access in a desktop session at this machine and to "
    "the group plugdev. Without such a session (SSH, a service), add the user to the group and "
    "log in again:",
    "Правило udev установлено; оно даёт доступ в сеансе рабочего стола на этом компьютере и "
    "группе plugdev. Без такого сеанса (SSH, служба) добавьте пользователя в группу и войдите "
    "заново:"};
constexpr std::string_view kJoinGroupCommand = "sudo usermod -aG plugdev $USER";
// The two commands of the remedy, the same in every language.
constexpr std::string_view kInstallRuleCommand =
    "sudo install -m 644 packaging/60-tarvik-programmer.rules /etc/udev/rules.d/";
constexpr std::string_view kReloadRulesCommand =
    "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw";

// A device with the programmer's ids whose reports are not the programmer's: %1 the node, %2
// and %3 the input and output report lengths in bytes, report id included.
constexpr LangText kWrongReportLengths{
    "%1 hat die Kennung 0451:3210, aber Eingabeberichte von %2 und Ausgabeberichte von %3 Byte "
    "statt 65: nicht verwendet.",
    "%1 has the ids 0451:3210 but input reports of %2 and output reports of %3 bytes instead "
    "of 65: not used.",
    "%1 имеет идентификаторы 0451:3210, но входные отчёты по %2 и выходные по %3 байт вместо "
    "65: не используется."};

// A socket peer that was not taken, because it could be a fake collecting the firmware
// written to it: %1 the socket's path, %2 the peer's user id.
constexpr LangText kPeerRefused{
    "Das Programmiergerät an „%1“ läuft unter einem anderen Benutzer (UID %2) und wird nicht "
    "verwendet.",
    "The programmer at \"%1\" runs as another user (uid %2) and is not used.",
    "Программатор на «%1» работает от имени другого пользователя (UID %2) и не используется."};

} // namespace tarvik::texts
