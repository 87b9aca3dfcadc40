// The udev rule that lets users open the programmer's hidraw node: where udev reads rules from
// and whether ours is among them.
#pragma once

#include <string_view>

namespace tarvik {

constexpr std::string_view kProgrammerRuleName = "60-tarvik-programmer.rules";

// True when the rule is in one of the folders udev reads (the package puts it in
// /usr/lib/udev/rules.d, a hand install in /etc/udev/rules.d).
bool programmerRuleInstalled();

} // namespace tarvik
