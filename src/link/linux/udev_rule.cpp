// Looking for the udev rule in udev's folders, and the access advice that depends on it.
#include "link/linux/udev_rule.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "link/linux/udev_texts.h"

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

std::vector<std::string> udevAccessRemedy(bool ruleInstalled, std::uint8_t languageCode) {
    if (languageCode > 2)
        return {};
    const auto command = [](std::string_view line) { return "    " + std::string(line); };
    if (ruleInstalled)
        return {std::string(pick(texts::kNoAccessWithRule, languageCode)),
                command(texts::kJoinGroupCommand)};
    return {std::string(pick(texts::kNoAccessRemedy, languageCode)),
            command(texts::kInstallRuleCommand), command(texts::kReloadRulesCommand)};
}

} // namespace tarvik
