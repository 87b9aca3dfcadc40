// The udev rule that lets users open the programmer's hidraw node: where udev reads rules from,
// whether ours is among them, and the advice that follows from it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

constexpr std::string_view kProgrammerRuleName = "60-tarvik-programmer.rules";

// True when the rule is in one of the folders udev reads (the package puts it in
// /usr/lib/udev/rules.d, a hand install in /etc/udev/rules.d).
bool programmerRuleInstalled();

// The log lines that tell the user how to get access to the programmer's node: the group if
// the rule is installed, else the rule's installation (commands indented by four spaces).
std::vector<std::string> udevAccessRemedy(bool ruleInstalled, std::uint8_t languageCode);

} // namespace tarvik
