// tarvik-cli convert IN OUT [--lang de|en|ru]: loads IN as Intel HEX, S-record, ELF (its flash)
// or binary and saves it as OUT in the kind its name asks for.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace tarvik {

// The exit status of a convert command whose arguments (after "convert") are given:
// 0 done, 1 wrong arguments, 2 the file could not be converted. The CRC-32 of what was written
// goes to out, messages to err.
int runConvert(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

} // namespace tarvik
