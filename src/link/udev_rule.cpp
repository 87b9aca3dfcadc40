#include "link/udev_rule.h"

#include <array>
#include <filesystem>
#include <system_error>

namespace tarvik {

bool programmerRuleInstalled() {
    static constexpr std::array<std::string_view, 5> kFolders{
        "/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d",
        "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
    for (const std::string_view folder : kFolders) {
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::path(folder) / kProgrammerRuleName, error))
            return true;
    }
    return false;
}

} // namespace tarvik
