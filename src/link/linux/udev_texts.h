// What the log advises when the programmer's hidraw node does not open for reading and
// writing: install the udev rule, or, with the rule installed, join its group.
#pragma once

#include <string_view>

#include "common/lang_text.h"

namespace tarvik::texts {

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

} // namespace tarvik::texts
