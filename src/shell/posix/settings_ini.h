// The text format of the settings file: an INI file a person can read and edit, with one
// section per key path and the value names written as they are, spaces included:
//
//   [software/Tarvik]
//   Verify after program=1
//   Language=2
//
// Keys are full paths ("software/Tarvik/Language"); the section is the part before the last
// '/' (an earlier one, or none, when that part would not fit a section line). Backslash, '=',
// line breaks and a leading '[', ';' or '#' in a name are escaped with a backslash, and so are
// blanks at the ends of names and values; blank lines and lines starting with ';' or '#' are
// comments; unescaped spaces around names and values are ignored; a line that is neither a
// section, a comment nor "name=value" is skipped.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace tarvik {

using SettingsMap = std::map<std::string, std::string>;

SettingsMap parseSettingsIni(std::string_view text);
std::string writeSettingsIni(const SettingsMap& values);

} // namespace tarvik
