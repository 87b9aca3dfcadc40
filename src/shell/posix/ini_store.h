// Where the INI form of the settings store keeps TRegistryEdit's values: a per-user file,
// $XDG_CONFIG_HOME/Tarvik/Tarvik.conf (~/.config/Tarvik/Tarvik.conf when unset or relative),
// with one section per key path ("\software\Tarvik\" → [software/Tarvik]).
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// The file every access goes to, from the environment at the moment of the call.
std::string iniStorePath();
// The INI section a key path maps to: "\software\Tarvik\" → "software/Tarvik".
std::string iniGroupOf(std::string_view regKey);

} // namespace tarvik
