// write-fuses and read-fuses: the assignments checked and applied, and the list printed.
#include "cli/fuse_assignments.h"

#include <algorithm>

#include "cli/cli_texts.h"
#include "cli/device_names.h"
#include "operations/job_texts.h"

namespace tarvik::cli {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The entry of that text (any letter case), or -1.
int findEntry(const CheckList& list, std::string_view name) {
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        if (sameIgnoringCase(list.items[i].text, name))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

ParsedAssignments parseFuseAssignments(std::span<const std::string> args) {
    ParsedAssignments parsed;
    for (const std::string& arg : args) {
        const std::string_view text = arg;
        const std::size_t equals = text.rfind('=');
        const std::string_view name = trimmed(text.substr(0, std::min(equals, text.size())));
        const std::string_view value = equals == std::string_view::npos
                                           ? std::string_view()
                                           : trimmed(text.substr(equals + 1));
        if (name.empty() || (value != "0" && value != "1")) {
            parsed.error = UsageError{&texts::kBadAssignment, arg, {}};
            return parsed;
        }
        const bool programmed = value == "1";
        const auto earlier = std::ranges::find_if(parsed.assignments, [&](const FuseAssignment& a) {
            return sameIgnoringCase(a.name, name);
        });
        if (earlier == parsed.assignments.end()) {
            parsed.assignments.push_back({std::string(name), programmed});
        } else if (earlier->programmed != programmed) {
            parsed.error = UsageError{&texts::kConflictingFuse, std::string(name), {}};
            return parsed;
        }
    }
    return parsed;
}

std::optional<UsageError> refuseFuseAssignments(const TMainForm& form,
                                                std::span<const FuseAssignment> assignments) {
    for (const FuseAssignment& assignment : assignments) {
        const int index = findEntry(form.FuseList, assignment.name);
        if (index < 0)
            return UsageError{&texts::kUnknownFuse, assignment.name, form.AutoDevice.text};
        const CheckListItem& item = form.FuseList.items[static_cast<std::size_t>(index)];
        if (!item.enabled)
            return UsageError{&texts::kLockedFuse, item.text, {}};
    }
    return std::nullopt;
}

std::size_t applyFuseAssignments(TMainForm& form, std::span<const FuseAssignment> assignments) {
    std::size_t changed = 0;
    for (const FuseAssignment& assignment : assignments) {
        const int index = findEntry(form.FuseList, assignment.name);
        if (index < 0)
            continue;
        CheckListItem& item = form.FuseList.items[static_cast<std::size_t>(index)];
        if (!item.enabled || item.checked == assignment.programmed)
            continue;
        item.checked = assignment.programmed;
        form.FuseListClickCheck(index);
        ++changed;
    }
    return changed;
}

std::vector<std::string> fuseListLines(const CheckList& list, std::uint8_t language) {
    std::size_t width = 0;
    for (const CheckListItem& item : list.items)
        width = std::max(width, item.text.size());
    std::vector<std::string> lines;
    for (const CheckListItem& item : list.items) {
        std::string line = "  " + item.text;
        line.append(width - item.text.size() + 2, ' ');
        line += pick(item.checked ? tarvik::texts::kProgrammed : tarvik::texts::kUnprogrammed,
                     language);
        if (!item.enabled) {
            line += ' ';
            line += pick(texts::kLocked, language);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace tarvik::cli
