// tarvik-cli convert IN OUT [--lang de|en|ru]: loads IN as Intel HEX or binary and saves it as
// OUT, each by the third character from the end of its name.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace tarvik {

// The exit status of a convert command whose arguments (after "convert") are given:
// 0 done, 1 wrong arguments, 2 the file could not be converted. Messages go to err.
int runConvert(std::span<const std::string_view> args, std::ostream& err);

} // namespace tarvik
