// Conversions between the program's UTF-8 strings and the system's UTF-16 ones.
#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// Invalid sequences become U+FFFD.
std::string toUtf8(std::wstring_view text);
std::wstring toWide(std::string_view text);

} // namespace tarvik
