// The fuse list on the command line: the entries shown with their states, and the assignments
// NAME=0|1 of write-fuses checked against the list and applied to it as a user toggles marks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "form/main_form.h"

namespace tarvik::cli {

struct FuseAssignment {
    std::string name;
    bool programmed; // 1: programmed, the entry checked
};

// Parses every argument "NAME=0" or "NAME=1" (the name as the fuse list shows it, any letter
// case, blanks allowed). On the first one that is malformed or contradicts an earlier one,
// gives the usage error instead.
struct ParsedAssignments {
    std::vector<FuseAssignment> assignments;
    std::optional<UsageError> error;
};
ParsedAssignments parseFuseAssignments(std::span<const std::string> args);

// Why the assignments cannot be applied to the form's fuse list (a name not in the list, or a
// locked entry), or nothing.
std::optional<UsageError> refuseFuseAssignments(const TMainForm& form,
                                                std::span<const FuseAssignment> assignments);

// Sets the entries as the assignments say, each change through the list's check handler as
// if the user had toggled it; assignments refuseFuseAssignments refused are left out. Returns
// the number of entries changed.
std::size_t applyFuseAssignments(TMainForm& form, std::span<const FuseAssignment> assignments);

// One line per fuse list entry: its text, programmed or unprogrammed, locked entries marked.
std::vector<std::string> fuseListLines(const CheckList& list, std::uint8_t language);

} // namespace tarvik::cli
